// The models built from records and the transcript made of them, in what
// the program's outputs do not show: the run model's captions, times and
// warnings, coverage records that cannot be read, the transcript's colour,
// which never crosses a line end, and its text conversions.
#include "CoverageModel.h"
#include "EnglishTexts.h"
#include "LogReader.h"
#include "RunModel.h"
#include "TextConverter.h"
#include "TranscriptReporter.h"
#include "common/PxIconv.h"

#include "probex/base/PxFormat.h"
#include "probex/base/PxTexts.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>
#include <vector>

namespace {

// Hands each record that the log's bytes hold to `each`.
void ForEachRecord(const std::string& log, const CLogReader::FRecord& each) {
  CLogReader().Feed(log.data(), log.size(), each);
}

TEST(RunModel, KeepsTheTestCaptionOfAFailureAndTheTimeOfItsCase) {
  CReadIssues issues;
  CRunModel model(issues);
  ForEachRecord("ClCp|stack\rCaCp|first\rTtCp|sums\rTtEL|/src/t.cpp(12):\rTtEx|b == 2  ?\r"
                "TtNg|b is not 2\rCaTm|15ms\rTtOk|\rCaTm|garbage\r",
                [&model](const SLogRecord& r) { model.Add(r); });
  const std::vector<SCase>& cases = model.Classes().at(0).cases;
  ASSERT_EQ(cases.size(), 2u);
  ASSERT_EQ(cases[0].failures.size(), 1u);
  EXPECT_EQ(cases[0].failures[0].testCaption, "sums");
  EXPECT_EQ(cases[0].timeMs, 15);
  EXPECT_EQ(cases[1].timeMs, 0);
}

TEST(RunModel, TiesWarningsToTheirClassInEitherLanguageAndFailsTheRun) {
  for (const bool english : {false, true}) {
    CReadIssues issues;
    CRunModel model(issues);
    ForEachRecord(std::string("ClNm|CNoCaption\rEtc.|") + NPxText::kCaptionWarning +
                      "\rClCp|no end\rTtOk|\rClRe|Failures \t0\rEtc.|" +
                      NPxText::kEndMarkerWarning + "\r",
                  [&](SLogRecord r) {
                    if (english)
                      PxToEnglish(r.kind, r.text);
                    model.Add(r);
                  });
    ASSERT_EQ(model.Classes().size(), 2u);
    ASSERT_EQ(model.Classes()[0].warnings.size(), 1u);
    EXPECT_EQ(model.Classes()[0].warnings[0].rfind("Warning:", 0), 0u);
    EXPECT_TRUE(model.Classes()[0].cases.empty());
    ASSERT_EQ(model.Classes()[1].warnings.size(), 1u);
    EXPECT_NE(model.Classes()[1].warnings[0].find("PX_DECLARATION_END()"), std::string::npos);
    EXPECT_TRUE(model.Failed());
  }
}

TEST(EnglishTexts, SaysTheLibrarysTextsAgainWithTheirFieldsAndLeavesOthersAlone) {
  const std::string failed = NPxText::kFalseSuffix;
  const std::tuple<EPxMsgType, std::string, std::string> rows[] = {
      {PX_MSG_TEST_NG, PxFormat(NPxText::kAssertNg, "p != 0"), "'p != 0' did not become true"},
      {PX_MSG_TEST_NG, PxFormat(NPxText::kCompareNg, "f('a')", "g()"),
       "'f('a')' did not become 'g()'"},
      {PX_MSG_TEST_OK, PxFormat(NPxText::kExceptionOk, "f()", "E"),
       "try{ f() } raised the expected exception (E)."},
      {PX_MSG_TEST_NG, PxFormat(NPxText::kExceptionNg, "f()", "E"),
       "try{ f() } did not raise the expected exception (E)."},
      {PX_MSG_TEST_NG, PxFormat(NPxText::kCountNg, -5), "the false count was -5."},
      {PX_MSG_TEST_NG, PxFormat(NPxText::kPendingAssertNg, 3),
       "during the test, ASSERT/VERIFY came out false 3 times"},
      {PX_MSG_TEST_EXPRESSION, PxFormat(NPxText::kCountExpression, 0) + failed,
       "ASSERT/VERIFY false count == 0  ?"},
      {PX_MSG_TEST_EXPRESSION, NPxText::kCountZeroExpression, "ASSERT/VERIFY false count is 0."},
      {PX_MSG_TEST_EXPRESSION, "1 > 2" + failed, "1 > 2  ?"},
      {PX_MSG_ETC, NPxText::kSuiteResultsHeading, "========Results========"},
      {PX_MSG_ETC, "** " + PxFormat(NPxText::kAssertNg, "x"), "** 'x' did not become true"},
      // A count that is no number, a text of the user's, a kind the library
      // never fills with its texts: as they are.
      {PX_MSG_TEST_NG, NPxText::kCountNg, NPxText::kCountNg},
      {PX_MSG_TEST_NG, NPxText::kNullPointer, NPxText::kNullPointer},
      {PX_MSG_CASE_CAPTION, NPxText::kMatched, NPxText::kMatched},
  };
  for (const auto& [kind, japanese, english] : rows) {
    std::string text = japanese;
    PxToEnglish(kind, text);
    EXPECT_EQ(text, english);
  }
  for (const auto& [locale, language] : {std::pair{"ja_JP.UTF-8", ETranscriptLanguage::Japanese},
                                         std::pair{"ja", ETranscriptLanguage::Japanese},
                                         std::pair{"C", ETranscriptLanguage::English},
                                         std::pair{"jam_JM", ETranscriptLanguage::English},
                                         std::pair{"en_US.UTF-8", ETranscriptLanguage::English}})
    EXPECT_EQ(PxLanguageOfLocale(locale), language) << locale;
}

TEST(CoverageModel, SkipsRecordsItCannotReadAndSaysSo) {
  CReadIssues issues;
  CCoverageModel model;
  const std::string log = "PxCt|?3,120();00000\rPxCt|?3,120();00000G\rPxCt|?x,1();000001\r"
                          "PxCt|?3,120\rPxLn|?3,120(1):\rPxLn|?3,120(1)\rPxLn|3,120(1\r"
                          "PxLn|?3,120(1):1G\rPxPs|!1,2;name\rPxPs|!1,2;f(0):0\rPxPs|!1,2;f(0):ZZ\r"
                          "PxPs|!1;f(0):\rPxFn|anything\r";
  ForEachRecord(log, [&](const SLogRecord& r) { model.Add(r, issues); });
  EXPECT_EQ(issues.Count(EReadIssue::BadCoverage), 12u);
  EXPECT_TRUE(model.Empty());
}

TEST(Transcript, ColoursByOutcomeAndResetsBeforeEveryLineEnd) {
  std::ostringstream out;
  CTranscriptReporter reporter(out, "UTF-8", true);
  const std::string log = "TtEx|good\rTtOk|\rTtEx|bad\rTtNg|why\rClRe|Failures \t0\r"
                          "ClRe|Failures \t12\rEtc.|plain\rTtEx|pending\r";
  ForEachRecord(log, [&reporter](const SLogRecord& r) { reporter.OnRecord(r); });
  reporter.OnIdle();
  // An expression whose outcome has not arrived yet is shown plainly.
  EXPECT_EQ(out.str(), "\033[32mgood\033[0m\n\n\033[1;31mbad\033[0m\n\033[1;31m** why\033[0m\n\n"
                       "\033[32m>> Failures \t0\033[0m\n\033[1;31m>> Failures \t12\033[0m\nplain\n"
                       "pending\n");
}

// The text converted from CP932 to the encoding.
std::string Converted(const char* to, const std::string& text) {
  std::string out;
  CTextConverter(to).Convert(text, out);
  return out;
}

TEST(Transcript, ConvertsToOtherEncodingsToo) {
#if defined(_WIN32) // the system's code pages stand in for iconv: CP932 and UTF-8 only
  EXPECT_FALSE(CTextConverter("EUC-JP").Valid());
  EXPECT_FALSE(CTextConverter("ISO-8859-1").Valid());
#else
  EXPECT_EQ(Converted("EUC-JP", NPxText::kMatched),
            "\xB0\xEC\xC3\xD7\xA4\xB7\xA4\xDE\xA4\xB7\xA4\xBF"); // 一致しました
  // Latin-1 has no kana: each character becomes one "?".
  EXPECT_EQ(Converted("ISO-8859-1", std::string("ok ") + NPxText::kMatched), "ok ??????");
#endif
  EXPECT_FALSE(CTextConverter("NO-SUCH-ENCODING").Valid());
}

// What iconv itself makes of CP932 bytes; "" when they hold no character.
std::string IconvUtf8(const std::string& cp932) {
  const std::string utf8 = PxIconv("UTF-8", "CP932", cp932);
  return utf8 == "<conversion failed>" ? "" : utf8;
}

TEST(Transcript, ConvertsEveryCp932CharacterExactlyAsIconvDoes) {
  for (int lead = 0x80; lead < 0x100; ++lead) {
    const std::string single(1, static_cast<char>(lead));
    const std::string singleUtf8 = IconvUtf8(single);
    for (int trail = singleUtf8.empty() ? 0x40 : 0x100; trail < 0x100; ++trail) {
      const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
      const std::string expected = IconvUtf8(pair);
      // A pair with no character is replaced whole when its first byte
      // leads pairs; otherwise that byte alone is, and the second stands.
      const bool lead2 = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
      const std::string alone = IconvUtf8(std::string(1, static_cast<char>(trail)));
      const std::string replaced = lead2 && trail != 0x7F
                                       ? "\xEF\xBF\xBD"
                                       : "\xEF\xBF\xBD" + (alone.empty() ? "\xEF\xBF\xBD" : alone);
      EXPECT_EQ(Converted("UTF-8", pair), expected.empty() ? replaced : expected)
          << std::hex << lead << " " << trail;
    }
    EXPECT_EQ(Converted("UTF-8", single), singleUtf8.empty() ? "\xEF\xBF\xBD" : singleUtf8)
        << std::hex << lead;
  }
}

} // namespace
