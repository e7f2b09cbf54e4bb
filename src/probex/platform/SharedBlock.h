// A typed view of a named mapping that several processes share: an 8-byte
// header (a lock word, 1 = free, and the number of attached parties), then
// an 8-byte record of two 32-bit words that belongs to the block's users.
// All words are native 32-bit integers, changed only with atomic operations.
#pragma once

#include "probex/platform/SharedMemory.h"

#include <cstdint>

class CSharedBlock {
public:
  static constexpr unsigned long kSize = 16;
  // Polls of about 1 ms each before a lock word that never turns free is
  // taken as it is: a party that died holding the lock cannot release it,
  // and it must not hang every later process for good.
  static constexpr int kLockPolls = 1000;

  CSharedBlock() = default;
  // Detaches when still attached, also when an exception leaves early.
  ~CSharedBlock() { Detach(); }
  CSharedBlock(const CSharedBlock&) = delete;
  CSharedBlock& operator=(const CSharedBlock&) = delete;

  // Opens the block of that name, making it when missing, and counts this
  // party in. A block made now gets its lock word set free; an existing one
  // is joined once its lock word reads free. False, with nothing attached,
  // when the block cannot be made or mapped.
  bool Attach(const char* name);
  // Counts this party out under the lock and closes the mapping, whether or
  // not others remain. Nothing happens when not attached.
  void Detach();
  bool IsAttached() const { return m_pRecord != nullptr; }

  // The lock over the record, across processes. Lock waits for the word to
  // read free and lowers it; after kLockPolls it goes on as if it held it.
  // Unlock sets the word free. Both do nothing when not attached.
  void Lock();
  void Unlock();

  // Word 0 (offset 8) or 1 (offset 12) of the record; 0 when not attached.
  std::int32_t ReadRecordWord(int index) const;
  void WriteRecordWord(int index, std::int32_t value);

private:
  // Waits until the lock word reads free, or kLockPolls polls have passed.
  void m_WaitUntilFree();
  std::int32_t* m_Header() const;

  CSharedMemory m_memory;
  std::int32_t* m_pRecord = nullptr;
};
