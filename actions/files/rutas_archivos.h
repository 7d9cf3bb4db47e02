// Text rules of the file actions that need no system: path pieces, output names, the time
// pattern of date texts. Platform-free; 8-bit texts in the system code page.
#pragma once
#include <string>
#include <string_view>

namespace pelmaro {

// The folder part of a path: up to and including its last "\" or ":"; empty without either.
std::string CarpetaDeRuta(std::string_view ruta);

// The folder with one "\" at its end (added only when it does not end with one).
std::string ConBarraFinal(std::string_view carpeta);

// The shortcut file: folder, "\", name and ".lnk" (the name is used as given).
std::string NombreAccesoDirecto(std::string_view carpeta, std::string_view nombre);

// The file of the icon at an index: folder, "\", the index in decimal, ".ico".
std::string NombreIcono(std::string_view carpeta, int indice);

// What the long time pattern is built from (the locale's settings).
struct AjustesHora {
  std::string separador = ":";
  bool ceroInicial = false;  // hours with two digits
  bool doceHoras = false;    // 12-hour clock with the AM/PM text
  bool marcaDelante = false; // the AM/PM text before the time
};

// The long time pattern in the system's time-format picture notation (h/H, mm, ss, tt);
// the separator is quoted as a literal.
std::string PatronHora(const AjustesHora& ajustes);

}  // namespace pelmaro
