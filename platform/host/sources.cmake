# The host backend's sources, one per line.
target_sources(si32_platform PRIVATE
  host/buffer_conventions.h
  host/host_backend.cpp
  host/host_context.cpp
  host/host_cpu.cpp
  host/host_cpu_tables.cpp
  host/host_devices.cpp host/host_ui.cpp host/host_ui_metrics.cpp host/host_ui_x11.cpp host/host_desktop_parameters.cpp host/host_desktop_parameters_profile.cpp host/host_lock.cpp host/host_taskbar.cpp host/host_alsa.cpp host/host_cups.cpp host/shared_library.cpp
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

# The default prefix, used when the user has none: the product's configuration
# (TRVWIN.INI) and the product directory, whose main program tarvello.exe is
# the si32 window program itself. Copied into the build tree so the programs
# in bin/ find it at ../share/si32/prefix, and installed the same way.
set(SI32_DEFAULT_PREFIX_SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/host/default-prefix)
set(SI32_DEFAULT_PREFIX ${PROJECT_BINARY_DIR}/share/si32/prefix)
file(GLOB_RECURSE SI32_DEFAULT_PREFIX_FILES CONFIGURE_DEPENDS ${SI32_DEFAULT_PREFIX_SOURCE}/*)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/share/si32/prefix.stamp
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${SI32_DEFAULT_PREFIX_SOURCE} ${SI32_DEFAULT_PREFIX}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SI32_DEFAULT_PREFIX}/drive_c/TARVELLO
  COMMAND ${CMAKE_COMMAND} -E create_symlink ../../../../../bin/si32 ${SI32_DEFAULT_PREFIX}/drive_c/TARVELLO/tarvello.exe
  COMMAND ${CMAKE_COMMAND} -E touch ${PROJECT_BINARY_DIR}/share/si32/prefix.stamp
  DEPENDS ${SI32_DEFAULT_PREFIX_FILES}
  COMMENT "Default prefix"
  VERBATIM)
add_custom_target(si32_default_prefix ALL DEPENDS ${PROJECT_BINARY_DIR}/share/si32/prefix.stamp)
add_dependencies(si32_platform si32_default_prefix)
install(DIRECTORY ${SI32_DEFAULT_PREFIX}/ DESTINATION share/si32/prefix)
