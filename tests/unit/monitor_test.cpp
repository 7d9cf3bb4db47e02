// What the display-mode and wallpaper actions answer, for every result the system can give.
#include <gtest/gtest.h>

#include "actions/monitor/utiles_monitor.h"

using pelmaro::TUtilesMonitor;

TEST(Monitor, TextosDeLosResultadosDePantalla) {
  struct {
    int resultado;
    const char* texto;
  } casos[] = {
      {1, "DISP_CHANGE_RESTART"},     {-1, "DISP_CHANGE_FAILED"},  {-2, "DISP_ERROR_UNKNOWN"},
      {-3, "DISP_CHANGE_NOTUPDATED"}, {-4, "DISP_CHANGE_BADFLAGS"}, {-5, "DISP_CHANGE_BADPARAM"},
      {-6, "DISP_ERROR_UNKNOWN"},     {2, "DISP_ERROR_UNKNOWN"},
  };
  for (const auto& c : casos) EXPECT_STREQ(TUtilesMonitor::TextoResultadoPantalla(c.resultado), c.texto) << c.resultado;
}

TEST(Monitor, ColocacionesDelPapelTapiz) {
  struct {
    const char* nombre;
    int estilo;
  } casos[] = {
      {"PPT_CENTRADO", 0}, {"PPT_MOSAICO", 1}, {"PPT_EXTENDIDO", 2}, {"ppt_mosaico", 2},
      {"PPT_MOSAICO ", 2}, {"", 2},           {"Mosaico", 2},
  };
  for (const auto& c : casos) EXPECT_EQ(TUtilesMonitor::EstiloPapelTapiz(c.nombre), c.estilo) << c.nombre;
}
