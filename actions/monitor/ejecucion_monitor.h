// Handlers of the category "Monitor" (600-606).
#pragma once
#include "core/ejecucion.h"

namespace pelmaro {

class TEjecucionAccMonitor {
 public:
  static TablaManejadores Tabla();

  static std::uint8_t ApagarMonitor(const Parametros& p);
  static std::uint8_t EncenderMonitor(const Parametros& p);
  static std::uint8_t CambiarResolucion(const Parametros& p);
  static std::uint8_t MostrarMensajeOSD(const Parametros& p);
  static std::uint8_t OcultarMensajesOSD(const Parametros& p);
  static std::uint8_t FijarPapelTapiz(const Parametros& p);
  static std::uint8_t ObtenerPapelTapiz(const Parametros& p);
};

}  // namespace pelmaro
