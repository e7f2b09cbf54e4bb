// One check, one block. Every message a test case sends takes this lock, and
// the messages that belong together (a check's location, expression and
// outcome; a caption and its location; a dump's rows) hold it across the
// group, so no other thread's message comes between them. A check's
// location goes out when the check begins, before its expression runs; the
// mark tells whether another thread's message came before its outcome, and
// then the location is sent again right before the expression.
#pragma once

#include <cstdint>
#include <mutex>

class CPxMessageBlocks {
public:
  struct SMark {
    std::uint64_t all;
    std::uint64_t mine;
  };

  // Re-entrant for the thread that holds it: a group holds the lock while
  // each of its messages takes it again, which then costs no system lock.
  // The depth is kept per thread, not per object: there is one set of
  // blocks in the process.
  void lock();
  void unlock();
  // One more message: the calling thread's own, or one it passes on for
  // another thread (which counts as another's for the caller's marks). The
  // lock is held.
  void Count(bool own = true);
  // Runs action(context) once the calling thread's outermost group ends,
  // still under the lock, so that it goes out right after the group and
  // before any other thread's message. One action per thread at a time;
  // the lock is held.
  void AtGroupEnd(void (*action)(void*), void* context);
  // Where the messages stand now; the lock is held.
  SMark Mark() const;
  // Whether another thread sent a message since the mark; the lock is held.
  bool OthersSince(const SMark& mark) const;

private:
  // Out of line and rare, so that every message's unlock stays a plain one.
  [[gnu::noinline, gnu::cold]] void m_EndGroupWithAction();

  std::mutex m_lock;
  std::uint64_t m_nAll = 0;
};

// The module's one set of blocks.
CPxMessageBlocks& PxMessageBlocks();
