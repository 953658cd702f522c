# The host backend's sources, one per line.
target_sources(si32_platform PRIVATE
  host/host_backend.cpp
  host/host_devices_placeholder.cpp
  host/x11_screen.cpp
)
