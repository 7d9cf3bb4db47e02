// Handlers of the category "Archivos INI" (800-811).
#pragma once
#include "core/ejecucion.h"

namespace pelmaro {

class TEjecucionAccArchivosIni {
 public:
  static TablaManejadores Tabla();

  static std::uint8_t LeerIni(const Parametros& p);
  static std::uint8_t EscribirIni(const Parametros& p);
  static std::uint8_t SeccionIni(const Parametros& p);
  static std::uint8_t SeccionesIni(const Parametros& p);
  static std::uint8_t ExisteValorIni(const Parametros& p);
  static std::uint8_t BorrarClaveIni(const Parametros& p);
  static std::uint8_t LeerBinarioIni(const Parametros& p);
  static std::uint8_t EscribirBinarioIni(const Parametros& p);
  static std::uint8_t BorrarSeccionIni(const Parametros& p);
  static std::uint8_t VaciarSeccionIni(const Parametros& p);
  static std::uint8_t ExisteSeccionIni(const Parametros& p);
  static std::uint8_t ValoresSeccionIni(const Parametros& p);
};

}  // namespace pelmaro
