// A test program the tests run as a real process, traced (debugger lines) or
// not (log records, which the viewer's tests read too); argv[1] picks the run.
#include <probex/probex.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace {

class CScenario : public CProbex {
public:
  CScenario() { PX_CAPTION_CLASS("scenario"); }
  PX_CASE(Passes) {
    PX_CASE_CAPTION("passes");
    PX_TEST_CAPTION("one plus one");
    PX_ASSERT_EQUAL(1 + 1, 2);
  }
  PX_CASE(Fails) {
    PX_CASE_CAPTION("fails <always> & \"loudly\"");
    PX_ASSERT(1 > 2);
    const unsigned char bytes[3] = {1, 2, 0xFE};
    PX_DUMP(bytes, 3);
  }
  PX_DECLARATION_END();
};

class CEmpty : public CProbex {
public:
  CEmpty() { PX_CAPTION_CLASS("empty"); }
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

// Checks in SetUp and TearDown, which pass; a derived class's TearDown
// check fails.
class CHooked : public CProbex {
public:
  CHooked() { PX_CAPTION_CLASS("hooked"); }
  void SetUp() override {
    m_ready = true;
    PX_ASSERT(m_ready);
  }
  void TearDown() override { PX_ASSERT_EQUAL(m_ready, true); }
  PX_CASE(Uses) {
    PX_CASE_CAPTION("uses the fixture");
    PX_ASSERT(m_ready);
  }
  PX_DECLARATION_END();

protected:
  bool m_ready = false;
};

class CTornDown : public CHooked {
public:
  CTornDown() { PX_CAPTION_CLASS("torn down"); }
  void TearDown() override { PX_ASSERT(!m_ready); }
};

// Cases declared after the end marker of the class it derives from.
class CExtended : public CHooked {
public:
  CExtended() { PX_CAPTION_CLASS("extended"); }
  PX_CASE(Extra) { PX_ASSERT(false); }
  PX_CASE(More) { PX_ASSERT(false); }
  PX_DECLARATION_END();
};

// Waits, for half a minute at most, until the folder holds `count` entries.
void AwaitEntries(const std::string& dir, long count) {
  namespace fs = std::filesystem;
  for (int i = 0;
       i < 6000 && std::distance(fs::directory_iterator(dir), fs::directory_iterator()) < count;
       ++i)
    ::usleep(5000);
}

} // namespace

// Shared with the core tests, which read what the same class sends.
#include "common/PxValueChecks.h"

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "class") {
    CScenario().Run();
  } else if (mode == "suite") {
    CProbexSuite suite;
    PX_ADD(suite, CScenario);
    PX_ADD(suite, CEmpty);
    suite.Suite();
  } else if (mode == "values") { // alone, then in a suite: both logs show the values
    CPxValueChecks().Run();
    CProbexSuite suite;
    PX_ADD(suite, CPxValueChecks);
    suite.Suite();
  } else if (mode == "hooks") {
    CHooked().Run();
  } else if (mode == "hooks-suite") {
    CProbexSuite suite;
    PX_ADD(suite, CHooked);
    PX_ADD(suite, CTornDown);
    PX_ADD(suite, CEmpty);
    suite.Suite();
  } else if (mode == "verdict") {
    // The process's verdict of classes with and without cases, as
    // PROBEX_FILTER and PROBEX_ALLOW_NO_CASES leave it.
    CHooked().Run();
    CEmpty().Run();
    return PxExitStatus();
  } else if (mode == "empty") {
    CEmpty().Run();
    return PxExitStatus();
  } else if (mode == "empty-unasked") { // the verdict is not asked for
    CEmpty().Run();
  } else if (mode == "extended") {
    CExtended test;
    test.Run();
    test.Run();
    return PxExitStatus();
  } else if (mode == "nocaption") {
    CNoCaption().Run();
  } else if (mode == "noend") {
    CNoEnd().Run();
  } else if (mode == "halfway" && argc > 2) {
    // A record larger than the log's buffer puts the first half in the file;
    // the second half comes once the folder argv[2] holds an entry.
    CEmpty().Run();
    CProbexView().OutputMessage(std::string(9000, 'x').c_str(), PX_MSG_ETC);
    AwaitEntries(argv[2], 1);
    CScenario().Run();
  } else if (mode == "text") {
    // Each further argument: a kind of four characters, then a text.
    for (int i = 2; i + 1 < argc; i += 2) {
      const unsigned char* k = reinterpret_cast<const unsigned char*>(argv[i]);
      const EPxMsgType kind = static_cast<EPxMsgType>(PX_MSG_CODE(k[0], k[1], k[2], k[3]));
      CProbexView().OutputMessage(argv[i + 1], kind);
    }
  } else if (mode == "meet" && argc > 3) {
    // Names its log, leaves a file in the folder argv[2] and waits until
    // argv[3] processes have done so.
    CProbexView().OutputMessage("meeting", PX_MSG_ETC);
    std::ofstream(std::string(argv[2]) + "/" + std::to_string(::getpid()));
    AwaitEntries(argv[2], std::atol(argv[3]));
  } else if (mode == "relay") {
    // Each line of standard input is sent as a message, then answered on
    // standard output, so a test can attach a tracer between two messages.
    std::string line;
    while (std::getline(std::cin, line)) {
      CProbexView().OutputMessage(line.c_str(), PX_MSG_ETC);
      std::cout << line << std::endl;
    }
  } else if (mode != "silent") { // "silent" loads the library and sends nothing
    return 2;
  }
  return 0;
}
