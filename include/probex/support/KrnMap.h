// A map kept as a vector of entries in the order of their first insertion;
// keys are only compared for equality, and Find is a scan from the first
// entry. The collection operations pass to the entry vector, with its
// outcomes for bad input, except two: Add(entry) means Set(key, value) and
// answers 0, and SetSize changes nothing and answers false. Only Set and Add
// keep keys unique; the positional operations take entries as they are, and
// Find then answers with the first entry of a key.
#pragma once

#include "probex/support/KrnCollection.h"
#include "probex/support/KrnGrowVector.h"
#include "probex/support/KrnMapEntry.h"
#include "probex/support/KrnVector.h"

#include <cstdint>

namespace KRN {

template <class TKey, class TValue>
class CKrnMap : public CKrnCollection<CKrnMapEntry<TKey, TValue>> {
public:
  using CEntry = CKrnMapEntry<TKey, TValue>;

  bool Lock(unsigned long timeout) override { return m_entries.Lock(timeout); }
  void Unlock() override { m_entries.Unlock(); }
  std::uint32_t GetSize() const override { return m_entries.GetSize(); }
  const CEntry* ElementPtr(std::uint32_t index) const override {
    return m_entries.ElementPtr(index);
  }
  CEntry At(std::uint32_t index) const override { return m_entries.At(index); }
  std::uint32_t CopyOut(std::uint32_t count, CEntry* dest, std::uint32_t start) override {
    return m_entries.CopyOut(count, dest, start);
  }
  CEntry* WritableElement(std::uint32_t index) override { return m_entries.WritableElement(index); }
  bool Set(std::uint32_t index, const CEntry& value) override {
    return m_entries.Set(index, value);
  }
  std::uint32_t Add(const CEntry& value) override {
    Set(value.m_key, value.m_value);
    return 0;
  }
  bool Insert(std::uint32_t index, const CEntry& value) override {
    return m_entries.Insert(index, value);
  }
  bool InsertLocked(std::uint32_t index, const CEntry& value) override {
    return m_entries.InsertLocked(index, value);
  }
  bool Remove(std::uint32_t index) override { return m_entries.Remove(index); }
  std::uint32_t RemoveRange(std::uint32_t index, std::uint32_t count) override {
    return m_entries.RemoveRange(index, count);
  }
  bool RemoveAll() override { return m_entries.RemoveAll(); }
  void Swap(std::uint32_t index1, std::uint32_t index2) override { m_entries.Swap(index1, index2); }
  std::uint32_t AddRange(std::uint32_t count, const CEntry* data) override {
    return m_entries.AddRange(count, data);
  }
  // pOther may be this map: the entry vector reads entries through it.
  std::uint32_t Append(CKrnCollection<CEntry>* pOther) override { return m_entries.Append(pOther); }
  std::uint32_t AssignRange(int count, const CEntry* data) override {
    return m_entries.AssignRange(count, data);
  }
  std::uint32_t AssignRange(std::uint32_t count, const CEntry* data) override {
    return m_entries.AssignRange(count, data);
  }
  std::uint32_t Copy(CKrnCollection<CEntry>* pOther) override {
    // The entry vector cannot see that this map is its own source.
    if (pOther == this) {
      return GetSize();
    }
    return m_entries.Copy(pOther);
  }
  std::uint32_t RemoveSelected(CKrnElementChecker<CEntry>& checker, bool flag) override {
    return m_entries.RemoveSelected(checker, flag);
  }
  bool SetSize(std::uint32_t) override { return false; }

  // The value of the first entry with key, or null. The writable form makes
  // the entry storage private first, so writes through it stay in this map.
  TValue* Find(const TKey& key) {
    const std::uint32_t index = m_IndexOf(key);
    return index == kKrnInvalidIndex ? nullptr : &m_entries.WritableElement(index)->m_value;
  }
  const TValue* Find(const TKey& key) const {
    const std::uint32_t index = m_IndexOf(key);
    return index == kKrnInvalidIndex ? nullptr : &m_entries.ElementPtr(index)->m_value;
  }

  // Under the map's lock, makes the value of key's entry a copy of value (for
  // a vector: sharing its storage), appending the entry when key is new.
  // Answers the entry's value, valid until the entries are next changed, or
  // null when the map is full and key is new.
  TValue* Set(const TKey& key, const TValue& value) {
    CKrnExclusiveGuard guard(this);
    const TValue kept(value); // value may live in the entries that appending moves
    std::uint32_t index = m_IndexOf(key);
    if (index == kKrnInvalidIndex) {
      index = m_entries.Add(CEntry{key, TValue()});
      if (index == kKrnInvalidIndex) {
        return nullptr;
      }
    }
    TValue* pValue = &m_entries.WritableElement(index)->m_value;
    *pValue = kept;
    return pValue;
  }

private:
  std::uint32_t m_IndexOf(const TKey& key) const {
    const std::uint32_t size = m_entries.GetSize();
    for (std::uint32_t index = 0; index < size; ++index) {
      if (m_entries.ElementPtr(index)->m_key == key) {
        return index;
      }
    }
    return kKrnInvalidIndex;
  }

  CKrnVector<CEntry> m_entries;
};

// The map the coverage store is made of: line keys to growing hit counters.
using CKrnLineCountMap = CKrnMap<std::uint32_t, CKrnGrowVector<std::uint32_t>>;

} // namespace KRN
