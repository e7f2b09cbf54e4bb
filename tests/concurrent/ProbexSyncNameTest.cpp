// Sync names: "%s_%04d_%d" of the file from its third byte, backslashes made underscores.
#include "probex/concurrent/ProbexSync.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace {

class CNames : public CProbexSync {
public:
  using CProbexSync::m_MakeSyncName;
};

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
    EXPECT_EQ(CNames::m_MakeSyncName(name, file, number, slot), fits) << expected;
    EXPECT_EQ(name, expected);
  }
}

} // namespace
