#include <windows.h>

#include "actions/publication/ejecucion_publicacion.h"
#include "core/texto.h"

namespace pelmaro {

TablaManejadores TEjecucionAccRaton::Tabla() {
  static const EntradaManejador kFilas[] = {{500, OcultarRatonPub}, {501, MostrarRatonPub}};
  return pelmaro::Tabla(kFilas);
}

// "True" only when this call has just hidden the cursor (the counter went to -1).
std::uint8_t TEjecucionAccRaton::OcultarRatonPub(const Parametros&) {
  resultado::Valor(TextoBooleano(ShowCursor(FALSE) == -1));
  return 1;
}

// "True" when the cursor is shown after the call (the counter is 0 or more).
std::uint8_t TEjecucionAccRaton::MostrarRatonPub(const Parametros&) {
  resultado::Valor(TextoBooleano(ShowCursor(TRUE) >= 0));
  return 1;
}

}  // namespace pelmaro
