# Makes the Windows build's .zip with cpack into ZIP_DIR and checks that it
# holds the DLL, its import library, the programs, the MinGW runtime DLLs
# they need (RUNTIME_DLLS) and the files every package holds.
include(${CMAKE_CURRENT_LIST_DIR}/PackageCheck.cmake)
probex_make_package(zip ZIP ${BUILD_DIR} ${ZIP_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${zip}
  OUTPUT_VARIABLE contents RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cannot read ${zip}")
endif()
message("${contents}")
probex_package_files(expected ${SOURCE_DIR} ${LIBDIR})
list(APPEND expected bin/Probex140.dll ${LIBDIR}/libProbex140.dll.a bin/DiVov.exe bin/pxmode.exe)
foreach(dll IN LISTS RUNTIME_DLLS)
  get_filename_component(name ${dll} NAME)
  list(APPEND expected bin/${name})
endforeach()
foreach(file IN LISTS expected)
  probex_path_pattern(path ${file})
  if(NOT contents MATCHES "(^|\n)[^/\n]+/${path}(\n|$)")
    message(FATAL_ERROR "the archive lacks ${file}")
  endif()
endforeach()
file(REMOVE_RECURSE ${ZIP_DIR})
