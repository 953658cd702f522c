# The starter that measures whole processes for measure_processes.py.
add_executable(process_probe ${CMAKE_CURRENT_SOURCE_DIR}/process_probe.cpp)
target_link_options(process_probe PRIVATE -static)
# The comparison bases of the start-up measures: the least a report can do
# (its reading and nothing else) and a bare Qt dialog with the window's
# controls.
add_executable(report_floor ${CMAKE_CURRENT_SOURCE_DIR}/report_floor.c)
pkg_check_modules(FLOOR_XCB REQUIRED IMPORTED_TARGET xcb)
target_link_libraries(report_floor PRIVATE PkgConfig::FLOOR_XCB)
if(SI32_GUI)
  add_executable(bare_dialog ${CMAKE_CURRENT_SOURCE_DIR}/bare_dialog.cpp)
  target_include_directories(bare_dialog PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(bare_dialog PRIVATE Qt6::Widgets)
endif()
