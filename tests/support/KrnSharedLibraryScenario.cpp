// Uses the support library through the shipped shared library: the
// program's own instantiations must link to the library's out-of-line parts
// (handle blocks, locks, the guard's throw), and the library's exceptions be
// caught by their own class.
#include "probex/support/KrnSupport.h"

#include <cstdio>
#include <string>

int main() {
  KRN::CKrnLineCountMap map;
  map.Set(7, KRN::CKrnGrowVector<std::uint32_t>())->Set(2, 5);
  KRN::CKrnVector<std::string> ownType; // an element type of the program's own
  ownType.Add("own");
  int caught = 0;
  try {
    KRN::CKrnExclusiveGuard guard(nullptr);
  } catch (const KRN::CNullPointerException&) {
    try {
      map.ElementPtr(1);
    } catch (const KRN::CIndexOutOfBoundsException&) {
      caught = 2;
    }
  }
  std::printf("%u %u %s %d\n", map.GetSize(), map.Find(7)->At(2), ownType.At(0).c_str(), caught);
}
