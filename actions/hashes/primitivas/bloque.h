// Common interface of the block ciphers used by the text and file encryption actions.
// Platform-free. A cipher object holds one key schedule; Cifrar and Descifrar work on one
// block and may be given the same buffer as entrada and salida.
#pragma once
#include <cstddef>
#include <cstdint>

namespace pelmaro::cifrado {

class CifradorBloque {
public:
    virtual ~CifradorBloque() = default;
    virtual std::size_t TamanyoBloque() const = 0;  // bytes: 8 or 16
    virtual void Cifrar(const std::uint8_t* entrada, std::uint8_t* salida) const = 0;
    virtual void Descifrar(const std::uint8_t* entrada, std::uint8_t* salida) const = 0;
    virtual void Borrar() = 0;  // wipes the key schedule
};

namespace detalle {

// Zeroes `n` bytes through a volatile pointer so the stores are not optimised away when
// the memory is about to be released.
inline void BorrarMemoria(void* p, std::size_t n) {
    volatile std::uint8_t* q = static_cast<volatile std::uint8_t*>(p);
    while (n-- > 0) *q++ = 0;
}

inline std::uint32_t RotarIzq(std::uint32_t x, unsigned n) {
    n &= 31;
    return n == 0 ? x : (x << n) | (x >> (32 - n));
}

inline std::uint32_t RotarDer(std::uint32_t x, unsigned n) {
    n &= 31;
    return n == 0 ? x : (x >> n) | (x << (32 - n));
}

inline std::uint32_t LeerLE32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

inline void EscribirLE32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v);
    p[1] = std::uint8_t(v >> 8);
    p[2] = std::uint8_t(v >> 16);
    p[3] = std::uint8_t(v >> 24);
}

inline std::uint32_t LeerBE32(const std::uint8_t* p) {
    return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) |
           (std::uint32_t(p[2]) << 8) | std::uint32_t(p[3]);
}

inline void EscribirBE32(std::uint8_t* p, std::uint32_t v) {
    p[0] = std::uint8_t(v >> 24);
    p[1] = std::uint8_t(v >> 16);
    p[2] = std::uint8_t(v >> 8);
    p[3] = std::uint8_t(v);
}

}  // namespace detalle
}  // namespace pelmaro::cifrado
