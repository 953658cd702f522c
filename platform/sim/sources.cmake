target_sources(si32_platform_sim PRIVATE
  sim/call_names.cpp
  sim/demo_machines.cpp
  sim/description_display.cpp
  sim/description_document.cpp
  sim/description_drives.cpp
  sim/description_files.cpp
  sim/description_reader.cpp
  sim/description_registry.cpp
  sim/description_system.cpp
  sim/machine_description.cpp
  sim/parameter_value.cpp
  sim/sim_devices.cpp
  sim/sim_file_system.cpp
  sim/sim_kernel.cpp
  sim/sim_machine.cpp
  sim/sim_registry.cpp
  sim/sim_ui.cpp
  sim/spi_table.cpp
  sim/windows_path.cpp)
target_link_libraries(si32_platform_sim PRIVATE si32_install_layout)
