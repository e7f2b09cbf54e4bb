// The log writer's lock. Unlike a std::mutex it can be opened by a thread
// that does not hold it, which a forked child needs: a thread of the parent
// that held the lock halfway through a record does not exist there, and
// nothing else would ever let it go. Most records hold the lock for a copy
// of a few bytes, so a waiter yields a few times; one that still finds it
// held (a write to the file, the viewer's start) sleeps between tries and
// leaves the processor to the holder.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

class CPxLogLock {
public:
  void lock() {
    for (int tries = 0; !try_lock(); ++tries) {
      if (tries < kYields)
        std::this_thread::yield();
      else
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
  }
  bool try_lock() {
    return !m_bHeld.load(std::memory_order_relaxed) &&
           !m_bHeld.exchange(true, std::memory_order_acquire);
  }
  void unlock() { m_bHeld.store(false, std::memory_order_release); }
  // In a forked child, on its one thread: whoever held the lock is gone.
  void OpenInForkedChild() { m_bHeld.store(false, std::memory_order_relaxed); }

private:
  static constexpr int kYields = 16;
  std::atomic<bool> m_bHeld{false};
};
