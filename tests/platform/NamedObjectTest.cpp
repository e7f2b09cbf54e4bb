// Lifetime, names and limits of the per-user object namespace.
#include "platform/PxObjectDirTest.h"
#include "platform/PxParty.h"

#include "common/PxChildProcess.h"
#include "probex/platform/NameMarker.h"
#include "probex/platform/NamedEvent.h"
#include "probex/platform/NamedObject.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

using NPxPlatform::CNamedEvent;
using NPxPlatform::CNamedObject;
using NPxPlatform::EPxObjectKind;

namespace {

class NamedObjectTest : public CPxObjectDirTest {};

TEST_F(NamedObjectTest, CreateTellsAFreshNameFromALivingOne) {
  CNamedEvent first, second;
  EXPECT_EQ(0, first.Create("point"));
  EXPECT_EQ(1, second.Create("point"));
  EXPECT_EQ(1, ObjectFileCount());
  first.Close();
  // Still held by the second handle.
  EXPECT_EQ(1, first.Create("point"));
  first.Close();
  second.Close();
  EXPECT_EQ(0, ObjectFileCount());
  EXPECT_EQ(0, first.Create("point"));
}

TEST_F(NamedObjectTest, OpenNeedsALivingObjectAndCreatesNothing) {
  CNamedEvent event;
  EXPECT_FALSE(event.Open("absent"));
  EXPECT_FALSE(event.IsOpen());
  EXPECT_EQ(0, ObjectFileCount());

  CNamedEvent holder;
  ASSERT_EQ(0, holder.Create("present"));
  EXPECT_TRUE(event.Open("present"));
  EXPECT_TRUE(event.IsOpen());
  holder.Close();
  event.Close();
  EXPECT_FALSE(event.Open("present"));
}

TEST_F(NamedObjectTest, KindsAreSeparateNamespaces) {
  CNamedObject event, memory;
  ASSERT_EQ(0, event.Create(EPxObjectKind::Event, "shared name", 16));
  EXPECT_EQ(0, memory.Create(EPxObjectKind::Memory, "shared name", 16));
  EXPECT_EQ(2, ObjectFileCount());
}

TEST_F(NamedObjectTest, AKilledHolderFreesTheName) {
  CPxParty holder;
  ASSERT_TRUE(holder.Start({PxScenarioPath("px_named_holder"), "event", "held"}));
  ASSERT_EQ("0", holder.ReadLine());
  CNamedEvent probe;
  EXPECT_TRUE(probe.Open("held"));
  probe.Close();

  holder.Kill();
  EXPECT_EQ(-SIGKILL, holder.Wait());
  // The killed holder never closed; the file is still there but dead.
  EXPECT_EQ(1, ObjectFileCount());
  EXPECT_FALSE(probe.Open("held"));
  EXPECT_EQ(0, ObjectFileCount());
  EXPECT_EQ(0, probe.Create("held"));
}

TEST_F(NamedObjectTest, AKilledHoldersNameIsMadeAfreshByCreate) {
  CPxParty holder;
  ASSERT_TRUE(holder.Start({PxScenarioPath("px_named_holder"), "event", "marker"}));
  ASSERT_EQ("0", holder.ReadLine());
  holder.Kill();
  holder.Wait();
  CNamedEvent marker;
  EXPECT_EQ(0, marker.Create("marker"));
  // A fresh object: not signalled.
  EXPECT_FALSE(marker.Wait(0));
}

TEST_F(NamedObjectTest, AForkedChildDoesNotKeepTheParentsName) {
  CNamedEvent event;
  ASSERT_EQ(0, event.Create("forked"));
  int ready[2];
  ASSERT_EQ(0, ::pipe(ready));
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The inherited handle is no longer a holder here.
    const char answer = event.IsOpen() ? 'y' : 'n';
    (void)!::write(ready[1], &answer, 1);
    for (;;)
      ::pause();
  }
  char answer = 0;
  ASSERT_EQ(1, ::read(ready[0], &answer, 1));
  ::close(ready[0]);
  ::close(ready[1]);
  event.Close();
  CNamedEvent probe;
  EXPECT_FALSE(probe.Open("forked"));
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ('n', answer);
}

