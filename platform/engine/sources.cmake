target_sources(si32_platform PRIVATE engine/registry_store.cpp engine/ini_reader.cpp)
