// Lifetime, names and limits of the per-user object namespace, the trust
// in its folder; shared memory and the auto-reset event.
#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"
#include "probex/platform/NameMarker.h"
#include "probex/platform/NamedEvent.h"
#include "probex/platform/NamedSharedMemory.h"
#include "probex/platform/posix/EventState.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <string>
#include <vector>

using NPxPlatform::CNamedEvent;
using NPxPlatform::CNamedObject;
using NPxPlatform::EPxObjectKind;
using NPxPlatform::SEventState;

namespace {

class NamedObjectTest : public CPxObjectDirTest {};

// A user id that no account of the machine needs to have.
constexpr unsigned kOtherUser = 54321;

std::string Made(const std::string& path, mode_t mode) {
  ::mkdir(path.c_str(), 0700);
  ::chmod(path.c_str(), mode);
  return path;
}
std::string Linked(const std::string& target, const std::string& link) {
  ::symlink(target.c_str(), link.c_str());
  return link;
}
std::string Filed(const std::string& path) {
  std::ofstream(path) << "x";
  return path;
}
std::string Chowned(const std::string& path, unsigned uid) {
  ::lchown(path.c_str(), uid, uid);
  return path;
}
TEST_F(NamedObjectTest, CreateTellsFreshFromLivingAndOpenCreatesNothing) {
  CNamedEvent first, second;
  EXPECT_FALSE(first.Open("point"));
  EXPECT_EQ(0, ObjectFileCount());
  EXPECT_EQ(0, first.Create("point"));
  EXPECT_EQ(1, second.Create("point"));
  EXPECT_TRUE(CNamedEvent().Open("point"));
  CNamedObject memory; // each kind is a namespace of its own
  EXPECT_EQ(0, memory.Create(EPxObjectKind::Memory, "point", 16));
  EXPECT_EQ(2, ObjectFileCount());
  first = CNamedEvent();               // assigning over an open handle closes it
  EXPECT_EQ(1, first.Create("point")); // still held by the second handle
  first.Close();
  second.Close();
  EXPECT_EQ(1, ObjectFileCount());
  EXPECT_FALSE(first.Open("point"));
  // A name marker holds its name for the rest of the process.
  EXPECT_EQ(0, NPxPlatform::CreateNameMarker("log_Mutex!"));
  EXPECT_EQ(1, NPxPlatform::CreateNameMarker("log_Mutex!"));
  EXPECT_TRUE(first.Open("log_Mutex!"));
}

TEST_F(NamedObjectTest, AForkedChildDoesNotKeepTheParentsName) {
  CNamedEvent event;
  ASSERT_EQ(0, event.Create("forked"));
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) { // stops, still living, once its inherited handle reads as closed
    if (!event.IsOpen())
      ::raise(SIGSTOP);
    ::_exit(1);
  }
  int status = 0;
  EXPECT_EQ(child, ::waitpid(child, &status, WUNTRACED));
  EXPECT_TRUE(WIFSTOPPED(status));
  event.Close();
  EXPECT_FALSE(CNamedEvent().Open("forked")); // the living child holds nothing
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
}

TEST_F(NamedObjectTest, NamesAreAnyBytesUpToTheLimit) {
  const std::string longest(CNamedObject::kMaxNameLength, 'z');
  const std::vector<std::string> names = {
      "a/b/c.src_0007_0",          "a\\b",  "/leading/slash",  ".", "..", std::string(268, 'y'),
      std::string(268, 'y') + "!", longest, "\x82\xa0\x94\x5c"};
  std::vector<CNamedEvent> events(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(0, events[i].Create(names[i].c_str())) << names[i];
    EXPECT_TRUE(CNamedEvent().Open(names[i].c_str())) << names[i];
  }
  const std::string tooLong = longest + "z";
  CNamedEvent event;
  for (const char* bad : {static_cast<const char*>(nullptr), "", tooLong.c_str()}) {
    EXPECT_EQ(-1, event.Create(bad));
    EXPECT_FALSE(event.Open(bad));
  }
  EXPECT_FALSE(event.Set());
  EXPECT_FALSE(event.Wait(0));
  EXPECT_EQ(static_cast<int>(names.size()), ObjectFileCount());
}

