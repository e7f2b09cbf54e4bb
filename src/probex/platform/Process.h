// Starting another program, detached or waited for, and telling the user something that must not
// hold up a test run.
#pragma once

#include <string>
#include <vector>

namespace NPxPlatform {

// Starts the program found by its bare name on the search path, with the
// arguments, detached: it is never a child the caller has to reap. False
// when the program cannot be found or started.
bool StartDetachedProgram(const char* name, const std::vector<std::string>& args);

// Runs argv[0], found on the search path, with argv and waits for it. The
// answer is its exit status, or 128 + the signal that ended it; when it
// could not be started (started is false), 127 when it cannot be found and
// 126 otherwise, as shells answer. Interrupt and quit are ignored meanwhile:
// they are the child's to act on.
int RunProgram(const std::vector<std::string>& argv, bool& started);

// A notice with a caption: written to standard error in one piece. On
// Windows it is a modal box instead, unless PROBEX_NOTICE=stderr.
void ShowNotice(const char* caption, const char* text);
// The same from a signal handler: no allocation, no lock; the text goes as
// it stands, to standard error on every system.
void ShowNoticeAtEnd(const char* caption, const char* text);

// The same notice on standard error on every system: for what a program
// ending unattended must say without waiting for anyone.
void WriteNotice(const char* caption, const char* text);

#if defined(_WIN32)
// What shows the box: the system's MessageBoxA, or, for a test, a stand-in
// (nobody could press OK in an unattended run); nullptr restores the system's.
using PxNoticeBox = void (*)(const char* caption, const char* text);
void SetNoticeBox(PxNoticeBox box);
#endif

} // namespace NPxPlatform
