# The Drive Info frame on the host, and the host's drive list.
add_executable(drives_bench drives_bench.cpp)
target_link_libraries(drives_bench PRIVATE si32_drives si32_platform benchmark::benchmark)
target_compile_definitions(drives_bench PRIVATE SI32_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
