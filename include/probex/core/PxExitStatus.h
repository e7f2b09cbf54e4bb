// The process's verdict for shells and CTest: end main with
// `return PxExitStatus();`.
#pragma once

#include "probex/base/PxApi.h"

// 1 once anything in this process failed: a failed expectation, false
// ASSERT/VERIFY evaluations reported after a case, a class without its end
// marker or without a caption, cases declared after a base class's end
// marker, or a PROBEX_FILTER that cannot be read; 1 too while no case has
// run, unless PROBEX_ALLOW_NO_CASES=1. Otherwise 0. Every thread and every
// run of the process counts.
PX_API int PxExitStatus();
