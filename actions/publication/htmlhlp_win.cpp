#include "actions/publication/htmlhlp.h"

#include <windows.h>

#include "actions/publication/htmlhelp_api.h"

namespace pelmaro {
namespace {

using namespace htmlhelp;

// Loaded once and kept for the life of the process: the runtime's help windows outlive any
// single call and would be torn down by an unload.
FuncionHtmlHelp HtmlHelp() {
  static FuncionHtmlHelp funcion = [] {
    HMODULE m = LoadLibraryA("hhctrl.ocx");
    return m ? reinterpret_cast<FuncionHtmlHelp>(reinterpret_cast<void*>(GetProcAddress(m, "HtmlHelpA"))) : nullptr;
  }();
  return funcion;
}

HWND Llamar(const std::string& archivo, UINT orden, DWORD_PTR dato) {
  FuncionHtmlHelp f = HtmlHelp();
  return f ? f(GetActiveWindow(), archivo.c_str(), orden, dato) : nullptr;
}

}  // namespace

bool THtmlHlpIntf::Disponible() { return HtmlHelp() != nullptr; }

bool THtmlHlpIntf::MostrarIndice(const std::string& archivo, const std::string& palabra) {
  return Llamar(archivo, kDisplayIndex, reinterpret_cast<DWORD_PTR>(palabra.c_str())) != nullptr;
}

void THtmlHlpIntf::CerrarTodo(const std::string& archivo) { Llamar(archivo, kCloseAll, 0); }

bool THtmlHlpIntf::MostrarTemaID(const std::string& archivo, std::int32_t numero) {
  return Llamar(archivo, kHelpContext, static_cast<DWORD_PTR>(static_cast<std::uint32_t>(numero))) != nullptr;
}

bool THtmlHlpIntf::MostrarTemaURL(const std::string& archivo, const std::string& tema) {
  return Llamar(archivo + "::\\" + tema, kDisplayTopic, 0) != nullptr;
}

bool THtmlHlpIntf::MostrarBuscador(const std::string& archivo) {
  ConsultaBusqueda consulta{};
  consulta.cbStruct = sizeof(ConsultaBusqueda);
  consulta.fUniCodeStrings = FALSE;
  consulta.pszSearchQuery = nullptr;
  consulta.iProximity = -1;
  consulta.fStemmedSearch = FALSE;
  consulta.fTitleOnly = FALSE;
  consulta.fExecute = FALSE;
  consulta.pszWindow = nullptr;
  return Llamar(archivo, kDisplaySearch, reinterpret_cast<DWORD_PTR>(&consulta)) != nullptr;
}

bool THtmlHlpIntf::MostrarContenidos(const std::string& archivo) { return Llamar(archivo, kDisplayToc, 0) != nullptr; }

}  // namespace pelmaro
