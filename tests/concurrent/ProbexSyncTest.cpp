// Sync names, the opposite count, sync points met by threads on one object,
// and processes meeting once per point and run, also after a killed party.
#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"

#include "probex/concurrent/ProbexSync.h"
#include "probex/concurrent/ProbexSyncMacros.h"
#include "probex/core/ProbexMacros.h"
#include "probex/platform/NamedEvent.h"
#include "scenarios/PxSilentView.h"

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <filesystem>
#include <functional>
#include <future>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

namespace {

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

// Sync names: "%s_%04d_%d" of the file from its third byte, backslashes made underscores.
TEST(SyncName, FileNumberAndSlotMakeTheName) {
  // "_0001_0" and the terminator leave 260 bytes of the file.
  const std::string fitting = "C:" + std::string(260, 'x'), cut = fitting + "y";
  // Only backslash characters are replaced; the second byte of a CP932
  // character may be 0x5C and is none.
  const std::tuple<const char*, int, int, std::string, bool> kCases[] = {
      {"D:\\a\\b.src", 7, 0, "_a_b.src_0007_0", true},
      {"D:\\a\\b.src", 7, 1, "_a_b.src_0007_1", true},
      {"C:\\f.c", 12345, 0, "_f.c_12345_0", true},
      {"C:\\f.c", -5, 12, "_f.c_-005_12", true},
      {"C:/src/a b:c.cpp", 1, 0, "/src/a b:c.cpp_0001_0", true},
      {"C:\\\x94\x5c\\\x82\xa0\\", 1, 0, "_\x94\x5c_\x82\xa0__0001_0", true},
      {nullptr, 1, 0, "", false},
      {"a", 1, 0, "", false},
      {"ab", 1, 0, "_0001_0", true},
      {fitting.c_str(), 1, 0, fitting.substr(2) + "_0001_0", true},
      {cut.c_str(), 1, 0, fitting.substr(2) + "y_0001_", false}};
  for (const auto& [file, number, slot, expected, fits] : kCases) {
    char name[CProbexSync::kSyncNameSize];
    EXPECT_EQ(CSyncProbe::m_MakeSyncName(name, file, number, slot), fits) << expected;
    EXPECT_EQ(name, expected);
  }
}

class ProbexSyncTest : public CPxObjectDirTest {};

TEST_F(ProbexSyncTest, CountsBelowOneAreIgnoredAndBeforeTheFirstRunNobodyIsAwaited) {
  CSyncProbe probe;
  EXPECT_EQ(1, probe.GetOppositeCount());
  for (int count : {3, 0, -3})
    probe.SetOppositeCount(count);
  EXPECT_EQ(3, probe.GetOppositeCount());
  // The working count is still 0: the first arrival signals at once, and a
  // later one returns without waiting.
  PxExpectReturns([&] { probe.PX_SYNC_POINT(5); }, "first arrival before RunMain");
  EXPECT_EQ(kObjectsAreFiles ? 1 : 0, ObjectFileCount());
  PxExpectReturns([&] { probe.PX_SYNC_POINT(5); }, "later arrival before RunMain");
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
  std::future<void> first = std::async(std::launch::async, party);
  std::future<void> second = std::async(std::launch::async, party);
  PxExpectFinishes(first, "the first party");
  PxExpectFinishes(second, "the second party");
  EXPECT_EQ(0, passedEarly);
  EXPECT_EQ(kObjectsAreFiles ? 2 : 0, ObjectFileCount()); // the slots of the two parties
  PxExpectReturns([&] { probe.PX_SYNC_POINT_ONE(7); }, "a third party");
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
    std::future<void> firstArrival =
        std::async(std::launch::async, [&] { first.PX_SYNC_POINT(9); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    PxExpectReturns([&] { later.PX_SYNC_POINT(9); }, "the later arrival of the first pair");
    PxExpectFinishes(firstArrival, "the first arrival of the first pair");
    later.Run(); // its run is over; the first arrival's still holds the point

    std::atomic<bool> fourthArrived{false}, thirdPassed{false};
    std::future<void> thirdArrival = std::async(std::launch::async, [&] {
      third.PX_SYNC_POINT(9);
      thirdPassed = true;
      passedEarly += !fourthArrived;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    fourthArrived = true;
    PxExpectReturns([&] { fourth.PX_SYNC_POINT(9); }, "a party that finds the slot taken");
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_FALSE(thirdPassed);
    char name[CProbexSync::kSyncNameSize];
    first.m_MakeSyncName(name, __FILE__, 9, 0);
    NPxPlatform::CNamedEvent point;
    ASSERT_TRUE(point.Open(name));
    point.Set();
    PxExpectFinishes(thirdArrival, "a party released by hand");
  }
  EXPECT_EQ(0, passedEarly);
  EXPECT_EQ(0, ObjectFileCount());
}

TEST_F(ProbexSyncTest, ABadFileNameOrNamespaceMakesThePointReturnAtOnce) {
  CSyncProbe probe;
  probe.Run(); // working count 1: a good point would wait for a partner
  const std::string longFile = "C:" + std::string(300, 'x');
  for (const char* file : {"a", static_cast<const char*>(nullptr), longFile.c_str()})
    PxExpectReturns([&] { probe.x_SyncPoint(file, 1, true); }, "a bad file name");
  EXPECT_EQ(0, ObjectFileCount());
  PxSetEnv("PROBEX_OBJECT_DIR", m_dir + "/missing/dir");
  PxExpectReturns([&] { probe.PX_SYNC_POINT(1); }, "no object namespace");
}

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

// Runs the parties, which must all end well having met at each point of each
// run: none passed before the last one arrived. A party stuck at a point
// ends by its watchdog. What each party said on standard error goes to
// errors when given.
void ExpectTwoRunsMeet(int parties, const std::map<std::string, std::string>& env = {},
                       std::vector<std::string>* errors = nullptr) {
  std::vector<CPxChild> running(parties);
  for (int i = 0; i < parties; ++i)
    ASSERT_TRUE(running[i].Start(
        {PxScenarioPath("px_sync_party"), std::to_string(parties - 1), std::to_string(i)}, env));
  std::vector<std::map<std::string, std::string>> logs;
  for (CPxChild& party : running) {
    const SPxChildResult ended = party.Wait();
    logs.push_back(Parse(ended.stdOut));
    EXPECT_EQ(0, ended.exitCode);
    if (errors)
      errors->push_back(ended.stdErr);
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

TEST_F(ProbexSyncTest, TwoAndFourProcessesMeetAtEachPointOncePerRun) {
  ExpectTwoRunsMeet(2);
  if (HasFailure())
    return; // a broken point would only wait out the parties' time again
  ExpectTwoRunsMeet(4);
  EXPECT_EQ(0, ObjectFileCount());
}

#if !defined(_WIN32)
// A default object folder that another user could have planted: every
// process of this user keeps its objects in the home's folder instead, says
// where, and the parties meet there. Without a usable home they say so and
// pass unmet. The row of another user's folder needs root.
TEST_F(ProbexSyncTest, PartiesMeetInTheHomeWhenTheDefaultFolderIsPlanted) {
  const std::string elsewhere = PxMakeTempDir("planter");
  const auto openToAll = [](const std::string& folder) {
    ::mkdir(folder.c_str(), 0700);
    ::chmod(folder.c_str(), 0777);
  };
  struct SRow {
    const char* what;
    std::function<void(const std::string&)> plant;
    std::string problem;
    bool root;        // chown needs it
    bool linkedCache; // the home's .cache is the user's link to a folder of the user
  };
  const std::vector<SRow> rows = {
      {"open to all", openToAll, "has mode 0777 instead of 0700", false, true},
      {"a link", [&](const std::string& folder) { ::symlink(elsewhere.c_str(), folder.c_str()); },
       "is a symbolic link", false, false},
      {"another user's",
       [](const std::string& folder) {
         ::mkdir(folder.c_str(), 0700);
         ::chown(folder.c_str(), 54321, 54321);
       },
       "belongs to user 54321, not to user 0", true, false},
  };
  for (const SRow& row : rows) {
    if (row.root && ::geteuid() != 0)
      continue;
    SPxPlantedFolder planted = PxPlantDefaultFolder(row.plant);
    if (row.linkedCache)
      ::symlink(PxMakeTempDir("cache").c_str(), (planted.env["HOME"] + "/.cache").c_str());
    std::vector<std::string> errors;
    ExpectTwoRunsMeet(2, planted.env, &errors);
    const std::string notice = "Probex: the object folder " + planted.folder + " " + row.problem +
                               ", so the objects of this user are kept in " + planted.fallback +
                               " instead.\n";
    for (const std::string& said : errors)
      EXPECT_EQ(notice, said) << row.what;
    // Nothing went where the planter could reach it, and nothing was left.
    EXPECT_TRUE(std::filesystem::is_empty(row.root ? planted.folder : elsewhere)) << row.what;
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(planted.fallback))
      left.push_back(entry.path().filename().string());
    EXPECT_EQ(std::vector<std::string>{".lock"}, left) << row.what;
    EXPECT_EQ(std::filesystem::perms::owner_all,
              std::filesystem::status(planted.fallback).permissions());
  }
  // A home that is no refuge: the run goes on unmet, and says so.
  const std::pair<std::function<void(const std::string&)>, std::string> homes[] = {
      {[](const std::string& home) { ::chmod(home.c_str(), 0777); },
       " has mode 0777, open to others' writes"},
      {[&](const std::string& home) {
         ::mkdir((home + "/.cache").c_str(), 0700);
         ::symlink(elsewhere.c_str(), (home + "/.cache/probex-objects").c_str());
       },
       "/.cache/probex-objects is a symbolic link"},
  };
  for (const auto& [spoil, problem] : homes) {
    SPxPlantedFolder planted = PxPlantDefaultFolder(openToAll);
    spoil(planted.env["HOME"]);
    const SPxChildResult alone =
        PxRunChild({PxScenarioPath("px_sync_party"), "1", "0"}, planted.env);
    EXPECT_EQ(0, alone.exitCode);
    EXPECT_EQ(1u, PxCount(alone.stdErr, "Probex: the object folder " + planted.folder +
                                            " has mode 0777 instead of 0700, and the folder " +
                                            planted.env["HOME"] + problem +
                                            ", so neither is used: sync points pass without "
                                            "meeting"))
        << alone.stdErr;
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
  }
}
#endif

TEST_F(ProbexSyncTest, APartyKilledWhileHoldingASlotSpoilsNoLaterRun) {
  // Two of three expected parties: one polls as the first arrival, the other
  // holds slot 1 and waits; both are killed there.
  CPxChild parties[2];
  for (CPxChild& party : parties)
    ASSERT_TRUE(party.Start({PxScenarioPath("px_sync_party"), "2", "0"}));
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
