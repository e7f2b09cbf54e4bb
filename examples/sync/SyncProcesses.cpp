// Two processes of one test program meet at sync points.
// Start it twice at about the same time, in two terminals:
//   ./px_example_sync_processes & ./px_example_sync_processes
// Each copy waits at PX_SYNC_POINT(1) until the other has come, so the
// "passed" lines of both copies follow both "arrived" lines.
#include <probex/probex.h>

#include <unistd.h>

#include <cstdio>

class CHandshakeTest : public CProbexSync {
public:
  CHandshakeTest() {
    PX_CAPTION_CLASS("two processes shake hands");
    SetOppositeCount(1); // one other process
  }

  PX_CASE(MeetTwice) {
    std::printf("%d arrived at point 1\n", static_cast<int>(::getpid()));
    PX_SYNC_POINT(1);
    std::printf("%d passed point 1\n", static_cast<int>(::getpid()));
    PX_SYNC_POINT(2);
    std::printf("%d passed point 2\n", static_cast<int>(::getpid()));
    PX_ASSERT(true);
  }
  PX_DECLARATION_END();
};

int main() {
  std::setvbuf(stdout, nullptr, _IOLBF, 0); // lines in the order they happen
  CHandshakeTest test;
  test.Run();
  return PxExitStatus();
}
