// The icon (.ico) file the icon actions write: one image, its bitmaps as device-independent
// pixels. Platform-free.
#pragma once
#include <cstdint>
#include <vector>

namespace pelmaro {

// One icon image as its bitmaps give it.
struct ImagenIcono {
  std::int32_t ancho = 0;
  std::int32_t alto = 0;          // of the image, not of the colour and mask together
  std::uint16_t bitsPorPixel = 0; // planes x bits per pixel of the colour bitmap
  std::vector<std::uint8_t> tablaColores;  // 4 bytes an entry; only for 8 bits or fewer
  std::vector<std::uint8_t> pixelsColor;   // bottom-up rows padded to 4 bytes
  std::vector<std::uint8_t> pixelsMascara; // 1 bit per pixel, bottom-up rows padded to 4 bytes
};

// Bytes of one bottom-up row padded to 4 bytes.
std::size_t BytesPorFila(std::int32_t ancho, std::uint16_t bitsPorPixel);

// The whole file: directory with one entry, the bitmap info header (height doubled),
// colour table, colour pixels and mask.
std::vector<std::uint8_t> ArchivoIcono(const ImagenIcono& imagen);

}  // namespace pelmaro
