// Handlers of the category "Hashes": digests (700-704) and enciphering (705, 706).
#pragma once
#include "core/ejecucion.h"

namespace pelmaro {

class TEjecucionAccHashes {
 public:
  static TablaManejadores Tabla();

  static std::uint8_t MD5Cadena(const Parametros& p);
  static std::uint8_t MD5Archivo(const Parametros& p);
  static std::uint8_t SHA1Cadena(const Parametros& p);
  static std::uint8_t SHA1Archivo(const Parametros& p);
  static std::uint8_t CancelarHashing(const Parametros& p);
  static std::uint8_t CifrarCadena(const Parametros& p);
  static std::uint8_t CifrarArchivo(const Parametros& p);
};

}  // namespace pelmaro
