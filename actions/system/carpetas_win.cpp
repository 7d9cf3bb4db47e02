#include <windows.h>
#include <shlobj.h>

#include "actions/system/carpetas.h"

namespace pelmaro {

std::string TSHFolderEx::RutaCarpeta(std::int32_t numero, bool crear) {
  // The create argument alone asks for creation: the call adds CSIDL_FLAG_CREATE to the
  // number itself, so a number already carrying it would be taken as an unknown folder.
  char ruta[MAX_PATH + 1] = {};  // 261 characters
  if (!SHGetSpecialFolderPathA(GetActiveWindow(), ruta, numero, crear)) return std::string();
  std::string texto(ruta);
  if (texto.empty() || texto.back() != '\\') texto += '\\';
  return texto;
}

}  // namespace pelmaro
