// The name of a type as its source writes it, namespaces and template
// arguments included, as far as the toolchain's std::type_info tells it.
#pragma once

#include <string>
#include <typeinfo>

namespace NPxPlatform {

std::string TypeName(const std::type_info& type);

} // namespace NPxPlatform
