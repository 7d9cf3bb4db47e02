#include <windows.h>

#include "core/ansi.h"
#include "core/textos.h"

namespace pelmaro {
std::string ConvertirPagina(std::string_view texto, unsigned desde, unsigned hacia, bool estricto) {
  if (texto.empty()) return {};
  int anchos = MultiByteToWideChar(desde, estricto ? MB_ERR_INVALID_CHARS : 0, texto.data(),
                                   static_cast<int>(texto.size()), nullptr, 0);
  if (anchos <= 0) return std::string(texto);
  std::wstring w(static_cast<std::size_t>(anchos), L'\0');
  MultiByteToWideChar(desde, 0, texto.data(), static_cast<int>(texto.size()), w.data(), anchos);
  int bytes = WideCharToMultiByte(hacia, 0, w.data(), anchos, nullptr, 0, nullptr, nullptr);
  std::string salida(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(hacia, 0, w.data(), anchos, salida.data(), bytes, nullptr, nullptr);
  return salida;
}

std::string Utf8AAnsi(std::string_view utf8) { return ConvertirPagina(utf8, CP_UTF8, CP_ACP); }
std::string AnsiAUtf8(std::string_view ansi) { return ConvertirPagina(ansi, CP_ACP, CP_UTF8); }

std::string Texto(const char* espanol) { return Utf8AAnsi(Traducir(espanol)); }

}  // namespace pelmaro
