// Which test case runs RunMain on which thread. Guarded, because test cases
// may run on several threads at once and failures are routed from any.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <unordered_map>

class CProbex;

class CPxRunningCaseMap {
public:
  // Replaces any entry the thread already had.
  void Enter(std::uint32_t threadId, CProbex* testCase);
  void Remove(std::uint32_t threadId);
  CProbex* Find(std::uint32_t threadId) const;
  std::size_t GetCount() const;

private:
  mutable std::mutex m_lock;
  std::unordered_map<std::uint32_t, CProbex*> m_cases;
};

// The module's one map.
extern CPxRunningCaseMap g_mapRunningCase;
