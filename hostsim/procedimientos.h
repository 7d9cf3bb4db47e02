// Replacements for functions the plug-in looks up at run time (GetProcAddress) rather than
// imports: the simulator hooks the plug-in's import of GetProcAddress once and hands out a
// registered replacement for the names registered, the real function for everything else.
// Register from a static object of an extension's file:
//
//   namespace { const bool gRegistrado = nbhost::RegistrarProcedimiento(
//                   "powrprof.dll", "SetSuspendState", reinterpret_cast<void*>(&MiSustituto)); }
#pragma once

namespace nbhost {

// `dll` is the library's file name (any letter case, ".dll" may be left out); `funcion` the
// exported name, compared exactly. Returns true, for use in static initialisers.
bool RegistrarProcedimiento(const char* dll, const char* funcion, void* sustituto);

// The replacement registered for the function `funcion` of the loaded module, or null.
void* ProcedimientoSustituto(void* modulo, const char* funcion);

}  // namespace nbhost
