// A name that marks something as taken for as long as this process lives.
#pragma once

namespace NPxPlatform {

// Claims the name for the rest of the process's life. Returns 1 when a
// living process (or this one) already holds it, and the claim is dropped;
// 0 when it is now held; -1 when the object namespace is not available.
int CreateNameMarker(const char* name);

} // namespace NPxPlatform
