// Export macro and version of the Probex140 library. Everything a test
// program may call carries PX_API; the library builds with hidden visibility.
#pragma once

#if defined(_WIN32)
#if defined(PROBEX_BUILDING)
#define PX_API __declspec(dllexport)
#else
#define PX_API __declspec(dllimport)
#endif
#else
#define PX_API __attribute__((visibility("default")))
#endif

#define PX_PRODUCT_NAME "Probex"
#define PX_VERSION_TEXT "1.40"