TEST_F(NamedObjectTest, OneHolderTooManyIsRefused) {
  std::vector<CNamedEvent> holders(CNamedObject::kMaxHolders);
  for (size_t i = 0; i < holders.size(); ++i)
    ASSERT_EQ(i == 0 ? 0 : 1, holders[i].Create("crowded"));
  CNamedEvent extra;
  EXPECT_EQ(-1, extra.Create("crowded"));
  EXPECT_FALSE(extra.Open("crowded"));
  holders[5].Close(); // the refusal harmed nobody, and a freed slot is taken again
  EXPECT_EQ(1, extra.Create("crowded"));
  EXPECT_TRUE(holders[0].Set());
  EXPECT_TRUE(extra.Wait(0));
}

// Each folder that must not be trusted, as another user could have left it:
// in this process every call is refused; a process that needs it says so
// once, its sync points pass, its log is written. A named folder has no
// fallback, though the home would do; the default one falls back to the
// home's, which the second user cannot enter.
// Rows that need a second user run as root only.
TEST_F(NamedObjectTest, AnUntrustedFolderIsSaidOnceAndTheRunGoesOn) {
  ASSERT_EQ(0, ::chmod(m_dir.c_str(), 0755));
  CNamedEvent event;
  EXPECT_EQ(-1, event.Create("open to others"));
  EXPECT_FALSE(event.Open("open to others"));
  EXPECT_EQ(-1, NPxPlatform::CreateNameMarker("open to others"));
  CNamedObject memory;
  EXPECT_EQ(-1, memory.Create(EPxObjectKind::Memory, "open to others", 16));
  EXPECT_EQ(nullptr, memory.Payload());
  const bool root = ::geteuid() == 0;
  const unsigned victim = 50000 + static_cast<unsigned>(::getpid()) % 10000;
  const std::string victimDefault = "/dev/shm/probex-" + std::to_string(victim);
  const std::string own = m_dir + "/own";
  ASSERT_EQ(0, ::mkdir(own.c_str(), 0700));
  struct SRow {
    const char* what;
    std::function<std::string()> plant; // gives the folder to use
    const char* problem;
    bool secondUser; // needs root to act as a second user
    bool asVictim;   // runs as that user, whose default folder root took first
  };
  const std::vector<SRow> rows = {
      {"open to the group", [&] { return Made(m_dir + "/group", 0750); },
       "has mode 0750 instead of 0700", false, false},
      {"a link to one's own folder", [&] { return Linked(own, m_dir + "/link"); },
       "is a symbolic link", false, false},
      {"a file", [&] { return Filed(m_dir + "/file"); }, "is not a directory", false, false},
      {"not to be made", [&] { return m_dir + "/missing/objects"; }, "cannot be made (No such file",
       false, false},
      {"another user's", [&] { return Chowned(Made(m_dir + "/theirs", 0700), kOtherUser); },
       "belongs to user 54321, not to user 0", true, false},
      {"the default, taken open", [&] { return Made(victimDefault, 0777); },
       "belongs to user 0, not to user", true, true},
      {"the default, taken as a link", [&] { return Linked(own, victimDefault); },
       "is a symbolic link", true, true},
  };
  bool skipped = false;
  for (const SRow& row : rows) {
    if (row.secondUser && !root) {
      skipped = true;
      continue;
    }
    const std::string folder = row.plant();
    const std::string tmp = PxMakeTempDir("logs");
    std::map<std::string, std::string> env = {
        {"PROBEX_OBJECT_DIR", folder}, {"TMPDIR", tmp}, {"PATH", ""}, {"HOME", own}};
    std::vector<std::string> argv = {PxScenarioPath("px_sync_party"), "1", "0"};
    if (row.asVictim) {
      env = {{"PROBEX_OBJECT_DIR", ""}, {"XDG_RUNTIME_DIR", ""}, {"HOME", own}};
      argv.insert(argv.begin(), {"/usr/bin/setpriv", "--reuid=" + std::to_string(victim),
                                 "--regid=" + std::to_string(victim), "--clear-groups"});
    }
    const SPxChildResult sync = PxRunChild(argv, env);
    EXPECT_EQ(0, sync.exitCode) << row.what << sync.stdErr; // unmet, but not silently
    const std::string notice = "Probex: the object folder " + folder + " " + row.problem;
    EXPECT_EQ(1u, PxCount(sync.stdErr, notice)) << row.what << "\n" << sync.stdErr;
    EXPECT_EQ(1u, PxCount(sync.stdErr, "Probex: the object folder")) << row.what;
    EXPECT_NE(std::string::npos, sync.stdErr.find("set PROBEX_OBJECT_DIR")) << row.what;
    if (row.asVictim) { // root's folder as its home, which it cannot use either
      const std::regex refused(", and the folder " + own +
                               " (cannot be opened|belongs to user 0)"
                               "[^\\n]*, so neither is used");
      EXPECT_TRUE(std::regex_search(sync.stdErr, refused)) << row.what << sync.stdErr;
    } else {
      // A folder of its own: the party may have left a log of its run.
      const std::string logs = PxMakeTempDir("logs");
      env["TMPDIR"] = logs;
      const SPxChildResult logged = PxRunChild({PxScenarioPath("px_class_scenario"), "class"}, env);
      EXPECT_EQ(1u, PxCount(logged.stdErr, notice)) << row.what << logged.stdErr;
      EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(logs), {})) << row.what;
    }
    std::error_code ignored;
    std::filesystem::remove(victimDefault, ignored);
  }
  if (skipped)
    GTEST_SKIP() << "the rows with a second user need root";
}

