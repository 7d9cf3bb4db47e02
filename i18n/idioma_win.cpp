// The catalogue layer on GNU libintl (linked statically). The domain "default" is bound, when
// the library loads, to the folder "locale" beside the library itself (not the host program);
// the language is chosen through the variables libintl reads, in the C runtime's environment.
#include "i18n/idioma.h"

#include <windows.h>

#include <cstdlib>

#include "i18n/catalogos.h"

// Last: it redefines the printf family for what follows.
#include <libintl.h>

// libintl's catalogue generation: raising it makes libintl drop the translations it found for
// the previous language.
extern "C" int _nl_msg_cat_cntr;

namespace pelmaro {
namespace {

std::wstring Ancho(const std::string& utf8) {
  if (utf8.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

std::string Utf8(const std::wstring& w) {
  if (w.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
  return s;
}

// The folder of the module this code is linked into, without a final backslash.
std::wstring CarpetaDelModulo() {
  HMODULE modulo = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&CarpetaDelModulo), &modulo);
  std::wstring ruta(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(modulo, ruta.data(), static_cast<DWORD>(ruta.size()));
    if (n == 0) return {};
    if (n < ruta.size()) {
      ruta.resize(n);
      break;
    }
    ruta.resize(ruta.size() * 2);
  }
  std::size_t barra = ruta.find_last_of(L"\\/");
  return barra == std::wstring::npos ? std::wstring() : ruta.substr(0, barra);
}

bool ExisteArchivo(const std::string& ruta) {
  DWORD atributos = GetFileAttributesW(Ancho(ruta).c_str());
  return atributos != INVALID_FILE_ATTRIBUTES && !(atributos & FILE_ATTRIBUTE_DIRECTORY);
}

// The system's UI language as a two-letter code ("es", "en"...).
std::string IdiomaDelSistema() {
  char b[16] = {};
  if (GetLocaleInfoA(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), LOCALE_SISO639LANGNAME, b, sizeof b) > 0)
    return b;
  return "es";
}

struct Estado {
  std::string carpeta;  // the catalogue folder, UTF-8
  std::string codigo;   // as last given to UseLanguage (the system's code for "")
};

Estado& Capa() {
  static Estado estado = [] {
    Estado e;
    std::wstring carpeta = CarpetaDelModulo() + L"\\" + Ancho(kCarpetaCatalogos);
    wbindtextdomain(kDominioCatalogo, carpeta.c_str());
    e.carpeta = Utf8(carpeta);
    return e;
  }();
  return estado;
}

// libintl reads LANGUAGE only while the category's locale is not "C": both name the code.
void PonerEnEntorno(const char* variable, const std::string& valor) {
  std::string asignacion = std::string(variable) + "=" + valor;
  _putenv(asignacion.c_str());
}

// When the library loads: the domain is bound and the system's language selected.
struct Arranque {
  Arranque() { UseLanguage(""); }
} gArranque;

}  // namespace

void UseLanguage(const std::string& codigo) {
  Estado& capa = Capa();
  capa.codigo = codigo.empty() ? IdiomaDelSistema() : codigo;
  CatalogoElegido catalogo = ElegirCatalogo(capa.carpeta, capa.codigo, ExisteArchivo);
  PonerEnEntorno("LANGUAGE", catalogo.codigo);
  PonerEnEntorno("LC_MESSAGES", catalogo.codigo);
  ++_nl_msg_cat_cntr;
}

std::string GetCurrentLanguage() { return Capa().codigo; }

}  // namespace pelmaro
