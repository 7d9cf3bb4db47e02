// The registered image formats, in their fixed order, and reading and writing images by
// format. Adding a format is a codec file with its three functions (declared in codecs.h)
// and its row in formatos.cpp.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "actions/images/imagen.h"

namespace pelmaro::imagenes {

using Bytes = std::vector<std::uint8_t>;

// A codec: whether the bytes look like its format, the first image they hold, and the
// file bytes of an image (any pixel layout; the writer converts as its format needs).
// Readers raise EImagingError on anything they cannot decode.
struct Codec {
  bool (*reconocer)(const std::uint8_t* datos, std::size_t tamanyo);
  Imagen (*leer)(const std::uint8_t* datos, std::size_t tamanyo);
  Bytes (*escribir)(const Imagen& imagen);  // null: the format is read only
};

struct Formato {
  const char* nombre;       // the format's name
  const char* extensiones;  // the key extension, then the further ones, comma-separated
  bool puedeGuardar;
  const Codec* codec;       // null while the format has no codec in this build
  // The key extension (the first one).
  std::string Clave() const;
  // True when `extension` (no dot) is one of its extensions, in any case.
  bool TieneExtension(std::string_view extension) const;
};

// Every format, in order.
const std::vector<Formato>& Formatos();

// The extension of a file name: the text after its last ".", all "." removed; empty when
// there is none.
std::string ExtensionDe(std::string_view nombre);
// The format whose key extension is `extension` (any case), or null; with `paraGuardar`
// only formats that can save count.
const Formato* FormatoPorClave(std::string_view extension, bool paraGuardar);

// The first image of a file's bytes, its format recognised by content: first the formats
// whose extensions match `nombreArchivo`, then all. False when no format recognises the
// data; raises EImagingError when the reader of the format that does fails.
bool LeerImagen(const std::uint8_t* datos, std::size_t tamanyo, std::string_view nombreArchivo, Imagen& imagen);
// The bytes of the image in the format with that key extension.
Bytes EscribirImagen(const Imagen& imagen, std::string_view claveFormato);

// Bounded reading of a codec's input: every read past the end raises EImagingError with the
// format's name.
class Lector {
 public:
  Lector(const std::uint8_t* datos, std::size_t tamanyo, const char* formato)
      : datos_(datos), tamanyo_(tamanyo), formato_(formato) {}
  std::size_t Posicion() const { return pos_; }
  std::size_t Resto() const { return tamanyo_ - pos_; }
  const std::uint8_t* Actual() const { return datos_ + pos_; }
  void Saltar(std::size_t n) { Exigir(n); pos_ += n; }
  void Ir(std::size_t pos) { if (pos > tamanyo_) Truncado(); pos_ = pos; }
  std::uint8_t U8() { Exigir(1); return datos_[pos_++]; }
  std::uint16_t U16LE() { Exigir(2); std::uint16_t v = datos_[pos_] | (datos_[pos_ + 1] << 8); pos_ += 2; return v; }
  std::uint32_t U32LE() {
    Exigir(4);
    std::uint32_t v = datos_[pos_] | (datos_[pos_ + 1] << 8) | (datos_[pos_ + 2] << 16) |
                      (static_cast<std::uint32_t>(datos_[pos_ + 3]) << 24);
    pos_ += 4;
    return v;
  }
  const std::uint8_t* Bloque(std::size_t n) { Exigir(n); const std::uint8_t* p = datos_ + pos_; pos_ += n; return p; }
  void Exigir(std::size_t n) const { if (n > tamanyo_ - pos_) Truncado(); }
  [[noreturn]] void Truncado() const;
  [[noreturn]] void Error(const std::string& mensaje) const;

 private:
  const std::uint8_t* datos_;
  std::size_t tamanyo_;
  std::size_t pos_ = 0;
  const char* formato_;
};

// Little-endian writing for the codecs' writers.
inline void PonerU16LE(Bytes& b, std::uint32_t v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); }
inline void PonerU32LE(Bytes& b, std::uint32_t v) { PonerU16LE(b, v & 0xFFFF); PonerU16LE(b, v >> 16); }

}  // namespace pelmaro::imagenes
