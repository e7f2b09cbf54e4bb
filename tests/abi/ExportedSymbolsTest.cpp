// What the shared library exports: the dynamic symbols it defines, demangled,
// one per line and sorted, without the addresses and kinds that change from
// build to build. A change to the surface fails here until it is approved.
#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ExportedSymbols() {
  const SPxChildResult nm = PxRunChild({PX_NM_PATH, "-D", "--defined-only", "-C", PX_LIBRARY_PATH});
  EXPECT_EQ(0, nm.exitCode) << PX_NM_PATH << ": " << nm.stdErr;
  std::vector<std::string> names;
  std::istringstream lines(nm.stdOut);
  // "ADDRESS KIND NAME". The address sanitizer gives each exported variable
  // a companion, "__odr_asan.NAME": its instrumentation, not the surface.
  for (std::string line; std::getline(lines, line);) {
    const std::size_t kind = line.find(' ');
    if (kind == std::string::npos || kind + 3 > line.size())
      continue;
    const std::string name = line.substr(kind + 3);
    if (name.rfind("__odr_asan", 0) != 0)
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The special members' own prefixes, before the class they belong to.
std::string WithoutSpecialPrefix(const std::string& name) {
  for (const char* prefix : {"typeinfo name for ", "typeinfo for ", "vtable for "}) {
    if (name.rfind(prefix, 0) == 0)
      return name.substr(std::string(prefix).size());
  }
  return name;
}

TEST(ExportedSymbols, MatchTheApprovedList) {
  std::string text;
  for (const std::string& name : ExportedSymbols())
    text += name + "\n";
  SCOPED_TRACE("The exported surface changed. If that is meant, take the new list with\n"
               "  PX_APPROVE=1 ctest --preset default -R ExportedSymbols\n"
               "and commit tests/abi/exported-symbols.txt with the change.");
  PxExpectApproved("abi/exported-symbols.txt", text);
}

// Whatever the list says: only the library's own names leave it, never the
// C++ runtime's template instantiations, which a program has of its own.
TEST(ExportedSymbols, AreTheLibrarysOwnNames) {
  const std::vector<std::string> names = ExportedSymbols();
  EXPECT_GT(names.size(), 50u);
  for (const std::string& name : names) {
    const std::string owner = WithoutSpecialPrefix(name);
    const bool own = owner.rfind("CProbex", 0) == 0 || owner.rfind("KRN::", 0) == 0 ||
                     owner.rfind("NPxCoverage::", 0) == 0 || owner.rfind("NPxValue::", 0) == 0 ||
                     owner.rfind("Px", 0) == 0;
    EXPECT_TRUE(own) << name;
  }
}

} // namespace
