// Export macro and version of the Probex140 library. Everything a test
// program may call carries PX_API; the library builds with hidden visibility.
#pragma once

// Class templates: on ELF the template itself is visible, so that every
// instantiation shares one type identity across the library boundary; a DLL
// cannot import a template, so there only the library's own instantiations
// are exported, each through PX_INSTANTIATION_API on its explicit
// instantiation, and a program instantiates the rest itself.
#if defined(_WIN32)
#if defined(PROBEX_BUILDING)
#define PX_API __declspec(dllexport)
#else
#define PX_API __declspec(dllimport)
#endif
#define PX_TEMPLATE_API
#define PX_INSTANTIATION_API PX_API
#else
#define PX_API __attribute__((visibility("default")))
#define PX_TEMPLATE_API PX_API
#define PX_INSTANTIATION_API
#endif

#define PX_PRODUCT_NAME "Probex"
#define PX_VERSION_TEXT "1.40"
