// Processes meeting at sync points, once per point and run, and after a killed party.
#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"
#include "probex/platform/NamedEvent.h"

#include <signal.h>

#include <algorithm>
#include <climits>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// What a party printed: the last word of each line by the words before it
// ("arrive RUN POINT" and "pass RUN POINT" give nanoseconds).
std::map<std::string, std::string> Parse(const std::string& out) {
  std::map<std::string, std::string> log;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    const size_t space = line.rfind(' ');
    log[line.substr(0, space)] = line.substr(space + 1);
  }
  return log;
}

std::vector<std::string> Args(int parties, int index) {
  return {PxScenarioPath("px_sync_party"), std::to_string(parties - 1), std::to_string(index)};
}

// Runs the parties, which must all end well having met at each point of each
// run: none passed before the last one arrived.
void ExpectTwoRunsMeet(int parties) {
  std::vector<CPxChild> running(parties);
  for (int i = 0; i < parties; ++i)
    ASSERT_TRUE(running[i].Start(Args(parties, i)));
  std::vector<std::map<std::string, std::string>> logs;
  for (CPxChild& party : running) {
    const SPxChildResult ended = party.Wait();
    logs.push_back(Parse(ended.stdOut));
    EXPECT_EQ(0, ended.exitCode);
  }
  for (const std::string meeting : {" 1 1", " 1 2", " 1 3", " 2 1"}) {
    long long lastArrival = 0, firstPass = LLONG_MAX;
    for (const auto& log : logs) {
      ASSERT_TRUE(log.count("arrive" + meeting) && log.count("pass" + meeting)) << meeting;
      lastArrival = std::max(lastArrival, std::stoll(log.at("arrive" + meeting)));
      firstPass = std::min(firstPass, std::stoll(log.at("pass" + meeting)));
    }
    EXPECT_LE(lastArrival, firstPass) << "run and point" << meeting;
  }
  // The second visit within run 1 returned (an alarm ends a party that waits).
  EXPECT_EQ("1", logs[0]["again"]);
}

class SyncProcessTest : public CPxObjectDirTest {};

TEST_F(SyncProcessTest, TwoAndFourProcessesMeetAtEachPointOncePerRun) {
  ExpectTwoRunsMeet(2);
  ExpectTwoRunsMeet(4);
  EXPECT_EQ(0, ObjectFileCount());
}

TEST_F(SyncProcessTest, APartyKilledWhileHoldingASlotSpoilsNoLaterRun) {
  // Two of three expected parties: one polls as the first arrival, the other
  // holds slot 1 and waits; both are killed there.
  CPxChild parties[2];
  for (CPxChild& party : parties)
    ASSERT_TRUE(party.Start(Args(3, 0)));
  const std::string slot1 = Parse(parties[0].ReadLine())["slot1"];
  ASSERT_TRUE(PxEventually([&] { return NPxPlatform::CNamedEvent().Open(slot1.c_str()); }));
  for (CPxChild& party : parties) {
    party.Kill();
    EXPECT_EQ(kPxKillSignal, party.Wait().signal);
  }
  ExpectTwoRunsMeet(2);
  EXPECT_EQ(0, ObjectFileCount());
}

} // namespace
