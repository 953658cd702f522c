# The registry and INI engines and the query routines over them.
add_executable(si32mod_bench si32mod_bench.cpp)
target_link_libraries(si32mod_bench PRIVATE si32_si32mod si32_platform benchmark::benchmark)
