#include "actions/files/archivo_icono.h"

namespace pelmaro {
namespace {

void Poner16(std::vector<std::uint8_t>& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Poner32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  Poner16(b, v & 0xFFFFu);
  Poner16(b, v >> 16);
}

constexpr std::uint32_t kCabeceraInfo = 40;
constexpr std::uint32_t kDirectorio = 6 + 16;

}  // namespace

std::size_t BytesPorFila(std::int32_t ancho, std::uint16_t bitsPorPixel) {
  std::uint64_t bits = static_cast<std::uint64_t>(ancho < 0 ? 0 : ancho) * bitsPorPixel;
  return static_cast<std::size_t>((bits + 31) / 32 * 4);
}

std::vector<std::uint8_t> ArchivoIcono(const ImagenIcono& img) {
  const std::uint32_t pixels = static_cast<std::uint32_t>(img.pixelsColor.size() + img.pixelsMascara.size());
  const std::uint32_t datos = kCabeceraInfo + static_cast<std::uint32_t>(img.tablaColores.size()) + pixels;
  std::vector<std::uint8_t> b;
  b.reserve(kDirectorio + datos);
  // Directory: reserved, type 1 (icon), one image.
  Poner16(b, 0);
  Poner16(b, 1);
  Poner16(b, 1);
  // Its entry. Width and height 256 are written as 0, as the format says.
  b.push_back(static_cast<std::uint8_t>(img.ancho));
  b.push_back(static_cast<std::uint8_t>(img.alto));
  b.push_back(img.bitsPorPixel < 8 ? static_cast<std::uint8_t>(1u << img.bitsPorPixel) : 0);  // colours
  b.push_back(0);                                                                               // reserved
  Poner16(b, 1);  // planes
  Poner16(b, img.bitsPorPixel);
  Poner32(b, datos);
  Poner32(b, kDirectorio);
  // Bitmap info header of the image: colour and mask stacked, so twice the height.
  Poner32(b, kCabeceraInfo);
  Poner32(b, static_cast<std::uint32_t>(img.ancho));
  Poner32(b, static_cast<std::uint32_t>(img.alto) * 2);
  Poner16(b, 1);
  Poner16(b, img.bitsPorPixel);
  Poner32(b, 0);  // uncompressed
  Poner32(b, pixels);
  Poner32(b, 0);
  Poner32(b, 0);
  Poner32(b, 0);
  Poner32(b, 0);
  b.insert(b.end(), img.tablaColores.begin(), img.tablaColores.end());
  b.insert(b.end(), img.pixelsColor.begin(), img.pixelsColor.end());
  b.insert(b.end(), img.pixelsMascara.begin(), img.pixelsMascara.end());
  return b;
}

}  // namespace pelmaro
