// Platform-free pieces of the publication and dialog actions: the random generator, the lines
// of an action file, the leading number of a context text and the custom-colour slots.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pelmaro {

// The linear congruential generator of krNumeroAleatorio. Its state starts at 0, so every
// load of the library draws the same sequence.
class TGeneradorAleatorio {
 public:
  // S = S * 134775813 + 1; answers the upper half of S * k (0 <= answer < k; 0 when k is 0).
  std::uint32_t Siguiente(std::uint32_t k);
  // A number from the smaller bound inclusive to the larger exclusive (32-bit wrap-around).
  std::int32_t Entre(std::int32_t a, std::int32_t b);

 private:
  std::uint32_t estado_ = 0;
};

// The lines of a text: they end at CR LF, CR or LF; a final line end adds no empty line.
std::vector<std::string> DividirLineas(std::string_view texto);

// The integer a context text starts with: the whole text when it is an integer text, else the
// longest leading part that is one, else 0 ("12a" is 12).
std::int32_t EnteroInicial(std::string_view texto);

// Custom colours of the colour dialog: 16 slots, A to P, as "colorA=..." lines holding the
// colour value (red in the low byte) in hexadecimal.
inline constexpr int kColoresPersonalizados = 16;
inline constexpr std::uint32_t kColorVacio = 0xFFFFFFFFu;
inline constexpr const char* kTextoColorVacio = "FFFFFFFF";
// The line of slot i (0 is A) for a host value; the empty value is the empty slot.
std::string LineaColor(int indice, const std::string& valor);
// The value of a slot line ("colorA=FF"); a value that is not 1 to 8 hexadecimal digits is
// the empty slot.
std::uint32_t ValorLineaColor(std::string_view linea);
// A slot value as the host keeps it: at least six upper-case hexadecimal digits.
std::string TextoColorPersonalizado(std::uint32_t valor);

}  // namespace pelmaro
