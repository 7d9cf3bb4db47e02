// Enciphering of texts and files with a passphrase: 19 ciphers, 10 key digests, and the fixed
// data format around them (key derivation, initialisation vector, CFB-8 for texts, CBC with
// a partial last block for files, Base64). Platform-free.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pelmaro::cifrado {

inline constexpr int kAlgoritmoRC4 = 12;

// One cipher with its key set. Block ciphers work on one block; RC4 on a stream.
class Cifra {
 public:
  virtual ~Cifra() = default;
  virtual std::size_t TamanyoBloque() const = 0;  // 8 or 16; 0 for the stream cipher
  virtual void Cifrar(const std::uint8_t* entrada, std::uint8_t* salida) const = 0;
  virtual void Descifrar(const std::uint8_t* entrada, std::uint8_t* salida) const = 0;
  // The stream cipher: XORs the next key-stream bytes over the data.
  virtual void Flujo(std::uint8_t* datos, std::size_t n);
  // CBC over whole blocks in place (n a multiple of the block size), carrying `cadena`.
  virtual void CBCBloques(std::uint8_t* datos, std::size_t n, std::uint8_t* cadena, bool descifrar) const;
  virtual void Borrar() = 0;  // wipes the key material
};

// The largest key of an algorithm in bits; throws for a number outside 0-18.
unsigned BitsClaveMaxima(int algoritmo);
// The cipher of an algorithm keyed with `clave` as derived (the algorithm's own padding
// rules applied here).
std::unique_ptr<Cifra> CrearCifra(int algoritmo, const std::vector<std::uint8_t>& clave);

// The digest of a key-derivation digest number; throws for a number outside 0-9.
std::vector<std::uint8_t> Resumir(int resumen, const std::uint8_t* datos, std::size_t n);
// The key: the first min(largest key, digest size) bits of the passphrase's digest.
std::vector<std::uint8_t> DerivarClave(int algoritmo, int resumen, std::string_view frase);

// A keyed cipher with its initialisation vector and chaining value: one text or one whole
// file. The key material is wiped when it is destroyed.
class Sesion {
 public:
  Sesion(int algoritmo, int resumen, std::string_view frase);
  ~Sesion();
  Sesion(const Sesion&) = delete;
  Sesion& operator=(const Sesion&) = delete;

  const std::vector<std::uint8_t>& VectorInicial() const { return iv_; }
  // 8-bit cipher feedback (or RC4's key stream) over the whole text, in place.
  void CFB8(std::uint8_t* datos, std::size_t n, bool descifrar);
  // CBC over consecutive pieces of one file, in place; only the last piece may end with a
  // partial block, which is XORed with E_K(chaining value).
  void CBC(std::uint8_t* datos, std::size_t n, bool descifrar);

 private:
  std::unique_ptr<Cifra> cifra_;
  std::vector<std::uint8_t> iv_, cadena_;
};

std::string Base64Codificar(std::string_view datos);
// Groups of four characters; anything after the last whole group is ignored; a text shorter
// than four characters decodes to nothing. Throws for a character outside the alphabet.
std::string Base64Decodificar(std::string_view texto);

// The operations behind the two actions.
class TUtilesCifrador {
 public:
  // Algorithm and digest numbers as integer texts; Base64 out when enciphering, Base64 in
  // when deciphering.
  static std::string CipherText(std::string_view texto, std::string_view frase, std::string_view algoritmo,
                                std::string_view resumen, bool descifrar);
  // True when the source existed and was processed; false (nothing created) when it does not
  // exist. Windows only.
  static bool CipherFile(const char* origen, const char* destino, const char* frase, const char* algoritmo,
                         const char* resumen, bool descifrar);
};

}  // namespace pelmaro::cifrado
