// A plug-in that a program loads and releases at run time; it brings the
// library in with it and can send one message through it.
#include <probex/probex.h>

extern "C" __attribute__((visibility("default"))) void PxPluginSend(const char* text) {
  CProbexView().OutputMessage(text, PX_MSG_ETC);
}
