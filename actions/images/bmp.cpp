// Windows bitmaps. Reading: 1, 4, 8, 16, 24 and 32 bits per pixel, RLE4 and RLE8, bottom-up
// and top-down. Writing: 8 bits RLE8 when the image fits a palette of 256, otherwise 24 bits
// (32 with alpha).
#include <cstring>

#include "actions/images/codecs.h"

namespace pelmaro::imagenes {
namespace {

constexpr std::uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3;

bool Reconocer(const std::uint8_t* d, std::size_t n) { return n >= 18 && d[0] == 'B' && d[1] == 'M'; }

int Desplazamiento(std::uint32_t mascara) {
  int s = 0;
  while (mascara && !(mascara & 1)) { mascara >>= 1; ++s; }
  return s;
}
std::uint8_t Canal(std::uint32_t v, std::uint32_t mascara) {
  if (!mascara) return 0;
  int s = Desplazamiento(mascara);
  std::uint32_t m = mascara >> s, x = (v & mascara) >> s;
  return static_cast<std::uint8_t>((x * 255 + m / 2) / m);
}

// Decodes RLE8 or RLE4 into one index per pixel, rows bottom-up as stored.
void DescomprimirRle(Lector& in, int bits, int ancho, int alto, std::vector<std::uint8_t>& indices) {
  int x = 0, y = 0;
  auto poner = [&](std::uint8_t v) {
    if (x < ancho && y < alto) indices[static_cast<std::size_t>(y) * ancho + x] = v;
    ++x;
  };
  while (y < alto) {
    std::uint8_t cuenta = in.U8(), valor = in.U8();
    if (cuenta) {
      for (int i = 0; i < cuenta; ++i)
        poner(bits == 8 ? valor : ((i & 1) ? valor & 0x0F : valor >> 4));
    } else if (valor == 0) {
      x = 0; ++y;
    } else if (valor == 1) {
      return;
    } else if (valor == 2) {
      x += in.U8(); y += in.U8();
    } else {
      std::size_t bytes = bits == 8 ? valor : (valor + 1) / 2;
      const std::uint8_t* p = in.Bloque(bytes);
      for (int i = 0; i < valor; ++i) poner(bits == 8 ? p[i] : ((i & 1) ? p[i / 2] & 0x0F : p[i / 2] >> 4));
      if (bytes & 1) in.Saltar(1);
    }
  }
}

Imagen Leer(const std::uint8_t* datos, std::size_t tamanyo) {
  Lector in(datos, tamanyo, "BMP");
  in.Saltar(10);
  std::uint32_t inicioPixeles = in.U32LE();
  std::uint32_t tamCabecera = in.U32LE();
  std::int64_t ancho, alto;
  int bits;
  std::uint32_t compresion = kBiRgb, colores = 0;
  std::uint32_t mascaras[4] = {0, 0, 0, 0};
  if (tamCabecera == 12) {
    ancho = in.U16LE();
    alto = static_cast<std::int16_t>(in.U16LE());
    in.U16LE();
    bits = in.U16LE();
  } else if (tamCabecera >= 40 && tamCabecera <= 1024) {
    ancho = static_cast<std::int32_t>(in.U32LE());
    alto = static_cast<std::int32_t>(in.U32LE());
    in.U16LE();
    bits = in.U16LE();
    compresion = in.U32LE();
    in.Saltar(12);
    colores = in.U32LE();
    in.U32LE();
    if (compresion == kBiBitfields) {
      std::size_t n = tamCabecera >= 56 ? 4 : 3;
      if (tamCabecera == 40) {
        for (std::size_t i = 0; i < 3; ++i) mascaras[i] = in.U32LE();
      } else {
        for (std::size_t i = 0; i < n; ++i) mascaras[i] = in.U32LE();
      }
    }
  } else {
    in.Error("unsupported header size " + std::to_string(tamCabecera));
  }
  in.Ir(14 + tamCabecera + (compresion == kBiBitfields && tamCabecera == 40 ? 12 : 0));
  const bool abajoArriba = alto > 0;
  if (alto < 0) alto = -alto;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    in.Error("unsupported bit depth " + std::to_string(bits));
  if ((compresion == kBiRle8 && bits != 8) || (compresion == kBiRle4 && bits != 4) ||
      (compresion == kBiBitfields && bits != 16 && bits != 32) || compresion > kBiBitfields)
    in.Error("unsupported compression " + std::to_string(compresion));
  const bool paleta = bits <= 8;
  ComprobarDimensiones(ancho, alto, 4);
  const int w = static_cast<int>(ancho), h = static_cast<int>(alto);

  std::vector<ColorPaleta> tabla;
  if (paleta) {
    std::size_t n = colores ? colores : (1u << bits);
    if (n > 256) in.Error("palette too large");
    const std::size_t entrada = tamCabecera == 12 ? 3 : 4;
    const std::uint8_t* p = in.Bloque(n * entrada);
    for (std::size_t i = 0; i < n; ++i) tabla.push_back({p[i * entrada + 2], p[i * entrada + 1], p[i * entrada], 255});
  }
  if (compresion == kBiRgb && bits == 16) {
    mascaras[0] = 0x7C00; mascaras[1] = 0x03E0; mascaras[2] = 0x001F;
  }
  const bool alfa = bits == 32 && (compresion == kBiRgb ? false : mascaras[3] != 0);
  Imagen img = CrearImagen(w, h, paleta ? FormatoPixel::kIndexado8 : (alfa ? FormatoPixel::kRGBA32 : FormatoPixel::kRGB24));
  img.paleta = tabla;
  if (inicioPixeles >= in.Posicion() && inicioPixeles <= tamanyo) in.Ir(inicioPixeles);

  auto filaDestino = [&](int fila) { return img.Fila(abajoArriba ? h - 1 - fila : fila); };
  if (compresion == kBiRle8 || compresion == kBiRle4) {
    if (!abajoArriba) in.Error("compressed bitmaps cannot be top-down");
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(w) * h, 0);
    DescomprimirRle(in, bits, w, h, indices);
    for (int y = 0; y < h; ++y) std::memcpy(filaDestino(y), &indices[static_cast<std::size_t>(y) * w], w);
  } else {
    const std::size_t bytesFila = ((static_cast<std::size_t>(w) * bits + 31) / 32) * 4;
    in.Exigir(bytesFila * (h - 1) + (static_cast<std::size_t>(w) * bits + 7) / 8);
    for (int y = 0; y < h; ++y) {
      const std::uint8_t* s = in.Actual() + bytesFila * y;
      std::uint8_t* d = filaDestino(y);
      for (int x = 0; x < w; ++x) {
        switch (bits) {
          case 1: d[x] = (s[x >> 3] >> (7 - (x & 7))) & 1; break;
          case 4: d[x] = (x & 1) ? s[x >> 1] & 0x0F : s[x >> 1] >> 4; break;
          case 8: d[x] = s[x]; break;
          case 24: d[3 * x] = s[3 * x + 2]; d[3 * x + 1] = s[3 * x + 1]; d[3 * x + 2] = s[3 * x]; break;
          default: {
            std::uint32_t v = bits == 16 ? static_cast<std::uint32_t>(s[2 * x] | (s[2 * x + 1] << 8))
                                         : static_cast<std::uint32_t>(s[4 * x] | (s[4 * x + 1] << 8) | (s[4 * x + 2] << 16) |
                                                                      (static_cast<std::uint32_t>(s[4 * x + 3]) << 24));
            std::uint8_t* p = d + static_cast<std::size_t>(x) * (alfa ? 4 : 3);
            if (bits == 32 && compresion == kBiRgb) {
              p[0] = (v >> 16) & 0xFF; p[1] = (v >> 8) & 0xFF; p[2] = v & 0xFF;
            } else {
              p[0] = Canal(v, mascaras[0]); p[1] = Canal(v, mascaras[1]); p[2] = Canal(v, mascaras[2]);
              if (alfa) p[3] = Canal(v, mascaras[3]);
            }
          }
        }
      }
    }
  }
  if (paleta) {
    // An index beyond the palette would point nowhere: it is cut to the last entry.
    if (img.paleta.empty()) img.paleta.push_back({});
    const std::uint8_t ultimo = static_cast<std::uint8_t>(img.paleta.size() - 1);
    for (std::uint8_t& v : img.pixeles) if (v > ultimo) v = ultimo;
  }
  return img;
}

// One row of indices in RLE8: runs of equal bytes, literal stretches of at least 3.
void ComprimirFilaRle8(const std::uint8_t* f, int w, Bytes& out) {
  int x = 0;
  while (x < w) {
    int run = 1;
    while (x + run < w && run < 255 && f[x + run] == f[x]) ++run;
    if (run >= 2) {
      out.push_back(static_cast<std::uint8_t>(run));
      out.push_back(f[x]);
      x += run;
      continue;
    }
    int lit = 1;
    while (x + lit < w && lit < 255 && !(x + lit + 1 < w && f[x + lit] == f[x + lit + 1])) ++lit;
    if (lit < 3) {
      for (int i = 0; i < lit; ++i) { out.push_back(1); out.push_back(f[x + i]); }
    } else {
      out.push_back(0);
      out.push_back(static_cast<std::uint8_t>(lit));
      out.insert(out.end(), f + x, f + x + lit);
      if (lit & 1) out.push_back(0);
    }
    x += lit;
  }
  out.push_back(0);
  out.push_back(0);
}

Bytes Escribir(const Imagen& origen) {
  Imagen ind;
  const bool alfa = !EsOpaca(origen);
  const bool conPaleta = !alfa && PaletaExacta(origen, 256, ind);
  Imagen color;
  const Imagen& img = conPaleta ? ind : EnFormato(origen, alfa ? FormatoPixel::kRGBA32 : FormatoPixel::kRGB24, color);
  const int w = img.ancho, h = img.alto, bits = conPaleta ? 8 : (alfa ? 32 : 24);
  Bytes pix;
  if (conPaleta) {
    for (int y = h - 1; y >= 0; --y) ComprimirFilaRle8(img.Fila(y), w, pix);
    pix.back() = 1;  // the last end of line becomes the end of the bitmap
  } else {
    const std::size_t bytesFila = ((static_cast<std::size_t>(w) * bits + 31) / 32) * 4;
    pix.assign(bytesFila * h, 0);
    const int b = bits / 8;
    for (int y = 0; y < h; ++y) {
      const std::uint8_t* s = img.Fila(h - 1 - y);
      std::uint8_t* d = pix.data() + bytesFila * y;
      for (int x = 0; x < w; ++x, s += b, d += b) {
        d[0] = s[2]; d[1] = s[1]; d[2] = s[0];
        if (b == 4) d[3] = s[3];
      }
    }
  }
  const std::uint32_t nPaleta = conPaleta ? static_cast<std::uint32_t>(img.paleta.size()) : 0;
  // Alpha needs the version 4 header, whose masks name the alpha channel.
  const std::uint32_t cabecera = alfa ? 108 : 40;
  const std::uint32_t inicio = 14 + cabecera + nPaleta * 4;
  Bytes out;
  out.reserve(inicio + pix.size());
  out.push_back('B'); out.push_back('M');
  PonerU32LE(out, static_cast<std::uint32_t>(inicio + pix.size()));
  PonerU32LE(out, 0);
  PonerU32LE(out, inicio);
  PonerU32LE(out, cabecera);
  PonerU32LE(out, w);
  PonerU32LE(out, h);
  PonerU16LE(out, 1);
  PonerU16LE(out, bits);
  PonerU32LE(out, conPaleta ? kBiRle8 : alfa ? kBiBitfields : kBiRgb);
  PonerU32LE(out, static_cast<std::uint32_t>(pix.size()));
  PonerU32LE(out, 2835);
  PonerU32LE(out, 2835);
  PonerU32LE(out, nPaleta);
  PonerU32LE(out, 0);
  if (alfa) {
    for (std::uint32_t m : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) PonerU32LE(out, m);
    PonerU32LE(out, 0x73524742);  // "sRGB"
    out.resize(out.size() + 48, 0);  // end points and gamma, unused with sRGB
  }
  for (std::uint32_t i = 0; i < nPaleta; ++i) {
    const ColorPaleta& c = img.paleta[i];
    out.push_back(c.b); out.push_back(c.g); out.push_back(c.r); out.push_back(0);
  }
  out.insert(out.end(), pix.begin(), pix.end());
  return out;
}

}  // namespace

const Codec kCodecBmp = {Reconocer, Leer, Escribir};

}  // namespace pelmaro::imagenes
