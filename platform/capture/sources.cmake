# The recording backend and the machine description it writes.
target_sources(si32_platform PRIVATE
  capture/anonymizer.cpp
  capture/capture_file.cpp
  capture/description_writer.cpp
  capture/recording_backend.cpp
  capture/windows_paths.cpp
)
