// The library's entry point. Module state is set up and torn down by static objects (the C++
// runtime runs their constructors before this function sees DLL_PROCESS_ATTACH and their
// destructors after it has seen DLL_PROCESS_DETACH); this only records why the library is
// being detached.
#include <windows.h>

#include "core/modulo.h"

namespace pelmaro {
namespace {
bool gProcesoTerminando = false;
}  // namespace

bool ProcesoTerminando() { return gProcesoTerminando; }

}  // namespace pelmaro

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD razon, LPVOID reservado) {
  if (razon == DLL_PROCESS_DETACH) pelmaro::gProcesoTerminando = reservado != nullptr;
  return TRUE;
}
