// The auto-reset event: one release per Set, merged signals without waiters,
// time-outs, and waiters that die while counted.
#include "platform/PxObjectDirTest.h"
#include "platform/PxParty.h"

#include "common/PxChildProcess.h"
#include "probex/platform/NamedEvent.h"
#include "probex/platform/posix/EventState.h"

#include <signal.h>

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
  // Looks into the event's shared state as one more holder.
  const SEventState& Observe(const char* name) {
    EXPECT_TRUE(m_observer.Open(EPxObjectKind::Event, name, sizeof(SEventState)));
    return *static_cast<const SEventState*>(m_observer.Payload());
  }
  static unsigned Waiters(const SEventState& state) {
    unsigned total = 0;
    for (const auto& count : state.waiters)
      total += count.load();
    return total;
  }

  CNamedObject m_observer;
};

TEST_F(NamedEventTest, ThreeQuickSetsReleaseThreeOfFourWaiters) {
  CNamedEvent setter;
  ASSERT_EQ(0, setter.Create("gate"));
  const SEventState& state = Observe("gate");
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
  ASSERT_TRUE(PxEventually([&] { return Waiters(state) == 4; }));

  ASSERT_TRUE(setter.Set());
  ASSERT_TRUE(setter.Set());
  ASSERT_TRUE(setter.Set());
  EXPECT_TRUE(PxEventually([&] { return released == 3; }));
  // Nothing left to take: the fourth stays put until the next Set.
  EXPECT_EQ(0u, state.word.load());
  EXPECT_EQ(1u, Waiters(state));
  EXPECT_EQ(3, released);

  ASSERT_TRUE(setter.Set());
  for (std::thread& waiter : waiters)
    waiter.join();
  EXPECT_EQ(4, released);
}

TEST_F(NamedEventTest, SetsWithoutAWaiterMergeIntoOne) {
  CNamedEvent event, other;
  ASSERT_EQ(0, event.Create("merge"));
  ASSERT_TRUE(other.Open("merge"));
  EXPECT_TRUE(event.Set());
  EXPECT_TRUE(event.Set());
  EXPECT_TRUE(other.Wait(0));
  EXPECT_FALSE(other.Wait(0));
  EXPECT_FALSE(event.Wait(0));
}

TEST_F(NamedEventTest, TimedWaitGivesUpAndLosesNoLaterSignal) {
  CNamedEvent event;
  ASSERT_EQ(0, event.Create("timed"));
  const SEventState& state = Observe("timed");
  EXPECT_FALSE(event.Wait(20));
  EXPECT_EQ(0u, Waiters(state));
  event.Set();
  EXPECT_TRUE(event.Wait(20));
}

TEST_F(NamedEventTest, AWaiterInAnotherProcessIsReleased) {
  CNamedEvent event;
  ASSERT_EQ(0, event.Create("across"));
  const SEventState& state = Observe("across");
  CPxParty waiter;
  ASSERT_TRUE(waiter.Start({PxScenarioPath("px_named_holder"), "wait", "across"}));
  ASSERT_EQ("ready", waiter.ReadLine());
  ASSERT_TRUE(PxEventually([&] { return Waiters(state) == 1; }));
  event.Set();
  EXPECT_EQ("released", waiter.ReadLine());
  EXPECT_EQ(0, waiter.Wait());
  // The released waiter consumed the signal.
  EXPECT_FALSE(event.Wait(0));
}

TEST_F(NamedEventTest, AWaiterKilledWhileCountedTakesNoSignal) {
  CNamedEvent event;
  ASSERT_EQ(0, event.Create("orphan"));
  const SEventState& state = Observe("orphan");
  CPxParty waiter;
  ASSERT_TRUE(waiter.Start({PxScenarioPath("px_named_holder"), "wait", "orphan"}));
  ASSERT_EQ("ready", waiter.ReadLine());
  ASSERT_TRUE(PxEventually([&] { return Waiters(state) == 1; }));
  waiter.Kill();
  waiter.Wait();

  // Had the dead waiter still counted, these would become two releases.
  event.Set();
  event.Set();
  EXPECT_TRUE(event.Wait(0));
  EXPECT_FALSE(event.Wait(0));
}

} // namespace
