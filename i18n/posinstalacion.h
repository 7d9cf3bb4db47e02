// TPosInstalacion: the plug-in's per-user settings (HKCU\Software\Brelmont\Korvane\<name>:
// "DirPlugin", written by the installer, and "Lenguaje") and its own help file.
#pragma once
#include <cstdint>
#include <string>

namespace pelmaro {

class TPosInstalacion {
 public:
  // "DirPlugin", or "" when the key or the value is missing (or not a string).
  static std::string ObtenerDirPlugin(const std::string& nombre);
  // "Lenguaje", or "es"; creates the settings key when it does not exist.
  static std::string ObtenerLenguaje(const std::string& nombre);
  // Stores "Lenguaje" when the key can be opened for writing; otherwise nothing happens.
  static void GuardarLenguaje(const std::string& nombre, const std::string& codigo);
  // DirPlugin + "ayuda\" + current language + "\" + name + ".chm".
  static std::string RutaAyuda(const std::string& nombre);
  // Opens the help file at a context number, or shows `mensaje` in a warning box when the
  // file is missing.
  static void MostrarAyuda(const std::string& nombre, const std::string& mensaje, std::int32_t tema);
  // The settings key below HKEY_CURRENT_USER.
  static std::string Clave(const std::string& nombre);
};

}  // namespace pelmaro
