#include "actions/hashes/cifrado.h"

// MD4, MD5 and RC4 live in Crypto++'s namespace of weak algorithms.
#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <cryptopp/arc4.h>
#include <cryptopp/blowfish.h>
#include <cryptopp/cast.h>
#include <cryptopp/des.h>
#include <cryptopp/idea.h>
#include <cryptopp/md4.h>
#include <cryptopp/md5.h>
#include <cryptopp/rc2.h>
#include <cryptopp/rc5.h>
#include <cryptopp/rc6.h>
#include <cryptopp/rijndael.h>
#include <cryptopp/ripemd.h>
#include <cryptopp/serpent.h>
#include <cryptopp/sha.h>
#include <cryptopp/tiger.h>
#include <cryptopp/twofish.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "actions/hashes/primitivas/bloque.h"
#include "actions/hashes/primitivas/haval.h"
#include "actions/hashes/primitivas/ice.h"
#include "actions/hashes/primitivas/mars.h"
#include "actions/hashes/primitivas/misty1.h"
#include "core/errores.h"
#include "core/texto.h"
#include "core/textos.h"

namespace pelmaro::cifrado {
namespace {

using Bytes = std::vector<std::uint8_t>;

[[noreturn]] void AlgoritmoDesconocido(int n) {
  throw Excepcion(Formatear(Texto("No existe el algoritmo de cifrado número %s"), EnteroATexto(n)));
}
[[noreturn]] void ResumenDesconocido(int n) {
  throw Excepcion(Formatear(Texto("No existe el algoritmo de resumen número %s"), EnteroATexto(n)));
}

Bytes Rellenar(const Bytes& clave, std::size_t n) {
  Bytes r(clave);
  r.resize(std::max(n, r.size()), 0);
  return r;
}

// A Crypto++ block cipher, keyed through its own key schedule.
template <class Algoritmo>
class CifraCryptoPP : public Cifra {
 public:
  template <class Fijar>
  explicit CifraCryptoPP(Fijar fijar) {
    fijar(cif_);
    fijar(des_);
  }
  std::size_t TamanyoBloque() const override { return Algoritmo::BLOCKSIZE; }
  void Cifrar(const std::uint8_t* e, std::uint8_t* s) const override { cif_.ProcessBlock(e, s); }
  void Descifrar(const std::uint8_t* e, std::uint8_t* s) const override { des_.ProcessBlock(e, s); }
  // Whole runs of blocks go to the library at once, as its own CBC mode does.
  void CBCBloques(std::uint8_t* d, std::size_t n, std::uint8_t* cadena, bool descifrar) const override {
    using CryptoPP::BlockTransformation;
    const std::size_t b = Algoritmo::BLOCKSIZE;
    if (!n) return;
    if (!descifrar) {
      cif_.AdvancedProcessBlocks(d, cadena, d, b, BlockTransformation::BT_XorInput);
      if (n > b) cif_.AdvancedProcessBlocks(d + b, d, d + b, n - b, BlockTransformation::BT_XorInput);
      std::memcpy(cadena, d + n - b, b);
      return;
    }
    std::uint8_t ultimo[16];
    std::memcpy(ultimo, d + n - b, b);
    if (n > b)
      des_.AdvancedProcessBlocks(d + b, d, d + b, n - b,
                                 BlockTransformation::BT_ReverseDirection | BlockTransformation::BT_AllowParallel);
    des_.ProcessAndXorBlock(d, cadena, d);
    std::memcpy(cadena, ultimo, b);
  }
  void Borrar() override {
    // Re-keying with zeros overwrites the expanded keys in place.
    Bytes cero(Algoritmo::DEFAULT_KEYLENGTH, 0);
    cif_.UncheckedSetKey(cero.data(), static_cast<unsigned>(cero.size()), CryptoPP::g_nullNameValuePairs);
    des_.UncheckedSetKey(cero.data(), static_cast<unsigned>(cero.size()), CryptoPP::g_nullNameValuePairs);
  }

