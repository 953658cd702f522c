# The Windows programs' installation: the three programs side by side in one
# folder, as they find each other (reschk beside si32-report); a zip of them,
# and an installer (NSIS) with a Start-menu entry and an uninstaller.
install(TARGETS si32 si32-report reschk RUNTIME DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

set(CPACK_GENERATOR ZIP NSIS)
# The debug information stays in the build tree.
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_NAME si32)
set(CPACK_PACKAGE_VENDOR "the Si32 developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Tarvello System Information")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Si32")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(CPACK_SYSTEM_NAME win64)
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  # A 64-bit installer for the 64-bit programs: it runs wherever they do,
  # a 64-bit Wine without the 32-bit loader included.
  set(CPACK_NSIS_DEFINES "Target amd64-unicode")
else()
  set(CPACK_SYSTEM_NAME win32)
endif()
# The Start menu opens the window; the report is a console program, run
# from a prompt.
set(CPACK_PACKAGE_EXECUTABLES si32 "Tarvello System Information")
set(CPACK_NSIS_DISPLAY_NAME "Tarvello System Information")
set(CPACK_NSIS_PACKAGE_NAME "Tarvello System Information")
include(CPack)
