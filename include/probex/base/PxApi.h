// Export macro and version of the Probex140 library. Everything a test
// program may call carries PX_API; the library builds with hidden visibility.
#pragma once

// PX_INTERNAL marks a member of an exported class that only the library
// itself calls. On ELF it stays inside the library while the class keeps its
// vtable and type information visible to derived classes of a program. A DLL
// exports its classes whole: only then do a program's derived classes find
// the base's vtable and type information, so there the mark does nothing.
//
// The support templates carry no mark: a program instantiates every template
// it uses itself, and the library's own instantiations stay inside it.
#if defined(_WIN32)
#if defined(PROBEX_BUILDING)
#define PX_API __declspec(dllexport)
#else
#define PX_API __declspec(dllimport)
#endif
#define PX_INTERNAL
#else
#define PX_API __attribute__((visibility("default")))
#define PX_INTERNAL __attribute__((visibility("hidden")))
#endif

#define PX_PRODUCT_NAME "Probex"
#define PX_VERSION_TEXT "1.40"
