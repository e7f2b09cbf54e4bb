// A program under coverage, run by the tests as a real process. Each
// argument is one step, NAME or NAME:ARGUMENT, done in order:
//   step              SetStepLogMode
//   line:C,L,P        OutputLine(C, L, P)
//   in:NAME           OutputFuncIn(NAME)
//   out:NAME,V        OutputFuncOut(NAME, V)
//   pass:F,S,NAME,HEX OutputPassibleLine with the bytes of HEX
//   cookie            prints the next source cookie
//   run               runs a test class whose case passes lines 10 and 11
//   threads:N,M       N threads each pass M lines: thread t alternates
//                     points 1 and 2 of line 100 + t of cookie 9
//   wait:FILE         prints "waiting", then waits until FILE exists
#include <probex/probex.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

class CCovered : public CProbex {
public:
  CCovered() { PX_CAPTION_CLASS("covered"); }
  PX_CASE(Passes) {
    NPxCoverage::OutputLine(5, 10, 1);
    NPxCoverage::OutputLine(5, 11, 1);
    PX_ASSERT(true);
  }
  PX_DECLARATION_END();
};

} // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string step(argv[i], std::strcspn(argv[i], ":"));
    const char* arg = argv[i] + step.size() + (argv[i][step.size()] == ':');
    int a = 0, b = 0, c = 0;
    char name[256] = "", hex[256] = "";
    std::vector<unsigned char> bytes;
    if (step == "step") {
      NPxCoverage::SetStepLogMode();
    } else if (step == "cookie") {
      std::printf("%d\n", NPxCoverage::GetSourceCookie());
    } else if (step == "run") {
      CCovered().Run();
    } else if (step == "line" && std::sscanf(arg, "%d,%d,%d", &a, &b, &c) == 3) {
      NPxCoverage::OutputLine(a, b, c);
    } else if (step == "in") {
      NPxCoverage::OutputFuncIn(arg);
    } else if (step == "out" && std::sscanf(arg, "%255[^,],%d", name, &a) == 2) {
      NPxCoverage::OutputFuncOut(name, static_cast<unsigned long>(a));
    } else if (step == "pass" && std::sscanf(arg, "%d,%d,%255[^,],%255s", &a, &b, name, hex) >= 3) {
      for (const char* h = hex; h[0] && h[1]; h += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoul(std::string(h, 2), nullptr, 16)));
      NPxCoverage::OutputPassibleLine(a, b, name, bytes.data(), static_cast<int>(bytes.size()));
    } else if (step == "threads" && std::sscanf(arg, "%d,%d", &a, &b) == 2) {
      std::vector<std::thread> workers;
      for (int t = 0; t < a; ++t)
        workers.emplace_back([t, b] {
          for (int i = 0; i < b; ++i)
            NPxCoverage::OutputLine(9, 100 + t, 1 + i % 2);
        });
      for (std::thread& worker : workers)
        worker.join();
    } else if (step == "wait") {
      std::printf("waiting\n");
      std::fflush(stdout);
      while (::access(arg, F_OK) != 0)
        ::usleep(1000);
    } else {
      std::fprintf(stderr, "bad step %s\n", argv[i]);
      return 2;
    }
  }
  return 0;
}
