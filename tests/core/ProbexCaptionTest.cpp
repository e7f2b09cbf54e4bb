// Captions, source locations and hex dumps.
#include "common/PxRecordingSink.h"
#include "probex/core/Probex.h"
#include "probex/core/ProbexMacros.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <vector>

namespace {

using Messages = std::vector<SPxMessage>;

class CProbe : public CProbex {
public:
  CProbe() { SetViewClass(&sink); }
  using CProbex::Dump;
  using CProbex::x_SetCaseCaption;
  using CProbex::x_SetTestCaption;
  using CProbex::x_SetTestLine;
  CPxRecordingSink sink;
};

TEST(Locations, CaseCaptionSendsLocationFirstThenCaption) {
  CProbe p;
  p.x_SetCaseCaption("push", "/work/t1.src", 42);
  p.x_SetTestCaption("one value");
  p.x_SetTestLine("/work/t1.src", 0);
  p.x_SetTestLine("/work/t1.src", -7);
  p.x_SetCaseCaption(nullptr, nullptr, 3);
  const Messages expected{{PX_MSG_CASE_LINE, "/work/t1.src(42):"},
                          {PX_MSG_CASE_CAPTION, "push"},
                          {PX_MSG_TEST_CAPTION, "one value"},
                          {PX_MSG_TEST_LINE, "/work/t1.src(0):"},
                          {PX_MSG_TEST_LINE, "/work/t1.src(-7):"},
                          {PX_MSG_CASE_LINE, "(3):"},
                          {PX_MSG_CASE_CAPTION, ""}};
  EXPECT_EQ(p.sink.Messages(), expected);
}

TEST(Locations, RelativeNamesAreQualifiedFromTheCurrentDirectory) {
  char cwd[PATH_MAX];
  ASSERT_NE(::getcwd(cwd, sizeof cwd), nullptr);
  const std::string here(cwd);
  const std::string parent = here.substr(0, here.rfind('/'));
  CProbe p;
  p.x_SetTestLine("sub/./x.cpp", 5);
  p.x_SetTestLine("../y.cpp", 6);
  p.x_SetTestLine(std::string(300, 'n').c_str(), 7);
  const Messages messages = p.sink.Messages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].text, here + "/sub/x.cpp(5):");
  EXPECT_EQ(messages[1].text, (parent.empty() ? "" : parent) + "/y.cpp(6):");
  EXPECT_EQ(messages[2].text, std::string(300, 'n') + "(7):");
}

TEST(Dump, RowsOfSixteenWithTrailingBlank) {
  unsigned char bytes[20];
  for (int i = 0; i < 20; ++i)
    bytes[i] = static_cast<unsigned char>(i);
  CProbe p;
  p.Dump(bytes, 20);
  const Messages expected{{PX_MSG_ETC, " *0000 : 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F "},
                          {PX_MSG_ETC, " *0010 : 10 11 12 13 "}};
  EXPECT_EQ(p.sink.Messages(), expected);

  p.sink.Clear();
  p.Dump(bytes, 16);
  EXPECT_EQ(p.sink.Messages().size(), 1u);
  p.sink.Clear();
  p.Dump(bytes, 17);
  ASSERT_EQ(p.sink.Messages().size(), 2u);
  EXPECT_EQ(p.sink.Messages()[1].text, " *0010 : 10 ");
}

TEST(Dump, NothingForEmptyNegativeOrNullAndWideOffsetsPastFourDigits) {
  CProbe p;
  const unsigned char one = 0xFF;
  p.Dump(&one, 0);
  p.Dump(&one, -5);
  p.Dump(nullptr, 16);
  EXPECT_TRUE(p.sink.Messages().empty());
  std::vector<unsigned char> big(0x10001, 0xAB);
  p.Dump(big.data(), static_cast<int>(big.size()));
  const Messages messages = p.sink.Messages();
  ASSERT_EQ(messages.size(), 0x1001u);
  EXPECT_EQ(messages.back().text, " *10000 : AB ");
  EXPECT_EQ(messages[0xFFF].text.substr(0, 9), " *FFF0 : ");
}

} // namespace
