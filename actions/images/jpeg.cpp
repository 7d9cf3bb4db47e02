// JPEG through the IJG interface of libjpeg-turbo: baseline and progressive on reading
// (grey, YCbCr, CMYK), baseline at quality 90 on writing (grey or colour).
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

#include <csetjmp>
#include <cstdlib>

#include "actions/images/codecs.h"

namespace pelmaro::imagenes {
namespace {

struct Errores {
  jpeg_error_mgr mgr;
  std::jmp_buf salto;
  char mensaje[JMSG_LENGTH_MAX];
};

void AlSalir(j_common_ptr c) {
  auto* e = reinterpret_cast<Errores*>(c->err);
  (*c->err->format_message)(c, e->mensaje);
  std::longjmp(e->salto, 1);
}
// Warnings are silent, except the end of the data before the image's end: a truncated file
// is an error, not a picture with a grey bottom.
void AlMensaje(j_common_ptr c, int nivel) {
  if (nivel < 0 && c->err->msg_code == JWRN_JPEG_EOF) c->err->error_exit(c);
}

void PrepararErrores(Errores& e) {
  jpeg_std_error(&e.mgr);
  e.mgr.error_exit = AlSalir;
  e.mgr.emit_message = AlMensaje;
  e.mensaje[0] = 0;
}

bool Reconocer(const std::uint8_t* d, std::size_t n) { return n >= 3 && d[0] == 0xFF && d[1] == 0xD8 && d[2] == 0xFF; }

struct Descompresor {
  jpeg_decompress_struct c;
  bool creado = false;
  ~Descompresor() { if (creado) jpeg_destroy_decompress(&c); }
};

Imagen Leer(const std::uint8_t* datos, std::size_t tamanyo) {
  Errores e;
  Descompresor d;
  Imagen img;
  std::vector<JSAMPLE> fila;
  PrepararErrores(e);
  d.c.err = &e.mgr;
  if (setjmp(e.salto)) ErrorCodec(std::string("JPEG: ") + e.mensaje);
  jpeg_create_decompress(&d.c);
  d.creado = true;
  jpeg_mem_src(&d.c, datos, static_cast<unsigned long>(tamanyo));
  jpeg_read_header(&d.c, TRUE);
  const bool cmyk = d.c.jpeg_color_space == JCS_CMYK || d.c.jpeg_color_space == JCS_YCCK;
  const bool gris = d.c.jpeg_color_space == JCS_GRAYSCALE;
  d.c.out_color_space = cmyk ? JCS_CMYK : gris ? JCS_GRAYSCALE : JCS_RGB;
  // Sizes are checked before the decoder allocates anything of the image's size.
  ComprobarDimensiones(d.c.image_width, d.c.image_height, cmyk ? 4 : 3);
  jpeg_start_decompress(&d.c);
  img = CrearImagen(static_cast<int>(d.c.output_width), static_cast<int>(d.c.output_height),
                    gris ? FormatoPixel::kGris8 : FormatoPixel::kRGB24);
  if (cmyk) fila.resize(static_cast<std::size_t>(d.c.output_width) * 4);
  while (d.c.output_scanline < d.c.output_height) {
    const int y = static_cast<int>(d.c.output_scanline);
    JSAMPROW p = cmyk ? fila.data() : img.Fila(y);
    jpeg_read_scanlines(&d.c, &p, 1);
    if (cmyk) {
      // Adobe's inverted CMYK, as the decoders write it: each channel times K.
      std::uint8_t* o = img.Fila(y);
      for (std::size_t x = 0; x < d.c.output_width; ++x) {
        const unsigned k = fila[4 * x + 3];
        for (int i = 0; i < 3; ++i) o[3 * x + i] = static_cast<std::uint8_t>((fila[4 * x + i] * k + 127) / 255);
      }
    }
  }
  jpeg_finish_decompress(&d.c);
  return img;
}

struct Compresor {
  jpeg_compress_struct c;
  bool creado = false;
  unsigned char* buffer = nullptr;
  unsigned long tamanyo = 0;
  ~Compresor() {
    if (creado) jpeg_destroy_compress(&c);
    std::free(buffer);
  }
};

Bytes Escribir(const Imagen& origen) {
  const bool gris = EsGris(origen);
  Imagen almacen;
  const Imagen& img = EnFormato(origen, gris ? FormatoPixel::kGris8 : FormatoPixel::kRGB24, almacen);
  Errores e;
  Compresor k;
  PrepararErrores(e);
  k.c.err = &e.mgr;
  if (setjmp(e.salto)) ErrorCodec(std::string("JPEG: ") + e.mensaje);
  jpeg_create_compress(&k.c);
  k.creado = true;
  jpeg_mem_dest(&k.c, &k.buffer, &k.tamanyo);
  k.c.image_width = img.ancho;
  k.c.image_height = img.alto;
  k.c.input_components = gris ? 1 : 3;
  k.c.in_color_space = gris ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&k.c);
  jpeg_set_quality(&k.c, 90, TRUE);
  jpeg_start_compress(&k.c, TRUE);
  while (k.c.next_scanline < k.c.image_height) {
    JSAMPROW p = const_cast<JSAMPROW>(img.Fila(static_cast<int>(k.c.next_scanline)));
    jpeg_write_scanlines(&k.c, &p, 1);
  }
  jpeg_finish_compress(&k.c);
  return Bytes(k.buffer, k.buffer + k.tamanyo);
}

}  // namespace

const Codec kCodecJpeg = {Reconocer, Leer, Escribir};

}  // namespace pelmaro::imagenes
