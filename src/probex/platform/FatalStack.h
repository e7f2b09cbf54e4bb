// Room for a fatal end on each thread that runs cases: a handler must still
// run when what failed is the thread's own stack (a runaway recursion).
#pragma once

namespace NPxPlatform {

// Gives the calling thread, once, room to handle a fatal end beside its own
// stack, freed when the thread ends; room the program set up itself stays
// as it is. Cheap after the first call on a thread.
void PrepareThreadForFatalEnd();

} // namespace NPxPlatform
