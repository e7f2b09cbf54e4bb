// The transcript, in what the program's outputs do not show: the locales
// that choose English, its colour, which never crosses a line end, and its
// text conversions.
#include "common/PxIconv.h"
#include "model/EnglishTexts.h"
#include "model/LogReader.h"
#include "report/TextConverter.h"
#include "report/TranscriptReporter.h"

#include "probex/base/PxTexts.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// The texts themselves are said again in the transcript of a hand-made log.
TEST(EnglishTexts, AreChosenByALocaleOtherThanJapanese) {
  for (const auto& [locale, language] : {std::pair{"ja_JP.UTF-8", ETranscriptLanguage::Japanese},
                                         std::pair{"ja", ETranscriptLanguage::Japanese},
                                         std::pair{"C", ETranscriptLanguage::English},
                                         std::pair{"jam_JM", ETranscriptLanguage::English},
                                         std::pair{"en_US.UTF-8", ETranscriptLanguage::English}})
    EXPECT_EQ(PxLanguageOfLocale(locale), language) << locale;
}

TEST(Transcript, ColoursByOutcomeAndResetsBeforeEveryLineEnd) {
  std::ostringstream out;
  CTranscriptReporter reporter(out, "UTF-8", true);
  const std::string log = "TtEx|good\rTtOk|\rTtEx|bad\rTtNg|why\rClRe|Failures \t0\r"
                          "ClRe|Failures \t12\rEtc.|plain\rTtEx|pending\r";
  CLogReader().Feed(log.data(), log.size(),
                    [&reporter](const SLogRecord& r) { reporter.OnRecord(r); });
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
