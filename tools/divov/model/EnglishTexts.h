// The library's own texts in English, for readers outside Japan. A record
// that holds one of them, with its fields (%s, %d) filled, is said again in
// English with the same fields; every other text stays as it is. The log
// itself never changes: this is how the viewer shows it.
#pragma once

#include "probex/base/PxMsgType.h"

#include <string>
#include <string_view>

enum class ETranscriptLanguage { Japanese, English };

// Japanese for a locale named ja or ja_*, English for every other one;
// the messages' locale is NPxPlatform::LocaleName("LC_MESSAGES").
ETranscriptLanguage PxLanguageOfLocale(const std::string& localeName);

// A record's text in English where it is one of the library's (or an
// expression with the false mark): true and the text in english; false when
// the text stays as it is, english then untouched.
bool PxEnglishOf(EPxMsgType kind, std::string_view text, std::string& english);
// Rewrites a record's text in English where it is one of the library's.
void PxToEnglish(EPxMsgType kind, std::string& text);
// Whether text is the library's fixed text `japanese` (one without
// fields), in Japanese or in English.
bool PxIsFixedText(std::string_view text, const char* japanese);
