#include "model/EnglishTexts.h"

#include "probex/base/PxFailureRow.h"
#include "probex/base/PxTexts.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace {

struct SEnglishText {
  const char* japanese; // a format of the library, as CP932 bytes
  const char* english;  // the same fields, in the same order
};

const SEnglishText kExpressions[] = {
    {NPxText::kCountExpression, "ASSERT/VERIFY false count == %d"},
    {NPxText::kCountZeroExpression, "ASSERT/VERIFY false count is 0."},
};

const SEnglishText kOutcomes[] = {
    {NPxText::kMatched, "matched"},
    {NPxText::kAssertNg, "'%s' did not become true"},
    {NPxText::kCompareNg, "'%s' did not become '%s'"},
    {NPxText::kExceptionOk, "try{ %s } raised the expected exception (%s)."},
    {NPxText::kExceptionNg, "try{ %s } did not raise the expected exception (%s)."},
    {NPxText::kCountNg, "the false count was %d."},
    {NPxText::kPendingAssertNg, "during the test, ASSERT/VERIFY came out false %d times"},
};

const SEnglishText kFreeTexts[] = {
    {NPxText::kCaptionWarning, "Warning: the test class has no caption. Give it one with "
                               "PX_CAPTION_CLASS() in the test class's constructor."},
    {NPxText::kEndMarkerWarning,
     "Warning: PX_DECLARATION_END() may be missing at the bottom of the test class."},
    {NPxText::kSuiteResultsHeading, "========Results========"},
};

const char kEnglishFalseSuffix[] = "  ?";

using Fields = std::vector<std::string_view>;

// Whether text is format with its %s and %d filled; fields gets what they
// were filled with. A %s takes the shortest text that lets the rest match.
bool Matches(const char* format, std::string_view text, Fields& fields) {
  if (*format == 0)
    return text.empty();
  if (format[0] == '%' && format[1] == 's') {
    for (std::size_t length = 0; length <= text.size(); ++length) {
      fields.push_back(text.substr(0, length));
      if (Matches(format + 2, text.substr(length), fields))
        return true;
      fields.pop_back();
    }
    return false;
  }
  if (format[0] == '%' && format[1] == 'd') {
    std::size_t length = !text.empty() && text[0] == '-' ? 1 : 0;
    const std::size_t digits = length;
    while (length < text.size() && text[length] >= '0' && text[length] <= '9')
      ++length;
    if (length == digits)
      return false;
    fields.push_back(text.substr(0, length));
    if (Matches(format + 2, text.substr(length), fields))
      return true;
    fields.pop_back();
    return false;
  }
  return !text.empty() && text[0] == *format && Matches(format + 1, text.substr(1), fields);
}

std::string Filled(const char* format, const Fields& fields) {
  std::string out;
  std::size_t next = 0;
  for (const char* p = format; *p; ++p) {
    if (p[0] == '%' && (p[1] == 's' || p[1] == 'd') && next < fields.size()) {
      out.append(fields[next++]);
      ++p;
    } else {
      out += *p;
    }
  }
  return out;
}

template <std::size_t N>
bool Translate(const SEnglishText (&table)[N], std::string_view text, std::string& out) {
  for (const SEnglishText& entry : table) {
    // A text without fields, such as the pass text of every check, is
    // compared whole.
    if (std::strchr(entry.japanese, '%') == nullptr) {
      if (text != entry.japanese)
        continue;
      out = entry.english;
      return true;
    }
    Fields fields;
    if (Matches(entry.japanese, text, fields)) {
      out = Filled(entry.english, fields);
      return true;
    }
  }
  return false;
}

bool TranslateExpression(std::string_view text, std::string& english) {
  const std::string_view suffix = NPxText::kFalseSuffix;
  const bool failed =
      text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
  if (failed)
    text.remove_suffix(suffix.size());
  // Most expressions are the test's own: only the mark changes language.
  if (!Translate(kExpressions, text, english)) {
    if (!failed)
      return false;
    english = text;
  }
  if (failed)
    english += kEnglishFalseSuffix;
  return true;
}

} // namespace

ETranscriptLanguage PxLanguageOfLocale(const std::string& localeName) {
  const bool japanese = localeName.compare(0, 2, "ja") == 0 &&
                        (localeName.size() == 2 || std::strchr("_.@", localeName[2]) != nullptr);
  return japanese ? ETranscriptLanguage::Japanese : ETranscriptLanguage::English;
}

bool PxEnglishOf(EPxMsgType kind, std::string_view text, std::string& english) {
  switch (kind) {
  case PX_MSG_TEST_EXPRESSION:
    return TranslateExpression(text, english);
  case PX_MSG_TEST_OK:
  case PX_MSG_TEST_NG:
    return Translate(kOutcomes, text, english);
  case PX_MSG_ETC:
    if (Translate(kFreeTexts, text, english))
      return true;
    if (std::string_view failure;
        NPxFailureRow::Read(text, failure) && Translate(kOutcomes, failure, english)) {
      english = NPxFailureRow::Write(english.c_str());
      return true;
    }
    return false;
  default:
    return false;
  }
}

void PxToEnglish(EPxMsgType kind, std::string& text) {
  std::string english;
  if (PxEnglishOf(kind, text, english))
    text = english;
}

// Asked of every free-text record, several times: the library's texts are
// found by address, and a text's first byte settles most answers.
bool PxIsFixedText(std::string_view text, const char* japanese) {
  if (!text.empty() && text[0] == japanese[0] && text == japanese)
    return true;
  for (const SEnglishText& entry : kFreeTexts) {
    if (entry.japanese == japanese || std::strcmp(entry.japanese, japanese) == 0)
      return !text.empty() && text[0] == entry.english[0] && text == entry.english;
  }
  return false;
}
