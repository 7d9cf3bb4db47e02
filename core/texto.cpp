#include "core/texto.h"

#include "core/errores.h"

namespace pelmaro {
namespace {

struct Charset {
  const char* nombre;
  int numero;
};

const Charset kCharsets[] = {
    {"ANSI_CHARSET", 0},        {"DEFAULT_CHARSET", 1},      {"SYMBOL_CHARSET", 2},
    {"SHIFTJIS_CHARSET", 128},  {"HANGEUL_CHARSET", 129},    {"JOHAB_CHARSET", 130},
    {"GB2312_CHARSET", 134},    {"CHINESEBIG5_CHARSET", 136}, {"GREEK_CHARSET", 161},
    {"TURKISH_CHARSET", 162},   {"VIETNAMESE_CHARSET", 163}, {"HEBREW_CHARSET", 177},
    {"ARABIC_CHARSET", 178},    {"RUSSIAN_CHARSET", 204},    {"THAI_CHARSET", 222},
    {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
};

struct NombreEstilo {
  unsigned estilo;
  const char* nombre;
};

const NombreEstilo kEstilos[] = {
    {kNegrita, "Bold"}, {kCursiva, "Italic"}, {kSubrayado, "Underline"}, {kTachado, "Strikeout"}};

}  // namespace

int ValorHexadecimal(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::int32_t> LeerEnteroOpcional(std::string_view t) {
  std::size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  bool negativo = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negativo = t[i++] == '-';
  bool hex = false;
  if (i < t.size() && (t[i] == '$' || t[i] == 'x' || t[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == t.size()) return std::nullopt;
  std::uint64_t valor = 0;
  for (; i < t.size(); ++i) {
    int d = hex ? ValorHexadecimal(t[i]) : (t[i] >= '0' && t[i] <= '9' ? t[i] - '0' : -1);
    if (d < 0) return std::nullopt;
    valor = valor * (hex ? 16 : 10) + static_cast<unsigned>(d);
    if (valor > 0xFFFFFFFFull) return std::nullopt;
  }
  if (hex) {
    std::uint32_t v = static_cast<std::uint32_t>(valor);
    if (negativo) v = 0u - v;
    return static_cast<std::int32_t>(v);
  }
  if (negativo) {
    if (valor > 2147483648ull) return std::nullopt;
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(valor));
  }
  if (valor > 2147483647ull) return std::nullopt;
  return static_cast<std::int32_t>(valor);
}

std::int32_t LeerEntero(std::string_view texto) {
  if (auto v = LeerEnteroOpcional(texto)) return *v;
  throw EConvertError(Formatear(kFormatoEnteroInvalido, texto));
}

std::int32_t LeerEnteroODefecto(std::string_view texto, std::int32_t defecto) {
  return LeerEnteroOpcional(texto).value_or(defecto);
}

std::string EnteroATexto(std::int64_t valor) { return std::to_string(valor); }

bool EsVerdadero(const char* texto) {
  if (!texto) return false;
  std::string_view t(texto);
  return t == "True" || t == "Checked";
}

bool EsFalso(const char* texto) {
  if (!texto) return true;
  std::string_view t(texto);
  return t.empty() || t == "False";
}

std::vector<std::string> DividirCadena(std::string_view separador, std::string_view texto) {
  std::vector<std::string> piezas;
  if (separador.empty()) {
    piezas.emplace_back(texto);
    return piezas;
  }
  std::size_t p;
  while ((p = texto.find(separador)) != std::string_view::npos) {
    piezas.emplace_back(texto.substr(0, p));
    texto.remove_prefix(p + separador.size());
  }
  piezas.emplace_back(texto);
  return piezas;
}

std::string Recortar(std::string_view t) {
  auto blanco = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!t.empty() && blanco(t.front())) t.remove_prefix(1);
  while (!t.empty() && blanco(t.back())) t.remove_suffix(1);
  return std::string(t);
}

std::uint32_t TextoAColor(std::string_view texto) {
  auto piezas = DividirCadena(",", texto);
  if (piezas.size() != 3) return 0;
  std::uint32_t r = static_cast<std::uint32_t>(LeerEnteroODefecto(piezas[0], 0));
  std::uint32_t g = static_cast<std::uint32_t>(LeerEnteroODefecto(piezas[1], 0));
  std::uint32_t b = static_cast<std::uint32_t>(LeerEnteroODefecto(piezas[2], 0));
  return b * 65536u + g * 256u + r;
}

std::string ColorATexto(std::uint32_t v) {
  std::int64_t r, g, b;
  if (v <= 0x7FFFFFFFu) {
    r = v % 256;
    g = (v / 256) % 256;
    b = v / 65536;
  } else if (v - 0x80000000u < 65536u) {
    std::uint32_t resto = v - 0x80000000u;
    r = resto % 256;
    g = resto / 256;
    b = 32768;
  } else {
    r = static_cast<std::int32_t>(v);
    g = 0;
    b = 0;
  }
  return EnteroATexto(r) + "," + EnteroATexto(g) + "," + EnteroATexto(b);
}

unsigned TextoAEstilo(std::string_view texto) {
  unsigned estilos = 0;
  for (const auto& e : kEstilos)
    if (texto.find(e.nombre) != std::string_view::npos) estilos |= e.estilo;
  return estilos;
}

std::string EstiloATexto(unsigned estilos) {
  std::string texto;
  for (const auto& e : kEstilos) {
    if (!(estilos & e.estilo)) continue;
    if (!texto.empty()) texto += '+';
    texto += e.nombre;
  }
  return texto;
}

std::uint8_t TextoACharset(std::string_view nombre) {
  for (const auto& c : kCharsets)
    if (nombre == c.nombre) return static_cast<std::uint8_t>(c.numero);
  return 1;
}

std::string CharsetATexto(int numero) {
  for (const auto& c : kCharsets)
    if (numero == c.numero) return c.nombre;
  return "DEFAULT_CHARSET";
}

DescripcionFuente TextoAFuente(std::string_view texto) {
  DescripcionFuente f;
  auto piezas = DividirCadena("|", texto);
  if (piezas.size() >= 3) {
    f.nombre = piezas[0];
    f.tamanyo = LeerEnteroODefecto(piezas[1], 10);
    f.color = TextoAColor(piezas[2]);
  }
  if (piezas.size() == 4) f.estilos = TextoAEstilo(piezas[3]);
  return f;
}

std::string FuenteATexto(const DescripcionFuente& f) {
  std::string texto = f.nombre + "|" + EnteroATexto(f.tamanyo) + "|" + ColorATexto(f.color);
  if (f.estilos) texto += "|" + EstiloATexto(f.estilos);
  return texto;
}

std::string EscaparComillas(std::string_view texto) {
  std::string salida;
  salida.reserve(texto.size());
  for (char c : texto) {
    if (c == '"') salida += "[#34]";
    else salida += c;
  }
  return salida;
}

namespace {
std::string FormatearVarios(std::string_view formato, std::initializer_list<std::string_view> valores) {
  std::string salida;
  auto siguiente = valores.begin();
  for (std::size_t i = 0; i < formato.size(); ++i) {
    if (formato[i] == '%' && i + 1 < formato.size() && (formato[i + 1] == 's' || formato[i + 1] == 'd') &&
        siguiente != valores.end()) {
      salida += *siguiente++;
      ++i;
    } else {
      salida += formato[i];
    }
  }
  return salida;
}
}  // namespace

std::string Formatear(std::string_view formato, std::string_view valor) {
  return FormatearVarios(formato, {valor});
}
std::string Formatear(std::string_view formato, std::string_view a, std::string_view b) {
  return FormatearVarios(formato, {a, b});
}

}  // namespace pelmaro
