# Writes build_info.h with the 40-hex source revision and the time of this build, in the
# compiler's date form ("Mmm dd yyyy hh:mm:ss", the day padded with a space). Run at every
# build, so the stamp is the build's own; the file is rewritten only when it changes.
set(revision "0000000000000000000000000000000000000000")
if(GIT)
  execute_process(COMMAND ${GIT} -C ${SOURCE_DIR} rev-parse HEAD
    OUTPUT_VARIABLE rev OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE rc)
  if(rc EQUAL 0 AND rev MATCHES "^[0-9a-f]+$")
    set(revision ${rev})
  endif()
endif()
string(TIMESTAMP month "%b")
string(TIMESTAMP day "%d")
string(TIMESTAMP rest "%Y %H:%M:%S")
string(REGEX REPLACE "^0" " " day "${day}")
# "1.04": major 1, minor 4 for the numeric fields of the version resource.
string(REGEX MATCH "^([0-9]+)\\.([0-9]+)" _ "${VERSION}")
set(major ${CMAKE_MATCH_1})
math(EXPR minor "${CMAKE_MATCH_2}")
set(content "#pragma once\n#define ORVANE_VERSION \"${VERSION}\"\n#define ORVANE_VERSION_MAJOR ${major}\n#define ORVANE_VERSION_MINOR ${minor}\n#define ORVANE_SOURCE_REVISION \"${revision}\"\n#define ORVANE_BUILD_TIMESTAMP \"${month} ${day} ${rest}\"\n#define ORVANE_WEBSITE \"${WEBSITE}\"\n")
if(EXISTS ${OUTPUT})
  file(READ ${OUTPUT} old)
endif()
if(NOT "${old}" STREQUAL "${content}")
  file(WRITE ${OUTPUT} "${content}")
endif()
