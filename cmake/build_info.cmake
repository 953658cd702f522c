# Run at every build (cmake -P): writes build_info.cpp with the version and
# the commit of the sources, and touches it only when they changed, so a new
# commit relinks the programs and nothing else rebuilds.
#   -DSOURCE_DIR= -DINPUT= -DOUTPUT= -DSI32_VERSION=
set(SI32_COMMIT "")
find_package(Git QUIET)
if(GIT_FOUND AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" rev-parse --short=12 HEAD
    OUTPUT_VARIABLE SI32_COMMIT OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(failed)
    set(SI32_COMMIT "")
  endif()
  if(SI32_COMMIT)
    execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" status --porcelain --untracked-files=no
      OUTPUT_VARIABLE changes ERROR_QUIET)
    if(changes)
      string(APPEND SI32_COMMIT "-modified")
    endif()
  endif()
endif()
configure_file("${INPUT}" "${OUTPUT}" @ONLY)
