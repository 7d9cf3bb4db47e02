#include "actions/publication/htmlhlp.h"

#include <windows.h>

namespace pelmaro {
namespace {

// The HTML Help API's own values (htmlhelp.h is not part of every toolchain).
constexpr UINT kDisplayTopic = 0x0000;
constexpr UINT kDisplayToc = 0x0001;
constexpr UINT kDisplayIndex = 0x0002;
constexpr UINT kDisplaySearch = 0x0003;
constexpr UINT kHelpContext = 0x000F;
constexpr UINT kCloseAll = 0x0012;

// HH_FTS_QUERY, ANSI.
struct ConsultaBusqueda {
  int cbStruct;
  BOOL fUniCodeStrings;
  LPCSTR pszSearchQuery;
  LONG iProximity;
  BOOL fStemmedSearch;
  BOOL fTitleOnly;
  BOOL fExecute;
  LPCSTR pszWindow;
};

using FuncionHtmlHelp = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

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
