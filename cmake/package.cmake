# The Debian package (cpack -G DEB): everything cmake/install.cmake installs,
# under /usr, with Depends computed from the binaries by dpkg-shlibdeps, the
# programs stripped and their debug information in si32-dbgsym (a .ddeb),
# and the copyright and changelog Debian wants in the documentation.
set(CPACK_PACKAGE_NAME si32)
set(CPACK_PACKAGE_VENDOR Tarvello)
set(CPACK_PACKAGE_CONTACT "Si32 developers <si32@tarvello.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tarvello System Information: the facts of this computer in one window")
set(CPACK_PACKAGE_DESCRIPTION
  "Si32 opens one window that shows, read-only, the operating system, the\n"
  "hardware and memory, and the drives of the computer it runs on.\n"
  "si32-report prints the same facts as text or JSON.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_DEBUGINFO_PACKAGE ON)
# Opened at run time, and only where the machine has something for them
# (sound, printers, the report's screen facts, the keyboard's description,
# the monitors, the drives' labels), so shlibdeps cannot see them. The
# packaging test holds this list to the names the programs open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "libasound2, libblkid1, libcups2, libudev1, libx11-6, libxinerama1, libxkbregistry0")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://si32.tarvello.example/")

# The copyright in Debian's machine-readable form, its licence text taken
# from LICENSE (one blank-led line each, "." for an empty one).
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
string(REGEX REPLACE "^.*Copyright \\(c\\) the Si32 developers\n\n" "" license "${license}")
string(STRIP "${license}" license)
string(REPLACE "\n\n" "\n.\n" license "${license}")
string(REPLACE "\n" "\n " SI32_LICENSE_DEP5 " ${license}")
# A year, which Debian's tools look for in a copyright notice: the release's.
string(SUBSTRING "${SI32_RELEASE_DATE}" 0 4 SI32_COPYRIGHT_YEARS)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright.in ${generated}/copyright @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${generated}/changelog @ONLY)
si32_gzip(${generated}/changelog)
install(FILES ${generated}/copyright ${generated}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
include(CPack)