 private:
  typename Algoritmo::Encryption cif_;
  typename Algoritmo::Decryption des_;
};

template <class Algoritmo>
std::unique_ptr<Cifra> ConClave(const Bytes& k, const CryptoPP::NameValuePairs& p = CryptoPP::g_nullNameValuePairs) {
  return std::make_unique<CifraCryptoPP<Algoritmo>>(
      [&](auto& c) { c.UncheckedSetKey(k.data(), static_cast<unsigned>(k.size()), p); });
}

// One of our own block ciphers.
class CifraPropia : public Cifra {
 public:
  explicit CifraPropia(std::unique_ptr<CifradorBloque> c) : c_(std::move(c)) {}
  std::size_t TamanyoBloque() const override { return c_->TamanyoBloque(); }
  void Cifrar(const std::uint8_t* e, std::uint8_t* s) const override { c_->Cifrar(e, s); }
  void Descifrar(const std::uint8_t* e, std::uint8_t* s) const override { c_->Descifrar(e, s); }
  void Borrar() override { c_->Borrar(); }

 private:
  std::unique_ptr<CifradorBloque> c_;
};

// Triple DES, encrypt-decrypt-encrypt with three single-DES keys.
class TripleDES : public Cifra {
 public:
  explicit TripleDES(const Bytes& clave) {
    Bytes k = Rellenar(clave, 24);
    const std::uint8_t* k3 = clave.size() <= 16 ? &k[0] : &k[16];
    e1_.SetKey(&k[0], 8);
    d1_.SetKey(&k[0], 8);
    e2_.SetKey(&k[8], 8);
    d2_.SetKey(&k[8], 8);
    e3_.SetKey(k3, 8);
    d3_.SetKey(k3, 8);
    detalle::BorrarMemoria(k.data(), k.size());
  }
  std::size_t TamanyoBloque() const override { return 8; }
  void Cifrar(const std::uint8_t* e, std::uint8_t* s) const override {
    e1_.ProcessBlock(e, s);
    d2_.ProcessBlock(s);
    e3_.ProcessBlock(s);
  }
  void Descifrar(const std::uint8_t* e, std::uint8_t* s) const override {
    d3_.ProcessBlock(e, s);
    e2_.ProcessBlock(s);
    d1_.ProcessBlock(s);
  }
  void Borrar() override {
    const std::uint8_t cero[8] = {};
    for (auto* c : {&e1_, &e2_, &e3_}) c->SetKey(cero, 8);
    for (auto* c : {&d1_, &d2_, &d3_}) c->SetKey(cero, 8);
  }

 private:
  CryptoPP::DES::Encryption e1_, e2_, e3_;
  CryptoPP::DES::Decryption d1_, d2_, d3_;
};

// The plug-in's TEA variant: big-endian words, its own round function.
class TeaVariante : public CifradorBloque {
 public:
  explicit TeaVariante(const Bytes& clave) {
    Bytes k = Rellenar(clave, 16);
    for (int i = 0; i < 4; ++i) k_[i] = detalle::LeerBE32(&k[4 * i]);
    detalle::BorrarMemoria(k.data(), k.size());
  }
  ~TeaVariante() override { Borrar(); }
  std::size_t TamanyoBloque() const override { return 8; }
  void Cifrar(const std::uint8_t* e, std::uint8_t* s) const override {
    std::uint32_t y = detalle::LeerBE32(e), z = detalle::LeerBE32(e + 4), suma = 0;
    for (int i = 0; i < 32; ++i) {
      suma += 0x9E3779B9u;
      y += (z << 4) + (k_[0] ^ z) + (suma ^ (z >> 5)) + k_[1];
      z += (y << 4) + (k_[2] ^ y) + (suma ^ (y >> 5)) + k_[3];
    }
    detalle::EscribirBE32(s, y);
    detalle::EscribirBE32(s + 4, z);
  }
  void Descifrar(const std::uint8_t* e, std::uint8_t* s) const override {
    std::uint32_t y = detalle::LeerBE32(e), z = detalle::LeerBE32(e + 4), suma = 0xC6EF3720u;
    for (int i = 0; i < 32; ++i) {
      z -= (y << 4) + (k_[2] ^ y) + (suma ^ (y >> 5)) + k_[3];
      y -= (z << 4) + (k_[0] ^ z) + (suma ^ (z >> 5)) + k_[1];
      suma -= 0x9E3779B9u;
    }
    detalle::EscribirBE32(s, y);
    detalle::EscribirBE32(s + 4, z);
  }
  void Borrar() override { detalle::BorrarMemoria(k_, sizeof k_); }

