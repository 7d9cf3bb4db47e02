// MARS (IBM, AES submission of August 1998): 128-bit block, keys of 4 to 39 32-bit words
// (16 to 156 bytes, any multiple of 4) used whole. Platform-free.
//
// This is the key expansion of the 1998 submission, which is what the plug-in's data
// format needs; the revised expansion of 1999 (keys of 4 to 14 words), which most
// libraries implement, gives other subkeys and so other ciphertexts. The data path is the
// same in both.
//
// Byte order: little-endian 32-bit words throughout, as in the submission's reference
// code. Key word i is key bytes 4i..4i+3 with byte 4i least significant; block bytes
// 4i..4i+3 are data word D[i] the same way.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "actions/hashes/primitivas/bloque.h"

namespace pelmaro::cifrado {

class Mars final : public CifradorBloque {
public:
    static constexpr std::size_t kClaveMinima = 16;   // bytes
    static constexpr std::size_t kClaveMaxima = 156;  // bytes

    // Throws std::invalid_argument unless `longitud` is a multiple of 4 from 16 to 156.
    Mars(const std::uint8_t* clave, std::size_t longitud);
    ~Mars() override;
    Mars(const Mars&) = default;
    Mars& operator=(const Mars&) = default;

    std::size_t TamanyoBloque() const override { return 16; }
    void Cifrar(const std::uint8_t* entrada, std::uint8_t* salida) const override;
    void Descifrar(const std::uint8_t* entrada, std::uint8_t* salida) const override;
    void Borrar() override;

private:
    std::array<std::uint32_t, 40> k_{};  // K[0..3] and K[36..39] whiten, K[4..35] are the core's
};

namespace detalle {

// The mask of the multiplication key fix-up: the bits of `w`, from bit 2 up, that lie
// inside a run of ten or more equal bits and equal both neighbours (bit 31 counting as
// inside a run of zeros that reaches the top). The key expansion replaces those bits.
std::uint32_t MascaraDeRachasMars(std::uint32_t w);

}  // namespace detalle
}  // namespace pelmaro::cifrado
