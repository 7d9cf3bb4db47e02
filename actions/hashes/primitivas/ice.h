// ICE (Information Concealment Engine, Matthew Kwan, FSE 1997): a 64-bit Feistel cipher
// with a keyed bit permutation in its round function. Platform-free.
//
// Level 0 is Thin-ICE (8 rounds, 8-byte key), level 1 is ICE (16 rounds, 8-byte key) and
// level n >= 2 is ICE-n (16n rounds, 8n-byte key). Blocks and keys are big-endian, as
// in the designer's description: the first four bytes of a block are its left half.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "actions/hashes/primitivas/bloque.h"

namespace pelmaro::cifrado {

class Ice final : public CifradorBloque {
public:
    // Throws std::invalid_argument unless `longitud` is 8 * max(nivel, 1).
    Ice(const std::uint8_t* clave, std::size_t longitud, unsigned nivel = 1);
    ~Ice() override;
    Ice(const Ice&) = default;
    Ice& operator=(const Ice&) = default;

    unsigned Nivel() const { return nivel_; }
    std::size_t Rondas() const { return subclaves_.size(); }

    std::size_t TamanyoBloque() const override { return 8; }
    void Cifrar(const std::uint8_t* entrada, std::uint8_t* salida) const override;
    void Descifrar(const std::uint8_t* entrada, std::uint8_t* salida) const override;
    void Borrar() override;

private:
    // One round's subkey: the XOR masks of the left and right 20-bit halves of the
    // expanded input, and the 20-bit keyed permutation that swaps bits between them.
    using Subclave = std::array<std::uint32_t, 3>;

    void Construir(std::uint16_t (&bloques)[4], std::size_t primera, const int* giros);

    unsigned nivel_;
    std::vector<Subclave> subclaves_;
};

}  // namespace pelmaro::cifrado
