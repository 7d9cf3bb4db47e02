#include "actions/images/imagen.h"

#include <algorithm>
#include <cstring>
#include <map>

namespace pelmaro::imagenes {

int BytesPorPixel(FormatoPixel f) {
  switch (f) {
    case FormatoPixel::kGris8:
    case FormatoPixel::kIndexado8: return 1;
    case FormatoPixel::kRGB24: return 3;
    case FormatoPixel::kRGBA32: return 4;
  }
  return 1;
}

void ErrorCodec(const std::string& mensaje) { throw EImagingError(mensaje); }

void ComprobarDimensiones(std::int64_t ancho, std::int64_t alto, int bytesPorPixel) {
  if (ancho <= 0 || alto <= 0) ErrorCodec("Invalid image dimensions: " + std::to_string(ancho) + " x " + std::to_string(alto));
  if (ancho > kLadoMaximo || alto > kLadoMaximo ||
      static_cast<std::uint64_t>(ancho) * static_cast<std::uint64_t>(alto) * static_cast<std::uint64_t>(bytesPorPixel) >
          kBytesMaximos)
    ErrorCodec("Image too large: " + std::to_string(ancho) + " x " + std::to_string(alto) +
               " pixels (the limit is 16384 x 16384 and 256 MiB of pixels)");
}

Imagen CrearImagen(int ancho, int alto, FormatoPixel formato) {
  ComprobarDimensiones(ancho, alto, BytesPorPixel(formato));
  Imagen img;
  img.ancho = ancho;
  img.alto = alto;
  img.formato = formato;
  img.pixeles.assign(img.BytesFila() * static_cast<std::size_t>(alto), 0);
  return img;
}

namespace {

std::uint8_t Luminancia(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<std::uint8_t>((299u * r + 587u * g + 114u * b + 500u) / 1000u);
}

// One pixel as R, G, B, A.
ColorPaleta Pixel(const Imagen& img, const std::uint8_t* p) {
  switch (img.formato) {
    case FormatoPixel::kGris8: return {p[0], p[0], p[0], 255};
    case FormatoPixel::kIndexado8: return p[0] < img.paleta.size() ? img.paleta[p[0]] : ColorPaleta{};
    case FormatoPixel::kRGB24: return {p[0], p[1], p[2], 255};
    case FormatoPixel::kRGBA32: return {p[0], p[1], p[2], p[3]};
  }
  return {};
}

}  // namespace

Imagen ConvertirA(const Imagen& origen, FormatoPixel destino) {
  if (origen.formato == destino) return origen;
  if (destino == FormatoPixel::kIndexado8) {
    Imagen r;
    if (PaletaExacta(origen, 256, r)) return r;
    ErrorCodec("The image has more than 256 colours and cannot be stored with a palette");
  }
  Imagen r = CrearImagen(origen.ancho, origen.alto, destino);
  const int bo = BytesPorPixel(origen.formato), bd = BytesPorPixel(destino);
  const std::size_t n = static_cast<std::size_t>(origen.ancho) * origen.alto;
  const std::uint8_t* s = origen.pixeles.data();
  std::uint8_t* d = r.pixeles.data();
  for (std::size_t i = 0; i < n; ++i, s += bo, d += bd) {
    ColorPaleta c = Pixel(origen, s);
    switch (destino) {
      case FormatoPixel::kGris8: d[0] = Luminancia(c.r, c.g, c.b); break;
      case FormatoPixel::kRGB24: d[0] = c.r; d[1] = c.g; d[2] = c.b; break;
      case FormatoPixel::kRGBA32: d[0] = c.r; d[1] = c.g; d[2] = c.b; d[3] = c.a; break;
      case FormatoPixel::kIndexado8: break;
    }
  }
  return r;
}

const Imagen& EnFormato(const Imagen& origen, FormatoPixel destino, Imagen& almacen) {
  if (origen.formato == destino) return origen;
  almacen = ConvertirA(origen, destino);
  return almacen;
}

bool EsOpaca(const Imagen& img) {
  if (img.formato == FormatoPixel::kRGBA32) {
    for (std::size_t i = 3; i < img.pixeles.size(); i += 4)
      if (img.pixeles[i] != 255) return false;
  } else if (img.formato == FormatoPixel::kIndexado8) {
    std::vector<bool> usado(256, false);
    for (std::uint8_t v : img.pixeles) usado[v] = true;
    for (std::size_t i = 0; i < img.paleta.size(); ++i)
      if (usado[i] && img.paleta[i].a != 255) return false;
  }
  return true;
}

bool EsGris(const Imagen& img) {
  if (img.formato == FormatoPixel::kGris8) return true;
  if (!EsOpaca(img)) return false;
  if (img.formato == FormatoPixel::kIndexado8) {
    for (const ColorPaleta& c : img.paleta)
      if (c.r != c.g || c.g != c.b) return false;
    return true;
  }
  const int b = BytesPorPixel(img.formato);
  for (std::size_t i = 0; i + 2 < img.pixeles.size(); i += b)
    if (img.pixeles[i] != img.pixeles[i + 1] || img.pixeles[i + 1] != img.pixeles[i + 2]) return false;
  return true;
}

bool PaletaExacta(const Imagen& origen, int maximo, Imagen& destino) {
  if (origen.formato == FormatoPixel::kIndexado8 && static_cast<int>(origen.paleta.size()) <= maximo) {
    destino = origen;
    return true;
  }
  Imagen r = CrearImagen(origen.ancho, origen.alto, FormatoPixel::kIndexado8);
  std::map<std::uint32_t, std::uint8_t> indices;
  const int bo = BytesPorPixel(origen.formato);
  const std::uint8_t* s = origen.pixeles.data();
  std::uint32_t ultimo = 0;
  std::uint8_t indiceUltimo = 0;
  for (std::size_t i = 0; i < r.pixeles.size(); ++i, s += bo) {
    ColorPaleta c = Pixel(origen, s);
    std::uint32_t clave = (std::uint32_t{c.r} << 24) | (c.g << 16) | (c.b << 8) | c.a;
    if (i == 0 || clave != ultimo) {
      auto it = indices.find(clave);
      if (it == indices.end()) {
        if (static_cast<int>(indices.size()) >= maximo) return false;
        it = indices.emplace(clave, static_cast<std::uint8_t>(indices.size())).first;
        r.paleta.push_back(c);
      }
      ultimo = clave;
      indiceUltimo = it->second;
    }
    r.pixeles[i] = indiceUltimo;
  }
  destino = std::move(r);
  return true;
}

int AnguloNormalizado(std::int64_t grados) {
  if (grados % 90 != 0) return -1;
  grados %= 360;  // keeps the sign
  if (grados < 0) grados += 360;
  return static_cast<int>(grados);
}

Imagen Rotar(const Imagen& origen, int grados) {
  if (grados == 0) return origen;
  const int w = origen.ancho, h = origen.alto, b = BytesPorPixel(origen.formato);
  Imagen r = grados == 180 ? CrearImagen(w, h, origen.formato) : CrearImagen(h, w, origen.formato);
  r.paleta = origen.paleta;
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* s = origen.Fila(y);
    for (int x = 0; x < w; ++x, s += b) {
      int dx, dy;
      switch (grados) {
        case 90: dx = y; dy = w - 1 - x; break;       // counter-clockwise
        case 180: dx = w - 1 - x; dy = h - 1 - y; break;
        default: dx = h - 1 - y; dy = x; break;       // 270: clockwise
      }
      std::memcpy(r.Fila(dy) + static_cast<std::size_t>(dx) * b, s, b);
    }
  }
  return r;
}

