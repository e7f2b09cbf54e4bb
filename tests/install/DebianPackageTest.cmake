# Makes the Debian package of the build with cpack into DEB_DIR and checks
# what it holds and says of itself: the library with its soname links, every
# public header, both CMake packages, both pkg-config modules and the two
# programs, all owned by root, with Depends worked out from the binaries.
include(${CMAKE_CURRENT_LIST_DIR}/PackageCheck.cmake)
find_program(dpkg_deb dpkg-deb)
if(NOT dpkg_deb)
  message("skipped: dpkg-deb not found, so no Debian package can be made")
  return()
endif()
probex_make_package(deb DEB ${BUILD_DIR} ${DEB_DIR})

execute_process(COMMAND ${dpkg_deb} --contents ${deb} OUTPUT_VARIABLE contents RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg-deb cannot read ${deb}")
endif()
message("${contents}")
string(REPLACE "\n" ";" entries "${contents}")
foreach(entry IN LISTS entries)
  if(entry AND NOT entry MATCHES "^[-dl][rwx-]+ root/root ")
    message(FATAL_ERROR "not owned by root, or not a file, folder or link: ${entry}")
  endif()
endforeach()

# An entry of the listing: the mode's first letters, then the path.
set(lib ./usr/${LIBDIR})
set(expected
  "-rw-r--r-- ${lib}/libProbex140.so.${VERSION}"
  "l ${lib}/libProbex140.so.${SOVERSION} -> libProbex140.so.${VERSION}"
  "l ${lib}/libProbex140.so -> libProbex140.so.${SOVERSION}"
  "-rwxr-xr-x ./usr/bin/DiVov.exe"
  "-rwxr-xr-x ./usr/bin/pxmode")
probex_package_files(files ${SOURCE_DIR} ${LIBDIR})
foreach(file IN LISTS files)
  list(APPEND expected "-rw-r--r-- ./usr/${file}")
endforeach()
foreach(entry IN LISTS expected)
  string(REGEX MATCH "^([^ ]+) (.*)$" parts "${entry}")
  set(mode ${CMAKE_MATCH_1})
  probex_path_pattern(path "${CMAKE_MATCH_2}")
  if(NOT contents MATCHES "(^|\n)${mode}[^\n]* ${path}(\n|$)")
    message(FATAL_ERROR "the Debian package lacks ${entry}")
  endif()
endforeach()

execute_process(COMMAND ${dpkg_deb} --field ${deb} Package Version Maintainer Depends
  OUTPUT_VARIABLE fields)
execute_process(COMMAND ${dpkg_deb} --info ${deb} shlibs OUTPUT_VARIABLE shlibs)
message("${fields}${shlibs}")
foreach(expected
    "Package: probex\n" "Version: ${VERSION}\n" "Maintainer: [^\n]+"
    "Depends: [^\n]*libc6 [^\n]*libstdc\\+\\+6")
  if(NOT fields MATCHES "${expected}")
    message(FATAL_ERROR "the Debian package's fields lack ${expected} "
      "(Depends comes from dpkg-shlibdeps, in dpkg-dev)")
  endif()
endforeach()
if(NOT shlibs MATCHES "libProbex140 ${SOVERSION} probex \\(>= ${VERSION}\\)")
  message(FATAL_ERROR "the Debian package's shlibs does not name libProbex140")
endif()
