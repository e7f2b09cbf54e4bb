// The words in which the library, on standard error, and the viewer, in its
// verdict, say that a run ran no case: one wording for both.
#pragma once

namespace NPxNoCaseText {

inline constexpr char kNoCaseRan[] = "no case ran in this process";
// The setting that allows such a run, and how the notices name it.
inline constexpr char kAllowSetting[] = "PROBEX_ALLOW_NO_CASES";
inline constexpr char kAllowHint[] = "Set PROBEX_ALLOW_NO_CASES=1 where that is meant.";

} // namespace NPxNoCaseText
