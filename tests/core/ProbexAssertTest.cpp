// What each expectation, caption, location and dump operation sends, the
// ASSERT/VERIFY count of the code under test, and the texts themselves.
#include "common/PxIconv.h"
#include "common/PxRecordingSink.h"
#include "common/PxTestFiles.h"
#include "probex/base/PxTexts.h"
#include "probex/core/Probex.h"
#include "probex/core/ProbexMacros.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <stdexcept>
#include <thread>

namespace {

// Exposes the operations, so each can be driven directly.
class CProbe : public CProbex {
public:
  CProbe() {
    PX_CAPTION_CLASS("probe");
    SetViewClass(&sink);
  }
  using CProbex::Dump;
  using CProbex::x_Assert;
  using CProbex::x_AssertCompare;
  using CProbex::x_AssertCompareStr;
  using CProbex::x_AssertException;
  using CProbex::x_IsAssertCount;
  using CProbex::x_SetCaseCaption;
  using CProbex::x_SetTestCaption;
  using CProbex::x_SetTestExpectLine;
  using CProbex::x_SetTestLine;
  // What was sent, under a heading.
  std::string Transcript(const std::string& heading) const {
    return "== " + heading + "\n" + PxTranscript(sink.Messages());
  }
  CPxRecordingSink sink;
};

int CodeUnderTest(int value) {
  PX_CODE_VERIFY(value > 0);
  PX_CODE_VERIFY(value > 1);
  return value;
}

class CCodeChecks : public CProbex {
public:
  CCodeChecks() { PX_CAPTION_CLASS("code checks"); }
  PX_CASE(ThreeFalseWithoutExpectation) {
    CodeUnderTest(0);
    PX_CODE_VERIFY(false);
  }
  PX_CASE(CountedOnTheCallingThreadOnly) {
    std::thread worker([] { CodeUnderTest(0); });
    worker.join();
    PX_ASSERT_COUNT(0);
  }
  PX_CASE(MacrosInOrder) {
    CodeUnderTest(1);
    PX_ASSERT_COUNT(1);
    PX_ASSERT_EQUAL(1 + 1, 2);
    PX_ASSERT_STR("x", "y");
    PX_ASSERT_EXCEPTION(throw std::out_of_range("r"), std::out_of_range);
  }
  PX_DECLARATION_END();
};

TEST(Expectations, EachOperationSendsItsMessages) {
  CProbe forms, strings, pending, wrong, captions, dumps;
  forms.x_Assert(false, "p != 0");
  forms.x_Assert(true, "p != 0");
  forms.x_AssertCompare(false, "a", "b");
  forms.x_AssertCompare(true, "a", "b");
  forms.x_AssertException(true, "f()", "E");
  forms.x_AssertException(false, "f()", "E");
  forms.x_Assert(false, nullptr);
  forms.x_AssertCompare(true, nullptr, nullptr);
  const std::string wideText(300, 'w'); // together past a message's in-place text
  forms.x_AssertCompare(false, wideText.c_str(), wideText.c_str());

  strings.x_AssertCompareStr("abc", "abc", "s", "t");
  strings.x_AssertCompareStr("abc", "ABC", "s", "t");
  strings.x_AssertCompareStr("abc", "ab", "s", "t");
  strings.x_AssertCompareStr(static_cast<const char*>(nullptr), nullptr, "n1", "n2");
  strings.x_AssertCompareStr("abc", nullptr, "s", "null");
  const unsigned short wide1[] = {0x3042, 0x41, 0}, wide2[] = {0x3042, 0x42, 0};
  strings.x_AssertCompareStr(wide1, wide1, "w", "w");
  strings.x_AssertCompareStr(wide1, wide2, "w", "v");

  // A pending count is reported before a positive line and kept by a negative one.
  pending.x_AssertFailedLine("f", 1);
  pending.x_AssertFailedLine("f", 2);
  pending.x_SetTestExpectLine("/src/t.cpp", -12);
  pending.x_IsAssertCount(2);
  pending.x_AssertFailedLine("f", 3);
  pending.x_SetTestExpectLine("/src/t.cpp", 12);
  pending.x_IsAssertCount(5);
  pending.x_SetTestExpectLine("/src/t.cpp", INT_MIN);

  // A wrong count fails and clears; a zero count always passes.
  wrong.x_AssertFailedLine("f", 1);
  wrong.x_IsAssertCount(2);
  wrong.x_IsAssertCount(3);
  wrong.x_AssertFailedLine("f", 1);
  wrong.x_IsAssertCount(0);

  // Relative names are qualified against the current directory, which is
  // read at most once a millisecond: a change must show in the next ones.
  const std::filesystem::path cwd = std::filesystem::current_path();
  const std::filesystem::path base = std::filesystem::canonical(PxMakeTempDir("cwd"));
  std::filesystem::create_directory(base / "inner");
  for (const std::filesystem::path& dir : {base, base / "inner"}) {
    std::filesystem::current_path(dir);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    captions.x_SetTestLine("a.cpp", 1);
  }
  captions.x_SetCaseCaption("push", "/work/t1.src", 42);
  captions.x_SetTestCaption("one value");
  captions.x_SetTestLine("/work/t1.src", 0);
  captions.x_SetTestLine("/work/t1.src", -7);
  captions.x_SetCaseCaption(nullptr, nullptr, 3);
  captions.x_SetTestLine("sub/./x.cpp", 5);
  captions.x_SetTestLine("../y.cpp", 6);
  captions.x_SetTestLine(std::string(300, 'n').c_str(), 7);
  std::filesystem::current_path(cwd);

  unsigned char bytes[20];
  for (int i = 0; i < 20; ++i)
    bytes[i] = static_cast<unsigned char>(i);
  for (int size : {20, 16, 17, 0, -5})
    dumps.Dump(bytes, size);
  dumps.Dump(nullptr, 16);

  CCodeChecks checks;
  CPxRecordingSink sink;
  checks.SetViewClass(&sink);
  checks.Run();

  std::string all = forms.Transcript("forms") + strings.Transcript("strings") +
                    pending.Transcript("pending count") + wrong.Transcript("wrong count") +
                    captions.Transcript("captions and locations") + dumps.Transcript("dumps") +
                    "== code checks\n" + PxTranscript(sink.Messages());
  const std::string here = PxStable(base.string());
  for (std::size_t at; (at = all.find(here + "/")) != std::string::npos;)
    all.replace(at, here.size(), "<cwd>");
  PxExpectApproved("core/approved/expectations.txt", all);
}

TEST(Dump, OffsetsWidenPastFourDigits) {
  CProbe p;
  std::vector<unsigned char> big(0x10001, 0xAB);
  p.Dump(big.data(), static_cast<int>(big.size()));
  const std::vector<SPxMessage> messages = p.sink.Messages();
  ASSERT_EQ(messages.size(), 0x1001u);
  EXPECT_EQ(messages.back().text, " *10000 : AB ");
  EXPECT_EQ(messages[0xFFF].text.substr(0, 9), " *FFF0 : ");
}

TEST(AssertCount, FailureOutsideAnyRunIsDroppedAndReturnsZero) {
  EXPECT_EQ(NPxCoverage::OnAssertFailedLine("f", 1), 0);
  CProbe p;
  p.x_SetTestExpectLine("f", 1);
  EXPECT_EQ(p.sink.Messages().size(), 1u);
}

// The Japanese texts, read through iconv as UTF-8: any wrong CP932 byte shows.
TEST(Texts, EveryTextIsTheCp932FormOfItsReadableText) {
  std::string all;
  for (const char* text :
       {NPxText::kCaptionWarning, NPxText::kEndMarkerWarning, NPxText::kFalseSuffix,
        NPxText::kMatched, NPxText::kAssertNg, NPxText::kCompareNg, NPxText::kExceptionOk,
        NPxText::kExceptionNg, NPxText::kCountNg, NPxText::kCountExpression,
        NPxText::kCountZeroExpression, NPxText::kPendingAssertNg, NPxText::kSuiteResultsHeading,
        NPxText::kViewerMissingCaption, NPxText::kViewerMissing, NPxText::kNullPointer,
        NPxText::kIndexOutOfBounds, NPxText::kInvalidParam, NPxText::kNotSupport})
    all += PxIconv("UTF-8", "CP932", text) + "\n";
  PxExpectApproved("core/approved/texts.txt", all);
}

} // namespace
