# The recording backend and the machine description it writes: the inverse
# of the simulated machine's reader, so it knows the sim's tables.
si32_library(si32_platform_capture
  capture/anonymizer.cpp
  capture/desktop_facts.cpp
  capture/description_writer.cpp
  capture/recording_backend.cpp
  capture/recording_files.cpp
  capture/recording_kernel.cpp
  capture/recording_multimedia.cpp
  capture/recording_printing.cpp
  capture/recording_regional.cpp
  capture/recording_registry.cpp
  capture/recording_shell.cpp
  capture/recording_ui.cpp
  capture/windows_paths.cpp)
target_link_libraries(si32_platform_capture
  PUBLIC si32_platform_api nlohmann_json::nlohmann_json
  PRIVATE si32_platform_contract si32_platform_engine si32_platform_sim)
if(WIN32)
  target_sources(si32_platform_capture PRIVATE capture/capture_file_win32.cpp)
else()
  target_sources(si32_platform_capture PRIVATE capture/capture_file.cpp)
endif()
