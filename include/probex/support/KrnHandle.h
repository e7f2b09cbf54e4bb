// Shared ownership of one object through a single pointer to a counted block.
// Counts move atomically, so handles sharing a block may be copied and dropped
// on different threads; one handle object must not be written by two threads.
#pragma once

#include "probex/base/PxApi.h"

#include <atomic>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

namespace KRN {

// The count of handles sharing the block, then the owned object.
struct CKrnHandleBlock {
  std::atomic<std::int32_t> m_count;
  void* m_pObject;
};

// Every empty handle points here. Its count stays 0 and it is never freed;
// it is constant-initialised, so handles made during static start-up are safe.
extern PX_API CKrnHandleBlock g_krnEmptyBlock;

// Blocks are made and freed inside the library, whoever holds the handle:
// one heap serves them all, and no caller's optimiser sees the free.
// A new block with count 1 around pObject, or null when memory runs out.
PX_API CKrnHandleBlock* KrnNewBlock(void* pObject) noexcept;
// Drops one share; the last one frees the block and returns its object for
// the caller to destroy. The empty block is left alone and gives null.
PX_API void* KrnLeaveBlock(CKrnHandleBlock* pBlock) noexcept;

// T is an object type (freed with delete, through its virtual destructor if
// it has one) or an array type such as char[] (freed with delete[]).
template <class T> class CKrnHandle {
public:
  using TObject = std::remove_extent_t<T>;

  CKrnHandle() noexcept : m_pBlock(&g_krnEmptyBlock) {}
  // Owns pObject from here on; a null pObject gives an empty handle. If the
  // block cannot be allocated, pObject is freed and std::bad_alloc leaves.
  explicit CKrnHandle(TObject* pObject) : m_pBlock(&g_krnEmptyBlock) { Take(pObject); }
  CKrnHandle(const CKrnHandle& other) noexcept : m_pBlock(other.m_pBlock) { m_AddShare(); }
  CKrnHandle(CKrnHandle&& other) noexcept : m_pBlock(other.m_pBlock) {
    other.m_pBlock = &g_krnEmptyBlock;
  }
  ~CKrnHandle() { Release(); }

  CKrnHandle& operator=(const CKrnHandle& other) noexcept {
    if (m_pBlock != other.m_pBlock) {
      // Share first, let go second: the source may live inside what we own.
      CKrnHandleBlock* pOld = m_pBlock;
      m_pBlock = other.m_pBlock;
      m_AddShare();
      m_sDropShare(pOld);
    }
    return *this;
  }
  CKrnHandle& operator=(CKrnHandle&& other) noexcept {
    if (this != &other) {
      CKrnHandleBlock* pOld = m_pBlock;
      m_pBlock = other.m_pBlock;
      other.m_pBlock = &g_krnEmptyBlock;
      m_sDropShare(pOld);
    }
    return *this;
  }

  // Lets go of what the handle held and owns pObject alone. Taking the object
  // already held changes nothing; a null pObject leaves the handle empty.
  void Take(TObject* pObject) {
    if (pObject == Get()) {
      return;
    }
    CKrnHandleBlock* pNew = &g_krnEmptyBlock;
    if (pObject) {
      pNew = KrnNewBlock(pObject);
      if (!pNew) {
        m_sDestroy(pObject);
        throw std::bad_alloc();
      }
    }
    CKrnHandleBlock* pOld = m_pBlock;
    m_pBlock = pNew;
    m_sDropShare(pOld);
  }

  // Lets go of the share; the last holder destroys the object.
  void Release() noexcept {
    CKrnHandleBlock* pOld = m_pBlock;
    m_pBlock = &g_krnEmptyBlock;
    m_sDropShare(pOld);
  }

  TObject* Get() const noexcept { return static_cast<TObject*>(m_pBlock->m_pObject); }
  TObject* operator->() const noexcept { return Get(); }
  TObject& operator*() const noexcept { return *Get(); }
  bool IsEmpty() const noexcept { return m_pBlock == &g_krnEmptyBlock; }
  // Number of handles sharing the object; 0 for an empty handle. Acquire, so
  // a holder that sees itself alone also sees every write of former holders.
  std::int32_t GetCount() const noexcept {
    return m_pBlock->m_count.load(std::memory_order_acquire);
  }

private:
  void m_AddShare() noexcept {
    if (m_pBlock != &g_krnEmptyBlock) {
      m_pBlock->m_count.fetch_add(1, std::memory_order_relaxed);
    }
  }

  static void m_sDropShare(CKrnHandleBlock* pBlock) noexcept {
    if (void* pObject = KrnLeaveBlock(pBlock)) {
      m_sDestroy(static_cast<TObject*>(pObject));
    }
  }

  static void m_sDestroy(TObject* pObject) noexcept {
    if constexpr (std::is_array_v<T>) {
      delete[] pObject;
    } else {
      delete pObject;
    }
  }

  CKrnHandleBlock* m_pBlock;
};

} // namespace KRN
