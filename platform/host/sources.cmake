# The host backend's sources, one per line.
target_sources(si32_platform PRIVATE
  host/buffer_conventions.h
  host/host_backend.cpp
  host/host_context.cpp
  host/host_cpu.cpp
  host/host_cpu_tables.cpp
  host/host_devices_placeholder.cpp
  host/host_facts.cpp
  host/host_files.cpp
  host/host_ini_facts.cpp
  host/host_kernel.cpp
  host/host_kernel_ini.cpp
  host/host_locale.cpp
  host/host_passwd.cpp
  host/host_process.cpp
  host/host_read.cpp
  host/host_regional.cpp
  host/host_registry.cpp
  host/host_registry_facts.cpp
  host/host_windows_paths.cpp
  host/x11_screen.cpp
)
