// What the library writes to a terminal (debugger lines, notices) in the
// terminal's own encoding: CP932 becomes UTF-8 when the locale's character
// set is UTF-8, and passes unchanged otherwise. Files stay CP932.
#pragma once

#include <string>

namespace NPxPlatform {

// The locale's name for a category as the C library picks it: LC_ALL, else
// the category's variable ("LC_CTYPE", "LC_MESSAGES"), else LANG, the first
// that is set and not empty; "C" when none is.
std::string LocaleName(const char* category);
// True for a name whose character set is UTF-8 ("C.UTF-8", "ja_JP.utf8").
bool IsUtf8LocaleName(const std::string& name);
// The text for this process's terminal; the locale is read once.
std::string TerminalText(const char* cp932);

} // namespace NPxPlatform
