// The auto-reset event: one release per Set, merged signals without waiters,
// time-outs, and waiters in other processes, living or killed while counted.
#include "platform/PxObjectDirTest.h"
#include "platform/PxParty.h"

#include "common/PxChildProcess.h"
#include "probex/platform/NamedEvent.h"
#include "probex/platform/posix/EventState.h"

#include <atomic>
#include <thread>
#include <vector>

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

TEST_F(NamedEventTest, ThreeQuickSetsReleaseThreeOfFourWaiters) {
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 4; ++i) {
    CNamedEvent handle;
    ASSERT_TRUE(handle.Open("gate"));
    waiters.emplace_back(
        [&released, handle = std::move(handle)]() mutable { released += handle.Wait(); });
  }
  ASSERT_TRUE(PxEventually([&] { return Waiters() == 4; }));
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(m_event.Set());
  EXPECT_TRUE(PxEventually([&] { return released == 3; }));
  // Nothing left to take: the fourth stays put until the next Set.
  EXPECT_EQ(0u, State().word.load());
  EXPECT_EQ(1u, Waiters());
  ASSERT_TRUE(m_event.Set());
  for (std::thread& waiter : waiters)
    waiter.join();
  EXPECT_EQ(4, released);
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

TEST_F(NamedEventTest, AWaiterInAnotherProcessIsReleasedAndAKilledOneTakesNoSignal) {
  CPxParty waiters[2];
  for (unsigned i = 0; i < 2; ++i) {
    ASSERT_TRUE(waiters[i].Start({PxScenarioPath("px_named_holder"), "wait", "gate"}));
    ASSERT_EQ("ready", waiters[i].ReadLine());
    ASSERT_TRUE(PxEventually([&] { return Waiters() == i + 1; }));
  }
  waiters[1].Kill();
  waiters[1].Wait();
  m_event.Set();
  EXPECT_EQ("released", waiters[0].ReadLine());
  EXPECT_EQ(0, waiters[0].Wait());
  // Had the dead waiter still counted, these would become two releases.
  m_event.Set();
  m_event.Set();
  EXPECT_TRUE(m_event.Wait(0));
  EXPECT_FALSE(m_event.Wait(0));
}

} // namespace
