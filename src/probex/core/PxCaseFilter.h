// Which cases run, from a filter text in the form GoogleTest users know:
// Class.Case patterns with * (any run of characters) and ? (one character),
// separated by ':', and after a '-' the patterns that exclude. With no text
// every case runs; a text that cannot be read runs nothing.
#pragma once

#include <atomic>
#include <string>
#include <typeinfo>
#include <vector>

class CPxCaseFilter {
public:
  // Null or empty: no filter.
  explicit CPxCaseFilter(const char* text = nullptr);
  CPxCaseFilter(const CPxCaseFilter& other);
  CPxCaseFilter& operator=(const CPxCaseFilter& other);

  bool IsActive() const { return m_active; }
  const std::string& GetText() const { return m_text; }
  // Empty when the text reads well; else what is wrong with it.
  const std::string& GetProblem() const { return m_problem; }
  bool Selects(const std::string& className, const char* caseName) const;
  // False for a filter that cannot be read: then nothing may run, the
  // problem is told on standard error once, and the process has failed.
  bool AllowsRun() const;

  // The name a filter knows a test class by: its type's name as written in
  // the source, without its namespaces.
  static std::string ClassNameOf(const std::type_info& type);

private:
  bool m_Parse(const std::string& text);

  bool m_active = false;
  std::string m_text;
  std::string m_problem;
  std::vector<std::string> m_include;
  std::vector<std::string> m_exclude;
  mutable std::atomic<bool> m_noticeGiven{false};
};

// The module's filter, read from PROBEX_FILTER when the library loads.
CPxCaseFilter& PxCaseFilter();
