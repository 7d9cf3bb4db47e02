#include "core/textos.h"

namespace pelmaro {

std::string Traducir(const char* espanol) { return espanol ? espanol : ""; }

}  // namespace pelmaro
