// Monitor utilities: display modes and wallpaper (Windows only), and the texts and values
// those actions answer with (platform-free, utiles_monitor.cpp).
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace pelmaro {

class TUtilesMonitor {
 public:
  // The wallpaper placement of a name: 0 centred, 1 tiled, 2 stretched (any other name,
  // compared exactly).
  static int EstiloPapelTapiz(std::string_view nombre);
  // The path of the current wallpaper, empty when there is none.
  static std::string ObtenerPapelTapiz();
  // Writes the placement into the user's desktop settings (raises EOSError when the key
  // cannot be opened or a value cannot be written), then sets the wallpaper; true when the
  // system took it.
  static bool FijarPapelTapiz(const std::string& ruta, std::string_view estilo);
  // Tests the display mode and, unless `soloProbar`, changes to it and stores it: the
  // display-change result (0 done, -1 also when the current mode cannot be read or the test
  // refused the mode).
  static std::int32_t CambiarResolucion(std::int32_t ancho, std::int32_t alto, std::int32_t frecuencia,
                                        bool soloProbar);
  // The text krUltimoError gets for a display-change result other than 0.
  static const char* TextoResultadoPantalla(std::int32_t resultado);
};

}  // namespace pelmaro
