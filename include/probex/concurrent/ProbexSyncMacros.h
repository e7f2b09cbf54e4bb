// Sync points in the tests, or thread bodies, of a CProbexSync or
// CProbexThread: every party passes the same source file and number.
#pragma once

// Waits for every opposite party.
#define PX_SYNC_POINT(number) x_SyncPoint(__FILE__, number, true)
// Waits for one opposite party.
#define PX_SYNC_POINT_ONE(number) x_SyncPoint(__FILE__, number, false)
