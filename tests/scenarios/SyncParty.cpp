// One party of a rendezvous between processes, for the sync tests.
//   px_sync_party <opposite count> <party index> <stagger ms>
// Run 1 meets at points 1 and 2; party 0 then visits point 1 again while
// the others wait at point 3, so all still hold their slots of point 1. A
// separate object meets at a barrier so that every party has left run 1;
// run 2 meets at point 1 once more. Every arrival and pass is printed with
// the monotonic clock, which all processes share. An alarm turns a party
// that waits where it must not into a failed child instead of a hung test.
#include "PxSilentView.h"
#include "probex/concurrent/ProbexSync.h"
#include "probex/concurrent/ProbexSyncMacros.h"
#include "probex/core/ProbexMacros.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

long long m_sNowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

class CMeetTest : public CProbexSync {
public:
  CMeetTest(int opposite, int index, int staggerMs) : m_index(index), m_staggerMs(staggerMs) {
    PX_CAPTION_CLASS("processes meet");
    SetOppositeCount(opposite);
  }
  int m_run = 0;

  void PrintSlotName() {
    char name[kSyncNameSize];
    m_MakeSyncName(name, __FILE__, 1, 1);
    std::printf("slot1 %s\n", name);
    std::fflush(stdout);
  }

  PX_CASE(Meet) {
    ++m_run;
    Arrive(1);
    PX_SYNC_POINT(1);
    Pass(1);
    if (m_run == 1) {
      Arrive(2);
      PX_SYNC_POINT(2);
      Pass(2);
      if (m_index == 0) {
        PX_SYNC_POINT(1);
        std::printf("again %d\n", m_run);
      }
      Arrive(3);
      PX_SYNC_POINT(3);
      Pass(3);
    }
    std::fflush(stdout);
  }
  PX_DECLARATION_END();

private:
  void Arrive(int point) {
    std::this_thread::sleep_for(std::chrono::milliseconds(m_staggerMs * m_index));
    std::printf("arrive %d %d %lld\n", m_run, point, m_sNowNs());
  }
  void Pass(int point) { std::printf("pass %d %d %lld\n", m_run, point, m_sNowNs()); }

  int m_index;
  int m_staggerMs;
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
  if (argc != 4)
    return 2;
  const int opposite = std::atoi(argv[1]);
  ::alarm(60);
  CPxSilentView silent;
  CMeetTest meet(opposite, std::atoi(argv[2]), std::atoi(argv[3]));
  meet.SetViewClass(&silent);
  meet.PrintSlotName();
  meet.Run();
  CBarrierTest barrier(opposite);
  barrier.SetViewClass(&silent);
  barrier.Run();
  meet.Run();
  return 0;
}
