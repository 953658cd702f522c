# The starter that measures whole processes for measure_processes.py.
add_executable(process_probe ${CMAKE_CURRENT_SOURCE_DIR}/process_probe.cpp)
target_link_options(process_probe PRIVATE -static)
