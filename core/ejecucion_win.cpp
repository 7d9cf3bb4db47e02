#include <windows.h>


#include "core/catalogo.h"
#include "core/ejecucion.h"
#include "core/errores.h"
#include "core/korutiles.h"
#include "core/manejadores.h"
#include "core/textos.h"

namespace pelmaro {
namespace {

const TablaManejadores kTablas[] = {
    TEjecucionAccSistema::Tabla(),    TEjecucionAccArchivos::Tabla(),    TEjecucionAccDialogos::Tabla(),
    TEjecucionAccPublicacion::Tabla(), TEjecucionAccRaton::Tabla(),      TEjecucionAccMonitor::Tabla(),
    TEjecucionAccHashes::Tabla(),     TEjecucionAccArchivosIni::Tabla(), TEjecucionAccImagenes::Tabla(),
};

Manejador BuscarManejador(std::int32_t id) {
  for (const TablaManejadores& tabla : kTablas)
    for (std::size_t i = 0; i < tabla.cuenta; ++i)
      if (tabla.filas[i].id == id) return tabla.filas[i].manejador;
  return nullptr;
}

bool HostAceptado() {
  try {
    return TKorUtiles::EsVersionValida();
  } catch (const EConvertError&) {
    return false;  // a version text that does not start with digits: an old host
  }
}

}  // namespace

[[noreturn]] void TerminarPorHostAntiguo() {
  MessageBoxA(GetActiveWindow(), Texto(txt::kActualizaNeobook).c_str(), Texto(txt::kErrorConocido).c_str(),
              MB_OK | MB_ICONWARNING);
  ExitProcess(0);  // runs every module's finalisation, ours included
}

std::int32_t EjecutarAccion(std::int32_t id, const char* const* parametros) {
  if (!HostAceptado()) TerminarPorHostAntiguo();
  TKorUtiles::BorrarArrays({kResultado});
  TKorUtiles::VaciarVariables({kUltimoError, kResultado});
  const FilaCatalogo* fila = BuscarAccion(id);
  Manejador manejador = BuscarManejador(id);
  if (!fila || !manejador) return 0;
  return manejador(Parametros(fila->Parametros() ? parametros : nullptr, fila->Parametros()));
}

}  // namespace pelmaro
