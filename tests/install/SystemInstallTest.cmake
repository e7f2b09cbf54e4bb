# Installs the Debian package from DEB_DIR into the running system with
# dpkg, builds the consumer against it (CONSUMER_TEST, with the prefix /usr)
# and removes the package again, so the machine is left as it was found.
# Only as root, and only where nothing of Probex is in the system already.
find_program(dpkg dpkg)
execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT dpkg)
  message("skipped: dpkg not found, so the Debian package cannot be installed")
  return()
endif()
if(NOT uid STREQUAL "0")
  message("skipped: not root, so the Debian package is not installed into the system")
  return()
endif()
# What of the package the system may hold: before, from elsewhere; after, left over.
set(package_paths /usr/include/probex /usr/${LIBDIR}/cmake/Probex* /usr/${LIBDIR}/pkgconfig/probex*
  /usr/${LIBDIR}/libProbex140* /usr/bin/DiVov.exe /usr/bin/pxmode)
execute_process(COMMAND ${dpkg} --status probex RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
file(GLOB found ${package_paths})
if(rc EQUAL 0 OR found)
  message("skipped: the system holds Probex already (${found}); it is left as it is")
  return()
endif()
file(GLOB deb ${DEB_DIR}/*.deb)

execute_process(COMMAND ${dpkg} --install ${deb} RESULT_VARIABLE installed)
if(installed EQUAL 0)
  execute_process(COMMAND ${CMAKE_COMMAND} -DPREFIX=/usr -DCONSUMER_DIR=${CONSUMER_DIR}
    -DLIBDIR=${LIBDIR} -DWORK_DIR=${WORK_DIR} -P ${CONSUMER_TEST}
    RESULT_VARIABLE consumer OUTPUT_VARIABLE out ERROR_VARIABLE out)
  message("${out}")
endif()
execute_process(COMMAND ${dpkg} --purge probex RESULT_VARIABLE removed)
file(GLOB left ${package_paths})
if(NOT installed EQUAL 0)
  message(FATAL_ERROR "dpkg --install ${deb} failed")
elseif(NOT removed EQUAL 0 OR left)
  message(FATAL_ERROR "dpkg --purge probex left the system with ${left}")
elseif(NOT consumer EQUAL 0)
  message(FATAL_ERROR "the consumer does not build or run against the installed package")
endif()
