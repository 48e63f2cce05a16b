# Third-party libraries, all from Debian 12 packages.
set(CMAKE_AUTOMOC ON)
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Widgets Network WebEngineCore WebEngineWidgets Concurrent)
if(KELVANA_TESTS)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Test)
  find_package(GTest REQUIRED)
endif()
find_package(pugixml REQUIRED)
find_package(GIF REQUIRED)
# libzip's own CMake package refers to its command-line tools, which Debian
# ships separately; pkg-config describes the library alone.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
