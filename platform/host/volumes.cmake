# The host's drive map and volume calls.
target_sources(si32_platform PRIVATE
  host/blkid_probe.cpp
  host/drive_map.cpp
  host/drive_map_devices.cpp
  host/drive_map_mounts.cpp
  host/volumes.cpp
  host/volumes_deadline.cpp
  host/volumes_fs_traits.cpp
)
