target_sources(si32_platform_engine PRIVATE
  engine/registry_tree.cpp engine/regedit4_reader.cpp engine/regedit4_writer.cpp engine/registry_store.cpp
  engine/ini_reader.cpp engine/deadline_runner.cpp)
