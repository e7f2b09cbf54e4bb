// Work around fork(): before it, in the parent after it, and in the child.
#pragma once

namespace NPxPlatform {

// Registers the three hooks for every later fork of the process, except the
// quiet ones below; they go away with the library that registered them.
// Nothing on systems without fork. At most four sets.
void AddForkHooks(void (*prepare)(), void (*parent)(), void (*child)());

// While one lives, forks of the calling thread skip the hooks: for the
// platform's own forks whose child only starts a program and exits, made by
// a caller that may hold what the hooks would take.
class CPxQuietFork {
public:
  CPxQuietFork();
  ~CPxQuietFork();
  CPxQuietFork(const CPxQuietFork&) = delete;
  CPxQuietFork& operator=(const CPxQuietFork&) = delete;
};

} // namespace NPxPlatform
