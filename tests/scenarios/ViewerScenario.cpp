// Test programs whose logs the viewer's tests read: each mode is one kind of
// run (all passing, failing, a class without caption or end marker, a
// suite, coverage in either mode, a run that waits halfway). The first
// argument picks the mode.
#include <probex/probex.h>

#include <unistd.h>

#include <string>

namespace {

class CPassing : public CProbex {
public:
  CPassing() { PX_CAPTION_CLASS("passing class"); }
  PX_CASE(Adds) {
    PX_CASE_CAPTION("adds");
    PX_TEST_CAPTION("one plus one");
    PX_ASSERT_EQUAL(1 + 1, 2);
    PX_ASSERT(3 > 2);
  }
  PX_CASE(Compares) {
    PX_CASE_CAPTION("compares text");
    PX_TEST_LINE();
    PX_ASSERT_STR("abc", "abc");
  }
  PX_DECLARATION_END();
};

class CFailing : public CProbex {
public:
  CFailing() { PX_CAPTION_CLASS("failing class"); }
  PX_CASE(Mixed) {
    PX_CASE_CAPTION("mixed <outcomes> & \"quotes\"");
    PX_ASSERT_EQUAL(2 * 2, 4);
    PX_ASSERT_EQUAL(2 + 2, 5);
  }
  PX_CASE(Strings) {
    PX_CASE_CAPTION("strings");
    PX_ASSERT_STR("abc", "ABC");
    const unsigned char bytes[18] = {0, 1,  2,  3,  4,  5,  6,  7,  8,
                                     9, 10, 11, 12, 13, 14, 15, 16, 0xFE};
    PX_DUMP(bytes, 18);
  }
  PX_CASE(Uncaptioned) { PX_ASSERT(false); }
  PX_DECLARATION_END();
};

class CNoCaption : public CProbex {
public:
  PX_CASE(Never) { PX_ASSERT(true); }
  PX_DECLARATION_END();
};

class CNoEnd : public CProbex {
public:
  CNoEnd() { PX_CAPTION_CLASS("class without end marker"); }
  PX_CASE(Only) {
    PX_CASE_CAPTION("only case");
    PX_ASSERT(true);
  }
};

// Code under test, instrumented by hand as a tool would do it: each line
// that can run reports its passage, and the table below marks those lines.
// The first line has two passage points, as a loop header would.
int g_cookie = -1;
void Pass(int line) {
  NPxCoverage::OutputLine(g_cookie, line, 1);
}
void PassTwice(int line) {
  NPxCoverage::OutputLine(g_cookie, line, 1);
  NPxCoverage::OutputLine(g_cookie, line, 2);
}

const int kClampFirstLine = __LINE__ + 4;
// Bits of the lines that pass, from the first: +0, +2, +5, +7 and +10.
const unsigned char kClampTable[] = {0xA5, 0x04};
int Clamp(int value, int low, int high) {
  PassTwice(__LINE__);
  if (value < low) {
    Pass(__LINE__);
    return low;
  }
  Pass(__LINE__);
  if (value > high) {
    Pass(__LINE__);
    return high;
  }
  Pass(__LINE__);
  return value;
}

class CClamp : public CProbex {
public:
  CClamp() { PX_CAPTION_CLASS("clamp"); }
  PX_CASE(Inside) {
    PX_CASE_CAPTION("inside the range");
    NPxCoverage::OutputFuncIn("Clamp");
    PX_ASSERT_EQUAL(Clamp(5, 0, 10), 5);
    NPxCoverage::OutputFuncOut("Clamp", 5);
    PX_ASSERT_EQUAL(Clamp(7, 0, 10), 7);
  }
  PX_CASE(Below) {
    PX_CASE_CAPTION("below the range");
    PX_ASSERT_EQUAL(Clamp(-3, 0, 10), 0);
  }
  PX_DECLARATION_END();
};

void RunCoverage(bool stepLog) {
  if (stepLog)
    NPxCoverage::SetStepLogMode();
  g_cookie = NPxCoverage::GetSourceCookie();
  NPxCoverage::OutputPassibleLine(g_cookie, kClampFirstLine, __FILE__, kClampTable,
                                  static_cast<int>(sizeof kClampTable));
  CClamp().Run();
}

// Records enough to reach the file at once, then more only after the
// file named by gate exists: a reader can watch the log grow.
class CHalfway : public CProbex {
public:
  CHalfway() { PX_CAPTION_CLASS("first half"); }
  PX_CASE(Dumps) {
    PX_CASE_CAPTION("dumps");
    PX_ASSERT(true);
    const std::string bytes(3000, 'd');
    PX_DUMP(bytes.data(), static_cast<int>(bytes.size()));
  }
  PX_DECLARATION_END();
};

class CSecondHalf : public CProbex {
public:
  CSecondHalf() { PX_CAPTION_CLASS("second half"); }
  PX_CASE(Fails) {
    PX_CASE_CAPTION("fails after the wait");
    PX_ASSERT(false);
  }
  PX_DECLARATION_END();
};

void RunHalfway(const char* gate) {
  CHalfway().Run();
  // Overflows the log's buffer, so everything before is in the file.
  const std::string filler(9000, 'x');
  CProbexView().OutputMessage(filler.c_str(), PX_MSG_ETC);
  while (::access(gate, F_OK) != 0)
    ::usleep(10000);
  CSecondHalf().Run();
}

} // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "pass") {
    CPassing().Run();
  } else if (mode == "fail") {
    CFailing().Run();
  } else if (mode == "nocaption") {
    CNoCaption().Run();
  } else if (mode == "noend") {
    CNoEnd().Run();
  } else if (mode == "suite") {
    CProbexSuite suite;
    PX_ADD(suite, CPassing);
    PX_ADD(suite, CFailing);
    suite.Suite();
  } else if (mode == "coverage-step" || mode == "coverage-count") {
    RunCoverage(mode == "coverage-step");
  } else if (mode == "halfway" && argc > 2) {
    RunHalfway(argv[2]);
  } else {
    return 2;
  }
  return 0;
}
