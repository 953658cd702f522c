# Where an installation puts things (GNUInstallDirs), and the same layout in
# the build tree, so the programs find their data, reschk and icon relative
# to their own location wherever they were installed or moved to.
include(GNUInstallDirs)

set(SI32_APP_ID com.tarvello.Si32)

function(si32_relative_to_bin out full_dir)
  cmake_path(RELATIVE_PATH full_dir BASE_DIRECTORY "${CMAKE_INSTALL_FULL_BINDIR}" OUTPUT_VARIABLE relative)
  set(${out} "${relative}" PARENT_SCOPE)
endfunction()
si32_relative_to_bin(SI32_DATA_FROM_BIN "${CMAKE_INSTALL_FULL_DATADIR}")
si32_relative_to_bin(SI32_LIBEXEC_FROM_BIN "${CMAKE_INSTALL_FULL_LIBEXECDIR}/si32")

# The build tree keeps the programs in bin/ (reschk among them) and their
# data where an installation's programs would look for it.
cmake_path(ABSOLUTE_PATH SI32_DATA_FROM_BIN BASE_DIRECTORY "${PROJECT_BINARY_DIR}/bin" NORMALIZE
  OUTPUT_VARIABLE SI32_BUILD_DATADIR)
string(REGEX REPLACE "/$" "" SI32_BUILD_DATADIR "${SI32_BUILD_DATADIR}")

configure_file(${CMAKE_CURRENT_LIST_DIR}/install_layout.h.in ${PROJECT_BINARY_DIR}/generated/platform/install_layout.h @ONLY)
add_library(si32_install_layout INTERFACE)
target_include_directories(si32_install_layout INTERFACE ${PROJECT_BINARY_DIR}/generated)
