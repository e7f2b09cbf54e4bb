// A name that marks something as taken for as long as this process lives,
// or until its owner lets go.
#pragma once

namespace NPxPlatform {

// Claims the name for the rest of the process's life. Returns 1 when a
// living process (or this one) already holds it, and the claim is dropped;
// 0 when it is now held; -1 when the object namespace is not available.
int CreateNameMarker(const char* name);

// Lets go of a name this process holds, for an owner that ends before the
// process does; nothing happens for a name it does not hold.
void ReleaseNameMarker(const char* name);

} // namespace NPxPlatform
