# Writes one shipped movie: the runtime files and a template file wrapped in one
# function scope. Called as
#   cmake -DOUTPUT=file.js -DINPUTS="a.js|b.js|..." -P ConcatMovie.cmake
string(REPLACE "|" ";" inputs "${INPUTS}")
set(text "// Kelvana movie. Generated from movies/ at build time; edit the sources there.\n(function () {\n'use strict';\n")
foreach(input IN LISTS inputs)
  file(READ "${input}" part)
  get_filename_component(name "${input}" NAME)
  string(APPEND text "\n// ---- ${name}\n${part}")
endforeach()
string(APPEND text "\n})();\n")
# Only touch the file when it changes, so dependants do not rebuild needlessly.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${text}")
