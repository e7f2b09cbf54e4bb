// The text of a name record (NPxSideKind::kClassName, kCaseName): the name
// itself, its control bytes written escaped as \xNN so that it stays one
// line of any report.
#pragma once

#include <string>
#include <string_view>

namespace NPxNameRecord {

std::string Write(std::string_view name);
// The same into text, whose room is kept for the next name.
void Write(std::string_view name, std::string& text);
// False for an empty text, which names nothing.
bool Read(std::string_view text, std::string& name);

} // namespace NPxNameRecord
