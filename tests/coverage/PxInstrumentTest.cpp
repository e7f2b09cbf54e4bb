// The instrumentation macros: one cookie for this whole file, the line of
// each passage, function exits on every way out, and the passable lines.
#include "coverage/PxCoverageFixture.h"

#include "probex/coverage/PxCoverageMode.h"
#include "probex/coverage/PxInstrument.h"

#include <stdexcept>

namespace {

using Messages = std::vector<SPxMessage>;

int g_entryLine = 0;
int g_leaveLine = 0;

int Instrumented(int how) {
  PX_COVERAGE_FUNCTION_VALUE(how);
  g_entryLine = __LINE__ + 1;
  PX_COVERAGE_LINE();
  if (how == 1)
    return 1;
  if (how == 2)
    throw std::runtime_error("out");
  g_leaveLine = __LINE__ + 1;
  PX_COVERAGE_POINT(3);
  return 0;
}

class Instrument : public CPxCoverageTest {
protected:
  void SetUp() override {
    CPxCoverageTest::SetUp();
    UseMode(PX_MODE_STEP_LOG);
  }
};

TEST_F(Instrument, PassagesNameThisFilesCookieAndLineAndExitsAreReportedOnEveryWayOut) {
  Instrumented(0);
  Instrumented(1);
  EXPECT_THROW(Instrumented(2), std::runtime_error);
  const std::string cookie = std::to_string(PxSourceCookie());
  const std::string entry = "?" + cookie + "," + std::to_string(g_entryLine) + "(1";
  const std::string leave = "?" + cookie + "," + std::to_string(g_leaveLine) + "(3";
  const SPxMessage in{PX_MSG_COVERAGE_FUNC_IN, "Instrumented"};
  // Times are left out: the stand-in clock stands still.
  EXPECT_EQ(Records(), (Messages{in,
                                 {PX_MSG_COVERAGE_LINE, entry},
                                 {PX_MSG_COVERAGE_LINE, leave},
                                 {PX_MSG_COVERAGE_FUNC_OUT, "Instrumented:0"},
                                 in,
                                 {PX_MSG_COVERAGE_LINE, entry},
                                 {PX_MSG_COVERAGE_FUNC_OUT, "Instrumented:1"},
                                 in,
                                 {PX_MSG_COVERAGE_FUNC_OUT, "Instrumented:2"}}));
}

TEST_F(Instrument, TheFileTakesOneCookieAndItsPassableLinesGoOutWithIt) {
  const int cookie = PxSourceCookie();
  EXPECT_EQ(PxSourceCookie(), cookie);
  EXPECT_EQ(NPxCoverage::GetSourceCookie(), cookie + 1);
  const unsigned char table[] = {0x05, 0x80};
  PX_COVERAGE_PASSABLE(40, table);
  EXPECT_EQ(Records(), (Messages{{PX_MSG_COVERAGE_PASSABLE,
                                  "!" + std::to_string(cookie) + ",40;" + __FILE__ + "(0):0580"}}));
}

} // namespace
