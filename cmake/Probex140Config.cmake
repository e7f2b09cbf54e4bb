# The package under the library's own name, as find_package(Probex140) looks
# for it: the same targets and functions, from the one configuration of the
# Probex package beside this folder.
include("${CMAKE_CURRENT_LIST_DIR}/../Probex/ProbexConfig.cmake")
check_required_components(Probex140)
