// One party of a rendezvous between processes: px_sync_party <opposite count> <index>
// Run 1 meets at points 1, 2 and 3; before point 3 party 0 visits point 1 again
// while the others hold their slots of it. A barrier lets every party leave run 1
// before run 2 meets at point 1. Arrivals and passes are printed with the shared
// monotonic clock; a watchdog ends a party that waits where it must not.
#include "PxSilentView.h"
#include "probex/concurrent/ProbexSync.h"
#include "probex/concurrent/ProbexSyncMacros.h"
#include "probex/core/ProbexMacros.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

class CMeetTest : public CProbexSync {
public:
  CMeetTest(int opposite, int index) : m_index(index) {
    PX_CAPTION_CLASS("processes meet");
    SetOppositeCount(opposite);
  }
  void PrintSlotName() {
    char name[kSyncNameSize];
    m_MakeSyncName(name, __FILE__, 1, 1);
    std::printf("slot1 %s\n", name);
    std::fflush(stdout);
  }
  PX_CASE(Meet) {
    ++m_run;
    MeetAt(1);
    if (m_run == 1) {
      MeetAt(2);
      if (m_index == 0) {
        PX_SYNC_POINT(1);
        std::printf("again %d\n", m_run);
      }
      MeetAt(3);
    }
    std::fflush(stdout);
  }
  PX_DECLARATION_END();

private:
  void MeetAt(int point) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20 * m_index));
    Print("arrive", point);
    PX_SYNC_POINT(point);
    Print("pass", point);
  }
  void Print(const char* what, int point) {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::printf("%s %d %d %lld\n", what, m_run, point,
                static_cast<long long>(std::chrono::nanoseconds(now).count()));
  }

  int m_run = 0;
  int m_index;
};

class CBarrierTest : public CProbexSync {
public:
  explicit CBarrierTest(int opposite) {
    PX_CAPTION_CLASS("between runs");
    SetOppositeCount(opposite);
  }
  PX_CASE(Barrier) { PX_SYNC_POINT(99); }
  PX_DECLARATION_END();
};

} // namespace

int main(int argc, char** argv) {
  if (argc != 3)
    return 2;
  const int opposite = std::atoi(argv[1]);
  // A watchdog in place of an alarm, which Windows lacks. Every party's
  // whole life, two runs and a barrier, takes a second or two even under an
  // emulator; one that waits where it must not fails its test in seconds.
  std::thread([] {
    std::this_thread::sleep_for(std::chrono::seconds(20));
    std::_Exit(142);
  }).detach();
  CPxSilentView silent;
  CMeetTest meet(opposite, std::atoi(argv[2]));
  meet.SetViewClass(&silent);
  meet.PrintSlotName();
  meet.Run();
  CBarrierTest barrier(opposite);
  barrier.SetViewClass(&silent);
  barrier.Run();
  meet.Run();
  return 0;
}
