// Special folders named by the text of their shell constant ("CSIDL_APPDATA").
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace pelmaro {

class TSHFolderEx {
 public:
  struct Fila {
    const char* nombre;
    std::int32_t numero;
  };
  // The accepted names and the numbers they stand for; the three flag names stand for flag
  // values, not folders.
  static const Fila* Filas(std::size_t& cuenta);

  // The number of a name, compared exactly; any other text gives 0 (the desktop).
  static std::int32_t NumeroCarpeta(const std::string& nombre);
  // The folder's path ending in a backslash, or the empty text when the system has none
  // (virtual folders). With `crear`, a missing folder is made first. (Windows only.)
  static std::string RutaCarpeta(std::int32_t numero, bool crear);
};

}  // namespace pelmaro
