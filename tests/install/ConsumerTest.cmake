# Installs the build into a fresh prefix, then builds a consumer that finds
# the package with find_package(Probex) and runs its tests with CTest: the
# one with a failing check must fail and list it as an error, the filtered
# one pass, and a filter that cannot be read must fail with a message.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/build
  -DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "consumer configure failed")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/build RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "consumer build failed")
endif()
execute_process(COMMAND ${CMAKE_CTEST_COMMAND} --output-on-failure -j3
  WORKING_DIRECTORY ${WORK_DIR}/build RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
message("${out}")
foreach(expected
    "Test +#[0-9]+: consumer [ .]+\\*\\*\\*Failed"
    "Test +#[0-9]+: consumer_filtered [ .]+ Passed"
    "Test +#[0-9]+: consumer_bad_filter [ .]+\\*\\*\\*Failed"
    "Consumer\\.cpp:[0-9]+: error: '"
    "PROBEX_FILTER cannot be read: 'CConsumerTest' is not Class.Case")
  if(NOT out MATCHES "${expected}")
    message(FATAL_ERROR "the consumer's ctest output lacks ${expected}")
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
