// Starting another program, and telling the user something that must not
// hold up a test run.
#pragma once

#include <string>
#include <vector>

namespace NPxPlatform {

// Starts the program found by its bare name on the search path, with the
// arguments, detached: it is never a child the caller has to reap. False
// when the program cannot be found or started.
bool StartDetachedProgram(const char* name, const std::vector<std::string>& args);

// A notice with a caption: written to standard error in one piece.
void ShowNotice(const char* caption, const char* text);

} // namespace NPxPlatform
