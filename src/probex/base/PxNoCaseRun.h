// A run in which no case ran: the words in which the library, on standard
// error, and the viewer, in its verdict, say so, and the setting that allows
// such a run for both.
#pragma once

#include <cstdlib>
#include <cstring>

namespace NPxNoCaseRun {

inline constexpr char kNoCaseRan[] = "no case ran in this process";
inline constexpr char kAllowHint[] = "Set PROBEX_ALLOW_NO_CASES=1 where that is meant.";

// PROBEX_ALLOW_NO_CASES=1: the run is meant to run no case. Any other value
// allows nothing.
inline bool Allowed() {
  const char* setting = std::getenv("PROBEX_ALLOW_NO_CASES");
  return setting && std::strcmp(setting, "1") == 0;
}

} // namespace NPxNoCaseRun
