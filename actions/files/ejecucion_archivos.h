// Handlers of the category "Archivos" (200-216).
#pragma once
#include "core/ejecucion.h"

namespace pelmaro {

class TEjecucionAccArchivos {
 public:
  static TablaManejadores Tabla();

  static std::uint8_t BorrarArchivos(const Parametros& p);
  static std::uint8_t MoverArchivos(const Parametros& p);
  static std::uint8_t CopiarArchivos(const Parametros& p);
  static std::uint8_t BorrarCarpeta(const Parametros& p);
  static std::uint8_t MoverCarpeta(const Parametros& p);
  static std::uint8_t CopiarCarpeta(const Parametros& p);
  static std::uint8_t AccesoDirecto(const Parametros& p);
  static std::uint8_t TamanyoArchivo(const Parametros& p);
  static std::uint8_t ArchivoTemporal(const Parametros& p);
  static std::uint8_t IconoAsociado(const Parametros& p);
  static std::uint8_t IconoEjecutable(const Parametros& p);
  static std::uint8_t IconosEjecutable(const Parametros& p);
  static std::uint8_t RutaLargaArchivo(const Parametros& p);
  static std::uint8_t RutaCortaArchivo(const Parametros& p);
  static std::uint8_t FechaCreacionArchivo(const Parametros& p);
  static std::uint8_t FechaModificacionArchivo(const Parametros& p);
  static std::uint8_t FechaUltimoAccesoArchivo(const Parametros& p);
};

}  // namespace pelmaro
