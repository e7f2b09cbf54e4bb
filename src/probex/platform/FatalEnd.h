// The abnormal ends of a process: the signals that end it with a fault or a
// request to stop, and an exception that reaches std::terminate. A writer,
// registered by the layer that owns the records, runs once before the
// process ends the way it would have ended without us.
#pragma once

namespace NPxPlatform {

// Called with what ended the process ("SIGSEGV", "std::terminate: ...").
// `ending` is false when the program's own handler takes the signal next and
// may go on running: then only what waits may be written. Runs inside a
// signal handler: async-signal-safe calls only, no allocation, and no lock a
// stopped thread may hold.
using PxFatalWriter = void (*)(const char* what, bool ending);

// Puts the handlers in place once (again after Disarm), keeping what the
// program had set: a signal it ignores stays ignored, and a handler of its
// own is called after the writer. A debugger sees every signal before them.
void ArmFatalHandlers(PxFatalWriter writer);
// Gives every signal and std::terminate back to what was there before,
// unless the program has replaced our handler meanwhile.
void DisarmFatalHandlers();
// While armed, puts the handlers back in front of any the program installed
// since, which are then called after the writer as those installed before
// were; a signal the program ignores by now stays ignored.
void ReclaimFatalHandlers();
// The same at most once a tick of the system's coarse clock (a few
// milliseconds), cheap enough for each case's start.
void ReclaimFatalHandlersEveryTick();

// Has the writer say what ended the process, then aborts.
[[noreturn]] void EndProcessAbnormally(const char* what);

} // namespace NPxPlatform
