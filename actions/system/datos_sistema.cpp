#include "actions/system/datos_sistema.h"

#include <cstring>

namespace pelmaro {

std::string NombreVersion(std::uint32_t plataforma, std::uint32_t mayor, std::uint32_t menor) {
  switch (plataforma) {
    case kPlataformaWin32s:
      return "Win31";
    case kPlataforma9x:
      if (menor <= 3) return "Win95";
      if (menor == 10) return "Win98";
      if (menor == 90) return "WinME";
      break;
    case kPlataformaNT:
      if (mayor == 3) return "WinNT3";
      if (mayor == 4) return "WinNT4";
      if (mayor == 5 && menor == 0) return "Win2K";
      if (mayor == 5 && menor == 1) return "WinXP";
      if (mayor == 6) return "WinVista";
      break;
  }
  return kVersionDesconocida;
}

std::vector<std::string> CadenasEntorno(const char* bloque) {
  std::vector<std::string> cadenas;
  if (!bloque) return cadenas;
  for (const char* p = bloque; *p; p += std::strlen(p) + 1) cadenas.emplace_back(p);
  return cadenas;
}

}  // namespace pelmaro
