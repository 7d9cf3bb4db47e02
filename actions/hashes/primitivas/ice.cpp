// ICE, written from Matthew Kwan's description of the cipher.
//
// Round function F(R, K): the 32-bit half R is expanded to 40 bits as two 20-bit halves,
// each made of two 10-bit S-box inputs (one byte of R and the two bits above it, bit 31
// wrapping round to bit 0); the permutation subkey swaps the bits of the two halves where
// it has ones; each half is XORed with its 20-bit subkey; the four S-boxes give 8 bits
// each, and the 32 results go through the fixed P-box (folded into the S-box tables here).
#include "actions/hashes/primitivas/ice.h"

#include <stdexcept>

namespace pelmaro::cifrado {
namespace {

using detalle::BorrarMemoria;
using detalle::EscribirBE32;
using detalle::LeerBE32;

// Each S-box has four rows (selected by the outer two of its ten input bits); row r of
// box b is x -> (x XOR kXorFila[b][r])^7 in GF(2^8) modulo the polynomial kModulo[b][r].
constexpr unsigned kModulo[4][4] = {
    {333, 313, 505, 369},
    {379, 375, 319, 391},
    {361, 445, 451, 397},
    {397, 425, 395, 505},
};
constexpr unsigned kXorFila[4][4] = {
    {0x83, 0x85, 0x9b, 0xcd},
    {0xcc, 0xa7, 0xad, 0x41},
    {0x4b, 0x2e, 0xd4, 0x33},
    {0xea, 0xcb, 0x2e, 0x04},
};

// P-box: where bit i of the concatenated S-box outputs (box 0 in the top byte) goes.
constexpr std::uint32_t kPermutacion[32] = {
    0x00000001, 0x00000080, 0x00000400, 0x00002000, 0x00080000, 0x00200000, 0x01000000,
    0x40000000, 0x00000008, 0x00000020, 0x00000100, 0x00004000, 0x00010000, 0x00800000,
    0x04000000, 0x20000000, 0x00000004, 0x00000010, 0x00000200, 0x00008000, 0x00020000,
    0x00400000, 0x08000000, 0x10000000, 0x00000002, 0x00000040, 0x00000800, 0x00001000,
    0x00040000, 0x00100000, 0x02000000, 0x80000000,
};

// Order in which the four 16-bit key blocks feed the subkeys of each group of 8 rounds;
// the second half of the table is used for the rounds filled from the end.
constexpr int kGiros[16] = {0, 1, 2, 3, 2, 1, 3, 0, 1, 3, 2, 0, 3, 1, 0, 2};

unsigned MultiplicarGF(unsigned a, unsigned b, unsigned modulo) {
    unsigned producto = 0;
    while (b != 0) {
        if (b & 1) producto ^= a;
        a <<= 1;
        b >>= 1;
        if (a >= 256) a ^= modulo;
    }
    return producto;
}

unsigned PotenciaSiete(unsigned x, unsigned modulo) {
    if (x == 0) return 0;
    unsigned x2 = MultiplicarGF(x, x, modulo);
    unsigned x3 = MultiplicarGF(x, x2, modulo);
    unsigned x6 = MultiplicarGF(x3, x3, modulo);
    return MultiplicarGF(x, x6, modulo);
}

std::uint32_t Permutar(std::uint32_t x) {
    std::uint32_t r = 0;
    for (int i = 0; x != 0; ++i, x >>= 1)
        if (x & 1) r |= kPermutacion[i];
    return r;
}

struct CajasS {
    std::uint32_t caja[4][1024];
    CajasS() {
        for (unsigned b = 0; b < 4; ++b) {
            for (unsigned entrada = 0; entrada < 1024; ++entrada) {
                unsigned columna = (entrada >> 1) & 0xff;
                unsigned fila = (entrada & 1) | ((entrada & 0x200) >> 8);
                unsigned valor = PotenciaSiete(columna ^ kXorFila[b][fila], kModulo[b][fila]);
                caja[b][entrada] = Permutar(std::uint32_t(valor) << (24 - 8 * b));
            }
        }
    }
};

const CajasS& Cajas() {
    static const CajasS cajas;
    return cajas;
}

std::uint32_t Ronda(std::uint32_t r, const std::array<std::uint32_t, 3>& k, const CajasS& s) {
    // Expansion: the left half holds the inputs of boxes 0 and 1 (bits 24..31,0,1 and
    // bits 16..25 of r), the right half those of boxes 2 and 3 (bits 8..17 and 0..9).
    std::uint32_t izq = ((r >> 16) & 0x3ff) | (((r >> 14) | (r << 18)) & 0xffc00);
    std::uint32_t der = (r & 0x3ff) | ((r << 2) & 0xffc00);
    std::uint32_t cruce = k[2] & (izq ^ der);
    izq ^= cruce ^ k[0];
    der ^= cruce ^ k[1];
    return s.caja[0][izq >> 10] | s.caja[1][izq & 0x3ff] | s.caja[2][der >> 10] |
           s.caja[3][der & 0x3ff];
}

}  // namespace

Ice::Ice(const std::uint8_t* clave, std::size_t longitud, unsigned nivel) : nivel_(nivel) {
    const std::size_t bloques = nivel == 0 ? 1 : nivel;
    if (clave == nullptr || longitud % 8 != 0 || longitud / 8 != bloques)
        throw std::invalid_argument("ICE: the key must be 8 bytes per level (8 for Thin-ICE)");

    subclaves_.assign(nivel == 0 ? 8 : 16 * std::size_t(nivel), Subclave{0, 0, 0});
    std::uint16_t kb[4];
    for (std::size_t i = 0; i < bloques; ++i) {
        const std::uint8_t* c = clave + 8 * i;
        for (int j = 0; j < 4; ++j) kb[3 - j] = std::uint16_t((c[2 * j] << 8) | c[2 * j + 1]);
        if (nivel == 0) {
            Construir(kb, 0, kGiros);
        } else {
            // Each 8 key bytes fill 8 rounds from the start and 8 from the end.
            Construir(kb, 8 * i, kGiros);
            Construir(kb, subclaves_.size() - 8 - 8 * i, kGiros + 8);
        }
    }
    BorrarMemoria(kb, sizeof kb);
}

Ice::~Ice() { Borrar(); }

// Fills 8 consecutive subkeys from the four key blocks. Each subkey takes 60 bits, one
// at a time from the low end of the blocks in the order given by `giros`; every bit
// taken re-enters the block at the top complemented, so the blocks keep changing.
void Ice::Construir(std::uint16_t (&bloques)[4], std::size_t primera, const int* giros) {
    for (int i = 0; i < 8; ++i) {
        Subclave& sk = subclaves_[primera + i];
        sk = Subclave{0, 0, 0};
        for (int j = 0; j < 15; ++j) {
            std::uint32_t& palabra = sk[j % 3];
            for (int k = 0; k < 4; ++k) {
                std::uint16_t& b = bloques[(giros[i] + k) & 3];
                unsigned bit = b & 1u;
                palabra = (palabra << 1) | bit;
                b = std::uint16_t((b >> 1) | ((bit ^ 1u) << 15));
            }
        }
    }
}

void Ice::Cifrar(const std::uint8_t* entrada, std::uint8_t* salida) const {
    const CajasS& s = Cajas();
    std::uint32_t l = LeerBE32(entrada), r = LeerBE32(entrada + 4);
    for (std::size_t i = 0; i < subclaves_.size(); i += 2) {
        l ^= Ronda(r, subclaves_[i], s);
        r ^= Ronda(l, subclaves_[i + 1], s);
    }
    EscribirBE32(salida, r);
    EscribirBE32(salida + 4, l);
}

void Ice::Descifrar(const std::uint8_t* entrada, std::uint8_t* salida) const {
    const CajasS& s = Cajas();
    std::uint32_t l = LeerBE32(entrada), r = LeerBE32(entrada + 4);
    for (std::size_t i = subclaves_.size(); i >= 2; i -= 2) {
        l ^= Ronda(r, subclaves_[i - 1], s);
        r ^= Ronda(l, subclaves_[i - 2], s);
    }
    EscribirBE32(salida, r);
    EscribirBE32(salida + 4, l);
}

void Ice::Borrar() {
    if (!subclaves_.empty()) BorrarMemoria(subclaves_.data(), subclaves_.size() * sizeof(Subclave));
}

}  // namespace pelmaro::cifrado
