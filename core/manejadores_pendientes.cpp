// Handler classes whose categories have no handler yet: their numbers reach nothing.
#include "core/manejadores.h"

namespace pelmaro {

TablaManejadores TEjecucionAccImagenes::Tabla() { return {nullptr, 0}; }

}  // namespace pelmaro
