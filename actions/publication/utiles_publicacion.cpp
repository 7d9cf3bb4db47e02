#include "actions/publication/utiles_publicacion.h"

#include <cstdio>

#include "core/texto.h"

namespace pelmaro {

std::uint32_t TGeneradorAleatorio::Siguiente(std::uint32_t k) {
  estado_ = estado_ * 134775813u + 1u;
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(estado_) * k) >> 32);
}

std::int32_t TGeneradorAleatorio::Entre(std::int32_t a, std::int32_t b) {
  std::uint32_t ua = static_cast<std::uint32_t>(a), ub = static_cast<std::uint32_t>(b);
  std::uint32_t n = b < a ? ub + Siguiente(ua - ub) : ua + Siguiente(ub - ua);
  return static_cast<std::int32_t>(n);
}

std::vector<std::string> DividirLineas(std::string_view texto) {
  std::vector<std::string> lineas;
  std::size_t inicio = 0;
  for (std::size_t i = 0; i < texto.size(); ++i) {
    if (texto[i] != '\r' && texto[i] != '\n') continue;
    lineas.emplace_back(texto.substr(inicio, i - inicio));
    if (texto[i] == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n') ++i;
    inicio = i + 1;
  }
  if (inicio < texto.size()) lineas.emplace_back(texto.substr(inicio));
  return lineas;
}

std::int32_t EnteroInicial(std::string_view texto) {
  if (auto v = LeerEnteroOpcional(texto)) return *v;
  // Only the leading blanks, sign, prefix and digits can make an accepted prefix.
  std::size_t fin = 0;
  while (fin < texto.size() && texto[fin] == ' ') ++fin;
  if (fin < texto.size() && (texto[fin] == '+' || texto[fin] == '-')) ++fin;
  if (fin < texto.size() && (texto[fin] == '$' || texto[fin] == 'x' || texto[fin] == 'X')) ++fin;
  else if (fin + 1 < texto.size() && texto[fin] == '0' && (texto[fin + 1] == 'x' || texto[fin + 1] == 'X')) fin += 2;
  while (fin < texto.size() && ValorHexadecimal(texto[fin]) >= 0) ++fin;
  for (std::size_t n = fin; n > 0; --n)
    if (auto v = LeerEnteroOpcional(texto.substr(0, n))) return *v;
  return 0;
}

std::string LineaColor(int indice, const std::string& valor) {
  std::string letra(1, static_cast<char>('A' + indice));
  return Formatear("color%s=%s", letra, valor.empty() ? kTextoColorVacio : valor);
}

std::uint32_t ValorLineaColor(std::string_view linea) {
  std::size_t igual = linea.find('=');
  std::string_view valor = igual == std::string_view::npos ? std::string_view() : linea.substr(igual + 1);
  if (valor.empty() || valor.size() > 8) return kColorVacio;
  std::uint32_t v = 0;
  for (char c : valor) {
    int d = ValorHexadecimal(c);
    if (d < 0) return kColorVacio;
    v = v * 16 + static_cast<std::uint32_t>(d);
  }
  return v;
}

std::string TextoColorPersonalizado(std::uint32_t valor) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%.6X", static_cast<unsigned>(valor));
  return buffer;
}

}  // namespace pelmaro
