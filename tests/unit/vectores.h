// The known answers of the enciphering data format (tests/datos/cipher-vectors.tsv), read
// once for every test that checks against them. The folder is the repository's own, or the
// one PELMARO_TESTDATA names. A file that cannot be read is a failure, never a skip.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace vectores {

struct Fila {
  std::string tipo;  // key, iv, text or file
  int alg = -1;
  int digest = -1;
  std::vector<std::uint8_t> frase;
  std::string entrada;  // as written: a length, or hexadecimal bytes
  std::string salida;
};

inline std::vector<std::uint8_t> BytesDeHex(const std::string& h) {
  std::vector<std::uint8_t> b;
  for (std::size_t i = 0; i + 1 < h.size(); i += 2)
    b.push_back(static_cast<std::uint8_t>(std::stoi(h.substr(i, 2), nullptr, 16)));
  return b;
}

inline std::string Carpeta() {
  const char* c = std::getenv("PELMARO_TESTDATA");
  return c && *c ? c : PELMARO_DATOS_PRUEBA;
}

inline const std::vector<Fila>& Filas() {
  static const std::vector<Fila> filas = [] {
    const std::string ruta = Carpeta() + "/cipher-vectors.tsv";
    std::ifstream archivo(ruta);
    if (!archivo) throw std::runtime_error("cannot open " + ruta);
    std::vector<Fila> v;
    std::string linea;
    std::getline(archivo, linea);  // header
    while (std::getline(archivo, linea)) {
      if (!linea.empty() && linea.back() == '\r') linea.pop_back();
      if (linea.empty()) continue;
      std::vector<std::string> campos;
      for (std::size_t inicio = 0;;) {
        std::size_t tab = linea.find('\t', inicio);
        campos.push_back(linea.substr(inicio, tab - inicio));
        if (tab == std::string::npos) break;
        inicio = tab + 1;
      }
      if (campos.size() != 6) throw std::runtime_error("malformed row in " + ruta + ": " + linea);
      v.push_back({campos[0], std::stoi(campos[1]), std::stoi(campos[2]), BytesDeHex(campos[3]), campos[4], campos[5]});
    }
    if (v.empty()) throw std::runtime_error(ruta + " holds no rows");
    return v;
  }();
  return filas;
}

}  // namespace vectores
