# Packages made by `cpack` in a build tree: a Debian package and a .tar.gz
# on Linux, a .zip on Windows, each holding what `cmake --install` installs
# (the library, its headers, the CMake and pkg-config packages, DiVov.exe
# and pxmode).
include(GNUInstallDirs)

if(MINGW)
  # Programs and Probex140.dll need the MinGW runtime beside them.
  install(FILES ${PROBEX_MINGW_RUNTIME} DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(PROBEX_PACKAGE_CONTACT "Probex maintainers" CACHE STRING
  "Who answers for the packages: the Debian package's Maintainer field")

set(CPACK_PACKAGE_VENDOR "Probex")
set(CPACK_PACKAGE_CONTACT "${PROBEX_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "C++ unit-test framework")
set(CPACK_PACKAGE_DESCRIPTION "Probex is a C++ unit-test framework delivered as one shared library,
Probex140. The package holds the library, its headers, the CMake package
(find_package(Probex) or find_package(Probex140)), the pkg-config modules
probex and probex140, the log viewer DiVov.exe and the mode controller pxmode.")

if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB TGZ)
endif()

set(CPACK_DEBIAN_PACKAGE_NAME probex)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# dpkg-shlibdeps (dpkg-dev) computes Depends from what the binaries link; the
# shlibs file and the ldconfig calls come with the shared library.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")

include(CPack)
