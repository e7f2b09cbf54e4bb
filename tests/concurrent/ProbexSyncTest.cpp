// The opposite count, and sync points met by threads on one object.
#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"

#include "probex/concurrent/ProbexSync.h"
#include "probex/concurrent/ProbexSyncMacros.h"
#include "probex/core/ProbexMacros.h"
#include "probex/platform/NamedEvent.h"
#include "scenarios/PxSilentView.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <future>
#include <string>
#include <thread>

namespace {

// A sync point that does not return ends the test process instead of hanging it.
void ExpectReturns(const std::function<void()>& call, const char* what) {
  std::future<void> done = std::async(std::launch::async, call);
  if (done.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
    std::fprintf(stderr, "did not return: %s\n", what);
    std::abort();
  }
}

class CSyncProbe : public CProbexSync {
public:
  CSyncProbe() {
    PX_CAPTION_CLASS("sync probe");
    SetViewClass(&m_silent);
  }
  using CProbexSync::GetOppositeCount;
  using CProbexSync::m_MakeSyncName;
  using CProbexSync::SetOppositeCount;
  PX_DECLARATION_END();

private:
  CPxSilentView m_silent;
};

class ProbexSyncTest : public CPxObjectDirTest {};

TEST_F(ProbexSyncTest, CountsBelowOneAreIgnoredAndBeforeTheFirstRunNobodyIsAwaited) {
  CSyncProbe probe;
  EXPECT_EQ(1, probe.GetOppositeCount());
  for (int count : {3, 0, -3})
    probe.SetOppositeCount(count);
  EXPECT_EQ(3, probe.GetOppositeCount());
  // The working count is still 0: the first arrival signals at once, and a
  // later one returns without waiting.
  ExpectReturns([&] { probe.PX_SYNC_POINT(5); }, "first arrival before RunMain");
  EXPECT_EQ(kObjectsAreFiles ? 1 : 0, ObjectFileCount());
  ExpectReturns([&] { probe.PX_SYNC_POINT(5); }, "later arrival before RunMain");
  probe.Run();
  EXPECT_EQ(0, ObjectFileCount());
}

TEST_F(ProbexSyncTest, OneAwaitedPartyMeetsAndAThirdReturnsAtOnce) {
  CSyncProbe probe;
  probe.SetOppositeCount(5);
  std::atomic<int> arrived{0}, passedEarly{0};
  auto party = [&] {
    ++arrived;
    probe.PX_SYNC_POINT_ONE(7);
    if (arrived < 2)
      ++passedEarly;
  };
  std::thread first(party), second(party);
  first.join();
  second.join();
  EXPECT_EQ(0, passedEarly);
  EXPECT_EQ(kObjectsAreFiles ? 2 : 0, ObjectFileCount()); // the slots of the two parties
  ExpectReturns([&] { probe.PX_SYNC_POINT_ONE(7); }, "a third party");
}

// A point stays taken while a party of its meeting still runs: a pair that
// comes then cannot meet there (its later arrival finds the slot taken and
// returns at once, its first waits for a signal nobody sends), but nobody
// passes on the signal the earlier meeting left.
TEST_F(ProbexSyncTest, APairThatComesWhileAnEarlierMeetingHoldsThePointNeverPassesOnItsSignal) {
  int passedEarly = 0;
  for (int round = 0; round < 20; ++round) {
    CSyncProbe first, later, third, fourth;
    for (CSyncProbe* probe : {&first, &later, &third, &fourth})
      probe->Run();
    std::thread firstArrival([&] { first.PX_SYNC_POINT(9); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ExpectReturns([&] { later.PX_SYNC_POINT(9); }, "the later arrival of the first pair");
    firstArrival.join();
    later.Run(); // its run is over; the first arrival's still holds the point

    std::atomic<bool> fourthArrived{false}, thirdPassed{false};
    std::thread thirdArrival([&] {
      third.PX_SYNC_POINT(9);
      thirdPassed = true;
      passedEarly += !fourthArrived;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    fourthArrived = true;
    ExpectReturns([&] { fourth.PX_SYNC_POINT(9); }, "a party that finds the slot taken");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(thirdPassed);
    char name[CProbexSync::kSyncNameSize];
    first.m_MakeSyncName(name, __FILE__, 9, 0);
    NPxPlatform::CNamedEvent point;
    ASSERT_TRUE(point.Open(name));
    point.Set();
    thirdArrival.join();
  }
  EXPECT_EQ(0, passedEarly);
  EXPECT_EQ(0, ObjectFileCount());
}

TEST_F(ProbexSyncTest, ABadFileNameOrNamespaceMakesThePointReturnAtOnce) {
  CSyncProbe probe;
  probe.Run(); // working count 1: a good point would wait for a partner
  const std::string longFile = "C:" + std::string(300, 'x');
  for (const char* file : {"a", static_cast<const char*>(nullptr), longFile.c_str()})
    ExpectReturns([&] { probe.x_SyncPoint(file, 1, true); }, "a bad file name");
  EXPECT_EQ(0, ObjectFileCount());
  PxSetEnv("PROBEX_OBJECT_DIR", m_dir + "/missing/dir");
  ExpectReturns([&] { probe.PX_SYNC_POINT(1); }, "no object namespace");
}

} // namespace
