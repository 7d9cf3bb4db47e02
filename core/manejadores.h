// The nine handler classes, one per category. Each lists its handlers in a table that the
// dispatch reads; the handlers themselves live with their category under actions/.
#pragma once
#include "actions/files/ejecucion_archivos.h"
#include "actions/hashes/ejecucion_hashes.h"
#include "actions/images/ejecucion_imagenes.h"
#include "actions/ini/ejecucion_ini.h"
#include "core/ejecucion.h"

namespace pelmaro {

#define PELMARO_CLASE_MANEJADORES(Clase) \
  class Clase {                          \
   public:                               \
    static TablaManejadores Tabla();     \
  };

PELMARO_CLASE_MANEJADORES(TEjecucionAccSistema)
PELMARO_CLASE_MANEJADORES(TEjecucionAccDialogos)
PELMARO_CLASE_MANEJADORES(TEjecucionAccPublicacion)
PELMARO_CLASE_MANEJADORES(TEjecucionAccRaton)
PELMARO_CLASE_MANEJADORES(TEjecucionAccMonitor)

#undef PELMARO_CLASE_MANEJADORES

}  // namespace pelmaro
