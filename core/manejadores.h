// The nine handler classes, one per category. Each lists its handlers in a table that the
// dispatch reads; the handlers themselves live with their category under actions/.
#pragma once
#include "actions/files/ejecucion_archivos.h"
#include "actions/hashes/ejecucion_hashes.h"
#include "actions/images/ejecucion_imagenes.h"
#include "actions/ini/ejecucion_ini.h"
#include "actions/publication/ejecucion_publicacion.h"
#include "actions/system/ejecucion_sistema.h"
#include "actions/monitor/ejecucion_monitor.h"
#include "core/ejecucion.h"

namespace pelmaro {

}  // namespace pelmaro
