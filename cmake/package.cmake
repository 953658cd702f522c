# The Debian package (cpack -G DEB): everything cmake/install.cmake installs,
# under /usr, with Depends computed from the binaries by dpkg-shlibdeps.
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
# Opened at run time, and only where the machine has something for them
# (sound, printers, the report's screen facts), so shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libasound2, libcups2, libx11-6")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://si32.tarvello.example/")
include(CPack)
