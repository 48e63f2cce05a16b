# Compiler settings shared by every target: warnings, sanitizers, ccache.

find_program(KELVANA_CCACHE ccache)
if(KELVANA_CCACHE)
  set(CMAKE_C_COMPILER_LAUNCHER ${KELVANA_CCACHE})
  set(CMAKE_CXX_COMPILER_LAUNCHER ${KELVANA_CCACHE})
endif()

if(KELVANA_SANITIZE AND KELVANA_TSAN)
  message(FATAL_ERROR "KELVANA_SANITIZE and KELVANA_TSAN cannot be combined")
endif()
if(KELVANA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
  add_library(kelvana_sanitizer_defaults OBJECT ${CMAKE_CURRENT_LIST_DIR}/SanitizerDefaults.cpp)
  link_libraries(kelvana_sanitizer_defaults)
endif()
if(KELVANA_TSAN)
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
endif()

# Warnings for the project's own code; applied per target so that third-party
# headers pulled in as SYSTEM stay quiet.
function(kelvana_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
endfunction()
