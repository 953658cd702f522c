# What an installation holds: the programs, reschk where they look for it,
# the default prefix, the demo machines, the icon, the desktop entry and AppStream metadata,
# the manual pages, the shell completions of si32-report and the docs. The
# icon is also laid into the build tree, where the programs in bin/ find it
# as an installed program does.
set(desktop ${PROJECT_SOURCE_DIR}/app/desktop)

# file.gz beside file, made when CMake configures (the file is configured
# then too).
function(si32_gzip file)
  execute_process(COMMAND gzip -9n -c INPUT_FILE ${file} OUTPUT_FILE ${file}.gz RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip ${file} failed")
  endif()
endfunction()
set(generated ${PROJECT_BINARY_DIR}/generated)

if(TARGET si32)
  install(TARGETS si32 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(TARGETS si32-report RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS reschk RUNTIME DESTINATION ${CMAKE_INSTALL_LIBEXECDIR}/si32)
install(DIRECTORY ${SI32_BUILD_DATADIR}/si32/prefix DESTINATION ${CMAKE_INSTALL_DATADIR}/si32)

# The demo machines, found by name (SI32_MACHINE=win98se) beside the
# programs; the build tree's programs see the source tree's own, as edited.
file(MAKE_DIRECTORY ${SI32_BUILD_DATADIR}/si32)
file(CREATE_LINK ${PROJECT_SOURCE_DIR}/machines ${SI32_BUILD_DATADIR}/si32/machines SYMBOLIC)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/machines/ DESTINATION ${CMAKE_INSTALL_DATADIR}/si32/machines
  FILES_MATCHING PATTERN "*.json" PATTERN "*.reg")

set(hicolor icons/hicolor)
configure_file(${desktop}/icons/${SI32_APP_ID}.svg ${SI32_BUILD_DATADIR}/${hicolor}/scalable/apps/${SI32_APP_ID}.svg COPYONLY)
foreach(size 16 24 32 48 64 128 256)
  configure_file(${desktop}/icons/${SI32_APP_ID}-${size}.png
    ${SI32_BUILD_DATADIR}/${hicolor}/${size}x${size}/apps/${SI32_APP_ID}.png COPYONLY)
endforeach()
install(DIRECTORY ${SI32_BUILD_DATADIR}/${hicolor} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

install(FILES ${desktop}/${SI32_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
set(SI32_RELEASE_DATE 2026-12-08)
set(SI32_RELEASE_CHANGELOG_DATE "Tue, 08 Dec 2026 00:00:00 +0000")
configure_file(${desktop}/${SI32_APP_ID}.metainfo.xml.in ${generated}/${SI32_APP_ID}.metainfo.xml @ONLY)
install(FILES ${generated}/${SI32_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Compressed as Debian wants them (-n: no name or time inside, so the same
# page gives the same bytes); man reads them so everywhere.
foreach(page si32 si32-report)
  configure_file(${PROJECT_SOURCE_DIR}/docs/man/${page}.1.in ${generated}/man/${page}.1 @ONLY)
  si32_gzip(${generated}/man/${page}.1)
  install(FILES ${generated}/man/${page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

install(FILES ${desktop}/completions/si32-report.bash
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME si32-report)
install(FILES ${desktop}/completions/_si32-report DESTINATION ${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions)
install(FILES ${desktop}/completions/si32-report.fish DESTINATION ${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d)

install(FILES ${PROJECT_SOURCE_DIR}/docs/differences.md ${PROJECT_SOURCE_DIR}/docs/screenshot.png
  DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/machines/README.md DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME machines.md)
