// The few services of the operating system that the viewer needs beyond
// the library's platform layer: terminals, detaching, pausing, and whether
// a log's writer still lives.
#pragma once

#include <string>

namespace NViewerOs {

bool IsStdoutTerminal();
// The encoding of the locale's text; UTF-8 where the locale names plain ASCII.
std::string OutputEncoding();
// Leaves the starting program's terminal and session: standard streams go
// to /dev/null, and signals of that terminal no longer reach the viewer.
void DetachFromTerminal();
void Pause(unsigned milliseconds);
// True while a process holds the log's marker name.
bool IsWriterAlive(const std::string& markerName);

} // namespace NViewerOs
