// A test program with one class of each outcome, run by the tests as a real
// process: under a tracer its messages become debugger lines, otherwise log
// records. The first argument picks what it does.
#include <probex/probex.h>

#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

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
    PX_CASE_CAPTION("fails");
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

} // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "class";
  if (mode == "class") {
    CScenario().Run();
  } else if (mode == "suite") {
    CProbexSuite suite;
    PX_ADD(suite, CScenario);
    PX_ADD(suite, CEmpty);
    suite.Suite();
  } else if (mode == "text") {
    // Each further argument: a kind of four characters, then a text.
    for (int i = 2; i + 1 < argc; i += 2) {
      const unsigned char* k = reinterpret_cast<const unsigned char*>(argv[i]);
      const EPxMsgType kind = static_cast<EPxMsgType>(PX_MSG_CODE(k[0], k[1], k[2], k[3]));
      CProbexView().OutputMessage(argv[i + 1], kind);
    }
  } else if (mode == "meet" && argc > 3) {
    // Names its log, then waits (at most 10 s) until argv[3] processes have
    // named theirs, each leaving a file in the folder argv[2].
    CProbexView().OutputMessage("meeting", PX_MSG_ETC);
    const std::string dir = argv[2];
    std::ofstream(dir + "/" + std::to_string(::getpid()));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
      const auto count = std::distance(std::filesystem::directory_iterator(dir),
                                       std::filesystem::directory_iterator());
      if (count >= std::atoi(argv[3]))
        break;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  } else if (mode == "silent") {
    // Loads the library and sends nothing.
  }
  return 0;
}
