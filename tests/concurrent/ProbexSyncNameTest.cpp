// Sync names: "%s_%04d_%d" of the file without its first two characters,
// every backslash character made an underscore, within 268 bytes.
#include "probex/concurrent/ProbexSync.h"
#include "probex/core/ProbexMacros.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class CNames : public CProbexSync {
public:
  static std::string Make(const char* file, int number, int slot, bool* fits = nullptr) {
    char name[kSyncNameSize];
    const bool ok = m_MakeSyncName(name, file, number, slot);
    if (fits)
      *fits = ok;
    return name;
  }
};

TEST(SyncName, DropsTheDriveAndTurnsBackslashesIntoUnderscores) {
  EXPECT_EQ("_a_b.src_0007_0", CNames::Make("D:\\a\\b.src", 7, 0));
  EXPECT_EQ("_a_b.src_0007_1", CNames::Make("D:\\a\\b.src", 7, 1));
  EXPECT_EQ("_work_t1.src_0042_2", CNames::Make("D:\\work\\t1.src", 42, 2));
}

TEST(SyncName, NumbersAreWrittenInFullWithTheirSign) {
  EXPECT_EQ("_f.c_12345_0", CNames::Make("C:\\f.c", 12345, 0));
  EXPECT_EQ("_f.c_-005_3", CNames::Make("C:\\f.c", -5, 3));
  EXPECT_EQ("_f.c_0000_12", CNames::Make("C:\\f.c", 0, 12));
}

TEST(SyncName, OnlyBackslashCharactersAreReplaced) {
  EXPECT_EQ("/src/a b:c.cpp_0001_0", CNames::Make("C:/src/a b:c.cpp", 1, 0));
  EXPECT_EQ("home/t.cpp_0001_0", CNames::Make("//home/t.cpp", 1, 0));
  // The second byte of a CP932 character may be 0x5C; it is no backslash.
  EXPECT_EQ("_\x94\x5c_0001_0", CNames::Make("C:\\\x94\x5c", 1, 0));
  EXPECT_EQ("_\x94\x5c_\x82\xa0__0001_0", CNames::Make("C:\\\x94\x5c\\\x82\xa0\\", 1, 0));
}

TEST(SyncName, TooShortAFileOrTooLongANameIsRefused) {
  bool fits = true;
  EXPECT_EQ("", CNames::Make(nullptr, 1, 0, &fits));
  EXPECT_FALSE(fits);
  EXPECT_EQ("", CNames::Make("", 1, 0, &fits));
  EXPECT_FALSE(fits);
  EXPECT_EQ("", CNames::Make("a", 1, 0, &fits));
  EXPECT_FALSE(fits);
  EXPECT_EQ("_0001_0", CNames::Make("ab", 1, 0, &fits));
  EXPECT_TRUE(fits);

  // "_0001_0" takes 7 bytes; with the terminator 260 bytes of file remain.
  const std::string fitting = "C:" + std::string(260, 'x');
  EXPECT_EQ(CProbexSync::kSyncNameSize - 1,
            static_cast<int>(CNames::Make(fitting.c_str(), 1, 0, &fits).size()));
  EXPECT_TRUE(fits);
  const std::string cut = fitting + "y";
  EXPECT_EQ(CProbexSync::kSyncNameSize - 1,
            static_cast<int>(CNames::Make(cut.c_str(), 1, 0, &fits).size()));
  EXPECT_FALSE(fits);
}

} // namespace
