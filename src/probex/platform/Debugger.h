// Is a debugger attached, and its output channel. Tests can replace both
// (and the pause that follows each debugger line) through the hooks.
#pragma once

namespace NPxPlatform {

bool IsDebuggerPresent();
void OutputDebugString(const char* text);

// Replacements for unit tests; a null hooks pointer restores the real ones.
struct SDebuggerHooks {
  bool (*isPresent)();
  void (*output)(const char* text);
  void (*pause)(unsigned milliseconds);
};
void SetDebuggerHooks(const SDebuggerHooks* hooks);

// The pause after a debugger line: Sleep, unless a hook stands in for it.
void DebuggerPause(unsigned milliseconds);

} // namespace NPxPlatform
