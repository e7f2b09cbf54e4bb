// A filter text from any bytes (the first line), and the names of the
// further lines ("Class.Case") put to it. Whatever the text, the filter
// either reads it or names its problem and then selects nothing; a filter
// that reads chooses exactly what its wildcards match, checked against a
// matcher of its own kind here (by table, not by backtracking).
#include "probex/core/PxCaseFilter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Whether pattern, with * for any run and ? for one character, matches
// name: row j of the table says which prefixes of name the first j
// characters of pattern match.
bool WildcardMatches(std::string_view pattern, std::string_view name) {
  std::vector<char> row(name.size() + 1, 0);
  row[0] = 1;
  for (const char p : pattern) {
    std::vector<char> next(name.size() + 1, 0);
    next[0] = p == '*' && row[0];
    for (std::size_t i = 1; i <= name.size(); ++i) {
      if (p == '*')
        next[i] = row[i] || next[i - 1];
      else
        next[i] = row[i - 1] && (p == '?' || p == name[i - 1]);
    }
    row.swap(next);
  }
  return row[name.size()] != 0;
}

std::vector<std::string_view> Split(std::string_view text, char at) {
  std::vector<std::string_view> parts;
  for (std::size_t begin = 0;;) {
    const std::size_t end = text.find(at, begin);
    parts.push_back(text.substr(begin, end == std::string_view::npos ? end : end - begin));
    if (end == std::string_view::npos)
      return parts;
    begin = end + 1;
  }
}

bool AnyMatches(const std::vector<std::string_view>& patterns, std::string_view name) {
  for (std::string_view pattern : patterns) {
    if (WildcardMatches(pattern, name))
      return true;
  }
  return false;
}

[[noreturn]] void Wrong(const std::string& filter, const std::string& name, bool selected) {
  std::fprintf(stderr, "filter \"%s\" %s \"%s\"\n", filter.c_str(),
               selected ? "selects" : "does not select", name.c_str());
  std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> lines = Split(input, '\n');
  // A C string ends at its first zero byte, as the environment's value does.
  const std::string text(lines[0].substr(0, lines[0].find('\0')));
  const CPxCaseFilter filter(text.c_str());
  CPxCaseFilter assigned;
  assigned = filter;
  const CPxCaseFilter copied(assigned);
  if (filter.IsActive() != !text.empty() || filter.GetText() != (text.empty() ? "" : text) ||
      copied.GetProblem() != filter.GetProblem() || copied.IsActive() != filter.IsActive())
    std::abort();

  // The sides and patterns of a filter that reads.
  std::vector<std::string_view> include{"*"}, exclude;
  if (filter.GetProblem().empty() && !text.empty()) {
    const std::size_t minus = text.find('-');
    const std::string_view whole(text);
    if (minus != 0)
      include = Split(whole.substr(0, minus), ':');
    if (minus != std::string_view::npos)
      exclude = Split(whole.substr(minus + 1), ':');
  }
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string name(lines[i].substr(0, lines[i].find('\0')));
    const std::size_t dot = name.find('.');
    const std::string className = name.substr(0, dot);
    const std::string caseName = dot == std::string::npos ? "" : name.substr(dot + 1);
    const std::string joined = className + "." + caseName;
    const bool selected = filter.Selects(className, caseName.c_str());
    const bool expected = !filter.GetProblem().empty()
                              ? false
                              : AnyMatches(include, joined) && !AnyMatches(exclude, joined);
    if (selected != expected || copied.Selects(className, caseName.c_str()) != selected)
      Wrong(text, joined, selected);
  }
  return 0;
}
