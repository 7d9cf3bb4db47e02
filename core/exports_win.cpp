// The eight entry points the host calls. No error ever leaves them.
#include <windows.h>

#include "core/catalogo.h"
#include "core/convencion.h"
#include "core/ejecucion.h"
#include "core/host.h"
#include "core/textos.h"
#include "editing/edicion.h"
#include "i18n/idioma.h"
#include "i18n/posinstalacion.h"

using namespace pelmaro;

namespace {

void RegistrarCatalogo() {
  static const std::uint8_t kSinParametros = kTipoSinParametros;
  for (int i = 0; i < NumeroFilasCatalogo(); ++i) {
    const FilaCatalogo& fila = FilasCatalogo()[i];
    std::string nombre = Texto(fila.nombre);
    std::string pista = Texto(fila.pista);
    std::int32_t cuenta = fila.Parametros();
    std::uint8_t tipos[8] = {};
    for (std::int32_t k = 0; k < cuenta; ++k) tipos[k] = static_cast<std::uint8_t>(fila.tipos[k] - '0');
    LlamarAnyadirAccion(fila.id, nombre.c_str(), pista.c_str(), cuenta ? tipos : &kSinParametros,
                        cuenta ? cuenta - 1 : 0, cuenta);
  }
}

}  // namespace

extern "C" {

void NB_REGISTRO nbInitPlugIn(void* ventana, RanuraCadena* titulo, RanuraCadena* editor, RanuraCadena* pista) {
  try {
    Host().ventana = ventana;
    UseLanguage(TPosInstalacion::ObtenerLenguaje(Traducir(txt::kNombrePlugin)));
    AsignarPChar(titulo, Texto(txt::kNombrePlugin));
    AsignarPChar(pista, Texto(txt::kPistaPlugin));
    AsignarPChar(editor, kLineaEditor);
  } catch (...) {
    // Out of memory: the host keeps whatever the slots hold.
  }
}

void NB_REGISTRO nbRegisterPlugIn(void* anyadirAccion, void* reservado, THostGetVariable leerVariable,
                                  THostSetVariable escribirVariable) {
  Host().anyadirAccion = anyadirAccion;
  Host().reservado = reservado;
  Host().leerVariable = leerVariable;
  Host().escribirVariable = escribirVariable;
  try {
    RegistrarCatalogo();
  } catch (...) {
  }
}

void NB_REGISTRO nbRegisterInterfaceAccess(THostInterfaceAccess acceso) { Host().accesoInterfaz = acceso; }

void NB_REGISTRO nbRegisterScriptProcessor(THostScriptProcessor procesador) { Host().procesadorGuion = procesador; }

std::int32_t NB_REGISTRO nbExecAction(std::int32_t id, const char* const* parametros) {
  try {
    return EjecutarAccion(id, parametros);
  } catch (...) {
    try {
      resultado::FalloExcepcionActual();
    } catch (...) {
    }
    return 0;
  }
}

std::int32_t NB_REGISTRO nbEditAction(std::int32_t id, RanuraCadena* parametros) {
  try {
    return TEdicionAcc::EditarAccion(id, parametros);
  } catch (...) {
    return 0;  // the dialog is gone and no slot was written
  }
}

void NB_REGISTRO nbAbout() {}

// Returns at once; it takes nothing from the stack.
void nbMessage() {}

}  // extern "C"
