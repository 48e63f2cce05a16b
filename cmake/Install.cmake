# `cmake --install` installs the runnable tree under <prefix>/lib/kelvana, a
# launcher in <prefix>/bin, and the system-scope product record that the
# update check reads.
include(GNUInstallDirs)
set(KELVANA_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/kelvana)
set(KELVANA_SYSCONF_DIR "/etc/xdg" CACHE PATH "Folder of the system-scope settings")
install(TARGETS Kelvana RUNTIME DESTINATION ${KELVANA_INSTALL_DIR})
install(PROGRAMS $<TARGET_FILE:album> DESTINATION ${KELVANA_INSTALL_DIR})
install(PROGRAMS $<TARGET_FILE:player> DESTINATION ${KELVANA_INSTALL_DIR}/Sources)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/Sources/ DESTINATION ${KELVANA_INSTALL_DIR}/Sources
  PATTERN CMakeLists.txt EXCLUDE)
# The movies are made from movies/ at build time.
foreach(movie IN LISTS KELVANA_GENERATED_MOVIES)
  get_filename_component(folder ${movie} DIRECTORY)
  install(FILES ${KELVANA_SOURCES_DIR}/${movie} DESTINATION ${KELVANA_INSTALL_DIR}/Sources/${folder})
endforeach()
install(CODE "file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
  execute_process(COMMAND ${CMAKE_COMMAND} -E create_symlink ../${KELVANA_INSTALL_DIR}/Kelvana
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/kelvana\")")
configure_file(${CMAKE_SOURCE_DIR}/cmake/product.conf.in ${CMAKE_BINARY_DIR}/product.conf @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/product.conf DESTINATION ${KELVANA_SYSCONF_DIR}/Orlemo
  RENAME "Vantri Kelvana.conf")
