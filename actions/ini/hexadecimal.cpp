#include "actions/ini/hexadecimal.h"

#include "core/texto.h"

namespace pelmaro {
std::string CodificarHexadecimal(std::string_view valor) {
  static const char kDigitos[] = "0123456789ABCDEF";
  std::string texto;
  texto.reserve(valor.size() * 2);
  for (unsigned char b : valor) {
    texto += kDigitos[b >> 4];
    texto += kDigitos[b & 15];
  }
  return texto;
}

std::string DecodificarHexadecimal(std::string_view texto) {
  std::string valor;
  valor.reserve(texto.size() / 2);
  for (std::size_t i = 0; i + 1 < texto.size(); i += 2) {
    int alto = ValorHexadecimal(texto[i]), bajo = ValorHexadecimal(texto[i + 1]);
    if (alto < 0 || bajo < 0) break;
    valor += static_cast<char>(alto * 16 + bajo);
  }
  return valor;
}

std::vector<std::string> NombresSeparadosPorCeros(const char* buffer, std::size_t longitud) {
  std::vector<std::string> nombres;
  std::size_t i = 0;
  while (i < longitud && buffer[i]) {
    std::size_t inicio = i;
    while (i < longitud && buffer[i]) ++i;
    nombres.emplace_back(buffer + inicio, i - inicio);
    ++i;
  }
  return nombres;
}

}  // namespace pelmaro
