// How each kind shows in a transcript. The debugger output, the viewer's
// transcript and the lines of a suite's results block all lay messages out
// from this one table, so the three read alike.
#pragma once

#include <string>

namespace NPxTranscriptLayout {

// What of a message a transcript shows.
enum class EShown {
  Nothing, // coverage records: no output at all
  Empty,   // source locations: an empty piece, nothing visible
  LineEnd, // a passed check: its line end alone, never its text
  Text,    // head, text, suffix, then the line end
};

struct SKindLayout {
  EShown shown;
  const char* head;    // before the text
  const char* suffix;  // after the text
  const char* lineEnd; // two line feeds leave a blank line after it
};

// A kind outside the table lays out as free text, like "Etc.".
const SKindLayout& Of(unsigned kind);
// Head, text and suffix: the message as one line, as a suite's results
// block collects it.
std::string Line(unsigned kind, const char* text);
// The message as the debugger receives it: the line and its line end, the
// line end alone for a passed check, empty for what shows nothing.
std::string Piece(unsigned kind, const char* text);

} // namespace NPxTranscriptLayout
