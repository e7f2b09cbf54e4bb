# Runs the example programs so that logs as the library writes them (the
# header, Japanese texts, coverage records) seed the fuzz targets beside the
# hand-made ones. Their exit status does not matter (one check of the stack
# example fails on purpose); that each wrote a log does.
#   cmake -DOUT=dir -DOBJECTS=dir -DPROGRAMS=a;b -P WriteSeedLogs.cmake
file(REMOVE_RECURSE ${OUT} ${OBJECTS})
# No viewer is found on an empty PATH: the programs only write their logs.
file(MAKE_DIRECTORY ${OUT} ${OBJECTS}/path)
foreach(program ${PROGRAMS})
  execute_process(COMMAND ${CMAKE_COMMAND} -E env TMPDIR=${OUT} PROBEX_OBJECT_DIR=${OBJECTS}
      PATH=${OBJECTS}/path ${program}
    OUTPUT_QUIET ERROR_QUIET)
endforeach()
file(GLOB logs ${OUT}/*.qpxlog)
list(LENGTH logs written)
list(LENGTH PROGRAMS programs)
if(NOT written EQUAL programs)
  message(FATAL_ERROR "${written} logs from ${programs} programs in ${OUT}")
endif()
foreach(log ${logs})
  file(SIZE ${log} size)
  if(size EQUAL 0)
    message(FATAL_ERROR "${log} is empty")
  endif()
endforeach()
