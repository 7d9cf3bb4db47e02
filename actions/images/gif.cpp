// GIF through giflib: the first frame on reading, drawn on the logical screen; on writing
// one frame with the image's own palette when it has at most 256 colours, otherwise
// quantised to 256.
#include <gif_lib.h>

#include <algorithm>
#include <cstring>

#include "actions/images/codecs.h"

namespace pelmaro::imagenes {
namespace {

struct Entrada {
  const std::uint8_t* datos;
  std::size_t tamanyo, pos;
};

int AlLeer(GifFileType* gif, GifByteType* destino, int n) {
  auto* e = static_cast<Entrada*>(gif->UserData);
  std::size_t m = std::min<std::size_t>(static_cast<std::size_t>(n < 0 ? 0 : n), e->tamanyo - e->pos);
  std::memcpy(destino, e->datos + e->pos, m);
  e->pos += m;
  return static_cast<int>(m);
}

int AlEscribir(GifFileType* gif, const GifByteType* datos, int n) {
  static_cast<Bytes*>(gif->UserData)->insert(static_cast<Bytes*>(gif->UserData)->end(), datos, datos + n);
  return n;
}

[[noreturn]] void Error(int codigo) {
  const char* m = GifErrorString(codigo);
  ErrorCodec(std::string("GIF: ") + (m ? m : "error"));
}

struct Decodificador {
  GifFileType* gif = nullptr;
  ~Decodificador() {
    int e;
    if (gif) DGifCloseFile(gif, &e);
  }
  void Comprobar(int r) const { if (r == GIF_ERROR) Error(gif->Error); }
};

bool Reconocer(const std::uint8_t* d, std::size_t n) {
  return n >= 6 && (std::memcmp(d, "GIF87a", 6) == 0 || std::memcmp(d, "GIF89a", 6) == 0);
}

Imagen Leer(const std::uint8_t* datos, std::size_t tamanyo) {
  Entrada in{datos, tamanyo, 0};
  Decodificador d;
  int codigo = 0;
  d.gif = DGifOpen(&in, AlLeer, &codigo);
  if (!d.gif) Error(codigo);
  int transparente = -1;
  for (;;) {
    GifRecordType tipo;
    d.Comprobar(DGifGetRecordType(d.gif, &tipo));
    if (tipo == TERMINATE_RECORD_TYPE) ErrorCodec("GIF: the file holds no image");
    if (tipo == EXTENSION_RECORD_TYPE) {
      int funcion;
      GifByteType* ext = nullptr;
      d.Comprobar(DGifGetExtension(d.gif, &funcion, &ext));
      if (funcion == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4) transparente = (ext[1] & 1) ? ext[4] : -1;
      while (ext) d.Comprobar(DGifGetExtensionNext(d.gif, &ext));
      continue;
    }
    if (tipo != IMAGE_DESC_RECORD_TYPE) continue;
    d.Comprobar(DGifGetImageDesc(d.gif));
    break;
  }
  const GifImageDesc& marco = d.gif->Image;
  const ColorMapObject* mapa = marco.ColorMap ? marco.ColorMap : d.gif->SColorMap;
  if (!mapa || mapa->ColorCount <= 0 || mapa->ColorCount > 256) ErrorCodec("GIF: the image has no colour table");
  ComprobarDimensiones(marco.Width, marco.Height, 1);
  const int ancho = std::max(d.gif->SWidth, marco.Left + marco.Width);
  const int alto = std::max(d.gif->SHeight, marco.Top + marco.Height);
  Imagen img = CrearImagen(ancho, alto, FormatoPixel::kIndexado8);
  for (int i = 0; i < mapa->ColorCount; ++i) {
    const GifColorType& c = mapa->Colors[i];
    img.paleta.push_back({c.Red, c.Green, c.Blue, static_cast<std::uint8_t>(i == transparente ? 0 : 255)});
  }
  const int fondo = transparente >= 0 && transparente < mapa->ColorCount ? transparente
                    : d.gif->SBackGroundColor < mapa->ColorCount         ? d.gif->SBackGroundColor
                                                                         : 0;
  std::memset(img.pixeles.data(), fondo, img.pixeles.size());
  std::vector<GifPixelType> linea(marco.Width);
  auto leerFila = [&](int y) {
    d.Comprobar(DGifGetLine(d.gif, linea.data(), marco.Width));
    std::memcpy(img.Fila(marco.Top + y) + marco.Left, linea.data(), marco.Width);
  };
  if (marco.Interlace) {
    static const int kInicio[] = {0, 4, 2, 1}, kPaso[] = {8, 8, 4, 2};
    for (int pasada = 0; pasada < 4; ++pasada)
      for (int y = kInicio[pasada]; y < marco.Height; y += kPaso[pasada]) leerFila(y);
  } else {
    for (int y = 0; y < marco.Height; ++y) leerFila(y);
  }
  const std::uint8_t ultimo = static_cast<std::uint8_t>(img.paleta.size() - 1);
  for (std::uint8_t& v : img.pixeles) if (v > ultimo) v = ultimo;
  return img;
}

struct Codificador {
  GifFileType* gif = nullptr;
  ColorMapObject* mapa = nullptr;
  ~Codificador() {
    int e;
    if (gif) EGifCloseFile(gif, &e);
    GifFreeMapObject(mapa);
  }
  void Comprobar(int r) const { if (r == GIF_ERROR) Error(gif->Error); }
};

// The image with a palette of at most 256 entries, one of which may be fully transparent.
Imagen AIndexado(const Imagen& origen, int& transparente) {
  transparente = -1;
  Imagen r;
  if (PaletaExacta(origen, 256, r)) {
    int transparentes = 0;
    bool parcial = false;
    for (std::size_t i = 0; i < r.paleta.size(); ++i) {
      if (r.paleta[i].a == 0) { ++transparentes; transparente = static_cast<int>(i); }
      else if (r.paleta[i].a != 255) parcial = true;
    }
    if (transparentes <= 1 && !parcial) return r;
  }
  transparente = -1;
  const Imagen rgb = ConvertirA(origen, FormatoPixel::kRGB24);
  const std::size_t n = static_cast<std::size_t>(rgb.ancho) * rgb.alto;
  std::vector<GifByteType> rojo(n), verde(n), azul(n);
  for (std::size_t i = 0; i < n; ++i) {
    rojo[i] = rgb.pixeles[3 * i];
    verde[i] = rgb.pixeles[3 * i + 1];
    azul[i] = rgb.pixeles[3 * i + 2];
  }
  r = CrearImagen(rgb.ancho, rgb.alto, FormatoPixel::kIndexado8);
  int colores = 256;
  std::vector<GifColorType> paleta(256);
  if (GifQuantizeBuffer(rgb.ancho, rgb.alto, &colores, rojo.data(), verde.data(), azul.data(), r.pixeles.data(),
                        paleta.data()) == GIF_ERROR)
    ErrorCodec("GIF: the colours could not be reduced to 256");
  for (int i = 0; i < colores; ++i) r.paleta.push_back({paleta[i].Red, paleta[i].Green, paleta[i].Blue, 255});
  return r;
}

Bytes Escribir(const Imagen& origen) {
  int transparente;
  Imagen img = AIndexado(origen, transparente);
  int bits = 1;
  while ((1 << bits) < static_cast<int>(img.paleta.size())) ++bits;
  Bytes out;
  Codificador c;
  int codigo = 0;
  c.mapa = GifMakeMapObject(1 << bits, nullptr);
  if (!c.mapa) ErrorCodec("GIF: out of memory");
  for (std::size_t i = 0; i < img.paleta.size(); ++i)
    c.mapa->Colors[i] = {img.paleta[i].r, img.paleta[i].g, img.paleta[i].b};
  c.gif = EGifOpen(&out, AlEscribir, &codigo);
  if (!c.gif) Error(codigo);
  EGifSetGifVersion(c.gif, transparente >= 0);
  c.Comprobar(EGifPutScreenDesc(c.gif, img.ancho, img.alto, bits, 0, c.mapa));
  if (transparente >= 0) {
    GifByteType control[4] = {1, 0, 0, static_cast<GifByteType>(transparente)};
    c.Comprobar(EGifPutExtension(c.gif, GRAPHICS_EXT_FUNC_CODE, 4, control));
  }
  c.Comprobar(EGifPutImageDesc(c.gif, 0, 0, img.ancho, img.alto, false, nullptr));
  for (int y = 0; y < img.alto; ++y) c.Comprobar(EGifPutLine(c.gif, img.Fila(y), img.ancho));
  int e = 0;
  const int r = EGifCloseFile(c.gif, &e);
  c.gif = nullptr;
  if (r == GIF_ERROR) Error(e);
  return out;
}

}  // namespace

const Codec kCodecGif = {Reconocer, Leer, Escribir};

}  // namespace pelmaro::imagenes
