// The opposite count, and sync points met by threads on one object.
#include "concurrent/PxFinishes.h"
#include "platform/PxObjectDirTest.h"
#include "platform/PxParty.h"

#include "probex/concurrent/ProbexSync.h"
#include "probex/concurrent/ProbexSyncMacros.h"
#include "probex/core/ProbexMacros.h"
#include "probex/platform/NamedEvent.h"
#include "scenarios/PxSilentView.h"

#include <atomic>
#include <string>
#include <thread>

namespace {

class CSyncProbe : public CProbexSync {
public:
  CSyncProbe() { PX_CAPTION_CLASS("sync probe"); }
  using CProbexSync::GetOppositeCount;
  using CProbexSync::SetOppositeCount;
  static std::string Name(int number, int slot) {
    char name[kSyncNameSize];
    m_MakeSyncName(name, __FILE__, number, slot);
    return name;
  }
  static bool IsAlive(int number, int slot) {
    return NPxPlatform::CNamedEvent().Open(Name(number, slot).c_str());
  }
  PX_DECLARATION_END();
};

class ProbexSyncTest : public CPxObjectDirTest {};

TEST_F(ProbexSyncTest, AnUnsetCountIsOneAndCountsBelowOneAreIgnored) {
  CSyncProbe probe;
  EXPECT_EQ(1, probe.GetOppositeCount());
  probe.SetOppositeCount(0);
  EXPECT_EQ(1, probe.GetOppositeCount());
  probe.SetOppositeCount(4);
  probe.SetOppositeCount(0);
  probe.SetOppositeCount(-3);
  EXPECT_EQ(4, probe.GetOppositeCount());
  probe.SetOppositeCount(0x7fffffff);
  EXPECT_EQ(0x7fffffff, probe.GetOppositeCount());
}

TEST_F(ProbexSyncTest, BeforeTheFirstRunNobodyIsAwaited) {
  CSyncProbe probe;
  probe.SetOppositeCount(3);
  // The working count is still 0: the first arrival signals at once, and a
  // later one returns without waiting.
  PxExpectFinishes([&] { probe.PX_SYNC_POINT(5); }, "first arrival before RunMain");
  EXPECT_TRUE(CSyncProbe::IsAlive(5, 0));
  PxExpectFinishes([&] { probe.PX_SYNC_POINT(5); }, "later arrival before RunMain");

  CPxSilentView silent;
  probe.SetViewClass(&silent);
  probe.Run();
  EXPECT_FALSE(CSyncProbe::IsAlive(5, 0));
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
  EXPECT_TRUE(CSyncProbe::IsAlive(7, 0));
  EXPECT_TRUE(CSyncProbe::IsAlive(7, 1));
  EXPECT_FALSE(CSyncProbe::IsAlive(7, 2));
  PxExpectFinishes([&] { probe.PX_SYNC_POINT_ONE(7); }, "a third party");
}

TEST_F(ProbexSyncTest, ABadFileNameOrNamespaceMakesThePointReturnAtOnce) {
  CSyncProbe probe;
  CPxSilentView silent;
  probe.SetViewClass(&silent);
  probe.Run(); // working count 1: a good point would wait for a partner
  PxExpectFinishes([&] { probe.x_SyncPoint("a", 1, true); }, "one-character file name");
  PxExpectFinishes([&] { probe.x_SyncPoint(nullptr, 1, true); }, "null file name");
  const std::string longFile = "C:" + std::string(300, 'x');
  PxExpectFinishes([&] { probe.x_SyncPoint(longFile.c_str(), 1, true); }, "too long a name");
  EXPECT_EQ(0, ObjectFileCount());

  ::setenv("PROBEX_OBJECT_DIR", (m_dir + "/missing/dir").c_str(), 1);
  PxExpectFinishes([&] { probe.PX_SYNC_POINT(1); }, "no object namespace");
}

} // namespace
