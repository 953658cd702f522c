# Reading machine descriptions: a large real one, and files made to cost
# memory or time out of proportion to their size.
add_executable(description_bench description_bench.cpp)
target_link_libraries(description_bench PRIVATE si32_platform benchmark::benchmark)
