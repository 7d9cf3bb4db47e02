// HAVAL, written from the AUSCRYPT'92 paper. Each pass p (0-based) runs 32 steps over the
// eight state words; step s updates one word from a Boolean function of the other seven,
// that word rotated, message word ord_p[s] and a constant. The constants are the
// hexadecimal digits of the fractional part of pi that follow the eight used for the
// initial state (32 words per pass from the second pass on).
#include "actions/hashes/primitivas/haval.h"

#include <cstring>
#include <stdexcept>

#include "actions/hashes/primitivas/bloque.h"

namespace pelmaro::cifrado {
namespace {

using detalle::BorrarMemoria;
using detalle::EscribirLE32;
using detalle::LeerLE32;
using detalle::RotarDer;

constexpr unsigned kVersion = 1;

constexpr std::uint32_t kEstadoInicial[8] = {
    0x243F6A88, 0x85A308D3, 0x13198A2E, 0x03707344,
    0xA4093822, 0x299F31D0, 0x082EFA98, 0xEC4E6C89,
};

// Message word read at each step of each pass.
constexpr std::uint8_t kOrden[5][32] = {
    {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15,
     16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31},
    {5,  14, 26, 18, 11, 28, 7,  16, 0,  23, 20, 22, 1,  10, 4,  8,
     30, 3,  21, 9,  17, 24, 29, 6,  19, 12, 15, 13, 2,  25, 31, 27},
    {19, 9,  4,  20, 28, 17, 8,  22, 29, 14, 25, 12, 24, 30, 16, 26,
     31, 15, 7,  3,  1,  0,  18, 27, 13, 6,  21, 10, 23, 11, 5,  2},
    {24, 4,  0,  14, 2,  7,  28, 23, 26, 6,  30, 20, 18, 25, 19, 3,
     22, 11, 31, 21, 8,  27, 12, 9,  1,  29, 5,  15, 17, 10, 16, 13},
    {27, 3,  21, 26, 17, 11, 20, 29, 19, 0,  12, 7,  13, 8,  31, 10,
     5,  9,  14, 30, 18, 6,  28, 24, 2,  23, 16, 22, 4,  1,  25, 15},
};

// Constants of passes 2 to 5 (pass 1 adds none).
constexpr std::uint32_t kConstantes[4][32] = {
    {
        0x452821E6, 0x38D01377, 0xBE5466CF, 0x34E90C6C,
        0xC0AC29B7, 0xC97C50DD, 0x3F84D5B5, 0xB5470917,
        0x9216D5D9, 0x8979FB1B, 0xD1310BA6, 0x98DFB5AC,
        0x2FFD72DB, 0xD01ADFB7, 0xB8E1AFED, 0x6A267E96,
        0xBA7C9045, 0xF12C7F99, 0x24A19947, 0xB3916CF7,
        0x0801F2E2, 0x858EFC16, 0x636920D8, 0x71574E69,
        0xA458FEA3, 0xF4933D7E, 0x0D95748F, 0x728EB658,
        0x718BCD58, 0x82154AEE, 0x7B54A41D, 0xC25A59B5,
    },
    {
        0x9C30D539, 0x2AF26013, 0xC5D1B023, 0x286085F0,
        0xCA417918, 0xB8DB38EF, 0x8E79DCB0, 0x603A180E,
        0x6C9E0E8B, 0xB01E8A3E, 0xD71577C1, 0xBD314B27,
        0x78AF2FDA, 0x55605C60, 0xE65525F3, 0xAA55AB94,
        0x57489862, 0x63E81440, 0x55CA396A, 0x2AAB10B6,
        0xB4CC5C34, 0x1141E8CE, 0xA15486AF, 0x7C72E993,
        0xB3EE1411, 0x636FBC2A, 0x2BA9C55D, 0x741831F6,
        0xCE5C3E16, 0x9B87931E, 0xAFD6BA33, 0x6C24CF5C,
    },
    {
        0x7A325381, 0x28958677, 0x3B8F4898, 0x6B4BB9AF,
        0xC4BFE81B, 0x66282193, 0x61D809CC, 0xFB21A991,
        0x487CAC60, 0x5DEC8032, 0xEF845D5D, 0xE98575B1,
        0xDC262302, 0xEB651B88, 0x23893E81, 0xD396ACC5,
        0x0F6D6FF3, 0x83F44239, 0x2E0B4482, 0xA4842004,
        0x69C8F04A, 0x9E1F9B5E, 0x21C66842, 0xF6E96C9A,
        0x670C9C61, 0xABD388F0, 0x6A51A0D2, 0xD8542F68,
        0x960FA728, 0xAB5133A3, 0x6EEF0B6C, 0x137A3BE4,
    },
    {
        0xBA3BF050, 0x7EFB2A98, 0xA1F1651D, 0x39AF0176,
        0x66CA593E, 0x82430E88, 0x8CEE8619, 0x456F9FB4,
        0x7D84A5C3, 0x3B8B5EBE, 0xE06F75D8, 0x85C12073,
        0x401A449F, 0x56C16AA6, 0x4ED3AA62, 0x363F7706,
        0x1BFEDF72, 0x429B023D, 0x37D0D724, 0xD00A1248,
        0xDB0FEAD3, 0x49F1C09B, 0x075372C9, 0x80991B7B,
        0x25D479D8, 0xF6E8DEF7, 0xE3FE501A, 0xB6794C3B,
        0x976CE0BD, 0x04C006BA, 0xC1A94FB6, 0x409F60C4,
    },
};

// The permutations phi: for each number of passes (3, 4, 5) and each pass, which of the
// seven words x6..x0 goes to each argument (x6, x5, ..., x0) of the pass's function.
constexpr std::uint8_t kPhi[3][5][7] = {
    {{1, 0, 3, 5, 6, 2, 4}, {4, 2, 1, 0, 5, 3, 6}, {6, 1, 2, 3, 4, 5, 0}},
    {{2, 6, 1, 4, 5, 3, 0}, {3, 5, 2, 0, 1, 6, 4}, {1, 4, 3, 6, 0, 2, 5}, {6, 4, 0, 5, 2, 1, 3}},
    {{3, 4, 1, 0, 5, 2, 6},
     {6, 2, 1, 0, 3, 4, 5},
     {2, 6, 0, 4, 3, 1, 5},
     {1, 5, 3, 2, 0, 4, 6},
     {2, 5, 0, 6, 4, 3, 1}},
};

// The five Boolean functions, bitwise. Their algebraic normal forms are
//   f1 = x1x4 + x2x5 + x3x6 + x0x1 + x0
//   f2 = x1x2x3 + x2x4x5 + x1x2 + x1x4 + x2x6 + x3x5 + x4x5 + x0x2 + x0
//   f3 = x1x2x3 + x1x4 + x2x5 + x3x6 + x0x3 + x0
//   f4 = x1x2x3 + x2x4x5 + x3x4x6 + x1x4 + x2x6 + x3x4 + x3x5 + x3x6 + x4x5 + x4x6
//        + x0x4 + x0
//   f5 = x1x4 + x2x5 + x3x6 + x0x1x2x3 + x0x5 + x0
// (+ is XOR); below they are factored to save operations.
inline std::uint32_t F1(std::uint32_t x6, std::uint32_t x5, std::uint32_t x4, std::uint32_t x3,
                        std::uint32_t x2, std::uint32_t x1, std::uint32_t x0) {
    return (x1 & (x0 ^ x4)) ^ (x2 & x5) ^ (x3 & x6) ^ x0;
}
inline std::uint32_t F2(std::uint32_t x6, std::uint32_t x5, std::uint32_t x4, std::uint32_t x3,
                        std::uint32_t x2, std::uint32_t x1, std::uint32_t x0) {
    return (x2 & ((x1 & ~x3) ^ (x4 & x5) ^ x6 ^ x0)) ^ (x4 & (x1 ^ x5)) ^ (x3 & x5) ^ x0;
}
inline std::uint32_t F3(std::uint32_t x6, std::uint32_t x5, std::uint32_t x4, std::uint32_t x3,
                        std::uint32_t x2, std::uint32_t x1, std::uint32_t x0) {
    return (x3 & ((x1 & x2) ^ x6 ^ x0)) ^ (x1 & x4) ^ (x2 & x5) ^ x0;
}
inline std::uint32_t F4(std::uint32_t x6, std::uint32_t x5, std::uint32_t x4, std::uint32_t x3,
                        std::uint32_t x2, std::uint32_t x1, std::uint32_t x0) {
    return (x4 & ((x5 & ~x2) ^ (x3 & ~x6) ^ x1 ^ x6 ^ x0)) ^ (x3 & ((x1 & x2) ^ x5 ^ x6)) ^
           (x2 & x6) ^ x0;
}
inline std::uint32_t F5(std::uint32_t x6, std::uint32_t x5, std::uint32_t x4, std::uint32_t x3,
                        std::uint32_t x2, std::uint32_t x1, std::uint32_t x0) {
    return (x0 & ((x1 & x2 & x3) ^ ~x5)) ^ (x1 & x4) ^ (x2 & x5) ^ (x3 & x6);
}

std::uint32_t FuncionDePasada(unsigned pasada, const std::uint32_t (&a)[7]) {
    switch (pasada) {
        case 0: return F1(a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
        case 1: return F2(a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
        case 2: return F3(a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
        case 3: return F4(a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
        default: return F5(a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
    }
}

}  // namespace

Haval::Haval(unsigned pasadas, unsigned bits) : pasadas_(pasadas), bits_(bits) {
    if (pasadas < 3 || pasadas > 5)
        throw std::invalid_argument("HAVAL: the number of passes must be 3, 4 or 5");
    if (bits < 128 || bits > 256 || bits % 32 != 0)
        throw std::invalid_argument("HAVAL: the digest length must be 128, 160, 192, 224 or 256 bits");
    Reiniciar();
}

Haval::~Haval() {
    BorrarMemoria(estado_.data(), sizeof estado_);
    BorrarMemoria(pendiente_.data(), sizeof pendiente_);
}

void Haval::Reiniciar() {
    std::memcpy(estado_.data(), kEstadoInicial, sizeof estado_);
    BorrarMemoria(pendiente_.data(), sizeof pendiente_);
    usados_ = 0;
    longitudBits_ = 0;
}

void Haval::Actualizar(const std::uint8_t* datos, std::size_t longitud) {
    if (longitud == 0) return;
    longitudBits_ += std::uint64_t(longitud) << 3;
    if (usados_ > 0) {
        std::size_t toma = pendiente_.size() - usados_;
        if (toma > longitud) toma = longitud;
        std::memcpy(pendiente_.data() + usados_, datos, toma);
        usados_ += toma;
        datos += toma;
        longitud -= toma;
        if (usados_ < pendiente_.size()) return;
        ProcesarBloque(pendiente_.data());
        usados_ = 0;
    }
    for (; longitud >= pendiente_.size(); datos += pendiente_.size(), longitud -= pendiente_.size())
        ProcesarBloque(datos);
    if (longitud > 0) {
        std::memcpy(pendiente_.data(), datos, longitud);
        usados_ = longitud;
    }
}

void Haval::Finalizar(std::uint8_t* salida) {
    // Closing bytes: version, passes and digest length packed in 16 bits, then the
    // message length in bits.
    std::uint8_t cola[10];
    cola[0] = std::uint8_t(((bits_ & 0x3) << 6) | ((pasadas_ & 0x7) << 3) | (kVersion & 0x7));
    cola[1] = std::uint8_t(bits_ >> 2);
    for (int i = 0; i < 8; ++i) cola[2 + i] = std::uint8_t(longitudBits_ >> (8 * i));

    // Padding: one 0x01 byte, then zeros up to 118 bytes modulo 128, so that the closing
    // bytes end a block.
    static const std::uint8_t kRelleno[128] = {0x01};
    std::size_t relleno = usados_ < 118 ? 118 - usados_ : 246 - usados_;
    Actualizar(kRelleno, relleno);
    Actualizar(cola, sizeof cola);

    Plegar();
    for (unsigned i = 0; i < bits_ / 32; ++i) EscribirLE32(salida + 4 * i, estado_[i]);
    Reiniciar();
}

std::vector<std::uint8_t> Haval::Resumir(const std::uint8_t* datos, std::size_t longitud,
                                         unsigned pasadas, unsigned bits) {
    Haval h(pasadas, bits);
    h.Actualizar(datos, longitud);
    std::vector<std::uint8_t> resumen(h.TamanyoResumen());
    h.Finalizar(resumen.data());
    return resumen;
}

void Haval::ProcesarBloque(const std::uint8_t* bloque) {
    std::uint32_t w[32];
    for (int i = 0; i < 32; ++i) w[i] = LeerLE32(bloque + 4 * i);

    std::uint32_t t[8];
    std::memcpy(t, estado_.data(), sizeof t);
    const auto& phi = kPhi[pasadas_ - 3];
    for (unsigned p = 0; p < pasadas_; ++p) {
        for (unsigned s = 0; s < 32; ++s) {
            // At step s the words play the roles x0..x7 with x_j = t[(j - s) mod 8]; the
            // step replaces x7.
            auto x = [&](unsigned j) -> std::uint32_t& { return t[(j + 8 - (s & 7)) & 7]; };
            std::uint32_t args[7];
            for (int a = 0; a < 7; ++a) args[a] = x(phi[p][a]);
            std::uint32_t f = FuncionDePasada(p, args);
            std::uint32_t& x7 = x(7);
            x7 = RotarDer(f, 7) + RotarDer(x7, 11) + w[kOrden[p][s]] +
                 (p == 0 ? 0u : kConstantes[p - 1][s]);
        }
    }
    for (int i = 0; i < 8; ++i) estado_[i] += t[i];
    BorrarMemoria(w, sizeof w);
    BorrarMemoria(t, sizeof t);
}

// Folds the eight state words into the requested number of words.
void Haval::Plegar() {
    std::uint32_t* e = estado_.data();
    const std::uint32_t e4 = e[4], e5 = e[5], e6 = e[6], e7 = e[7];
    std::uint32_t t;
    switch (bits_) {
        case 128:
            t = (e7 & 0x000000FF) | (e6 & 0xFF000000) | (e5 & 0x00FF0000) | (e4 & 0x0000FF00);
            e[0] += RotarDer(t, 8);
            t = (e7 & 0x0000FF00) | (e6 & 0x000000FF) | (e5 & 0xFF000000) | (e4 & 0x00FF0000);
            e[1] += RotarDer(t, 16);
            t = (e7 & 0x00FF0000) | (e6 & 0x0000FF00) | (e5 & 0x000000FF) | (e4 & 0xFF000000);
            e[2] += RotarDer(t, 24);
            t = (e7 & 0xFF000000) | (e6 & 0x00FF0000) | (e5 & 0x0000FF00) | (e4 & 0x000000FF);
            e[3] += t;
            break;
        case 160:
            t = (e7 & 0x3Fu) | (e6 & (0x7Fu << 25)) | (e5 & (0x3Fu << 19));
            e[0] += RotarDer(t, 19);
            t = (e7 & (0x3Fu << 6)) | (e6 & 0x3Fu) | (e5 & (0x7Fu << 25));
            e[1] += RotarDer(t, 25);
            t = (e7 & (0x7Fu << 12)) | (e6 & (0x3Fu << 6)) | (e5 & 0x3Fu);
            e[2] += t;
            t = (e7 & (0x3Fu << 19)) | (e6 & (0x7Fu << 12)) | (e5 & (0x3Fu << 6));
            e[3] += t >> 6;
            t = (e7 & (0x7Fu << 25)) | (e6 & (0x3Fu << 19)) | (e5 & (0x7Fu << 12));
            e[4] += t >> 12;
            break;
        case 192:
            t = (e7 & 0x1Fu) | (e6 & (0x3Fu << 26));
            e[0] += RotarDer(t, 26);
            t = (e7 & (0x1Fu << 5)) | (e6 & 0x1Fu);
            e[1] += t;
            t = (e7 & (0x3Fu << 10)) | (e6 & (0x1Fu << 5));
            e[2] += t >> 5;
            t = (e7 & (0x1Fu << 16)) | (e6 & (0x3Fu << 10));
            e[3] += t >> 10;
            t = (e7 & (0x1Fu << 21)) | (e6 & (0x1Fu << 16));
            e[4] += t >> 16;
            t = (e7 & (0x3Fu << 26)) | (e6 & (0x1Fu << 21));
            e[5] += t >> 21;
            break;
        case 224:
            e[0] += (e7 >> 27) & 0x1F;
            e[1] += (e7 >> 22) & 0x1F;
            e[2] += (e7 >> 18) & 0x0F;
            e[3] += (e7 >> 13) & 0x1F;
            e[4] += (e7 >> 9) & 0x0F;
            e[5] += (e7 >> 4) & 0x1F;
            e[6] += e7 & 0x0F;
            break;
        default:
            break;
    }
}

}  // namespace pelmaro::cifrado
