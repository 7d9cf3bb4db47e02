// The enciphering data format: key derivation, IV, CFB-8 texts, CBC files with a partial last
// block, Base64, against known answers computed by an independent implementation.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "actions/hashes/cifrado.h"
#include "core/errores.h"
#include "tests/unit/vectores.h"

using namespace pelmaro::cifrado;
using Bytes = std::vector<std::uint8_t>;
using CT = TUtilesCifrador;

namespace {

Bytes DeHex(const std::string& h) {
  Bytes b;
  for (std::size_t i = 0; i + 1 < h.size(); i += 2) b.push_back(static_cast<std::uint8_t>(std::stoi(h.substr(i, 2), nullptr, 16)));
  return b;
}

std::string AHex(const Bytes& b) {
  static const char d[] = "0123456789abcdef";
  std::string s;
  for (auto x : b) (s += d[x >> 4]) += d[x & 15];
  return s;
}

std::string Cadena(const Bytes& b) { return std::string(b.begin(), b.end()); }

// The file contents of the known answers: byte i is (i * 7 + 3) mod 256.
Bytes Contenido(std::size_t n) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>((i * 7 + 3) % 256);
  return b;
}

// A whole file through CBC in 8192-byte pieces, as the file action does.
Bytes PorTrozos(int alg, int resumen, const std::string& frase, Bytes datos, bool descifrar) {
  Sesion s(alg, resumen, frase);
  for (std::size_t i = 0; i < datos.size(); i += 8192)
    s.CBC(datos.data() + i, std::min<std::size_t>(8192, datos.size() - i), descifrar);
  return datos;
}

}  // namespace

TEST(CifradoVectores, TodasLasFilas) {
  const std::vector<vectores::Fila>& filas = vectores::Filas();
  int vistas[4] = {};
  for (const vectores::Fila& f : filas) {
    const std::string frase = Cadena(f.frase);
    const int resumen = f.digest;
    SCOPED_TRACE(f.tipo + " alg " + std::to_string(f.alg) + " digest " + std::to_string(resumen) + " input " +
                 f.entrada.substr(0, 16));
    if (f.tipo == "key") {
      Bytes k = DerivarClave(f.alg, resumen, frase);
      EXPECT_EQ(AHex(k), f.salida);
      EXPECT_EQ(k.size() * 8, static_cast<std::size_t>(std::stoi(f.entrada)));
      ++vistas[0];
    } else if (f.tipo == "iv") {
      Sesion s(f.alg, resumen, frase);
      EXPECT_EQ(AHex(s.VectorInicial()), f.salida);
      ++vistas[1];
    } else if (f.tipo == "text") {
      std::string claro = Cadena(DeHex(f.entrada));
      std::string a = std::to_string(f.alg), r = std::to_string(resumen);
      EXPECT_EQ(CT::CipherText(claro, frase, a, r, false), f.salida);
      EXPECT_EQ(CT::CipherText(f.salida, frase, a, r, true), claro);
      ++vistas[2];
    } else if (f.tipo == "file") {
      Bytes claro = Contenido(std::stoul(f.entrada));
      Bytes cifrado = PorTrozos(f.alg, resumen, frase, claro, false);
      EXPECT_EQ(AHex(cifrado), f.salida);
      EXPECT_EQ(PorTrozos(f.alg, resumen, frase, cifrado, true), claro);
      ++vistas[3];
    }
  }
  EXPECT_EQ(vistas[0], 190);  // every algorithm with every digest
  EXPECT_GT(vistas[1], 0);
  EXPECT_GT(vistas[2], 0);
  EXPECT_GT(vistas[3], 0);
}

