// Processes of one program meeting at sync points: nobody passes before
// every party has arrived, a point meets once per run, every run meets
// again, and a killed party leaves nothing that spoils the next run.
#include "platform/PxObjectDirTest.h"
#include "platform/PxParty.h"

#include "common/PxChildProcess.h"
#include "probex/platform/NamedEvent.h"

#include <signal.h>

#include <algorithm>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

struct SPartyLog {
  std::map<std::pair<int, int>, long long> arrive, pass; // (run, point) -> ns
  std::vector<int> again;
  std::string slot1;
  int status = -1;
};

SPartyLog m_sParse(const std::string& out) {
  SPartyLog log;
  std::istringstream lines(out);
  std::string word;
  while (lines >> word) {
    int run = 0, point = 0;
    long long ns = 0;
    if (word == "arrive" && lines >> run >> point >> ns)
      log.arrive[{run, point}] = ns;
    else if (word == "pass" && lines >> run >> point >> ns)
      log.pass[{run, point}] = ns;
    else if (word == "again" && lines >> run)
      log.again.push_back(run);
    else if (word == "slot1")
      lines >> log.slot1;
  }
  return log;
}

std::vector<std::string> m_sArgs(int parties, int index) {
  return {PxScenarioPath("px_sync_party"), std::to_string(parties - 1), std::to_string(index),
          "20"};
}

std::vector<SPartyLog> m_sRunParties(int parties) {
  std::vector<std::unique_ptr<CPxParty>> running;
  for (int i = 0; i < parties; ++i) {
    running.push_back(std::make_unique<CPxParty>());
    EXPECT_TRUE(running.back()->Start(m_sArgs(parties, i)));
  }
  std::vector<SPartyLog> logs;
  for (auto& party : running) {
    logs.push_back(m_sParse(party->ReadAll()));
    logs.back().status = party->Wait();
  }
  return logs;
}

void m_sExpectMetTogether(const std::vector<SPartyLog>& logs, int run, int point) {
  long long lastArrival = 0, firstPass = 0;
  for (const SPartyLog& log : logs) {
    const auto arrived = log.arrive.find({run, point});
    const auto passed = log.pass.find({run, point});
    ASSERT_NE(log.arrive.end(), arrived) << "run " << run << " point " << point;
    ASSERT_NE(log.pass.end(), passed) << "run " << run << " point " << point;
    lastArrival = std::max(lastArrival, arrived->second);
    firstPass = firstPass == 0 ? passed->second : std::min(firstPass, passed->second);
  }
  EXPECT_LE(lastArrival, firstPass)
      << "a party passed run " << run << " point " << point << " before the last one arrived";
}

void m_sExpectTwoRunsMet(const std::vector<SPartyLog>& logs) {
  for (const SPartyLog& log : logs)
    EXPECT_EQ(0, log.status);
  m_sExpectMetTogether(logs, 1, 1);
  m_sExpectMetTogether(logs, 1, 2);
  m_sExpectMetTogether(logs, 1, 3);
  m_sExpectMetTogether(logs, 2, 1);
  // The second visit within run 1 returned (an alarm ends a party that waits).
  EXPECT_EQ(std::vector<int>{1}, logs[0].again);
}

class SyncProcessTest : public CPxObjectDirTest {};

TEST_F(SyncProcessTest, TwoProcessesMeetAtEachPointOncePerRun) {
  m_sExpectTwoRunsMet(m_sRunParties(2));
  EXPECT_EQ(0, ObjectFileCount());
}

TEST_F(SyncProcessTest, FourProcessesMeetAtEachPointOncePerRun) {
  m_sExpectTwoRunsMet(m_sRunParties(4));
  EXPECT_EQ(0, ObjectFileCount());
}

TEST_F(SyncProcessTest, APartyKilledWhileHoldingASlotSpoilsNoLaterRun) {
  // Two of three expected parties: one polls as the first arrival, the other
  // holds slot 1 and waits; both are killed there.
  CPxParty first, second;
  ASSERT_TRUE(first.Start(m_sArgs(3, 0)));
  ASSERT_TRUE(second.Start(m_sArgs(3, 0)));
  const std::string slot1 = m_sParse(first.ReadLine()).slot1;
  ASSERT_FALSE(slot1.empty());
  ASSERT_TRUE(PxEventually([&] { return NPxPlatform::CNamedEvent().Open(slot1.c_str()); }));
  first.Kill();
  second.Kill();
  EXPECT_EQ(-SIGKILL, first.Wait());
  EXPECT_EQ(-SIGKILL, second.Wait());

  m_sExpectTwoRunsMet(m_sRunParties(2));
  EXPECT_EQ(0, ObjectFileCount());
}

} // namespace
