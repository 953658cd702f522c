# The Windows backend, one file per service family as the headers are.
target_sources(si32_platform_win32 PRIVATE
  win32/win32_backend.cpp
  win32/win32_devices.cpp
  win32/win32_files.cpp
  win32/win32_kernel.cpp
  win32/win32_registry.cpp
  win32/win32_ui.cpp
)
target_link_libraries(si32_platform_win32 PRIVATE mpr)
