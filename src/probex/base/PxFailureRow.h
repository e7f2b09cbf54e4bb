// A failure row of a suite's results block: the failed check's text as its
// transcript line shows it, "** " and the text. The suite writes it and the
// viewer reads it back to put the text in another language.
#pragma once

#include <string>
#include <string_view>

namespace NPxFailureRow {

std::string Write(const char* failure);
// False when the row is no failure row; else failure gets its text.
bool Read(std::string_view row, std::string_view& failure);

} // namespace NPxFailureRow
