// Values stored as hexadecimal text in INI files, and the name lists the profile functions
// return. Platform-free.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pelmaro {

// Each byte as two upper-case hexadecimal digits, high nibble first.
std::string CodificarHexadecimal(std::string_view valor);
// Pairs from the start (0-9, A-F, a-f); an odd last character is ignored; decoding stops at
// the first pair that holds any other character.
std::string DecodificarHexadecimal(std::string_view texto);

// Names separated by zero bytes in the first `longitud` bytes of `buffer`, up to the first
// empty name.
std::vector<std::string> NombresSeparadosPorCeros(const char* buffer, std::size_t longitud);

}  // namespace pelmaro
