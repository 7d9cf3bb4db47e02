// PNG through libpng: every colour type and depth on reading (16 bits reduced to 8,
// interlacing resolved); writing at compression level 5, grey, palette, RGB or RGBA as the
// image needs.
#include <png.h>

#include <csetjmp>
#include <cstring>

#include "actions/images/codecs.h"

namespace pelmaro::imagenes {
namespace {

struct Estado {
  std::jmp_buf salto;
  std::string mensaje;
  const std::uint8_t* datos = nullptr;
  std::size_t tamanyo = 0, pos = 0;
  Bytes* salida = nullptr;
};

void AlError(png_structp png, png_const_charp mensaje) {
  auto* e = static_cast<Estado*>(png_get_error_ptr(png));
  e->mensaje = mensaje ? mensaje : "error";
  std::longjmp(e->salto, 1);
}
void AlAviso(png_structp, png_const_charp) {}

void AlLeer(png_structp png, png_bytep destino, png_size_t n) {
  auto* e = static_cast<Estado*>(png_get_io_ptr(png));
  if (n > e->tamanyo - e->pos) png_error(png, "unexpected end of data");
  std::memcpy(destino, e->datos + e->pos, n);
  e->pos += n;
}
void AlEscribir(png_structp png, png_bytep datos, png_size_t n) {
  static_cast<Estado*>(png_get_io_ptr(png))->salida->insert(static_cast<Estado*>(png_get_io_ptr(png))->salida->end(),
                                                              datos, datos + n);
}
void AlVaciar(png_structp) {}

bool Reconocer(const std::uint8_t* d, std::size_t n) { return n >= 8 && png_sig_cmp(d, 0, 8) == 0; }

// Everything that may hold pixels or must be released lives outside the jump's reach.
struct Lectura {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~Lectura() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

Imagen Leer(const std::uint8_t* datos, std::size_t tamanyo) {
  Estado e;
  e.datos = datos;
  e.tamanyo = tamanyo;
  Lectura l;
  Imagen img;
  std::vector<png_bytep> filas;
  l.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &e, AlError, AlAviso);
  if (!l.png) ErrorCodec("PNG: out of memory");
  l.info = png_create_info_struct(l.png);
  if (!l.info) ErrorCodec("PNG: out of memory");
  if (setjmp(e.salto)) ErrorCodec("PNG: " + e.mensaje);
  png_set_read_fn(l.png, &e, AlLeer);
  png_set_user_limits(l.png, kLadoMaximo, kLadoMaximo);
  png_set_chunk_malloc_max(l.png, 64u << 20);
  png_read_info(l.png, l.info);
  const png_uint_32 w = png_get_image_width(l.png, l.info), h = png_get_image_height(l.png, l.info);
  const int tipo = png_get_color_type(l.png, l.info), prof = png_get_bit_depth(l.png, l.info);
  png_set_strip_16(l.png);
  png_set_packing(l.png);
  FormatoPixel f;
  const bool transparencia = png_get_valid(l.png, l.info, PNG_INFO_tRNS);
  if (tipo == PNG_COLOR_TYPE_PALETTE) {
    f = FormatoPixel::kIndexado8;
  } else if (tipo == PNG_COLOR_TYPE_GRAY && !transparencia) {
    if (prof < 8) png_set_expand_gray_1_2_4_to_8(l.png);
    f = FormatoPixel::kGris8;
  } else {
    png_set_expand(l.png);
    png_set_gray_to_rgb(l.png);
    const bool alfa = (tipo & PNG_COLOR_MASK_ALPHA) || transparencia;
    f = alfa ? FormatoPixel::kRGBA32 : FormatoPixel::kRGB24;
  }
  png_set_interlace_handling(l.png);
  png_read_update_info(l.png, l.info);
  ComprobarDimensiones(w, h, BytesPorPixel(f));
  if (png_get_rowbytes(l.png, l.info) != static_cast<std::size_t>(w) * BytesPorPixel(f)) ErrorCodec("PNG: unexpected row layout");
  img = CrearImagen(static_cast<int>(w), static_cast<int>(h), f);
  if (f == FormatoPixel::kIndexado8) {
    png_colorp paleta = nullptr;
    int n = 0;
    png_get_PLTE(l.png, l.info, &paleta, &n);
    png_bytep alfas = nullptr;
    int nAlfas = 0;
    if (transparencia) png_get_tRNS(l.png, l.info, &alfas, &nAlfas, nullptr);
    for (int i = 0; i < n; ++i)
      img.paleta.push_back({paleta[i].red, paleta[i].green, paleta[i].blue,
                            static_cast<std::uint8_t>(i < nAlfas ? alfas[i] : 255)});
  }
  filas.resize(h);
  for (png_uint_32 y = 0; y < h; ++y) filas[y] = img.Fila(static_cast<int>(y));
  png_read_image(l.png, filas.data());
  if (f == FormatoPixel::kIndexado8) {
    if (img.paleta.empty()) img.paleta.push_back({});
    const std::uint8_t ultimo = static_cast<std::uint8_t>(img.paleta.size() - 1);
    for (std::uint8_t& v : img.pixeles) if (v > ultimo) v = ultimo;
  }
  return img;
}

struct Escritura {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~Escritura() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

Bytes Escribir(const Imagen& origen) {
  Imagen almacen;
  const bool alfa = !EsOpaca(origen);
  const FormatoPixel f = EsGris(origen) ? FormatoPixel::kGris8
                         : origen.formato == FormatoPixel::kIndexado8 && origen.paleta.size() <= 256
                             ? FormatoPixel::kIndexado8
                         : alfa ? FormatoPixel::kRGBA32
                                : FormatoPixel::kRGB24;
  const Imagen& img = EnFormato(origen, f, almacen);
  Bytes out;
  Estado e;
  e.salida = &out;
  Escritura s;
  std::vector<png_color> paleta;
  std::vector<png_byte> alfas;
  std::vector<png_bytep> filas(img.alto);
  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &e, AlError, AlAviso);
  if (!s.png) ErrorCodec("PNG: out of memory");
  s.info = png_create_info_struct(s.png);
  if (!s.info) ErrorCodec("PNG: out of memory");
  if (setjmp(e.salto)) ErrorCodec("PNG: " + e.mensaje);
  png_set_write_fn(s.png, &e, AlEscribir, AlVaciar);
  png_set_compression_level(s.png, 5);
  const int tipo = img.formato == FormatoPixel::kGris8       ? PNG_COLOR_TYPE_GRAY
                   : img.formato == FormatoPixel::kIndexado8 ? PNG_COLOR_TYPE_PALETTE
                   : img.formato == FormatoPixel::kRGB24     ? PNG_COLOR_TYPE_RGB
                                                             : PNG_COLOR_TYPE_RGB_ALPHA;
  png_set_IHDR(s.png, s.info, img.ancho, img.alto, 8, tipo, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (tipo == PNG_COLOR_TYPE_PALETTE) {
    for (const ColorPaleta& c : img.paleta) {
      paleta.push_back({c.r, c.g, c.b});
      alfas.push_back(c.a);
    }
    png_set_PLTE(s.png, s.info, paleta.data(), static_cast<int>(paleta.size()));
    while (!alfas.empty() && alfas.back() == 255) alfas.pop_back();
    if (!alfas.empty()) png_set_tRNS(s.png, s.info, alfas.data(), static_cast<int>(alfas.size()), nullptr);
  }
  for (int y = 0; y < img.alto; ++y) filas[y] = const_cast<png_bytep>(img.Fila(y));
  png_write_info(s.png, s.info);
  png_write_image(s.png, filas.data());
  png_write_end(s.png, nullptr);
  return out;
}

}  // namespace

const Codec kCodecPng = {Reconocer, Leer, Escribir};

}  // namespace pelmaro::imagenes
