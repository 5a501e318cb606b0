# Writes OUT with the program's version as `git describe` gives it for
# SOURCE_DIR ("unknown" outside a git checkout). Run at every build; the
# file is only rewritten when the version changed, so nothing rebuilds
# needlessly.
execute_process(
  COMMAND git -C "${SOURCE_DIR}" describe --tags --always --dirty
  OUTPUT_VARIABLE version
  ERROR_QUIET
  RESULT_VARIABLE rc
  OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT rc EQUAL 0 OR version STREQUAL "")
  set(version "unknown")
endif()
string(REPLACE "\\" "\\\\" version "${version}")
string(REPLACE "\"" "\\\"" version "${version}")
set(text "/* Made at build time by cmake/version.cmake. */\n#define TESSEL_VERSION \"${version}\"\n")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
else()
  set(old "")
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUT}" "${text}")
endif()
