// Lifetime, names and limits of the per-user object namespace; shared memory.
#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"
#include "probex/platform/NameMarker.h"
#include "probex/platform/NamedEvent.h"
#include "probex/platform/NamedSharedMemory.h"

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

TEST_F(NamedObjectTest, AKilledHolderFreesTheNameForOpenAndCreate) {
  for (const bool openFirst : {true, false}) {
    CPxChild holder;
    ASSERT_TRUE(holder.Start({PxScenarioPath("px_named_holder"), "event", "held"}));
    ASSERT_EQ("0", holder.ReadLine());
    EXPECT_TRUE(CNamedEvent().Open("held"));
    holder.Kill();
    EXPECT_EQ(SIGKILL, holder.Wait().signal);
    EXPECT_EQ(1, ObjectFileCount()); // the killed holder never closed: its file is dead
    if (openFirst) {
      EXPECT_FALSE(CNamedEvent().Open("held"));
      EXPECT_EQ(0, ObjectFileCount());
    }
    EXPECT_EQ(0, CNamedEvent().Create("held")) << openFirst;
  }
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

TEST_F(NamedObjectTest, AnUnsafeDirectoryRefusesEveryCall) {
  ASSERT_EQ(0, ::chmod(m_dir.c_str(), 0755));
  CNamedEvent event;
  EXPECT_EQ(-1, event.Create("open to others"));
  EXPECT_FALSE(event.Open("open to others"));
  EXPECT_EQ(-1, NPxPlatform::CreateNameMarker("open to others"));
  CNamedObject memory;
  EXPECT_EQ(-1, memory.Create(EPxObjectKind::Memory, "open to others", 16));
  EXPECT_EQ(nullptr, memory.Payload());
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

} // namespace
