// MISTY1 (Mitsuru Matsui, FSE 1997) as described in RFC 2994: 64-bit block, 128-bit key,
// the recommended 8 rounds. Platform-free. Blocks and keys are big-endian 16-bit words,
// as in the RFC; the first four bytes of a block are its left half.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

#include "actions/hashes/primitivas/bloque.h"

namespace pelmaro::cifrado {

class Misty1 final : public CifradorBloque {
public:
    static constexpr std::size_t kLongitudClave = 16;

    // Throws std::invalid_argument unless `longitud` is 16.
    Misty1(const std::uint8_t* clave, std::size_t longitud);
    ~Misty1() override;
    Misty1(const Misty1&) = default;
    Misty1& operator=(const Misty1&) = default;

    std::size_t TamanyoBloque() const override { return 8; }
    void Cifrar(const std::uint8_t* entrada, std::uint8_t* salida) const override;
    void Descifrar(const std::uint8_t* entrada, std::uint8_t* salida) const override;
    void Borrar() override;

private:
    std::uint32_t FO(std::uint32_t entrada, unsigned k) const;
    std::uint32_t FL(std::uint32_t entrada, unsigned k) const;
    std::uint32_t FLInversa(std::uint32_t entrada, unsigned k) const;

    // The expanded key EK[0..31] of the RFC: the key words, their FI images, and the
    // low 9 and high 7 bits of those images.
    std::array<std::uint16_t, 32> ek_{};
};

}  // namespace pelmaro::cifrado
