#include <windows.h>

#include "actions/monitor/utiles_monitor.h"
#include "core/ejecucion.h"

namespace pelmaro {
namespace {

constexpr const char* kClaveEscritorio = "Control Panel\\Desktop\\";
constexpr UINT kTamanyoRutaPapel = 261;
static_assert(sizeof(DEVMODEA) == 156, "the display-mode record the system expects");

// An open registry key, closed on every path.
class TClaveRegistro {
 public:
  TClaveRegistro(HKEY raiz, const char* ruta, REGSAM acceso) {
    LONG r = RegOpenKeyExA(raiz, ruta, 0, acceso, &clave_);
    if (r != ERROR_SUCCESS) Fallar(r);
  }
  ~TClaveRegistro() { RegCloseKey(clave_); }
  TClaveRegistro(const TClaveRegistro&) = delete;
  TClaveRegistro& operator=(const TClaveRegistro&) = delete;

  void EscribirTexto(const char* nombre, const char* valor) {
    LONG r = RegSetValueExA(clave_, nombre, 0, REG_SZ, reinterpret_cast<const BYTE*>(valor),
                            static_cast<DWORD>(lstrlenA(valor) + 1));
    if (r != ERROR_SUCCESS) Fallar(r);
  }

 private:
  [[noreturn]] static void Fallar(LONG codigo) {
    SetLastError(static_cast<DWORD>(codigo));
    LanzarErrorSistema();
  }
  HKEY clave_ = nullptr;
};

}  // namespace

std::string TUtilesMonitor::ObtenerPapelTapiz() {
  char buffer[kTamanyoRutaPapel] = {};
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, kTamanyoRutaPapel, buffer, 0);
  buffer[kTamanyoRutaPapel - 1] = '\0';
  return buffer;
}

bool TUtilesMonitor::FijarPapelTapiz(const std::string& ruta, std::string_view estilo) {
  static const char* const kValores[3][2] = {{"0", "0"}, {"1", "0"}, {"0", "2"}};  // tile, style
  const char* const* valores = kValores[EstiloPapelTapiz(estilo)];
  {
    TClaveRegistro clave(HKEY_CURRENT_USER, kClaveEscritorio, KEY_SET_VALUE);
    clave.EscribirTexto("TileWallpaper", valores[0]);
    clave.EscribirTexto("WallpaperStyle", valores[1]);
  }
  std::string copia = ruta;  // the call takes a writable buffer
  return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, copia.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE) != 0;
}

std::int32_t TUtilesMonitor::CambiarResolucion(std::int32_t ancho, std::int32_t alto, std::int32_t frecuencia,
                                               bool soloProbar) {
  DEVMODEA modo{};
  modo.dmSize = sizeof(DEVMODEA);
  if (!EnumDisplaySettingsA(nullptr, 0, &modo)) return DISP_CHANGE_FAILED;
  modo.dmSize = sizeof(DEVMODEA);
  modo.dmPelsWidth = static_cast<DWORD>(ancho);
  modo.dmPelsHeight = static_cast<DWORD>(alto);
  modo.dmDisplayFrequency = static_cast<DWORD>(frecuencia);
  modo.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYFREQUENCY;
  LONG prueba = ChangeDisplaySettingsA(&modo, CDS_TEST);
  if (soloProbar) return prueba;
  if (prueba != DISP_CHANGE_SUCCESSFUL) return DISP_CHANGE_FAILED;
  return ChangeDisplaySettingsA(&modo, CDS_UPDATEREGISTRY);
}

}  // namespace pelmaro
