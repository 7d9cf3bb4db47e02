// Handler classes whose categories have no handler yet: their numbers reach nothing.
#include "core/manejadores.h"

namespace pelmaro {

TablaManejadores TEjecucionAccMonitor::Tabla() { return {nullptr, 0}; }
TablaManejadores TEjecucionAccImagenes::Tabla() { return {nullptr, 0}; }

}  // namespace pelmaro
