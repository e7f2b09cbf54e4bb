#include "probex/platform/SharedBlock.h"

#include "probex/platform/platform.h"

namespace {

constexpr int kLockWord = 0;
constexpr int kAttachCount = 1;
constexpr std::int32_t kFree = 1;

} // namespace

bool CSharedBlock::Attach(const char* name) {
  Detach();
  const int opened = m_memory.Open(name, kSize);
  if (opened < 0)
    return false;
  m_pRecord = static_cast<std::int32_t*>(m_memory.View()) + 2;
  if (opened == 0)
    NPxPlatform::InterlockedWrite(&m_Header()[kLockWord], kFree);
  else
    m_WaitUntilFree();
  NPxPlatform::InterlockedIncrement(&m_Header()[kAttachCount]);
  return true;
}

void CSharedBlock::Detach() {
  if (!IsAttached())
    return;
  Lock();
  NPxPlatform::InterlockedDecrement(&m_Header()[kAttachCount]);
  Unlock();
  m_memory.Close();
  m_pRecord = nullptr;
}

void CSharedBlock::Lock() {
  if (!IsAttached())
    return;
  std::int32_t* word = &m_Header()[kLockWord];
  for (int poll = 0; poll < kLockPolls; ++poll) {
    // Only the party that lowers the word from 1 to 0 holds the lock; a
    // loser leaves it lower still, and the holder's release repairs it.
    if (NPxPlatform::InterlockedRead(word) == kFree && NPxPlatform::InterlockedDecrement(word) == 0)
      return;
    NPxPlatform::Sleep(1);
  }
}

void CSharedBlock::Unlock() {
  if (IsAttached())
    NPxPlatform::InterlockedWrite(&m_Header()[kLockWord], kFree);
}

std::int32_t CSharedBlock::ReadRecordWord(int index) const {
  if (!IsAttached() || index < 0 || index > 1)
    return 0;
  return NPxPlatform::InterlockedRead(&m_pRecord[index]);
}

void CSharedBlock::WriteRecordWord(int index, std::int32_t value) {
  if (IsAttached() && index >= 0 && index <= 1)
    NPxPlatform::InterlockedWrite(&m_pRecord[index], value);
}

void CSharedBlock::m_WaitUntilFree() {
  for (int poll = 0; poll < kLockPolls; ++poll) {
    if (NPxPlatform::InterlockedRead(&m_Header()[kLockWord]) == kFree)
      return;
    NPxPlatform::Sleep(1);
  }
}

std::int32_t* CSharedBlock::m_Header() const {
  return m_pRecord - 2;
}
