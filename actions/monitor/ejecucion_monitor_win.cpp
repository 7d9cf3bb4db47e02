#include <windows.h>

#include "actions/monitor/ejecucion_monitor.h"
#include "actions/monitor/osd.h"
#include "actions/monitor/utiles_monitor.h"
#include "core/korutiles.h"
#include "core/texto.h"

namespace pelmaro {
namespace {

constexpr LPARAM kMonitorApagado = 2;
constexpr LPARAM kMonitorEncendido = -1;

// Monitor power through the active window: "True" when the message was handled (0).
std::uint8_t EnergiaMonitor(LPARAM estado) {
  LRESULT r = SendMessageA(GetActiveWindow(), WM_SYSCOMMAND, SC_MONITORPOWER, estado);
  resultado::Valor(TextoBooleano(r == 0));
  return 1;
}

}  // namespace

TablaManejadores TEjecucionAccMonitor::Tabla() {
  static const EntradaManejador kFilas[] = {
      {600, ApagarMonitor},      {601, EncenderMonitor},    {602, CambiarResolucion}, {603, MostrarMensajeOSD},
      {604, OcultarMensajesOSD}, {605, FijarPapelTapiz},    {606, ObtenerPapelTapiz},
  };
  return pelmaro::Tabla(kFilas);
}

std::uint8_t TEjecucionAccMonitor::ApagarMonitor(const Parametros&) { return EnergiaMonitor(kMonitorApagado); }

std::uint8_t TEjecucionAccMonitor::EncenderMonitor(const Parametros&) { return EnergiaMonitor(kMonitorEncendido); }

std::uint8_t TEjecucionAccMonitor::CambiarResolucion(const Parametros& p) {
  auto ancho = LeerEnteroOpcional(p[0]), alto = LeerEnteroOpcional(p[1]), frecuencia = LeerEnteroOpcional(p[2]);
  if (!ancho || !alto || !frecuencia) {
    resultado::Valor(kFalso);
    return 1;
  }
  std::int32_t r = TUtilesMonitor::CambiarResolucion(*ancho, *alto, *frecuencia, EsVerdadero(p[3]));
  if (r == DISP_CHANGE_SUCCESSFUL) resultado::Verdadero();
  else resultado::Fallo(TUtilesMonitor::TextoResultadoPantalla(r));
  return 1;
}

std::uint8_t TEjecucionAccMonitor::MostrarMensajeOSD(const Parametros& p) {
  return ConTrampa([&] {
    pelmaro::MostrarMensajeOSD(p[0], LeerEnteroODefecto(p[1], 10), LeerEnteroODefecto(p[2], 10),
                               LeerEnteroODefecto(p[3], 4000), TKorUtiles::TextoAFuente(p[4]));
    resultado::Verdadero();
  });
}

std::uint8_t TEjecucionAccMonitor::OcultarMensajesOSD(const Parametros&) {
  if (pelmaro::OcultarMensajesOSD()) resultado::Verdadero();
  else resultado::FalloSistema();
  return 1;
}

// The registry writes raise their error: it reaches the publication as the exception text.
std::uint8_t TEjecucionAccMonitor::FijarPapelTapiz(const Parametros& p) {
  return ConTrampa([&] {
    if (TUtilesMonitor::FijarPapelTapiz(p[0], p[1])) resultado::Verdadero();
    else resultado::FalloSistema();
  });
}

std::uint8_t TEjecucionAccMonitor::ObtenerPapelTapiz(const Parametros&) {
  resultado::Valor(TUtilesMonitor::ObtenerPapelTapiz());
  return 1;
}

}  // namespace pelmaro
