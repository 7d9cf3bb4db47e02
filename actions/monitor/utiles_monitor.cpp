#include "actions/monitor/utiles_monitor.h"

namespace pelmaro {

int TUtilesMonitor::EstiloPapelTapiz(std::string_view nombre) {
  if (nombre == "PPT_CENTRADO") return 0;
  if (nombre == "PPT_MOSAICO") return 1;
  return 2;  // PPT_EXTENDIDO and anything else
}

const char* TUtilesMonitor::TextoResultadoPantalla(std::int32_t resultado) {
  switch (resultado) {
    case 1: return "DISP_CHANGE_RESTART";
    case -1: return "DISP_CHANGE_FAILED";
    case -3: return "DISP_CHANGE_NOTUPDATED";
    case -4: return "DISP_CHANGE_BADFLAGS";
    case -5: return "DISP_CHANGE_BADPARAM";
    default: return "DISP_ERROR_UNKNOWN";  // -2, mode not supported, included
  }
}

}  // namespace pelmaro
