// A plug-in that a program loads and releases at run time; it brings the
// library in with it and can send one message through it, or run one check
// that names its source file as __FILE__ gives it.
#include <probex/probex.h>

#if defined(_WIN32)
#define PX_PLUGIN_EXPORT __declspec(dllexport)
#else
#define PX_PLUGIN_EXPORT __attribute__((visibility("default")))
#endif

namespace {

class CPluginCheck : public CProbex {
public:
  CPluginCheck() { PX_CAPTION_CLASS("plug-in"); }
  PX_CASE(Checks) { PX_ASSERT(1 > 2); }
  PX_DECLARATION_END();
};

} // namespace

extern "C" PX_PLUGIN_EXPORT void PxPluginSend(const char* text) {
  CProbexView().OutputMessage(text, PX_MSG_ETC);
}

extern "C" PX_PLUGIN_EXPORT void PxPluginCheck() {
  CPluginCheck().Run();
}
