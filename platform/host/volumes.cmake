target_sources(si32_platform PRIVATE host/drive_map.cpp host/volumes.cpp)
