#include "i18n/posinstalacion.h"

#include <windows.h>

#include "actions/publication/htmlhlp.h"
#include "i18n/idioma.h"

namespace pelmaro {
namespace {

// An open registry key, closed on every path.
class ClaveRegistro {
 public:
  ClaveRegistro() = default;
  ~ClaveRegistro() {
    if (h_) RegCloseKey(h_);
  }
  ClaveRegistro(const ClaveRegistro&) = delete;
  ClaveRegistro& operator=(const ClaveRegistro&) = delete;
  bool Abrir(const std::string& ruta, REGSAM acceso) {
    return RegOpenKeyExA(HKEY_CURRENT_USER, ruta.c_str(), 0, acceso, &h_) == ERROR_SUCCESS;
  }
  bool Crear(const std::string& ruta) {
    return RegCreateKeyExA(HKEY_CURRENT_USER, ruta.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                           KEY_READ | KEY_WRITE, nullptr, &h_, nullptr) == ERROR_SUCCESS;
  }
  // The value's text; false when it is missing or of another type than a string.
  bool LeerTexto(const char* valor, std::string& texto) const {
    DWORD tipo = 0, tamanyo = 0;
    if (RegQueryValueExA(h_, valor, nullptr, &tipo, nullptr, &tamanyo) != ERROR_SUCCESS) return false;
    if (tipo != REG_SZ && tipo != REG_EXPAND_SZ) return false;
    std::string b(tamanyo + 1, '\0');
    DWORD n = tamanyo;
    if (RegQueryValueExA(h_, valor, nullptr, &tipo, reinterpret_cast<BYTE*>(&b[0]), &n) != ERROR_SUCCESS) return false;
    b.resize(n);
    while (!b.empty() && b.back() == '\0') b.pop_back();
    texto = b;
    return true;
  }
  void EscribirTexto(const char* valor, const std::string& texto) const {
    RegSetValueExA(h_, valor, 0, REG_SZ, reinterpret_cast<const BYTE*>(texto.c_str()),
                   static_cast<DWORD>(texto.size() + 1));
  }

 private:
  HKEY h_ = nullptr;
};

}  // namespace

std::string TPosInstalacion::Clave(const std::string& nombre) { return "Software\\Brelmont\\Korvane\\" + nombre; }

std::string TPosInstalacion::ObtenerDirPlugin(const std::string& nombre) {
  std::string dir;
  ClaveRegistro clave;
  if (clave.Abrir(Clave(nombre), KEY_READ)) clave.LeerTexto("DirPlugin", dir);
  return dir;
}

std::string TPosInstalacion::ObtenerLenguaje(const std::string& nombre) {
  std::string lenguaje = "es";
  ClaveRegistro clave;
  if (clave.Crear(Clave(nombre))) clave.LeerTexto("Lenguaje", lenguaje);
  return lenguaje;
}

void TPosInstalacion::GuardarLenguaje(const std::string& nombre, const std::string& codigo) {
  ClaveRegistro clave;
  if (clave.Abrir(Clave(nombre), KEY_WRITE)) clave.EscribirTexto("Lenguaje", codigo);
}

std::string TPosInstalacion::RutaAyuda(const std::string& nombre) {
  return ObtenerDirPlugin(nombre) + "ayuda\\" + GetCurrentLanguage() + "\\" + nombre + ".chm";
}

void TPosInstalacion::MostrarAyuda(const std::string& nombre, const std::string& mensaje, std::int32_t tema) {
  std::string ruta = RutaAyuda(nombre);
  DWORD atributos = GetFileAttributesA(ruta.c_str());
  if (atributos != INVALID_FILE_ATTRIBUTES && !(atributos & FILE_ATTRIBUTE_DIRECTORY)) {
    THtmlHlpIntf::MostrarTemaID(ruta, tema);
  } else {
    MessageBoxA(GetActiveWindow(), mensaje.c_str(), nombre.c_str(), MB_OK | MB_ICONWARNING);
  }
}

}  // namespace pelmaro
