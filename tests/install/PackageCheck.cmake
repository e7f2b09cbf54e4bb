# What the package tests share.

# The files every package of Probex holds, relative to its prefix, besides
# the library and the programs, whose names differ between systems: every
# public header, both CMake packages and both pkg-config modules.
function(probex_package_files out source_dir libdir)
  set(files ${libdir}/pkgconfig/probex.pc ${libdir}/pkgconfig/probex140.pc
    ${libdir}/cmake/Probex140/Probex140Config.cmake
    ${libdir}/cmake/Probex140/Probex140ConfigVersion.cmake)
  foreach(file ProbexConfig ProbexConfigVersion ProbexTargets ProbexAddTest ProbexRunTest)
    list(APPEND files ${libdir}/cmake/Probex/${file}.cmake)
  endforeach()
  file(GLOB_RECURSE headers RELATIVE ${source_dir} ${source_dir}/include/probex/*)
  set(${out} ${files} ${headers} PARENT_SCOPE)
endfunction()

# The path as a regular expression that matches only itself.
function(probex_path_pattern out path)
  string(REGEX REPLACE "[.+]" "\\\\\\0" pattern "${path}")
  set(${out} "${pattern}" PARENT_SCOPE)
endfunction()

# Makes the build's package with the given cpack generator into a fresh
# folder and gives its path; there must be exactly one.
function(probex_make_package out generator build_dir dir)
  file(REMOVE_RECURSE ${dir})
  execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G ${generator}
    --config ${build_dir}/CPackConfig.cmake -B ${dir}
    RESULT_VARIABLE rc OUTPUT_VARIABLE log ERROR_VARIABLE log)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cpack -G ${generator} failed:\n${log}")
  endif()
  file(GLOB package ${dir}/*.*)
  list(LENGTH package count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "cpack -G ${generator} made ${count} packages in ${dir}, "
      "not one: ${package}")
  endif()
  set(${out} ${package} PARENT_SCOPE)
endfunction()
