#include "probex/platform/TypeName.h"

#include <cstdlib>
#include <memory>

#if defined(__GNUC__)
#include <cxxabi.h>
#endif

namespace NPxPlatform {

std::string TypeName(const std::type_info& type) {
  std::string name = type.name();
#if defined(__GNUC__)
  int status = 0;
  const std::unique_ptr<char, void (*)(void*)> readable(
      abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
  if (status == 0 && readable)
    name = readable.get();
#else
  name = name.substr(name.find(' ') + 1); // "class CStackTest"
#endif
  return name;
}

} // namespace NPxPlatform
