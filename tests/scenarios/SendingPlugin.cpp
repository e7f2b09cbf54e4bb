// A plug-in that a program loads and releases at run time; it brings the
// library in with it and can send one message through it.
#include <probex/probex.h>

#if defined(_WIN32)
#define PX_PLUGIN_EXPORT __declspec(dllexport)
#else
#define PX_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

extern "C" PX_PLUGIN_EXPORT void PxPluginSend(const char* text) {
  CProbexView().OutputMessage(text, PX_MSG_ETC);
}
