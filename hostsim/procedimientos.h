// Procedures the plug-in looks up at run time (GetProcAddress) instead of importing them:
// the simulator hands out a replacement registered here, so that such calls are recorded
// too. A file registers its replacements from a static object:
//
//   namespace { const bool gAyuda = (nbhost::RegistrarProcedimiento("hhctrl.ocx", "HtmlHelpA",
//                                    reinterpret_cast<void*>(&MiHtmlHelpA)), true); }
#pragma once

namespace nbhost {

// `dll` is the module's file name (any letter case, "hhctrl.ocx"); `nombre` the procedure's.
void RegistrarProcedimiento(const char* dll, const char* nombre, void* sustituto);

}  // namespace nbhost
