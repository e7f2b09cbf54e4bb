// The few services of the operating system that the viewer needs beyond
// the library's platform layer: terminals, detaching, pausing, and whether
// a log's writer still lives.
#pragma once

#include <string>

namespace NViewerOs {

// Standard output as the transcript needs it: bytes, unchanged.
void PrepareStandardOutput();
bool IsStdoutTerminal();
// The encoding of the locale's text; UTF-8 where the locale names plain ASCII.
std::string OutputEncoding();
// Leaves the starting program's terminal (console) and session: standard
// streams go to the null device, and that terminal's signals no longer
// reach the viewer.
void DetachFromTerminal();
void Pause(unsigned milliseconds);
// True while a process holds the log's marker name.
bool IsWriterAlive(const std::string& markerName);

} // namespace NViewerOs
