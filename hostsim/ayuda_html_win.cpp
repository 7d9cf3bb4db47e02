// Records every HtmlHelpA request of the plug-in ("HtmlHelpA(file, command, data)"), then
// passes it on to the real HTML Help runtime, so the window handle the plug-in gets is real.
#include <windows.h>

#include <string>

#include "actions/publication/htmlhelp_api.h"
#include "hostsim/procedimientos.h"
#include "hostsim/simulador.h"

namespace nbhost {
namespace {

using pelmaro::htmlhelp::ConsultaBusqueda;
using pelmaro::htmlhelp::FuncionHtmlHelp;

std::string Texto(const char* t) { return t ? "\"" + std::string(t) + "\"" : "null"; }

std::string Dato(UINT orden, DWORD_PTR dato) {
  switch (orden) {
    case pelmaro::htmlhelp::kDisplayIndex:  // the keyword
      return Texto(reinterpret_cast<const char*>(dato));
    case pelmaro::htmlhelp::kDisplaySearch: {  // the query record
      auto* c = reinterpret_cast<const ConsultaBusqueda*>(dato);
      if (!c) return "null";
      return "{size " + std::to_string(c->cbStruct) + ", unicode " + std::to_string(c->fUniCodeStrings) +
             ", query " + Texto(c->pszSearchQuery) + ", proximity " + std::to_string(c->iProximity) +
             ", stemmed " + std::to_string(c->fStemmedSearch) + ", titles " + std::to_string(c->fTitleOnly) +
             ", execute " + std::to_string(c->fExecute) + ", window " + Texto(c->pszWindow) + "}";
    }
    default:
      return std::to_string(static_cast<unsigned long long>(dato));
  }
}

HWND WINAPI GrabarHtmlHelp(HWND llamador, LPCSTR archivo, UINT orden, DWORD_PTR dato) {
  if (Simulador* sim = Simulador::Actual())
    sim->RegistrarLlamada("HtmlHelpA(" + Texto(archivo) + ", " + std::to_string(orden) + ", " + Dato(orden, dato) + ")");
  static FuncionHtmlHelp real = [] {
    HMODULE m = LoadLibraryA("hhctrl.ocx");
    return m ? reinterpret_cast<FuncionHtmlHelp>(reinterpret_cast<void*>(GetProcAddress(m, "HtmlHelpA"))) : nullptr;
  }();
  return real ? real(llamador, archivo, orden, dato) : nullptr;
}

[[maybe_unused]] const bool gRegistrado =
    (RegistrarProcedimiento("hhctrl.ocx", "HtmlHelpA", reinterpret_cast<void*>(&GrabarHtmlHelp)), true);

}  // namespace
}  // namespace nbhost
