// Work in a child after fork(), before it goes on.
#pragma once

namespace NPxPlatform {

// Registers a hook that runs in the child of every later fork, on its one
// thread; it goes away with the library. Nothing runs before the fork, so
// a hook takes no lock that another thread may have held: what another
// thread was doing is to be reset, not waited for. Nothing on systems
// without fork. At most four hooks.
void AddForkChildHook(void (*child)());

} // namespace NPxPlatform
