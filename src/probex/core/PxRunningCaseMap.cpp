#include "probex/core/PxRunningCaseMap.h"

void CPxRunningCaseMap::Enter(std::uint32_t threadId, CProbex* testCase) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_cases[threadId] = testCase;
}

void CPxRunningCaseMap::Remove(std::uint32_t threadId) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_cases.erase(threadId);
}

CProbex* CPxRunningCaseMap::Find(std::uint32_t threadId) const {
  std::lock_guard<std::mutex> guard(m_lock);
  const auto found = m_cases.find(threadId);
  return found == m_cases.end() ? nullptr : found->second;
}

std::size_t CPxRunningCaseMap::GetCount() const {
  std::lock_guard<std::mutex> guard(m_lock);
  return m_cases.size();
}
