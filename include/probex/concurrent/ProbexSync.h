// CProbexSync: a test case whose tests meet other parties at named sync
// points: other processes running the same program, or the workers of a
// CProbexThread. Declare the number of parties with SetOppositeCount and
// meet with PX_SYNC_POINT(number). Nothing is reported and nothing thrown.
#pragma once

#include "probex/base/PxApi.h"
#include "probex/core/Probex.h"

class CProbexSyncData;

class PX_API CProbexSync : public CProbex {
public:
  // The buffer a sync name is formatted into, terminator included.
  static constexpr int kSyncNameSize = 268;

  CProbexSync();
  ~CProbexSync() override;
  // Takes the working count and frees the last run's points, runs the
  // cases, and frees this run's points.
  void RunMain() override;

  // Meets the opposite side at the point (file, number): with all, every
  // one of the working count of parties; else one. Waits without time-out,
  // as long as the parties take. Returns at once, unsynchronised, when the
  // file name is shorter than two characters, a name does not fit
  // kSyncNameSize, or the object namespace refuses the point; the last is
  // also what a 65th party meets, so with more than 63 opposite parties the
  // first arrival waits for ever, as for any party that never comes.
  void x_SyncPoint(const char* file, int number, bool all);

protected:
  // The opposite count; an unset one becomes (and stays) 1.
  int GetOppositeCount();
  // Counts below 1 are ignored.
  void SetOppositeCount(int n);
  // Writes "<file without its first two characters>_<%04d number>_<slot>"
  // into dst (kSyncNameSize bytes), every backslash character made an
  // underscore (a CP932 trail byte 0x5C is no backslash). False, with dst
  // holding what fitted, when file is shorter than two characters or the
  // name is cut.
  static bool m_MakeSyncName(char* dst, const char* file, int number, int slot);

  // RunMain in two steps, so that CProbexThread can start its workers in
  // between: take the working count and free the last run's points; then
  // run the base loop and free this run's points on every way out. Workers
  // may keep points after that; CProbexThread frees them once they end.
  // The library's own steps: a program derives from CProbexThread instead.
  PX_INTERNAL void m_BeginRun();
  PX_INTERNAL void m_RunBaseLoop();
  PX_INTERNAL void m_CloseHandles();

private:
  CProbexSyncData* m_pSyncData;
};
