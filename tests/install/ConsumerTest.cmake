# Builds a consumer project against Probex installed in PREFIX, once
# finding the package as Probex and once as Probex140, and runs its tests
# with CTest: the one with a failing check must fail and list it as an
# error, the filtered one pass, and a filter that cannot be read must fail
# with a message. Then pkg-config must give the same flags for probex and
# probex140, pointing at PREFIX's headers and library.
#
# With BUILD_DIR, that build is first installed into PREFIX, and pkg-config
# is pointed at it; without, PREFIX is where the system installed the package.
file(REMOVE_RECURSE ${WORK_DIR})
if(BUILD_DIR)
  file(REMOVE_RECURSE ${PREFIX})
  execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE rc OUTPUT_QUIET)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "install failed")
  endif()
  set(ENV{PKG_CONFIG_PATH} ${PREFIX}/${LIBDIR}/pkgconfig)
endif()
file(REAL_PATH ${PREFIX} prefix)

foreach(package Probex Probex140)
  set(build ${WORK_DIR}/build-${package})
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${build}
    -DPROBEX_PACKAGE=${package} -DCMAKE_PREFIX_PATH=${prefix} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "consumer configure with find_package(${package}) failed")
  endif()
  # Found in PREFIX, not in some other installation.
  file(STRINGS ${build}/CMakeCache.txt found REGEX "^${package}_DIR:")
  if(NOT found MATCHES "=${prefix}/")
    message(FATAL_ERROR "find_package(${package}) found ${found}, not the package in ${prefix}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${build} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "consumer build with find_package(${package}) failed")
  endif()
  execute_process(COMMAND ${CMAKE_CTEST_COMMAND} --output-on-failure -j3
    WORKING_DIRECTORY ${build} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  message("${out}")
  foreach(expected
      "Test +#[0-9]+: consumer [ .]+\\*\\*\\*Failed"
      "Test +#[0-9]+: consumer_filtered [ .]+ Passed"
      "Test +#[0-9]+: consumer_bad_filter [ .]+\\*\\*\\*Failed"
      "Consumer\\.cpp:[0-9]+: error: '"
      "PROBEX_FILTER cannot be read: 'CConsumerTest' is not Class.Case")
    if(NOT out MATCHES "${expected}")
      message(FATAL_ERROR "with find_package(${package}), "
        "the consumer's ctest output lacks ${expected}")
    endif()
  endforeach()
endforeach()

# A version the package is not must be refused under either name, after the
# package was found and its version file read.
file(WRITE ${WORK_DIR}/version/CMakeLists.txt [=[
cmake_minimum_required(VERSION 3.20)
project(ProbexVersionProbe LANGUAGES NONE)
foreach(package Probex Probex140)
  foreach(wanted 1.41 1.39 2.40)
    find_package(${package} ${wanted} QUIET)
    if(${package}_FOUND OR NOT ${package}_CONSIDERED_VERSIONS)
      message(FATAL_ERROR "find_package(${package} ${wanted}) did not refuse version "
        "'${${package}_CONSIDERED_VERSIONS}'")
    endif()
  endforeach()
endforeach()
]=])
execute_process(COMMAND ${CMAKE_COMMAND} -S ${WORK_DIR}/version -B ${WORK_DIR}/version/build
  -DCMAKE_PREFIX_PATH=${prefix} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "a version other than the package's was accepted")
endif()

find_program(pkg_config pkg-config)
if(NOT pkg_config)
  file(REMOVE_RECURSE ${WORK_DIR})
  message("skipped: pkg-config not found (scripts/setup.sh pkgconf installs it)")
  return()
endif()
foreach(module probex probex140)
  set(${module}_flags "")
  foreach(query --modversion "--cflags;--libs")
    execute_process(COMMAND ${pkg_config} ${query} ${module}
      RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT rc EQUAL 0)
      message(FATAL_ERROR "pkg-config ${query} ${module} failed: ${out}")
    endif()
    string(APPEND ${module}_flags "${out} ")
  endforeach()
endforeach()
if(NOT probex_flags STREQUAL probex140_flags)
  message(FATAL_ERROR "pkg-config probex gives '${probex_flags}', probex140 '${probex140_flags}'")
endif()
string(REGEX MATCH "-I([^ ]+)" include_dir "${probex_flags}")
set(include_dir "${CMAKE_MATCH_1}")
string(REGEX MATCH "-L([^ ]+)" library_dir "${probex_flags}")
set(library_dir "${CMAKE_MATCH_1}")
if(NOT EXISTS "${include_dir}/probex/probex.h" OR NOT EXISTS "${library_dir}/libProbex140.so")
  message(FATAL_ERROR "pkg-config probex: no probex/probex.h or libProbex140.so where "
    "'${probex_flags}' points")
endif()
file(REAL_PATH ${include_dir} include_dir)
if(NOT include_dir STREQUAL "${prefix}/include")
  message(FATAL_ERROR "pkg-config probex points at ${include_dir}, not at ${prefix}/include")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
