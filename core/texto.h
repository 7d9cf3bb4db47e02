// Text forms shared by parameters and results: integers, booleans, colours, fonts, font
// styles, character sets, splitting and quoting. Platform-free; 8-bit texts throughout.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelmaro {

// Integer texts: optional leading spaces, an optional sign, then decimal digits, or
// hexadecimal digits after "$", "x", "X", "0x" or "0X". Anything else is rejected.
// Decimal values must fit a signed 32-bit integer; hexadecimal ones 32 bits (they wrap,
// so "$FFFFFFFF" is -1).
std::optional<std::int32_t> LeerEnteroOpcional(std::string_view texto);
// The same, raising EConvertError("'<texto>' is not a valid integer value") on rejection.
std::int32_t LeerEntero(std::string_view texto);
// The same, giving `defecto` on rejection.
std::int32_t LeerEnteroODefecto(std::string_view texto, std::int32_t defecto);
std::string EnteroATexto(std::int64_t valor);
// The value of one hexadecimal digit (0-9, A-F, a-f), or -1.
int ValorHexadecimal(char c);

// Boolean texts. Results are always written as these two.
inline constexpr const char* kVerdadero = "True";
inline constexpr const char* kFalso = "False";
bool EsVerdadero(const char* texto);  // exactly "True" or "Checked"
bool EsFalso(const char* texto);      // exactly "False", empty, or null
inline const char* TextoBooleano(bool valor) { return valor ? kVerdadero : kFalso; }

// Splits at every occurrence of `separador`; always one more piece than separators.
std::vector<std::string> DividirCadena(std::string_view separador, std::string_view texto);

// Blanks and control characters (bytes up to 32) removed from both ends.
std::string Recortar(std::string_view texto);

// Colours: "R,G,B" <-> B*65536 + G*256 + R.
std::uint32_t TextoAColor(std::string_view texto);
std::string ColorATexto(std::uint32_t color);

// The system colour that default fonts use (window text).
inline constexpr std::uint32_t kColorTextoVentana = 0x80000008u;

enum Estilo : unsigned {
  kNegrita = 1,
  kCursiva = 2,
  kSubrayado = 4,
  kTachado = 8,
};
unsigned TextoAEstilo(std::string_view texto);
std::string EstiloATexto(unsigned estilos);

std::uint8_t TextoACharset(std::string_view nombre);
std::string CharsetATexto(int numero);

// A font as the actions and dialogs describe it; the Windows side makes a LOGFONT of it.
struct DescripcionFuente {
  std::string nombre = "Tahoma";
  std::int32_t tamanyo = 8;  // points
  std::uint32_t color = kColorTextoVentana;
  unsigned estilos = 0;
  std::uint8_t charset = 1;  // DEFAULT_CHARSET
};
// "Name|Size|R,G,B[|Styles]"; with fewer than three pieces every default stays.
DescripcionFuente TextoAFuente(std::string_view texto);
std::string FuenteATexto(const DescripcionFuente& fuente);

// Every double quote replaced by "[#34]".
std::string EscaparComillas(std::string_view texto);

// printf-like filling of a single "%s" or "%d" in a fixed text.
std::string Formatear(std::string_view formato, std::string_view valor);
std::string Formatear(std::string_view formato, std::string_view a, std::string_view b);

}  // namespace pelmaro