TEST_F(NamedObjectTest, NamesOfAnyBytesUpToTheLimit) {
  const std::vector<std::string> names = {"a/b/c.src_0007_0",
                                          "a\\b",
                                          "/leading/slash",
                                          ".",
                                          "..",
                                          std::string(267, 'x'),
                                          std::string(268, 'y'),
                                          std::string(CNamedObject::kMaxNameLength, 'z'),
                                          "\x82\xa0\x94\x5c"};
  std::vector<CNamedEvent> events(names.size());
  for (size_t i = 0; i < names.size(); ++i)
    EXPECT_EQ(0, events[i].Create(names[i].c_str())) << names[i];
  for (const std::string& name : names) {
    CNamedEvent probe;
    EXPECT_TRUE(probe.Open(name.c_str())) << name;
  }
  EXPECT_EQ(static_cast<int>(names.size()), ObjectFileCount());

  // Names differing only past 268 bytes stay apart.
  CNamedEvent longer;
  EXPECT_EQ(0, longer.Create((std::string(268, 'y') + "!").c_str()));
}

TEST_F(NamedObjectTest, BadNamesAreRefused) {
  CNamedEvent event;
  EXPECT_EQ(-1, event.Create(nullptr));
  EXPECT_EQ(-1, event.Create(""));
  EXPECT_EQ(-1, event.Create(std::string(CNamedObject::kMaxNameLength + 1, 'z').c_str()));
  EXPECT_FALSE(event.Open(nullptr));
  EXPECT_FALSE(event.IsOpen());
  EXPECT_FALSE(event.Set());
  EXPECT_FALSE(event.Wait(0));
  EXPECT_EQ(0, ObjectFileCount());
}

TEST_F(NamedObjectTest, OneHolderTooManyIsRefused) {
  std::vector<CNamedEvent> holders(CNamedObject::kMaxHolders);
  EXPECT_EQ(0, holders[0].Create("crowded"));
  for (size_t i = 1; i < holders.size(); ++i)
    ASSERT_EQ(1, holders[i].Create("crowded"));
  CNamedEvent extra;
  EXPECT_EQ(-1, extra.Create("crowded"));
  EXPECT_FALSE(extra.Open("crowded"));
  // The refusal harmed nobody, and a freed slot is taken again.
  holders[5].Close();
  EXPECT_EQ(1, extra.Create("crowded"));
  EXPECT_TRUE(holders[0].Set());
  EXPECT_TRUE(extra.Wait(0));
}

TEST_F(NamedObjectTest, MovedHandlesKeepTheirObject) {
  CNamedEvent original;
  ASSERT_EQ(0, original.Create("moved"));
  CNamedEvent moved(std::move(original));
  EXPECT_TRUE(moved.IsOpen());
  CNamedEvent assigned;
  ASSERT_EQ(0, assigned.Create("other"));
  assigned = std::move(moved);
  // Assigning over an open handle closed it.
  EXPECT_FALSE(CNamedEvent().Open("other"));
  EXPECT_TRUE(CNamedEvent().Open("moved"));
}

TEST_F(NamedObjectTest, AnUnsafeOrMissingDirectoryRefusesEveryCall) {
  ASSERT_EQ(0, ::chmod(m_dir.c_str(), 0755));
  CNamedEvent event;
  EXPECT_EQ(-1, event.Create("open to others"));
  EXPECT_FALSE(event.Open("open to others"));

  ::setenv("PROBEX_OBJECT_DIR", (m_dir + "/no/such/parent").c_str(), 1);
  EXPECT_EQ(-1, event.Create("nowhere"));
  CNamedObject memory;
  EXPECT_EQ(-1, memory.Create(EPxObjectKind::Memory, "nowhere", 16));
  EXPECT_EQ(nullptr, memory.Payload());
  ASSERT_EQ(0, ::chmod(m_dir.c_str(), 0700));
}

TEST_F(NamedObjectTest, ANameMarkerHoldsItsNameForTheRestOfTheProcess) {
  EXPECT_EQ(0, NPxPlatform::CreateNameMarker("log_Mutex!"));
  EXPECT_EQ(1, NPxPlatform::CreateNameMarker("log_Mutex!"));
  EXPECT_TRUE(CNamedEvent().Open("log_Mutex!"));
  EXPECT_EQ(-1, NPxPlatform::CreateNameMarker(""));
}

} // namespace
