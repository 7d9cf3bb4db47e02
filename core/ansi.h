// Conversions between the UTF-8 of the sources and the system's 8-bit code page (Windows).
#pragma once
#include <string>
#include <string_view>

namespace pelmaro {
// Between two Windows code pages; with `estricto`, text that is not valid in `desde` comes
// back unchanged.
std::string ConvertirPagina(std::string_view texto, unsigned desde, unsigned hacia, bool estricto = false);
std::string Utf8AAnsi(std::string_view utf8);
std::string AnsiAUtf8(std::string_view ansi);
}  // namespace pelmaro