Imagen Redimensionar(const Imagen& origen, int ancho, int alto) {
  Imagen r = CrearImagen(ancho, alto, origen.formato);
  r.paleta = origen.paleta;
  const int b = BytesPorPixel(origen.formato);
  std::vector<std::size_t> columnas(ancho);
  for (int x = 0; x < ancho; ++x)
    columnas[x] = static_cast<std::size_t>((static_cast<std::uint64_t>(x) * origen.ancho) / ancho) * b;
  for (int y = 0; y < alto; ++y) {
    const std::uint8_t* s = origen.Fila(static_cast<int>((static_cast<std::uint64_t>(y) * origen.alto) / alto));
    std::uint8_t* d = r.Fila(y);
    for (int x = 0; x < ancho; ++x, d += b) std::memcpy(d, s + columnas[x], b);
  }
  return r;
}

void Espejar(Imagen& img) {
  const int b = BytesPorPixel(img.formato);
  for (int y = 0; y < img.alto; ++y) {
    std::uint8_t* f = img.Fila(y);
    for (int i = 0, j = img.ancho - 1; i < j; ++i, --j)
      std::swap_ranges(f + static_cast<std::size_t>(i) * b, f + static_cast<std::size_t>(i + 1) * b,
                       f + static_cast<std::size_t>(j) * b);
  }
}

void Invertir(Imagen& img) {
  for (int i = 0, j = img.alto - 1; i < j; ++i, --j)
    std::swap_ranges(img.Fila(i), img.Fila(i) + img.BytesFila(), img.Fila(j));
}

}  // namespace pelmaro::imagenes
