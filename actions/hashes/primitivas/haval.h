// HAVAL message digest (Zheng, Pieprzyk and Seberry, AUSCRYPT'92), version 1: 3, 4 or 5
// passes and a 128, 160, 192, 224 or 256-bit result. Platform-free.
//
// Byte conventions are those of the designers' reference code: message words are read
// little-endian, the padding starts with the byte 0x01, the closing 10 bytes hold
// version/passes/length and the message length in bits (little-endian), and the result
// is the folded state written as little-endian words. The plug-in's key digest 0 is
// HAVAL-256 with 5 passes.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelmaro::cifrado {

class Haval {
public:
    // Throws std::invalid_argument unless pasadas is 3, 4 or 5 and bits is 128, 160,
    // 192, 224 or 256.
    explicit Haval(unsigned pasadas = 5, unsigned bits = 256);
    ~Haval();
    Haval(const Haval&) = default;
    Haval& operator=(const Haval&) = default;

    unsigned Pasadas() const { return pasadas_; }
    unsigned BitsResumen() const { return bits_; }
    std::size_t TamanyoResumen() const { return bits_ / 8; }  // bytes

    // Starts a new message (the constructor and Finalizar already do this).
    void Reiniciar();
    // Adds `longitud` bytes of the message; `datos` may be null when longitud is 0.
    void Actualizar(const std::uint8_t* datos, std::size_t longitud);
    // Writes TamanyoResumen() bytes to `salida` and starts a new message.
    void Finalizar(std::uint8_t* salida);

    // One-shot digest of a whole message.
    static std::vector<std::uint8_t> Resumir(const std::uint8_t* datos, std::size_t longitud,
                                             unsigned pasadas = 5, unsigned bits = 256);

private:
    void ProcesarBloque(const std::uint8_t* bloque);
    void Plegar();

    unsigned pasadas_;
    unsigned bits_;
    std::array<std::uint32_t, 8> estado_{};
    std::array<std::uint8_t, 128> pendiente_{};  // bytes of a block not yet complete
    std::size_t usados_ = 0;                     // how many of pendiente_ are filled
    std::uint64_t longitudBits_ = 0;             // message length so far, modulo 2^64
};

}  // namespace pelmaro::cifrado
