// The library's own unload. The module registers its exit step at load;
// unload runs it once, before any module-wide object is destroyed. On
// Windows DllMain runs it at DLL_PROCESS_DETACH, at FreeLibrary or at process
// end; elsewhere, and in programs that link the library statically, the
// module runs it from the destructor of its last-built object.
#pragma once

namespace NPxPlatform {

void SetModuleExitStep(void (*step)());
// Runs the registered step, once: later calls do nothing.
void RunModuleExitStep();

} // namespace NPxPlatform
