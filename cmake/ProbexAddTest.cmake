# probex_add_test(TARGET <target> [NAME <name>] [ARGS <arg>...])
#
# Registers a Probex test program with CTest. Each run gets a fresh folder
# of its own (temporary files, logs and named objects), so `ctest -j` runs
# never meet; no viewer is started; the test fails when the program's exit
# status is not 0 (end main with `return PxExitStatus();`) or, where the
# viewer is installed, when its log holds a failure. The failures are then
# printed as file:line: error: lines.
set(_PROBEX_RUN_TEST_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/ProbexRunTest.cmake)

function(probex_add_test)
  cmake_parse_arguments(PARSE_ARGV 0 PX "" "TARGET;NAME" "ARGS")
  if(NOT PX_TARGET OR PX_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "probex_add_test(TARGET <target> [NAME <name>] [ARGS <arg>...])")
  endif()
  if(NOT PX_NAME)
    set(PX_NAME ${PX_TARGET})
  endif()
  set(work ${CMAKE_CURRENT_BINARY_DIR}/probex-tests/${PX_NAME})
  set(settings "set(PROBEX_PROGRAM [==[$<TARGET_FILE:${PX_TARGET}>]==])\n")
  string(APPEND settings "set(PROBEX_WORK_DIR [==[${work}]==])\n")
  string(APPEND settings "set(PROBEX_VIEWER [==[${PROBEX_VIEWER}]==])\n")
  string(APPEND settings "set(PROBEX_ARGS")
  foreach(arg IN LISTS PX_ARGS)
    string(APPEND settings " [==[${arg}]==]")
  endforeach()
  string(APPEND settings ")\n")
  file(GENERATE OUTPUT ${work}.cmake CONTENT "${settings}")
  add_test(NAME ${PX_NAME}
    COMMAND ${CMAKE_COMMAND} -DPROBEX_TEST_FILE=${work}.cmake -P ${_PROBEX_RUN_TEST_SCRIPT})
endfunction()
