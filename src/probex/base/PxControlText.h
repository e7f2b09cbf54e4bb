// Control characters of a message's text made visible as \xNN, so that no
// text can steer a terminal or break the lines of a report. No byte so
// escaped occurs inside a CP932 or a UTF-8 character: the text may be in
// either encoding.
#pragma once

#include <string>
#include <string_view>

namespace NPxControlText {

// Appends the text to out, every control character and DEL escaped except
// those listed in keep.
void Append(std::string& out, std::string_view text, std::string_view keep);

} // namespace NPxControlText