// Twenty runs of one folder, three of them holders that are killed: what a
// run made is gone when it ends; what a killed holder left frees its name
// for Open (run 7) and Create (runs 7 and 13), or goes with the next run.
TEST_F(NamedObjectTest, NothingPilesUpOverManyRunsWithSomeKilled) {
  for (int run = 0; run < 20; ++run) {
    SCOPED_TRACE(run);
    if (run == 3 || run == 7 || run == 13) {
      CPxChild holder;
      ASSERT_TRUE(holder.Start({PxScenarioPath("px_named_holder"), "event", "held"}));
      ASSERT_EQ("0", holder.ReadLine());
      EXPECT_TRUE(CNamedEvent().Open("held"));
      holder.Kill();
      EXPECT_EQ(kPxKillSignal, holder.Wait().signal);
      EXPECT_EQ(1, ObjectFileCount()); // the killed holder never closed: its file is dead
      if (run == 7) {
        EXPECT_FALSE(CNamedEvent().Open("held"));
        EXPECT_EQ(0, ObjectFileCount());
      }
      if (run != 3) {
        EXPECT_EQ(0, CNamedEvent().Create("held"));
      }
      continue;
    }
    const SPxChildResult logged =
        PxRunChild({PxScenarioPath("px_class_scenario"), "class"}, {{"PATH", ""}});
    EXPECT_EQ(0, logged.exitCode) << logged.stdErr;
    EXPECT_EQ(0, ObjectFileCount());
  }
}

TEST_F(NamedObjectTest, SharedMemoryIsZeroFilledSharedWithAnotherProcessAndGoneWithItsLastClose) {
  NPxPlatform::CNamedSharedMemory memory, other;
  ASSERT_EQ(0, memory.Open("_QPX_MODE_INFO_", 16));
  auto* bytes = static_cast<unsigned char*>(memory.View());
  EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + 16), std::vector<unsigned char>(16, 0));
  bytes[0] = 0x5a;
  bytes[15] = 0xa5;
  CPxChild child;
  ASSERT_TRUE(child.Start({PxScenarioPath("px_named_holder"), "memory", "_QPX_MODE_INFO_"}));
  EXPECT_EQ("1 5a 00 00 00 00 00 00 00 00 00 00 00 00 00 00 a5", child.ReadLine());
  EXPECT_EQ(0, child.Wait().exitCode);
  EXPECT_EQ("child", std::string(reinterpret_cast<char*>(bytes) + 8, 5));
  // Sizes the living block cannot serve are refused.
  EXPECT_EQ(-1, other.Open("_QPX_MODE_INFO_", 17));
  EXPECT_EQ(-1, other.Open("_QPX_MODE_INFO_", 0));
  EXPECT_EQ(1, other.Open("_QPX_MODE_INFO_", 8));
  other.Close();
  EXPECT_TRUE(memory.Close());
  EXPECT_FALSE(memory.Close());
  EXPECT_EQ(nullptr, memory.View());
  ASSERT_EQ(0, memory.Open("_QPX_MODE_INFO_", 16));
  EXPECT_EQ(0, static_cast<unsigned char*>(memory.View())[0]);
}

// The auto-reset event: one release per Set, and signals merged without a waiter.
class NamedEventTest : public CPxObjectDirTest {
protected:
  // Creates the event and looks into its shared state as one more holder.
  void SetUp() override {
    CPxObjectDirTest::SetUp();
    ASSERT_EQ(0, m_event.Create("gate"));
    ASSERT_TRUE(m_observer.Open(EPxObjectKind::Event, "gate", sizeof(SEventState)));
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
  CNamedObject m_observer;
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
