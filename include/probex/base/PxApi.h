// Export macro and version of the Probex140 library. Everything a test
// program may call carries PX_API; the library builds with hidden visibility.
#pragma once

// Class templates: on ELF the template itself is visible and the library's
// own instantiations are declared extern, so that a program shares them. A
// DLL cannot export the inline members of a template, so on Windows a
// program instantiates every template it uses itself.
#if defined(_WIN32)
#if defined(PROBEX_BUILDING)
#define PX_API __declspec(dllexport)
#else
#define PX_API __declspec(dllimport)
#endif
#define PX_TEMPLATE_API
#define PX_EXTERN_INSTANTIATION(...)
#else
#define PX_API __attribute__((visibility("default")))
#define PX_TEMPLATE_API PX_API
#define PX_EXTERN_INSTANTIATION(...) extern template class __VA_ARGS__;
#endif

#define PX_PRODUCT_NAME "Probex"
#define PX_VERSION_TEXT "1.40"
