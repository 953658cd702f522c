# The host backend's sources, grouped by family as the folders are.
target_sources(si32_platform_host PRIVATE
  host/host_backend.cpp
  host/host_context.cpp
  # shared helpers: bounded reads, libraries opened at run time, deadlines, X11
  host/common/host_read.cpp
  host/common/host_ui_x11.cpp
  host/common/mount_guard.cpp
  host/common/shared_library.cpp
  host/common/udev_database.cpp
  # readers of the machine's own files: kernel, processors, memory, users
  host/machine/host_cpu.cpp
  host/machine/host_cpu_tables.cpp
  host/machine/host_facts.cpp
  host/machine/host_passwd.cpp
  host/machine/machine_facts.cpp
  host/machine/machine_kind.cpp
  # kernel32: version, names, directories, memory, files, programs, INI, locale
  host/kernel/host_files.cpp
  host/kernel/host_ini_facts.cpp
  host/kernel/host_kernel.cpp
  host/kernel/host_kernel_ini.cpp
  host/kernel/host_locale.cpp
  host/kernel/host_process.cpp
  host/kernel/host_regional.cpp
  host/kernel/host_windows_paths.cpp
  # the registry built from live facts
  host/registry/host_registry.cpp
  host/registry/host_registry_facts.cpp
  # devices: sound, printer, desktop parameters, taskbar, instance lock
  host/devices/host_alsa.cpp
  host/devices/host_cups.cpp
  host/devices/host_desktop_parameters.cpp
  host/devices/host_desktop_parameters_profile.cpp
  host/devices/host_devices.cpp
  host/devices/host_lock.cpp
  host/devices/host_taskbar.cpp
  # display: screen metrics, message boxes, the X11 screen of the report
  host/display/host_ui.cpp
  host/display/host_ui_metrics.cpp
  host/display/x11_screen.cpp
)
# The default prefix, used when the user has none: the product's configuration
# (TRVWIN.INI) and the product directory, whose main program tarvello.exe is
# the si32 window program itself. Copied into the build tree where the
# programs in bin/ look for it, and installed the same way (cmake/install.cmake).
target_link_libraries(si32_platform_host PRIVATE si32_install_layout)
set(SI32_DEFAULT_PREFIX_SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/host/default-prefix)
set(SI32_DEFAULT_PREFIX ${SI32_BUILD_DATADIR}/si32/prefix)
cmake_path(RELATIVE_PATH CMAKE_INSTALL_FULL_BINDIR
  BASE_DIRECTORY "${CMAKE_INSTALL_FULL_DATADIR}/si32/prefix/drive_c/TARVELLO" OUTPUT_VARIABLE programs_from_product)
file(GLOB_RECURSE SI32_DEFAULT_PREFIX_FILES CONFIGURE_DEPENDS ${SI32_DEFAULT_PREFIX_SOURCE}/*)
add_custom_command(OUTPUT ${SI32_DEFAULT_PREFIX}.stamp
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${SI32_DEFAULT_PREFIX_SOURCE} ${SI32_DEFAULT_PREFIX}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SI32_DEFAULT_PREFIX}/drive_c/TARVELLO
  COMMAND ${CMAKE_COMMAND} -E create_symlink ${programs_from_product}/si32 ${SI32_DEFAULT_PREFIX}/drive_c/TARVELLO/tarvello.exe
  COMMAND ${CMAKE_COMMAND} -E touch ${SI32_DEFAULT_PREFIX}.stamp
  DEPENDS ${SI32_DEFAULT_PREFIX_FILES}
  COMMENT "Default prefix"
  VERBATIM)
add_custom_target(si32_default_prefix ALL DEPENDS ${SI32_DEFAULT_PREFIX}.stamp)
add_dependencies(si32_platform_host si32_default_prefix)