 private:
  std::uint32_t k_[4];
};

class RC4 : public Cifra {
 public:
  explicit RC4(const Bytes& clave) { c_.SetKey(clave.data(), clave.size()); }
  std::size_t TamanyoBloque() const override { return 0; }
  void Cifrar(const std::uint8_t*, std::uint8_t*) const override {}
  void Descifrar(const std::uint8_t*, std::uint8_t*) const override {}
  void Flujo(std::uint8_t* datos, std::size_t n) override { c_.ProcessString(datos, n); }
  void Borrar() override {
    const std::uint8_t cero[1] = {};
    c_.SetKey(cero, 1);
  }

 private:
  CryptoPP::Weak::ARC4 c_;
};

template <class H>
Bytes ResumenCryptoPP(const std::uint8_t* d, std::size_t n) {
  H h;
  Bytes r(H::DIGESTSIZE);
  h.CalculateDigest(r.data(), d, n);
  return r;
}

const unsigned kBitsClave[] = {448, 128, 256, 64, 192, 64, 64, 128, 128, 1248,
                               128, 1024, 2048, 2048, 2048, 256, 256, 128, 256};

}  // namespace

void Cifra::Flujo(std::uint8_t*, std::size_t) {}

void Cifra::CBCBloques(std::uint8_t* datos, std::size_t n, std::uint8_t* cadena, bool descifrar) const {
  const std::size_t b = TamanyoBloque();
  std::uint8_t t[16];
  for (std::size_t i = 0; i + b <= n; i += b) {
    std::uint8_t* bloque = datos + i;
    if (descifrar) {
      std::memcpy(t, bloque, b);
      Descifrar(bloque, bloque);
      for (std::size_t k = 0; k < b; ++k) bloque[k] ^= cadena[k];
      std::memcpy(cadena, t, b);
    } else {
      for (std::size_t k = 0; k < b; ++k) bloque[k] ^= cadena[k];
      Cifrar(bloque, bloque);
      std::memcpy(cadena, bloque, b);
    }
  }
  detalle::BorrarMemoria(t, sizeof t);
}

unsigned BitsClaveMaxima(int algoritmo) {
  if (algoritmo < 0 || algoritmo > 18) AlgoritmoDesconocido(algoritmo);
  return kBitsClave[algoritmo];
}

std::unique_ptr<Cifra> CrearCifra(int algoritmo, const Bytes& k) {
  using namespace CryptoPP;
  auto propia = [](CifradorBloque* c) { return std::make_unique<CifraPropia>(std::unique_ptr<CifradorBloque>(c)); };
  switch (algoritmo) {
    case 0: return ConClave<Blowfish>(k);
    case 1: return ConClave<CAST128>(k);
    case 2: return ConClave<CAST256>(Rellenar(k, 32));
    case 3: return ConClave<DES>(k);
    case 4: return std::make_unique<TripleDES>(k);
    case 5: return propia(new Ice(k.data(), k.size(), 1));
    case 6: return propia(new Ice(k.data(), k.size(), 0));
    case 7: return propia(new Ice(k.data(), k.size(), 2));
    case 8: return ConClave<IDEA>(k);
    case 9: return propia(new Mars(k.data(), k.size()));
    case 10: return propia(new Misty1(k.data(), k.size()));
    case 11: return ConClave<RC2>(k, MakeParameters(Name::EffectiveKeyLength(), 1024));
    case 12: return std::make_unique<RC4>(k);
    case 13: return ConClave<RC5>(k, MakeParameters(Name::Rounds(), 12));
    case 14: return ConClave<RC6>(k, MakeParameters(Name::Rounds(), 20));
    case 15: {
      std::size_t bits = k.size() * 8;
      Bytes relleno = Rellenar(k, 32);
      relleno.resize(bits <= 135 ? 16 : bits <= 199 ? 24 : 32);
      return ConClave<Rijndael>(relleno);
    }
    case 16: return ConClave<Serpent>(k);  // Serpent pads a short key with one bit, then zeros
    case 17: return propia(new TeaVariante(k));
    case 18: return ConClave<Twofish>(Rellenar(k, k.size() <= 16 ? 16 : k.size() <= 24 ? 24 : 32));
    default: AlgoritmoDesconocido(algoritmo);
  }
}

Bytes Resumir(int resumen, const std::uint8_t* d, std::size_t n) {
  using namespace CryptoPP;
  switch (resumen) {
    case 0: return Haval::Resumir(d, n, 5, 256);
    case 1: return ResumenCryptoPP<Weak::MD4>(d, n);
    case 2: return ResumenCryptoPP<Weak::MD5>(d, n);
    case 3: return ResumenCryptoPP<RIPEMD128>(d, n);
    case 4: return ResumenCryptoPP<RIPEMD160>(d, n);
    case 5: return ResumenCryptoPP<SHA1>(d, n);
    case 6: return ResumenCryptoPP<SHA256>(d, n);
    case 7: return ResumenCryptoPP<SHA384>(d, n);
    case 8: return ResumenCryptoPP<SHA512>(d, n);
    case 9: return ResumenCryptoPP<Tiger>(d, n);
    default: ResumenDesconocido(resumen);
  }
}

Bytes DerivarClave(int algoritmo, int resumen, std::string_view frase) {
  unsigned maximo = BitsClaveMaxima(algoritmo);
  Bytes resumenFrase = Resumir(resumen, reinterpret_cast<const std::uint8_t*>(frase.data()), frase.size());
  std::size_t bytes = std::min<std::size_t>(maximo, resumenFrase.size() * 8) / 8;
  Bytes clave(resumenFrase.begin(), resumenFrase.begin() + static_cast<std::ptrdiff_t>(bytes));
  // The digest is overwritten with 0xFF before it is released (through a volatile pointer, so
  // the stores stay).
  volatile std::uint8_t* p = resumenFrase.data();
  for (std::size_t i = 0; i < resumenFrase.size(); ++i) p[i] = 0xFF;
  return clave;
}

Sesion::Sesion(int algoritmo, int resumen, std::string_view frase) {
  BitsClaveMaxima(algoritmo);  // an unknown algorithm fails before any digest is taken
  Bytes clave = DerivarClave(algoritmo, resumen, frase);
  cifra_ = CrearCifra(algoritmo, clave);
  detalle::BorrarMemoria(clave.data(), clave.size());
  std::size_t b = cifra_->TamanyoBloque();
  if (b) {
    iv_.assign(b, 0);
    cifra_->Cifrar(iv_.data(), iv_.data());
    cadena_ = iv_;
  }
}

Sesion::~Sesion() {
  if (cifra_) cifra_->Borrar();
  detalle::BorrarMemoria(iv_.data(), iv_.size());
  detalle::BorrarMemoria(cadena_.data(), cadena_.size());
}

void Sesion::CFB8(std::uint8_t* datos, std::size_t n, bool descifrar) {
  std::size_t b = cifra_->TamanyoBloque();
  if (!b) {
    cifra_->Flujo(datos, n);
    return;
  }
  std::uint8_t salida[16];
  for (std::size_t i = 0; i < n; ++i) {
    cifra_->Cifrar(cadena_.data(), salida);
    std::uint8_t entrada = datos[i];
    datos[i] = static_cast<std::uint8_t>(entrada ^ salida[0]);
    std::uint8_t cifrado = descifrar ? entrada : datos[i];
    std::memmove(cadena_.data(), cadena_.data() + 1, b - 1);
    cadena_[b - 1] = cifrado;
  }
  detalle::BorrarMemoria(salida, sizeof salida);
}

void Sesion::CBC(std::uint8_t* datos, std::size_t n, bool descifrar) {
  std::size_t b = cifra_->TamanyoBloque();
  if (!b) {
    cifra_->Flujo(datos, n);
    return;
  }
  std::size_t completos = n / b * b;
  cifra_->CBCBloques(datos, completos, cadena_.data(), descifrar);
  std::size_t i = completos;
  std::uint8_t t[16];
  if (i < n) {  // a partial last block: XOR with E_K(chaining value), no padding
    cifra_->Cifrar(cadena_.data(), t);
    for (std::size_t k = 0; i + k < n; ++k) datos[i + k] ^= t[k];
  }
  detalle::BorrarMemoria(t, sizeof t);
}

std::string Base64Codificar(std::string_view datos) {
  static const char kAlfabeto[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string s;
  s.reserve((datos.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < datos.size(); i += 3) {
    std::uint32_t v = static_cast<std::uint8_t>(datos[i]) << 16;
    std::size_t resto = datos.size() - i;
    if (resto > 1) v |= static_cast<std::uint8_t>(datos[i + 1]) << 8;
    if (resto > 2) v |= static_cast<std::uint8_t>(datos[i + 2]);
    s += kAlfabeto[(v >> 18) & 63];
    s += kAlfabeto[(v >> 12) & 63];
    s += resto > 1 ? kAlfabeto[(v >> 6) & 63] : '=';
    s += resto > 2 ? kAlfabeto[v & 63] : '=';
  }
  return s;
}

std::string Base64Decodificar(std::string_view texto) {
  auto valor = [&](std::size_t pos) -> std::uint32_t {
    char c = texto[pos];
    if (c >= 'A' && c <= 'Z') return static_cast<std::uint32_t>(c - 'A');
    if (c >= 'a' && c <= 'z') return static_cast<std::uint32_t>(c - 'a' + 26);
    if (c >= '0' && c <= '9') return static_cast<std::uint32_t>(c - '0' + 52);
    if (c == '+') return 62;
    if (c == '/') return 63;
    if (c == '=') return 0;
    throw EConvertError(Formatear(Texto("El texto no está en Base64: el carácter %s no pertenece a su alfabeto"),
                                  EnteroATexto(static_cast<std::int64_t>(pos) + 1)));
  };
  std::string s;
  for (std::size_t i = 0; i + 4 <= texto.size(); i += 4) {
    std::uint32_t v = valor(i) << 18 | valor(i + 1) << 12 | valor(i + 2) << 6 | valor(i + 3);
    s += static_cast<char>(v >> 16);
    if (texto[i + 2] == '=') continue;
    s += static_cast<char>((v >> 8) & 0xFF);
    if (texto[i + 3] == '=') continue;
    s += static_cast<char>(v & 0xFF);
  }
  return s;
}

std::string TUtilesCifrador::CipherText(std::string_view texto, std::string_view frase, std::string_view algoritmo,
                                        std::string_view resumen, bool descifrar) {
  Sesion sesion(LeerEntero(algoritmo), LeerEntero(resumen), frase);
  std::string datos = descifrar ? Base64Decodificar(texto) : std::string(texto);
  sesion.CFB8(reinterpret_cast<std::uint8_t*>(datos.data()), datos.size(), descifrar);
  if (descifrar) return datos;
  std::string salida = Base64Codificar(datos);
  detalle::BorrarMemoria(datos.data(), datos.size());
  return salida;
}

}  // namespace pelmaro::cifrado
