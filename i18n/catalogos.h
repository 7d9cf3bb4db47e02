// Where the message catalogues are: one text domain, "default", in a folder "locale" beside
// the plug-in library, one catalogue per language code.
#pragma once
#include <functional>
#include <string>

namespace pelmaro {

inline constexpr const char* kDominioCatalogo = "default";
inline constexpr const char* kCarpetaCatalogos = "locale";

// carpeta\<codigo>\LC_MESSAGES\default.mo
std::string RutaCatalogo(const std::string& carpeta, const std::string& codigo);

struct CatalogoElegido {
  std::string codigo;  // the code whose catalogue is used (the whole code, or its first two characters)
  std::string ruta;    // that catalogue's file, or "" when none exists: texts stay Spanish
};

// The catalogue of a language code: the code's own file when it exists, else the one of its
// first two characters ("es_ES" falls back to "es").
CatalogoElegido ElegirCatalogo(const std::string& carpeta, const std::string& codigo,
                               const std::function<bool(const std::string&)>& existe);

}  // namespace pelmaro
