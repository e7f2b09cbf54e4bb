// Files of this user in a folder that everyone may write to, against what a
// second user can plant there first. Rows that need that user to own the
// planted link or file run as root only.
#include "probex/platform/OwnFile.h"
#include "common/PxChildProcess.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using NPxPlatform::CInputFile;
using NPxPlatform::EPxNewFile;

namespace {

constexpr unsigned kOtherUser = 54321;

class OwnFileTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_shared = PxMakeTempDir("shared");
    ASSERT_EQ(0, ::chmod(m_shared.c_str(), 01777)); // like /tmp
    m_victim = PxMakeTempDir("home") + "/secret";
    std::ofstream(m_victim) << "victim";
    ::chmod(m_victim.c_str(), 0600);
    m_oldMask = ::umask(0); // the owner-only mode must not depend on it
  }
  void TearDown() override { ::umask(m_oldMask); }

  std::string Path(const char* name) const { return m_shared + "/" + name; }
  static mode_t Mode(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
  }
  static void Own(const std::string& path, unsigned uid) {
    ASSERT_EQ(0, ::lchown(path.c_str(), uid, uid));
  }

  std::string m_shared, m_victim;
  mode_t m_oldMask = 0;
};

struct SPlant {
  const char* what;
  bool secondUser;
  std::function<void(const std::string& at, const std::string& victim)> plant;
  const char* refusal; // empty when the write goes through
};

TEST_F(OwnFileTest, WritesNeverReachAPlantedLinkOrAnotherUsersFile) {
  const std::vector<SPlant> rows = {
      {"nothing", false, [](auto&, auto&) {}, ""},
      {"a link to the victim", true,
       [](auto& at, auto& victim) {
         ::symlink(victim.c_str(), at.c_str());
         Own(at, kOtherUser);
       },
       "it is a symbolic link"},
      {"a dangling link", false,
       [](auto& at, auto& victim) { ::symlink((victim + "-new").c_str(), at.c_str()); },
       "it is a symbolic link"},
      {"another user's file", true,
       [](auto& at, auto&) {
         std::ofstream(at) << "theirs";
         Own(at, kOtherUser);
       },
       "it belongs to user 54321"},
      {"a folder", false, [](auto& at, auto&) { ::mkdir(at.c_str(), 0700); },
       "it is not a regular file"},
      {"one's own file, linked hard to the victim", false,
       [](auto& at, auto& victim) { ::link(victim.c_str(), at.c_str()); }, ""},
      {"one's own file, readable by all", false,
       [](auto& at, auto&) {
         std::ofstream(at) << "old";
         ::chmod(at.c_str(), 0644);
       },
       ""},
  };
  bool skipped = false;
  int row = 0;
  for (const SPlant& plant : rows) {
    if (plant.secondUser && ::geteuid() != 0) {
      skipped = true;
      continue;
    }
    const std::string at = Path(("report" + std::to_string(row++)).c_str());
    plant.plant(at, m_victim);
    std::string why;
    const bool written = NPxPlatform::WriteOwnFile(at, "report", why);
    EXPECT_EQ(*plant.refusal == '\0', written) << plant.what << ": " << why;
    EXPECT_EQ(0u, why.rfind(plant.refusal, 0)) << plant.what << ": " << why;
    EXPECT_EQ("victim", PxReadFile(m_victim)) << plant.what;
    EXPECT_FALSE(std::filesystem::exists(m_victim + "-new")) << plant.what;
    if (written) {
      EXPECT_EQ("report", PxReadFile(at)) << plant.what;
      EXPECT_EQ(0600u, Mode(at)) << plant.what;
      EXPECT_TRUE(NPxPlatform::IsOwnFile(at)) << plant.what;
    } else {
      EXPECT_FALSE(NPxPlatform::IsOwnFile(at)) << plant.what;
    }
  }
  // Nothing is left beside the reports.
  EXPECT_EQ(row, std::distance(std::filesystem::directory_iterator(m_shared), {}));
  std::string why;
  EXPECT_FALSE(NPxPlatform::WriteOwnFile(m_shared + "/missing/report", "x", why));
  EXPECT_EQ(0u, why.rfind("cannot make a file beside it", 0)) << why;
  if (skipped)
    GTEST_SKIP() << "the rows planted by a second user need root";
}

TEST_F(OwnFileTest, ANewFileIsOwnerOnlyAndTakesNoNameThatIsThere) {
  EXPECT_EQ(EPxNewFile::Created, NPxPlatform::CreateNewFile(Path("log")));
  EXPECT_EQ(0600u, Mode(Path("log")));
  EXPECT_EQ(EPxNewFile::Taken, NPxPlatform::CreateNewFile(Path("log")));
  ::symlink(m_victim.c_str(), Path("link").c_str());
  ::symlink((m_victim + "-new").c_str(), Path("dangling").c_str());
  EXPECT_EQ(EPxNewFile::Taken, NPxPlatform::CreateNewFile(Path("link")));
  EXPECT_EQ(EPxNewFile::Taken, NPxPlatform::CreateNewFile(Path("dangling")));
  EXPECT_FALSE(std::filesystem::exists(m_victim + "-new"));
  EXPECT_EQ(EPxNewFile::Failed, NPxPlatform::CreateNewFile(Path("missing/log")));
}

// A link in a shared sticky folder is followed only when this user or the
// folder's owner made it; elsewhere links are followed as usual.
TEST_F(OwnFileTest, ReadingFollowsNoLinkThatAnotherUserPlantedInASharedFolder) {
  const std::string mine = PxMakeTempDir("mine");
  struct SRow {
    std::string link;
    unsigned owner;
    bool followed;
  };
  const std::vector<SRow> rows = {
      {Path("planted"), kOtherUser, false},
      {Path("own"), ::geteuid(), true},
      {mine + "/theirs", kOtherUser, true},
  };
  for (const SRow& row : rows) {
    ::symlink(m_victim.c_str(), row.link.c_str());
    if (row.owner != ::geteuid() && ::lchown(row.link.c_str(), row.owner, row.owner) != 0)
      continue; // not root: no second user's link can be made
    CInputFile file;
    std::string why;
    EXPECT_EQ(row.followed, file.Open(row.link, why)) << row.link << ": " << why;
    char buffer[16] = {};
    EXPECT_EQ(row.followed ? 6 : -1, file.Read(buffer, sizeof buffer)) << row.link;
    EXPECT_EQ(!row.followed, why.find("user 54321 put in the shared folder") != std::string::npos)
        << why;
  }
  CInputFile file;
  std::string why;
  EXPECT_FALSE(file.Open(Path("nothing"), why));
  EXPECT_EQ("No such file or directory", why);
}

} // namespace
