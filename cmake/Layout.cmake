# The build output is a runnable tree:
#   app/Kelvana            the editor
#   app/album.scr          the screen-saver program
#   app/Sources/           run-time data, with the player program as Sources/Player
set(KELVANA_APP_DIR ${CMAKE_BINARY_DIR}/app)
set(KELVANA_SOURCES_DIR ${KELVANA_APP_DIR}/Sources)
file(MAKE_DIRECTORY ${KELVANA_SOURCES_DIR})

# One static library per layout folder, made of every .cpp and .h file in it;
# the library gets the warnings and the Qt precompiled header.
function(kelvana_library name)
  cmake_parse_arguments(ARG "" "" "LIBS;EXCLUDE;FOLDERS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  # FOLDERS: subfolders whose files belong to the same library (window families).
  foreach(folder IN LISTS ARG_FOLDERS)
    file(GLOB more CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h)
    list(APPEND sources ${more})
  endforeach()
  foreach(excluded IN LISTS ARG_EXCLUDE)
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  kelvana_warnings(${name})
  target_precompile_headers(${name} PRIVATE ${CMAKE_SOURCE_DIR}/cmake/pch.h)
endfunction()
