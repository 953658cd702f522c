# What the Windows build needs beside the compiler (cmake/toolchains/).
set(SI32_GUI OFF CACHE BOOL "Build the Qt window and its tests" FORCE)
set(SI32_BENCH OFF CACHE BOOL "Build the benchmarks" FORCE)
set(SI32_SANITIZE OFF CACHE BOOL "" FORCE)

# The JSON library is headers only: the build machine's copy serves, seen
# through a folder of its own so that no other host header reaches the
# Windows compiler.
find_path(SI32_NLOHMANN_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(si32_json_root ${PROJECT_BINARY_DIR}/generated/json)
file(MAKE_DIRECTORY ${si32_json_root})
file(CREATE_LINK ${SI32_NLOHMANN_INCLUDE}/nlohmann ${si32_json_root}/nlohmann SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${si32_json_root})

# Windows XP is the oldest system that still runs what MinGW-w64's runtime
# links; the version calls the program makes are those of every Windows.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501)

# GCC 12's flow warnings misfire on std::string's inlined copies (a memcpy of
# 2^63 bytes that cannot happen) in the MinGW headers; the Linux build keeps
# them.
add_compile_options(-Wno-restrict -Wno-stringop-overflow)

# Every program carries the manifest (app/windows/): the systems it knows,
# and the screen density it draws for; and the icon.
enable_language(RC)
set(SI32_WINDOWS_RESOURCES ${PROJECT_SOURCE_DIR}/app/windows/program.rc)
set_source_files_properties(${SI32_WINDOWS_RESOURCES} PROPERTIES
  OBJECT_DEPENDS "${PROJECT_SOURCE_DIR}/app/windows/program.manifest;${PROJECT_SOURCE_DIR}/app/windows/si32.ico")
