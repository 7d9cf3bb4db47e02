// Truevision Targa. Reading: colour-mapped, true-colour (15, 16, 24, 32 bits) and grey,
// raw or RLE, either origin. Writing: raw, uncompressed, top-down, 8-bit grey, 24 or 32 bits.
#include <algorithm>

#include "actions/images/codecs.h"

namespace pelmaro::imagenes {
namespace {

bool Reconocer(const std::uint8_t* d, std::size_t n) {
  // Targa has no signature: the header's fields must make sense together.
  if (n < 18) return false;
  const int tipoMapa = d[1], tipo = d[2], bits = d[16];
  const int tipoBase = tipo & ~8;
  if (tipoMapa > 1 || (tipoBase != 1 && tipoBase != 2 && tipoBase != 3) || tipo > 11) return false;
  if (tipoBase == 1 && (tipoMapa != 1 || bits != 8)) return false;
  if (tipoBase == 2 && bits != 15 && bits != 16 && bits != 24 && bits != 32) return false;
  if (tipoBase == 3 && bits != 8) return false;
  if (tipoMapa == 1 && d[7] != 15 && d[7] != 16 && d[7] != 24 && d[7] != 32) return false;
  const int ancho = d[12] | (d[13] << 8), alto = d[14] | (d[15] << 8);
  return ancho > 0 && alto > 0;
}

ColorPaleta Color(const std::uint8_t* p, int bits) {
  if (bits == 15 || bits == 16) {
    unsigned v = p[0] | (p[1] << 8);
    auto c5 = [](unsigned x) { return static_cast<std::uint8_t>((x << 3) | (x >> 2)); };
    return {c5((v >> 10) & 31), c5((v >> 5) & 31), c5(v & 31), 255};
  }
  return {p[2], p[1], p[0], static_cast<std::uint8_t>(bits == 32 ? p[3] : 255)};
}

Imagen Leer(const std::uint8_t* datos, std::size_t tamanyo) {
  Lector in(datos, tamanyo, "TGA");
  const int largoId = in.U8(), tipoMapa = in.U8(), tipo = in.U8();
  const int primerColor = in.U16LE(), nColores = in.U16LE(), bitsMapa = in.U8();
  in.Saltar(4);
  const int ancho = in.U16LE(), alto = in.U16LE(), bits = in.U8(), descriptor = in.U8();
  const int tipoBase = tipo & ~8;
  const bool rle = tipo & 8;
  if (!Reconocer(datos, tamanyo)) in.Error("unsupported image type");
  in.Saltar(largoId);
  std::vector<ColorPaleta> mapa;
  if (tipoMapa == 1) {
    const int b = (bitsMapa + 7) / 8;
    const std::uint8_t* p = in.Bloque(static_cast<std::size_t>(nColores) * b);
    for (int i = 0; i < nColores; ++i) mapa.push_back(Color(p + i * b, bitsMapa));
  }
  FormatoPixel f = tipoBase == 1   ? FormatoPixel::kIndexado8
                   : tipoBase == 3 ? FormatoPixel::kGris8
                   : bits == 32    ? FormatoPixel::kRGBA32
                                   : FormatoPixel::kRGB24;
  Imagen img = CrearImagen(ancho, alto, f);
  if (tipoBase == 1) {
    if (primerColor + nColores > 256 || nColores == 0) in.Error("unsupported colour map");
    img.paleta.assign(primerColor, ColorPaleta{});
    img.paleta.insert(img.paleta.end(), mapa.begin(), mapa.end());
  }
  const int bEntrada = (bits + 7) / 8, bSalida = BytesPorPixel(f);
  const std::size_t total = static_cast<std::size_t>(ancho) * alto;
  auto poner = [&](std::size_t i, const std::uint8_t* p) {
    std::uint8_t* d = img.pixeles.data() + i * bSalida;
    if (bSalida == 1) {
      d[0] = p[0];
    } else {
      ColorPaleta c = Color(p, bits);
      d[0] = c.r; d[1] = c.g; d[2] = c.b;
      if (bSalida == 4) d[3] = c.a;
    }
  };
  if (rle) {
    std::size_t i = 0;
    while (i < total) {
      const std::uint8_t cabeza = in.U8();
      const std::size_t n = std::min<std::size_t>((cabeza & 0x7F) + 1, total - i);
      if (cabeza & 0x80) {
        const std::uint8_t* p = in.Bloque(bEntrada);
        for (std::size_t k = 0; k < n; ++k) poner(i++, p);
      } else {
        const std::uint8_t* p = in.Bloque(n * bEntrada);
        for (std::size_t k = 0; k < n; ++k) poner(i++, p + k * bEntrada);
      }
    }
  } else {
    const std::uint8_t* p = in.Bloque(total * bEntrada);
    for (std::size_t i = 0; i < total; ++i) poner(i, p + i * bEntrada);
  }
  if (tipoBase == 1)
    for (std::uint8_t& v : img.pixeles) if (v >= img.paleta.size()) v = static_cast<std::uint8_t>(img.paleta.size() - 1);
  if (!(descriptor & 0x20)) Invertir(img);  // stored bottom-up
  if (descriptor & 0x10) Espejar(img);      // stored right to left
  return img;
}

Bytes Escribir(const Imagen& origen) {
  const bool gris = EsGris(origen), alfa = !EsOpaca(origen);
  Imagen almacen;
  const Imagen& img =
      EnFormato(origen, gris ? FormatoPixel::kGris8 : alfa ? FormatoPixel::kRGBA32 : FormatoPixel::kRGB24, almacen);
  const int b = BytesPorPixel(img.formato);
  Bytes out = {0, 0, static_cast<std::uint8_t>(gris ? 3 : 2), 0, 0, 0, 0, 0, 0, 0, 0, 0};
  PonerU16LE(out, img.ancho);
  PonerU16LE(out, img.alto);
  out.push_back(static_cast<std::uint8_t>(b * 8));
  out.push_back(static_cast<std::uint8_t>(0x20 | (alfa ? 8 : 0)));  // top-down
  out.reserve(out.size() + img.pixeles.size());
  for (std::size_t i = 0; i < img.pixeles.size(); i += b) {
    if (b == 1) {
      out.push_back(img.pixeles[i]);
    } else {
      out.push_back(img.pixeles[i + 2]); out.push_back(img.pixeles[i + 1]); out.push_back(img.pixeles[i]);
      if (b == 4) out.push_back(img.pixeles[i + 3]);
    }
  }
  return out;
}

}  // namespace

const Codec kCodecTga = {Reconocer, Leer, Escribir};

}  // namespace pelmaro::imagenes
