// Coverage of the code under test: which lines and functions ran.
//   ./coverage_example                   count mode: one "PxCt" record per line
//                                        at the end of the log
//   pxmode --step -- ./coverage_example  step log: a "PxLn" record for every
//                                        passage, "PxFn"/"PxFo" for calls
// The log is the .qpxlog file in the temporary directory.
#include <probex/coverage/PxInstrument.h>
#include <probex/probex.h>

// The code under test, instrumented by hand as an instrumenting tool would.
// The table marks the lines below that hold a passage point: bit b of byte k
// is line kFirstLine + 8k + b.
constexpr int kFirstLine = __LINE__ + 2;
const unsigned char kPassable[] = {0x94, 0x12};
int Clamp(int value, int low, int high) {
  PX_COVERAGE_FUNCTION();
  PX_COVERAGE_LINE();
  if (value < low) {
    PX_COVERAGE_LINE();
    return low;
  }
  PX_COVERAGE_LINE();
  if (value > high) {
    PX_COVERAGE_LINE();
    return high;
  }
  PX_COVERAGE_LINE();
  return value;
}

class CClampTest : public CProbex {
public:
  CClampTest() { PX_CAPTION_CLASS("Clamp: values are kept within bounds"); }

  PX_CASE(Inside) {
    PX_CASE_CAPTION("a value inside the bounds is kept");
    PX_ASSERT_EQUAL(Clamp(5, 0, 10), 5);
  }
  PX_CASE(Below) {
    PX_CASE_CAPTION("a value below is raised to the low bound");
    PX_ASSERT_EQUAL(Clamp(-3, 0, 10), 0);
  }
  PX_DECLARATION_END();
};

int main() {
  PX_COVERAGE_PASSABLE(kFirstLine, kPassable);
  CClampTest().Run();
  return PxExitStatus();
}
