#include "hostsim/lenguaje.h"

#include <windows.h>

#include <stdexcept>

#include "i18n/catalogos.h"

namespace nbhost {

std::string FijarLenguaje(const std::string& plugin, const std::string& codigo) {
  HKEY clave = nullptr;
  LONG r = RegCreateKeyExA(HKEY_CURRENT_USER, kClaveAjustes, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                           &clave, nullptr);
  if (r == ERROR_SUCCESS) {
    r = RegSetValueExA(clave, "Lenguaje", 0, REG_SZ, reinterpret_cast<const BYTE*>(codigo.c_str()),
                       static_cast<DWORD>(codigo.size() + 1));
    RegCloseKey(clave);
  }
  if (r != ERROR_SUCCESS)
    throw std::runtime_error("cannot store the language in HKCU\\" + std::string(kClaveAjustes) + " (error " +
                             std::to_string(r) + ")");

  char completa[MAX_PATH];
  char* nombre = nullptr;
  DWORD n = GetFullPathNameA(plugin.c_str(), MAX_PATH, completa, &nombre);
  std::string carpeta = n > 0 && n < MAX_PATH && nombre ? std::string(completa, nombre - completa) : std::string(".\\");
  carpeta += pelmaro::kCarpetaCatalogos;
  pelmaro::CatalogoElegido c = pelmaro::ElegirCatalogo(carpeta, codigo, [](const std::string& ruta) {
    DWORD a = GetFileAttributesA(ruta.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
  });
  return "language: " + codigo + (c.ruta.empty() ? ", no catalogue (Spanish texts)" : ", catalogue " + c.ruta);
}

}  // namespace nbhost
