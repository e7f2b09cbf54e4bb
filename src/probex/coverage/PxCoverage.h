// Functions that code under test calls: the routing of its failed
// ASSERT/VERIFY checks to the running test case.
#pragma once

#include "probex/PxApi.h"

namespace NPxCoverage {

// Charges one false ASSERT/VERIFY to the test case whose RunMain runs on the
// calling thread; on any other thread it is dropped. Always returns 0.
PX_API int OnAssertFailedLine(const char* file, int line);

} // namespace NPxCoverage
