# Importing a registry file, from 10 to 100,000 keys, and the memory it takes.
add_executable(registry_bench registry_bench.cpp)
target_link_libraries(registry_bench PRIVATE si32_platform_engine benchmark::benchmark)
