#include "core/textos.h"

#ifdef _WIN32
#include <libintl.h>

#include "i18n/catalogos.h"
#endif

namespace pelmaro {

std::string Traducir(const char* espanol) {
  // The empty identifier is the catalogue's header entry, not a text.
  if (!espanol || !*espanol) return {};
#ifdef _WIN32
  return dgettext(kDominioCatalogo, espanol);
#else
  // Off Windows no catalogues are installed: the Spanish text.
  return espanol;
#endif
}

#ifndef _WIN32
// Off Windows there is no system code page: texts stay UTF-8.
std::string Texto(const char* espanol) { return Traducir(espanol); }
#endif

}  // namespace pelmaro
