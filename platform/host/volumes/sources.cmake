# The host's drive map and volume calls.
target_sources(si32_platform_host PRIVATE
  host/volumes/blkid_probe.cpp
  host/volumes/drive_map.cpp
  host/volumes/drive_map_devices.cpp
  host/volumes/drive_map_mounts.cpp
  host/volumes/volumes.cpp
  host/volumes/volumes_fs_traits.cpp
)
