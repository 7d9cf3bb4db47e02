#include "core/textos.h"

namespace pelmaro {

std::string Traducir(const char* espanol) { return espanol ? espanol : ""; }

#ifndef _WIN32
// Off Windows there is no system code page: texts stay UTF-8.
std::string Texto(const char* espanol) { return Traducir(espanol); }
#endif

}  // namespace pelmaro
