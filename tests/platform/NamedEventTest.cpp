// The auto-reset event: one release per Set, and signals merged without a waiter.
#include "probex/platform/NamedEvent.h"
#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"
#include "probex/platform/posix/EventState.h"

using NPxPlatform::CNamedEvent;
using NPxPlatform::SEventState;

namespace {

class NamedEventTest : public CPxObjectDirTest {
protected:
  // Creates the event and looks into its shared state as one more holder.
  void SetUp() override {
    CPxObjectDirTest::SetUp();
    ASSERT_EQ(0, m_event.Create("gate"));
    ASSERT_TRUE(m_observer.Open(NPxPlatform::EPxObjectKind::Event, "gate", sizeof(SEventState)));
  }
  const SEventState& State() const {
    return *static_cast<const SEventState*>(m_observer.Payload());
  }
  unsigned Waiters() const {
    unsigned total = 0;
    for (const auto& count : State().waiters)
      total += count.load();
    return total;
  }

  CNamedEvent m_event;
  NPxPlatform::CNamedObject m_observer;
};

TEST_F(NamedEventTest, ThreeQuickSetsReleaseThreeOfFourWaitersAndAKilledOneTakesNone) {
  CPxChild waiters[5];
  for (unsigned i = 0; i < 5; ++i) {
    ASSERT_TRUE(waiters[i].Start({PxScenarioPath("px_named_holder"), "wait", "gate"}));
    ASSERT_EQ("ready", waiters[i].ReadLine());
    ASSERT_TRUE(PxEventually([&] { return Waiters() == i + 1; }));
  }
  waiters[4].Kill(); // counted, but never to take a release
  waiters[4].Wait();
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(m_event.Set());
  // Three taken and nothing left to take: the fourth stays put until the next Set.
  EXPECT_TRUE(PxEventually([&] { return Waiters() == 1; }));
  EXPECT_EQ(0u, State().word.load());
  ASSERT_TRUE(m_event.Set());
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ("released", waiters[i].ReadLine()) << i;
}

TEST_F(NamedEventTest, SetsWithoutAWaiterMergeIntoOneAndTimedWaitsGiveUp) {
  CNamedEvent other;
  ASSERT_TRUE(other.Open("gate"));
  EXPECT_FALSE(other.Wait(20));
  EXPECT_EQ(0u, Waiters());
  EXPECT_TRUE(m_event.Set());
  EXPECT_TRUE(m_event.Set());
  EXPECT_TRUE(other.Wait(20));
  EXPECT_FALSE(other.Wait(0));
}

} // namespace
