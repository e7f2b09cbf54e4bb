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

  std::recursive_mutex& Lock() { return m_lock; }
  // One more message of the calling thread; the lock is held.
  void Count();
  // Where the messages stand now; the lock is held.
  SMark Mark() const;
  // Whether another thread sent a message since the mark; the lock is held.
  bool OthersSince(const SMark& mark) const;

private:
  std::recursive_mutex m_lock;
  std::uint64_t m_nAll = 0;
};

// The module's one set of blocks.
CPxMessageBlocks& PxMessageBlocks();
