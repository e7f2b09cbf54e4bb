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
using NPxPlatform::CNamedObject;
using NPxPlatform::EPxObjectKind;
using NPxPlatform::SEventState;

namespace {

class NamedEventTest : public CPxObjectDirTest {
protected:
  // Creates the event and looks into its shared state as one more holder.
  void SetUp() override {
    CPxObjectDirTest::SetUp();
    ASSERT_EQ(0, m_event.Create("gate"));
    ASSERT_TRUE(m_observer.Open(EPxObjectKind::Event, "gate", sizeof(SEventState)));
  }
  unsigned Waiters() const {
    unsigned total = 0;
    for (const auto& count : static_cast<const SEventState*>(m_observer.Payload())->waiters)
      total += count.load();
    return total;
  }
  // Starts a process that waits on the event, and waits until it is counted.
  void StartWaiter(CPxParty& waiter) {
    ASSERT_TRUE(waiter.Start({PxScenarioPath("px_named_holder"), "wait", "gate"}));
    ASSERT_EQ("ready", waiter.ReadLine());
    ASSERT_TRUE(PxEventually([&] { return Waiters() == 1; }));
  }

  CNamedEvent m_event;
  CNamedObject m_observer;
};

TEST_F(NamedEventTest, ThreeQuickSetsReleaseThreeOfFourWaiters) {
  std::atomic<int> released{0};
  std::vector<std::thread> waiters;
  for (int i = 0; i < 4; ++i) {
    CNamedEvent handle;
    ASSERT_TRUE(handle.Open("gate"));
    waiters.emplace_back([&released, handle = std::move(handle)]() mutable {
      if (handle.Wait())
        ++released;
    });
  }
  ASSERT_TRUE(PxEventually([&] { return Waiters() == 4; }));
  for (int i = 0; i < 3; ++i)
    ASSERT_TRUE(m_event.Set());
  EXPECT_TRUE(PxEventually([&] { return released == 3; }));
  // Nothing left to take: the fourth stays put until the next Set.
  EXPECT_EQ(0u, static_cast<const SEventState*>(m_observer.Payload())->word.load());
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
  EXPECT_FALSE(m_event.Wait(0));
}

TEST_F(NamedEventTest, AWaiterInAnotherProcessIsReleased) {
  CPxParty waiter;
  StartWaiter(waiter);
  m_event.Set();
  EXPECT_EQ("released", waiter.ReadLine());
  EXPECT_EQ(0, waiter.Wait());
  EXPECT_FALSE(m_event.Wait(0)); // the waiter consumed the signal
}

TEST_F(NamedEventTest, AWaiterKilledWhileCountedTakesNoSignal) {
  CPxParty waiter;
  StartWaiter(waiter);
  waiter.Kill();
  waiter.Wait();
  // Had the dead waiter still counted, these would become two releases.
  m_event.Set();
  m_event.Set();
  EXPECT_TRUE(m_event.Wait(0));
  EXPECT_FALSE(m_event.Wait(0));
}

} // namespace
