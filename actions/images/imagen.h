// The image record that the codecs read and write, the pixel-format conversions writers use
// and the transforms of the image actions. Platform-free.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/errores.h"

namespace pelmaro::imagenes {

// Pixel layouts, 8 bits per sample, rows top to bottom without padding.
enum class FormatoPixel {
  kGris8,      // one grey sample
  kIndexado8,  // an index into the palette
  kRGB24,      // R, G, B
  kRGBA32,     // R, G, B, A (A 255 opaque)
};

int BytesPorPixel(FormatoPixel f);

struct ColorPaleta {
  std::uint8_t r = 0, g = 0, b = 0, a = 255;
  bool operator==(const ColorPaleta& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
};

struct Imagen {
  int ancho = 0;
  int alto = 0;
  FormatoPixel formato = FormatoPixel::kRGB24;
  std::vector<std::uint8_t> pixeles;   // alto rows of ancho * BytesPorPixel(formato) bytes
  std::vector<ColorPaleta> paleta;     // kIndexado8 only; at most 256 entries

  std::size_t BytesFila() const { return static_cast<std::size_t>(ancho) * BytesPorPixel(formato); }
  std::uint8_t* Fila(int y) { return pixeles.data() + static_cast<std::size_t>(y) * BytesFila(); }
  const std::uint8_t* Fila(int y) const { return pixeles.data() + static_cast<std::size_t>(y) * BytesFila(); }
};

// The largest image a 32-bit process is asked to hold: each side and the pixel bytes.
inline constexpr int kLadoMaximo = 16384;
inline constexpr std::uint64_t kBytesMaximos = 256ull << 20;

// Raises EImagingError when an image of that size cannot be held (or a side is not positive).
void ComprobarDimensiones(std::int64_t ancho, std::int64_t alto, int bytesPorPixel);
// A new image of that size and layout, pixels zeroed, after the check above.
Imagen CrearImagen(int ancho, int alto, FormatoPixel formato);

// Raises EImagingError with the codec's message.
[[noreturn]] void ErrorCodec(const std::string& mensaje);

// Conversions. Palette images expand through their palette; colour to grey uses the
// luminance weights 0.299, 0.587, 0.114.
Imagen ConvertirA(const Imagen& origen, FormatoPixel destino);
// The image in that layout without a copy when it already is: `origen` itself, or the
// conversion stored in `almacen`.
const Imagen& EnFormato(const Imagen& origen, FormatoPixel destino, Imagen& almacen);
// True when every pixel is opaque (alpha 255), or the layout has no alpha.
bool EsOpaca(const Imagen& imagen);
// True when a palette image or an opaque colour image has only grey colours.
bool EsGris(const Imagen& imagen);
// The image with a palette holding exactly its colours when there are at most `maximo`;
// false when there are more.
bool PaletaExacta(const Imagen& origen, int maximo, Imagen& destino);

// Transforms.
// Rotation by a multiple of 90 degrees, already reduced to 0, 90, 180 or 270; positive
// angles turn counter-clockwise.
Imagen Rotar(const Imagen& origen, int grados);
// Nearest-neighbour scaling to exactly that size.
Imagen Redimensionar(const Imagen& origen, int ancho, int alto);
void Espejar(Imagen& imagen);  // left to right
void Invertir(Imagen& imagen); // top to bottom

// The rotation that an angle asks for: 0, 90, 180 or 270, or -1 when the angle is not a
// multiple of 90. Angles beyond a full turn are reduced keeping their sign; negative ones
// turn the other way.
int AnguloNormalizado(std::int64_t grados);

}  // namespace pelmaro::imagenes
