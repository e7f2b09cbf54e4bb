#include "probex/core/PxCaseFilter.h"

#include "probex/core/PxRunVerdict.h"
#include "probex/platform/Process.h"
#include "probex/platform/TypeName.h"

namespace {

// GoogleTest's wildcards: * matches any run of characters, dots included.
bool Matches(const char* pattern, const char* name) {
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' || *pattern == *name) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*')
    ++pattern;
  return *pattern == 0;
}

bool MatchesAny(const std::vector<std::string>& patterns, const std::string& name) {
  for (const std::string& pattern : patterns) {
    if (Matches(pattern.c_str(), name.c_str()))
      return true;
  }
  return false;
}

bool IsPatternChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '*' || c == '?' || c == '.';
}

// Splits one side of the filter at ':'; the problem names the first pattern
// that can never be meant.
std::string SplitPatterns(const std::string& side, std::vector<std::string>& patterns) {
  std::string::size_type begin = 0;
  for (;;) {
    const std::string::size_type end = side.find(':', begin);
    const std::string pattern = side.substr(begin, end - begin);
    if (pattern.empty())
      return "an empty pattern (a ':' or '-' with nothing beside it)";
    std::string::size_type dots = 0;
    for (char c : pattern) {
      if (!IsPatternChar(c))
        return "'" + pattern + "' holds '" + std::string(1, c) +
               "'; a pattern has letters, digits, '_', '.', '*' and '?'";
      dots += c == '.';
    }
    if (dots > 1 || (dots == 0 && pattern.find_first_of("*?") == std::string::npos))
      return "'" + pattern + "' is not Class.Case (for all cases of a class: " + pattern + ".*)";
    patterns.push_back(pattern);
    if (end == std::string::npos)
      return "";
    begin = end + 1;
  }
}

} // namespace

CPxCaseFilter::CPxCaseFilter(const char* text) {
  if (text && *text)
    m_Parse(text);
}

CPxCaseFilter::CPxCaseFilter(const CPxCaseFilter& other) : CPxCaseFilter(other.m_text.c_str()) {}

CPxCaseFilter& CPxCaseFilter::operator=(const CPxCaseFilter& other) {
  if (this != &other) {
    m_active = false;
    m_text.clear();
    m_problem.clear();
    m_include.clear();
    m_exclude.clear();
    m_noticeGiven = false;
    if (!other.m_text.empty())
      m_Parse(other.m_text);
  }
  return *this;
}

bool CPxCaseFilter::m_Parse(const std::string& text) {
  m_active = true;
  m_text = text;
  const std::string::size_type minus = text.find('-');
  const std::string include = text.substr(0, minus);
  if (minus != std::string::npos && text.find('-', minus + 1) != std::string::npos)
    m_problem = "more than one '-'; every pattern after the first '-' excludes";
  else if (minus != 0)
    m_problem = SplitPatterns(include, m_include);
  else
    m_include.push_back("*");
  if (m_problem.empty() && minus != std::string::npos)
    m_problem = SplitPatterns(text.substr(minus + 1), m_exclude);
  return m_problem.empty();
}

bool CPxCaseFilter::AllowsRun() const {
  if (m_problem.empty())
    return true;
  if (!m_noticeGiven.exchange(true))
    NPxPlatform::ShowNotice(
        "Probex", ("PROBEX_FILTER cannot be read: " + m_problem + ". No case runs.").c_str());
  PxRunVerdict().NoteFailure();
  return false;
}

bool CPxCaseFilter::Selects(const std::string& className, const char* caseName) const {
  if (!m_active)
    return true;
  if (!m_problem.empty())
    return false;
  const std::string name = className + "." + caseName;
  return MatchesAny(m_include, name) && !MatchesAny(m_exclude, name);
}

std::string CPxCaseFilter::ClassNameOf(const std::type_info& type) {
  const std::string name = NPxPlatform::TypeName(type);
  // The last name outside template arguments: test classes often live in
  // an unnamed namespace, and the filter's ':' could not name one anyway.
  int depth = 0;
  std::string::size_type start = 0;
  for (std::string::size_type i = 0; i < name.size(); ++i) {
    depth += name[i] == '<' ? 1 : name[i] == '>' ? -1 : 0;
    if (depth == 0 && name.compare(i, 2, "::") == 0)
      start = i + 2;
  }
  return name.substr(start);
}
