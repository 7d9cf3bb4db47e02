// MISTY1, written from RFC 2994. The recursive structure: an 8-round Feistel network whose
// round function FO is a 3-round network of the 16-bit function FI, itself a 3-round
// network of the 9-bit and 7-bit S-boxes; the key-dependent linear layer FL (and its
// inverse when deciphering) is applied to both halves before every second round and at
// the end.
#include "actions/hashes/primitivas/misty1.h"

#include <stdexcept>

namespace pelmaro::cifrado {
namespace {

using detalle::BorrarMemoria;
using detalle::EscribirBE32;
using detalle::LeerBE32;

// The S-boxes S7 and S9 of the RFC, in its decimal form.
constexpr std::uint8_t kS7[128] = {
    27,  50,  51,  90,  59,  16,  23,  84,  91,  26, 114, 115, 107,  44, 102,  73,
    31,  36,  19, 108,  55,  46,  63,  74,  93,  15,  64,  86,  37,  81,  28,   4,
    11,  70,  32,  13, 123,  53,  68,  66,  43,  30,  65,  20,  75, 121,  21, 111,
    14,  85,   9,  54, 116,  12, 103,  83,  40,  10, 126,  56,   2,   7,  96,  41,
    25,  18, 101,  47,  48,  57,   8, 104,  95, 120,  42,  76, 100,  69, 117,  61,
    89,  72,   3,  87, 124,  79,  98,  60,  29,  33,  94,  39, 106, 112,  77,  58,
    1, 109, 110,  99,  24, 119,  35,   5,  38, 118,   0,  49,  45, 122, 127,  97,
    80,  34,  17,  6,   71,  22,  82,  78, 113,  62, 105,  67,  52,  92,  88, 125
};

constexpr std::uint16_t kS9[512] = {
    451, 203, 339, 415, 483, 233, 251,  53, 385, 185, 279, 491, 307,   9,  45, 211,
    199, 330,  55, 126, 235, 356, 403, 472, 163, 286,  85,  44,  29, 418, 355, 280,
    331, 338, 466,  15,  43,  48, 314, 229, 273, 312, 398,  99, 227, 200, 500,  27,
    1, 157, 248, 416, 365, 499,  28, 326, 125, 209, 130, 490, 387, 301, 244, 414,
    467, 221, 482, 296, 480, 236,  89, 145,  17, 303,  38, 220, 176, 396, 271, 503,
    231, 364, 182, 249, 216, 337, 257, 332, 259, 184, 340, 299, 430,  23, 113,  12,
    71,  88, 127, 420, 308, 297, 132, 349, 413, 434, 419,  72, 124,  81, 458,  35,
    317, 423, 357,  59,  66, 218, 402, 206, 193, 107, 159, 497, 300, 388, 250, 406,
    481, 361, 381,  49, 384, 266, 148, 474, 390, 318, 284,  96, 373, 463, 103, 281,
    101, 104, 153, 336,   8,   7, 380, 183,  36,  25, 222, 295, 219, 228, 425,  82,
    265, 144, 412, 449,  40, 435, 309, 362, 374, 223, 485, 392, 197, 366, 478, 433,
    195, 479,  54, 238, 494, 240, 147,  73, 154, 438, 105, 129, 293,  11,  94, 180,
    329, 455, 372,  62, 315, 439, 142, 454, 174,  16, 149, 495,  78, 242, 509, 133,
    253, 246, 160, 367, 131, 138, 342, 155, 316, 263, 359, 152, 464, 489,   3, 510,
    189, 290, 137, 210, 399,  18,  51, 106, 322, 237, 368, 283, 226, 335, 344, 305,
    327,  93, 275, 461, 121, 353, 421, 377, 158, 436, 204,  34, 306,  26, 232,   4,
    391, 493, 407,  57, 447, 471,  39, 395, 198, 156, 208, 334, 108,  52, 498, 110,
    202,  37, 186, 401, 254,  19, 262,  47, 429, 370, 475, 192, 267, 470, 245, 492,
    269, 118, 276, 427, 117, 268, 484, 345,  84, 287,  75, 196, 446, 247,  41, 164,
    14, 496, 119,  77, 378, 134, 139, 179, 369, 191, 270, 260, 151, 347, 352, 360,
    215, 187, 102, 462, 252, 146, 453, 111,  22,  74, 161, 313, 175, 241, 400,  10,
    426, 323, 379,  86, 397, 358, 212, 507, 333, 404, 410, 135, 504, 291, 167, 440,
    321,  60, 505, 320,  42, 341, 282, 417, 408, 213, 294, 431,  97, 302, 343, 476,
    114, 394, 170, 150, 277, 239,  69, 123, 141, 325,  83,  95, 376, 178,  46,  32,
    469,  63, 457, 487, 428,  68,  56,  20, 177, 363, 171, 181,  90, 386, 456, 468,
    24, 375, 100, 207, 109, 256, 409, 304, 346,   5, 288, 443, 445, 224,  79, 214,
    319, 452, 298,  21,   6, 255, 411, 166,  67, 136,  80, 351, 488, 289, 115, 382,
    188, 194, 201, 371, 393, 501, 116, 460, 486, 424, 405,  31,  65,  13, 442,  50,
    61, 465, 128, 168,  87, 441, 354, 328, 217, 261,  98, 122,  33, 511, 274, 264,
    448, 169, 285, 432, 422, 205, 243,  92, 258,  91, 473, 324, 502, 173, 165,  58,
    459, 310, 383,  70, 225,  30, 477, 230, 311, 506, 389, 140, 143,  64, 437, 190,
    120,   0, 172, 272, 350, 292,   2, 444, 162, 234, 112, 508, 278, 348,  76, 450
};

// FI: the 16-bit input is split into 9 and 7 bits; the 16-bit subkey's high 7 bits and
// low 9 bits are mixed in between the S-box layers.
std::uint16_t FI(std::uint16_t entrada, std::uint16_t subclave) {
    unsigned d9 = entrada >> 7;
    unsigned d7 = entrada & 0x7f;
    d9 = kS9[d9] ^ d7;
    d7 = kS7[d7] ^ (d9 & 0x7f);
    d7 ^= subclave >> 9;
    d9 ^= subclave & 0x1ff;
    d9 = kS9[d9] ^ d7;
    return std::uint16_t((d7 << 9) | d9);
}

}  // namespace

Misty1::Misty1(const std::uint8_t* clave, std::size_t longitud) {
    if (clave == nullptr || longitud != kLongitudClave)
        throw std::invalid_argument("MISTY1: the key must be 16 bytes");
    for (unsigned i = 0; i < 8; ++i) ek_[i] = std::uint16_t((clave[2 * i] << 8) | clave[2 * i + 1]);
    for (unsigned i = 0; i < 8; ++i) {
        ek_[i + 8] = FI(ek_[i], ek_[(i + 1) % 8]);
        ek_[i + 16] = ek_[i + 8] & 0x1ff;
        ek_[i + 24] = ek_[i + 8] >> 9;
    }
}

Misty1::~Misty1() { Borrar(); }

void Misty1::Borrar() { BorrarMemoria(ek_.data(), sizeof ek_); }

std::uint32_t Misty1::FO(std::uint32_t entrada, unsigned k) const {
    std::uint16_t t0 = std::uint16_t(entrada >> 16);
    std::uint16_t t1 = std::uint16_t(entrada);
    t0 ^= ek_[k];
    t0 = FI(t0, ek_[(k + 5) % 8 + 8]);
    t0 ^= t1;
    t1 ^= ek_[(k + 2) % 8];
    t1 = FI(t1, ek_[(k + 1) % 8 + 8]);
    t1 ^= t0;
    t0 ^= ek_[(k + 7) % 8];
    t0 = FI(t0, ek_[(k + 3) % 8 + 8]);
    t0 ^= t1;
    t1 ^= ek_[(k + 4) % 8];
    return (std::uint32_t(t1) << 16) | t0;
}

std::uint32_t Misty1::FL(std::uint32_t entrada, unsigned k) const {
    std::uint16_t d0 = std::uint16_t(entrada >> 16);
    std::uint16_t d1 = std::uint16_t(entrada);
    if (k % 2 == 0) {
        d1 ^= d0 & ek_[k / 2];
        d0 ^= d1 | ek_[(k / 2 + 6) % 8 + 8];
    } else {
        d1 ^= d0 & ek_[((k - 1) / 2 + 2) % 8 + 8];
        d0 ^= d1 | ek_[((k - 1) / 2 + 4) % 8];
    }
    return (std::uint32_t(d0) << 16) | d1;
}

std::uint32_t Misty1::FLInversa(std::uint32_t entrada, unsigned k) const {
    std::uint16_t d0 = std::uint16_t(entrada >> 16);
    std::uint16_t d1 = std::uint16_t(entrada);
    if (k % 2 == 0) {
        d0 ^= d1 | ek_[(k / 2 + 6) % 8 + 8];
        d1 ^= d0 & ek_[k / 2];
    } else {
        d0 ^= d1 | ek_[((k - 1) / 2 + 4) % 8];
        d1 ^= d0 & ek_[((k - 1) / 2 + 2) % 8 + 8];
    }
    return (std::uint32_t(d0) << 16) | d1;
}

void Misty1::Cifrar(const std::uint8_t* entrada, std::uint8_t* salida) const {
    std::uint32_t d0 = LeerBE32(entrada), d1 = LeerBE32(entrada + 4);
    for (unsigned r = 0; r < 8; r += 2) {
        d0 = FL(d0, r);
        d1 = FL(d1, r + 1);
        d1 ^= FO(d0, r);
        d0 ^= FO(d1, r + 1);
    }
    d0 = FL(d0, 8);
    d1 = FL(d1, 9);
    EscribirBE32(salida, d1);
    EscribirBE32(salida + 4, d0);
}

void Misty1::Descifrar(const std::uint8_t* entrada, std::uint8_t* salida) const {
    // The halves come swapped, as Cifrar leaves them.
    std::uint32_t d1 = LeerBE32(entrada), d0 = LeerBE32(entrada + 4);
    d0 = FLInversa(d0, 8);
    d1 = FLInversa(d1, 9);
    for (unsigned r = 8; r >= 2; r -= 2) {
        d0 ^= FO(d1, r - 1);
        d1 ^= FO(d0, r - 2);
        d0 = FLInversa(d0, r - 2);
        d1 = FLInversa(d1, r - 1);
    }
    EscribirBE32(salida, d0);
    EscribirBE32(salida + 4, d1);
}

}  // namespace pelmaro::cifrado
