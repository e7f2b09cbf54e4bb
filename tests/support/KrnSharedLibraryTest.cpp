// The support library seen from a program linked to the shared library.
#include "common/PxChildProcess.h"

#include <gtest/gtest.h>

TEST(KrnSharedLibrary, InstantiationsAndExceptionsCrossTheLibraryBoundary) {
  const SPxChildResult result = PxRunChild({PxScenarioPath("krn_shared_scenario")});
  EXPECT_EQ(result.exitCode, 0) << result.stdErr;
  EXPECT_EQ(result.stdOut, "1 5 own 2\n");
}
