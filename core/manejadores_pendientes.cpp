// Handler classes whose categories have no handler yet: their numbers reach nothing.
#include "core/manejadores.h"

namespace pelmaro {

TablaManejadores TEjecucionAccSistema::Tabla() { return {nullptr, 0}; }
TablaManejadores TEjecucionAccDialogos::Tabla() { return {nullptr, 0}; }
TablaManejadores TEjecucionAccPublicacion::Tabla() { return {nullptr, 0}; }
TablaManejadores TEjecucionAccRaton::Tabla() { return {nullptr, 0}; }
TablaManejadores TEjecucionAccMonitor::Tabla() { return {nullptr, 0}; }

}  // namespace pelmaro
