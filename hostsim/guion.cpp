#include "hostsim/guion.h"

#include <cctype>

namespace nbhost {
namespace {

char Minuscula(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

std::string Recortar(const std::string& t) {
  std::size_t a = 0, b = t.size();
  while (a < b && static_cast<unsigned char>(t[a]) <= 32) ++a;
  while (b > a && static_cast<unsigned char>(t[b - 1]) <= 32) --b;
  return t.substr(a, b - a);
}

}  // namespace

bool MenorSinCaso::operator()(const std::string& a, const std::string& b) const {
  std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    char x = Minuscula(a[i]), y = Minuscula(b[i]);
    if (x != y) return x < y;
  }
  return a.size() < b.size();
}

bool IgualesSinCaso(const std::string& a, const std::string& b) {
  MenorSinCaso menor;
  return !menor(a, b) && !menor(b, a);
}

LineaGuion AnalizarLinea(const std::string& texto, int numero) {
  LineaGuion linea;
  linea.numero = numero;
  linea.original = Recortar(texto);
  const std::string& t = linea.original;
  if (t.empty() || t[0] == ';' || t.compare(0, 2, "//") == 0) return linea;
  std::size_t i = 0;
  while (i < t.size() && !std::isspace(static_cast<unsigned char>(t[i]))) ++i;
  linea.orden = t.substr(0, i);
  while (i < t.size()) {
    while (i < t.size() && std::isspace(static_cast<unsigned char>(t[i]))) ++i;
    if (i == t.size()) break;
    Argumento arg;
    if (t[i] == '"') {
      std::size_t fin = t.find('"', i + 1);
      if (fin == std::string::npos) throw ErrorGuion(numero, "a text is not closed with a double quote");
      arg.texto = t.substr(i + 1, fin - i - 1);
      arg.citado = true;
      i = fin + 1;
      if (i < t.size() && !std::isspace(static_cast<unsigned char>(t[i])))
        throw ErrorGuion(numero, "a closing double quote must be followed by a space");
    } else {
      std::size_t inicio = i;
      while (i < t.size() && !std::isspace(static_cast<unsigned char>(t[i]))) ++i;
      arg.texto = t.substr(inicio, i - inicio);
    }
    linea.argumentos.push_back(arg);
  }
  return linea;
}

Guion AnalizarGuion(const std::string& texto) {
  Guion guion;
  std::vector<LineaGuion>* destino = &guion.principal;
  std::string subrutina;
  int inicioSubrutina = 0;
  int numero = 0;
  std::size_t pos = 0;
  while (pos <= texto.size()) {
    std::size_t fin = texto.find('\n', pos);
    if (fin == std::string::npos) fin = texto.size();
    LineaGuion linea = AnalizarLinea(texto.substr(pos, fin - pos), ++numero);
    pos = fin + 1;
    if (linea.orden.empty()) continue;
    if (linea.orden[0] == ':') {
      if (!subrutina.empty())
        throw ErrorGuion(numero, "subroutine :" + subrutina + " (line " + std::to_string(inicioSubrutina) +
                                     ") has no Return before the next one");
      subrutina = linea.orden.substr(1);
      if (subrutina.empty()) throw ErrorGuion(numero, "a subroutine needs a name after the colon");
      if (guion.subrutinas.count(subrutina)) throw ErrorGuion(numero, "subroutine :" + subrutina + " is written twice");
      inicioSubrutina = numero;
      guion.nombresSubrutinas.push_back(subrutina);
      destino = &guion.subrutinas[subrutina];
      continue;
    }
    if (IgualesSinCaso(linea.orden, "Return") && !subrutina.empty()) {
      subrutina.clear();
      destino = &guion.principal;
      continue;
    }
    destino->push_back(linea);
  }
  if (!subrutina.empty())
    throw ErrorGuion(inicioSubrutina, "subroutine :" + subrutina + " has no Return");
  return guion;
}

std::string Expandir(const std::string& texto, const std::function<std::string(const std::string&)>& variable) {
  std::string salida;
  std::size_t i = 0;
  while (i < texto.size()) {
    std::size_t abre = texto.find('[', i);
    if (abre == std::string::npos) break;
    std::size_t cierra = texto.find(']', abre + 1);
    if (cierra == std::string::npos) break;
    salida.append(texto, i, abre - i);
    std::string nombre = texto.substr(abre + 1, cierra - abre - 1);
    bool codigo = nombre.size() > 1 && nombre[0] == '#' &&
                  nombre.find_first_not_of("0123456789", 1) == std::string::npos && nombre.size() <= 4;
    if (codigo) salida += static_cast<char>(std::stoi(nombre.substr(1)) & 0xFF);
    else salida += variable(nombre);
    i = cierra + 1;
  }
  salida.append(texto, i, std::string::npos);
  return salida;
}

std::string NombreDeVariable(const std::string& texto) {
  if (texto.size() >= 2 && texto.front() == '[' && texto.back() == ']') return texto.substr(1, texto.size() - 2);
  return texto;
}

}  // namespace nbhost
