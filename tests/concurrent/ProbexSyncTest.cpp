// The opposite count, and sync points met by threads on one object.
#include "platform/PxObjectDirTest.h"

#include "probex/concurrent/ProbexSync.h"
#include "probex/concurrent/ProbexSyncMacros.h"
#include "probex/core/ProbexMacros.h"
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
  EXPECT_EQ(1, ObjectFileCount());
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
  EXPECT_EQ(2, ObjectFileCount()); // the slots of the two parties
  ExpectReturns([&] { probe.PX_SYNC_POINT_ONE(7); }, "a third party");
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