// Published answers: the digests of "abc" (FIPS 180, RFC 1320/1321, the RIPEMD and Tiger
// authors' pages) and single blocks of FIPS 197 (AES-128), FIPS 46 examples (DES) and
// Schneier's Blowfish vectors.
TEST(CifradoPrimitivas, VectoresPublicados) {
  struct {
    int resumen;
    const char* hex;
  } resumenes[] = {
      {1, "a448017aaf21d8525fc10ae87aa6729d"},
      {2, "900150983cd24fb0d6963f7d28e17f72"},
      {3, "c14a12199c66e4ba84636b0f69144c77"},
      {4, "8eb208f7e05d987a9b044a8e98c6b087f15a0bfc"},
      {5, "a9993e364706816aba3e25717850c26c9cd0d89d"},
      {6, "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {7, "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed8086072ba1e7cc2358baeca134c825a7"},
      {8, "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e2a9ac94fa54ca49f"},
      {9, "2aab1484e8c158f2bfb8c5ff41b57a525129131c957b5f93"},
  };
  const std::uint8_t abc[] = {'a', 'b', 'c'};
  for (const auto& r : resumenes) EXPECT_EQ(AHex(Resumir(r.resumen, abc, 3)), r.hex) << r.resumen;
  struct {
    int alg;
    const char *clave, *claro, *cifrado;
  } bloques[] = {
      {15, "000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff", "69c4e0d86a7b0430d8cdb78070b4c55a"},
      {3, "133457799bbcdff1", "0123456789abcdef", "85e813540f0ab405"},
      {0, "0000000000000000", "0000000000000000", "4ef997456198dd78"},
      {0, "ffffffffffffffff", "ffffffffffffffff", "51866fd5b85ecb8a"},
  };
  for (const auto& b : bloques) {
    SCOPED_TRACE(b.alg);
    auto c = CrearCifra(b.alg, DeHex(b.clave));
    Bytes claro = DeHex(b.claro), salida(claro.size()), vuelta(claro.size());
    c->Cifrar(claro.data(), salida.data());
    EXPECT_EQ(AHex(salida), b.cifrado);
    c->Descifrar(salida.data(), vuelta.data());
    EXPECT_EQ(vuelta, claro);
  }
}

// Every algorithm with every digest, for the lengths where the modes change behaviour.
TEST(CifradoModos, IdaYVueltaEnTodasLasCombinaciones) {
  std::mt19937 azar(7);
  for (int alg = 0; alg <= 18; ++alg) {
    for (int res = 0; res <= 9; ++res) {
      for (std::size_t n : {0u, 5u, 8u, 16u, 8192u, 8193u}) {
        SCOPED_TRACE("alg " + std::to_string(alg) + " digest " + std::to_string(res) + " length " + std::to_string(n));
        Bytes claro(n);
        for (auto& b : claro) b = static_cast<std::uint8_t>(azar());
        Bytes cifrado = PorTrozos(alg, res, "frase", claro, false);
        ASSERT_EQ(cifrado.size(), n);
        if (n >= 8) {
          EXPECT_NE(cifrado, claro);
        }
        ASSERT_EQ(PorTrozos(alg, res, "frase", cifrado, true), claro);
        std::string texto = Cadena(claro).substr(0, 40);
        std::string b64 = CT::CipherText(texto, "frase", std::to_string(alg), std::to_string(res), false);
        EXPECT_EQ(b64.size() % 4, 0u);
        EXPECT_EQ(Base64Decodificar(b64).size(), texto.size());
        ASSERT_EQ(CT::CipherText(b64, "frase", std::to_string(alg), std::to_string(res), true), texto);
      }
    }
  }
}

TEST(CifradoModos, BloqueParcialEsXorConElCifradoDelIV) {
  for (int alg : {0, 1, 3, 4, 5, 6, 7, 8, 10, 11, 13, 17}) {  // the 64-bit block ciphers
    SCOPED_TRACE(alg);
    Sesion s(alg, 2, "clave");
    Bytes iv = s.VectorInicial();
    ASSERT_EQ(iv.size(), 8u);
    auto cifra = CrearCifra(alg, DerivarClave(alg, 2, "clave"));
    Bytes eiv(8);
    cifra->Cifrar(iv.data(), eiv.data());
    Bytes datos = {1, 2, 3, 4, 5}, esperado(5);
    for (int i = 0; i < 5; ++i) esperado[i] = static_cast<std::uint8_t>(datos[i] ^ eiv[i]);
    EXPECT_EQ(PorTrozos(alg, 2, "clave", datos, false), esperado);
  }
}

TEST(CifradoClaves, TripleDESConMD5EsDeDosClaves) {
  Bytes k = DerivarClave(4, 2, "clave");
  ASSERT_EQ(k.size(), 16u);
  Bytes tres(k);
  tres.insert(tres.end(), k.begin(), k.begin() + 8);  // K3 = K1, given explicitly
  auto dos = CrearCifra(4, k), explicita = CrearCifra(4, tres);
  Bytes a(8, 0x5A), b(8), c(8);
  dos->Cifrar(a.data(), b.data());
  explicita->Cifrar(a.data(), c.data());
  EXPECT_EQ(b, c);
  // A 160-bit key: K3 is its last 4 bytes and 4 zero bytes, not K1.
  Bytes k160 = DerivarClave(4, 5, "clave");
  ASSERT_EQ(k160.size(), 20u);
  Bytes relleno(k160);
  relleno.resize(24, 0);
  auto c160 = CrearCifra(4, k160), c192 = CrearCifra(4, relleno);
  c160->Cifrar(a.data(), b.data());
  c192->Cifrar(a.data(), c.data());
  EXPECT_EQ(b, c);
}

TEST(CifradoClaves, LongitudesDeClave) {
  struct {
    int alg, resumen;
    std::size_t bytes;
  } casos[] = {
      {3, 8, 8},   {1, 8, 16},  {0, 8, 56},  {0, 2, 16},  {15, 4, 20}, {15, 8, 32}, {9, 8, 64},
      {9, 4, 20},  {14, 7, 48}, {12, 8, 64}, {11, 8, 64}, {2, 9, 24},  {17, 8, 16}, {16, 5, 20},
  };
  for (const auto& c : casos) EXPECT_EQ(DerivarClave(c.alg, c.resumen, "x").size(), c.bytes) << c.alg << "/" << c.resumen;
}

TEST(CifradoErrores, NumerosDesconocidosOInvalidos) {
  EXPECT_THROW(Sesion(19, 2, "x"), pelmaro::Excepcion);
  EXPECT_THROW(Sesion(-1, 2, "x"), pelmaro::Excepcion);
  EXPECT_THROW(Sesion(0, 10, "x"), pelmaro::Excepcion);
  EXPECT_THROW(CT::CipherText("a", "x", "uno", "2", false), pelmaro::EConvertError);
  EXPECT_THROW(CT::CipherText("a", "x", "1", "2.0", false), pelmaro::EConvertError);
  EXPECT_EQ(CT::CipherText("a", "x", " 0x0F", "$2", false), CT::CipherText("a", "x", "15", "2", false));
}

TEST(CifradoBase64, CodificarYDecodificar) {
  struct {
    std::string datos, texto;
  } casos[] = {{"", ""}, {"f", "Zg=="}, {"fo", "Zm8="}, {"foo", "Zm9v"}, {"foob", "Zm9vYg=="},
               {std::string("\x00\xff\xfe", 3), "AP/+"}};
  for (const auto& c : casos) {
    EXPECT_EQ(Base64Codificar(c.datos), c.texto);
    EXPECT_EQ(Base64Decodificar(c.texto), c.datos);
  }
  EXPECT_EQ(Base64Decodificar("Zm9"), "");             // shorter than a group
  EXPECT_EQ(Base64Decodificar("Zm9vYm"), "foo");       // what follows the last group is ignored
  EXPECT_EQ(Base64Decodificar("Zg==Zm9v"), "ffoo");    // padding inside does not stop decoding
  EXPECT_THROW(Base64Decodificar("Zm9v!mFy"), pelmaro::EConvertError);
  EXPECT_THROW(Base64Decodificar("Zm 9"), pelmaro::EConvertError);
  EXPECT_EQ(CT::CipherText("", "x", "15", "2", false), "");
  EXPECT_EQ(CT::CipherText("", "x", "15", "2", true), "");
}
