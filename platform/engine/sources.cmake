target_sources(si32_platform PRIVATE
  engine/registry_tree.cpp engine/regedit4_reader.cpp engine/regedit4_writer.cpp engine/registry_store.cpp
  engine/ini_reader.cpp)
