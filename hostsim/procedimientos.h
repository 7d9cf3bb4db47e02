// Replacements for functions the plug-in looks up at run time (GetProcAddress) instead of
// importing them. A file registers one from a static object; the simulator then hands the
// replacement to the plug-in whenever it asks the module of that base name for that function:
//
//   namespace { const bool gHecho = (nbhost::RegistrarProcedimiento("hhctrl.ocx", "HtmlHelpA",
//                                    reinterpret_cast<void*>(&MiHtmlHelp)), true); }
#pragma once

namespace nbhost {

// `dll` is the module's base name (any letter case), `nombre` the function's exported name.
void RegistrarProcedimiento(const char* dll, const char* nombre, void* sustituto);

}  // namespace nbhost
