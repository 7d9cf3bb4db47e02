// JPEG 2000 through OpenJPEG: JP2 files and bare codestreams on reading (grey, RGB, with
// alpha, any precision, subsampled components); JP2 on writing, lossy (the 9/7 wavelet, one
// layer). Quality q asks for a compression ratio of (100 - q) / 2 to 1: 10:1 at the default
// quality 80.
#include <openjpeg.h>

#include <algorithm>
#include <cstring>

#include "actions/images/codecs.h"

namespace pelmaro::imagenes {
namespace {

constexpr int kCalidad = 80;

const std::uint8_t kFirmaJp2[] = {0, 0, 0, 0x0C, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
const std::uint8_t kFirmaJ2k[] = {0xFF, 0x4F, 0xFF, 0x51};

bool EsJp2(const std::uint8_t* d, std::size_t n) { return n >= sizeof kFirmaJp2 && !std::memcmp(d, kFirmaJp2, sizeof kFirmaJp2); }
bool Reconocer(const std::uint8_t* d, std::size_t n) {
  return EsJp2(d, n) || (n >= sizeof kFirmaJ2k && !std::memcmp(d, kFirmaJ2k, sizeof kFirmaJ2k));
}

struct Memoria {
  const std::uint8_t* datos = nullptr;
  std::size_t tamanyo = 0, pos = 0;
  Bytes* salida = nullptr;
};

OPJ_SIZE_T AlLeer(void* destino, OPJ_SIZE_T n, void* u) {
  auto* m = static_cast<Memoria*>(u);
  if (m->pos >= m->tamanyo) return static_cast<OPJ_SIZE_T>(-1);
  n = std::min<OPJ_SIZE_T>(n, m->tamanyo - m->pos);
  std::memcpy(destino, m->datos + m->pos, n);
  m->pos += n;
  return n;
}
OPJ_OFF_T AlSaltarLectura(OPJ_OFF_T n, void* u) {
  auto* m = static_cast<Memoria*>(u);
  if (n < 0 || static_cast<std::uint64_t>(n) > m->tamanyo - m->pos) return -1;
  m->pos += static_cast<std::size_t>(n);
  return n;
}
OPJ_BOOL AlBuscarLectura(OPJ_OFF_T n, void* u) {
  auto* m = static_cast<Memoria*>(u);
  if (n < 0 || static_cast<std::uint64_t>(n) > m->tamanyo) return OPJ_FALSE;
  m->pos = static_cast<std::size_t>(n);
  return OPJ_TRUE;
}
OPJ_SIZE_T AlEscribir(void* datos, OPJ_SIZE_T n, void* u) {
  auto* m = static_cast<Memoria*>(u);
  if (m->pos + n > m->salida->size()) m->salida->resize(m->pos + n);
  std::memcpy(m->salida->data() + m->pos, datos, n);
  m->pos += n;
  return n;
}
OPJ_OFF_T AlSaltarEscritura(OPJ_OFF_T n, void* u) {
  auto* m = static_cast<Memoria*>(u);
  m->pos += static_cast<std::size_t>(n);
  if (m->pos > m->salida->size()) m->salida->resize(m->pos);
  return n;
}
OPJ_BOOL AlBuscarEscritura(OPJ_OFF_T n, void* u) {
  auto* m = static_cast<Memoria*>(u);
  m->pos = static_cast<std::size_t>(n);
  if (m->pos > m->salida->size()) m->salida->resize(m->pos);
  return OPJ_TRUE;
}

void AlError(const char* mensaje, void* u) {
  auto* s = static_cast<std::string*>(u);
  if (s->empty() && mensaje) {
    *s = mensaje;
    while (!s->empty() && (s->back() == '\n' || s->back() == ' ')) s->pop_back();
  }
}
void Callar(const char*, void*) {}

// The codec, stream and image of one call, released on every path.
struct Sesion {
  opj_codec_t* codec = nullptr;
  opj_stream_t* flujo = nullptr;
  opj_image_t* imagen = nullptr;
  std::string error;
  ~Sesion() {
    if (flujo) opj_stream_destroy(flujo);
    if (codec) opj_destroy_codec(codec);
    if (imagen) opj_image_destroy(imagen);
  }
  [[noreturn]] void Fallo(const char* que) const {
    ErrorCodec(std::string("JPEG 2000: ") + (error.empty() ? que : error));
  }
  void Mensajes() {
    opj_set_error_handler(codec, AlError, &error);
    opj_set_warning_handler(codec, Callar, nullptr);
    opj_set_info_handler(codec, Callar, nullptr);
  }
};

Imagen Leer(const std::uint8_t* datos, std::size_t tamanyo) {
  Memoria m;
  m.datos = datos;
  m.tamanyo = tamanyo;
  Sesion s;
  s.codec = opj_create_decompress(EsJp2(datos, tamanyo) ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K);
  if (!s.codec) s.Fallo("cannot create the decoder");
  s.Mensajes();
  opj_dparameters_t p;
  opj_set_default_decoder_parameters(&p);
  if (!opj_setup_decoder(s.codec, &p)) s.Fallo("cannot set up the decoder");
  s.flujo = opj_stream_create(64 * 1024, OPJ_TRUE);
  if (!s.flujo) s.Fallo("out of memory");
  opj_stream_set_user_data(s.flujo, &m, nullptr);
  opj_stream_set_user_data_length(s.flujo, tamanyo);
  opj_stream_set_read_function(s.flujo, AlLeer);
  opj_stream_set_skip_function(s.flujo, AlSaltarLectura);
  opj_stream_set_seek_function(s.flujo, AlBuscarLectura);
  if (!opj_read_header(s.flujo, s.codec, &s.imagen)) s.Fallo("invalid header");
  const opj_image_t& h = *s.imagen;
  if (h.numcomps == 0) s.Fallo("no components");
  ComprobarDimensiones(static_cast<std::int64_t>(h.x1) - h.x0, static_cast<std::int64_t>(h.y1) - h.y0, 4);
  for (OPJ_UINT32 i = 0; i < h.numcomps; ++i)
    if (h.comps[i].dx == 0 || h.comps[i].dy == 0) s.Fallo("invalid subsampling");
  // Every component is held as 32-bit samples while decoding: the limit applies to them too.
  ComprobarDimensiones(static_cast<std::int64_t>(h.x1) - h.x0, static_cast<std::int64_t>(h.y1) - h.y0,
                       4 * static_cast<int>(std::min<OPJ_UINT32>(h.numcomps, 4)));
  if (h.numcomps > 4) s.Fallo("more than four components");
  if (!opj_decode(s.codec, s.flujo, s.imagen) || !opj_end_decompress(s.codec, s.flujo)) s.Fallo("decoding failed");
  const opj_image_t& im = *s.imagen;
  const int w = static_cast<int>(im.x1 - im.x0), alto = static_cast<int>(im.y1 - im.y0);
  const int n = static_cast<int>(im.numcomps);
  const bool color = n >= 3;
  const bool alfa = n == 2 || n == 4;
  Imagen img = CrearImagen(w, alto, alfa ? FormatoPixel::kRGBA32 : color ? FormatoPixel::kRGB24 : FormatoPixel::kGris8);
  const int b = BytesPorPixel(img.formato);
  for (int c = 0; c < n; ++c) {
    const opj_image_comp_t& k = im.comps[c];
    if (!k.data) s.Fallo("a component has no data");
    const int destino = color ? c : (c == 0 ? 0 : 3);
    const int prec = static_cast<int>(k.prec);
    if (prec < 1 || prec > 31) s.Fallo("invalid precision");
    const std::int64_t desplazar = k.sgnd ? (std::int64_t{1} << (prec - 1)) : 0;
    const std::int64_t maximo = (std::int64_t{1} << prec) - 1;
    for (int y = 0; y < alto; ++y) {
      std::uint8_t* d = img.Fila(y);
      const std::size_t ky = std::min<std::size_t>(y / k.dy, k.h ? k.h - 1 : 0);
      for (int x = 0; x < w; ++x) {
        const std::size_t kx = std::min<std::size_t>(x / k.dx, k.w ? k.w - 1 : 0);
        std::int64_t v = static_cast<std::int64_t>(k.data[ky * k.w + kx]) + desplazar;
        v = std::clamp<std::int64_t>(v, 0, maximo);
        const auto o = static_cast<std::uint8_t>((v * 255 + maximo / 2) / maximo);
        d[x * b + destino] = o;
        if (!color && c == 0 && b >= 3) d[x * b + 1] = d[x * b + 2] = o;
      }
    }
  }
  return img;
}

Bytes Escribir(const Imagen& origen) {
  const bool gris = EsGris(origen), alfa = !EsOpaca(origen);
  Imagen almacen;
  const Imagen& img =
      EnFormato(origen, alfa ? FormatoPixel::kRGBA32 : gris ? FormatoPixel::kGris8 : FormatoPixel::kRGB24, almacen);
  const int n = BytesPorPixel(img.formato);
  std::vector<opj_image_cmptparm_t> comps(n);
  for (opj_image_cmptparm_t& c : comps) {
    std::memset(&c, 0, sizeof c);
    c.dx = c.dy = 1;
    c.w = img.ancho;
    c.h = img.alto;
    c.prec = 8;
    c.sgnd = 0;
  }
  Sesion s;
  s.imagen = opj_image_create(n, comps.data(), n >= 3 ? OPJ_CLRSPC_SRGB : OPJ_CLRSPC_GRAY);
  if (!s.imagen) s.Fallo("out of memory");
  s.imagen->x1 = img.ancho;
  s.imagen->y1 = img.alto;
  if (n == 4) s.imagen->comps[3].alpha = 1;
  const std::size_t total = static_cast<std::size_t>(img.ancho) * img.alto;
  for (int c = 0; c < n; ++c)
    for (std::size_t i = 0; i < total; ++i) s.imagen->comps[c].data[i] = img.pixeles[i * n + c];
  opj_cparameters_t p;
  opj_set_default_encoder_parameters(&p);
  p.tcp_numlayers = 1;
  p.tcp_rates[0] = static_cast<float>(100 - kCalidad) / 2.0f;
  p.cp_disto_alloc = 1;
  p.irreversible = 1;
  p.tcp_mct = n >= 3 ? 1 : 0;
  // Few resolution levels for small images (each level halves both sides).
  while (p.numresolution > 1 && ((img.ancho >> (p.numresolution - 1)) < 1 || (img.alto >> (p.numresolution - 1)) < 1))
    --p.numresolution;
  s.codec = opj_create_compress(OPJ_CODEC_JP2);
  if (!s.codec) s.Fallo("cannot create the encoder");
  s.Mensajes();
  if (!opj_setup_encoder(s.codec, &p, s.imagen)) s.Fallo("cannot set up the encoder");
  Bytes out;
  Memoria m;
  m.salida = &out;
  s.flujo = opj_stream_create(64 * 1024, OPJ_FALSE);
  if (!s.flujo) s.Fallo("out of memory");
  opj_stream_set_user_data(s.flujo, &m, nullptr);
  opj_stream_set_write_function(s.flujo, AlEscribir);
  opj_stream_set_skip_function(s.flujo, AlSaltarEscritura);
  opj_stream_set_seek_function(s.flujo, AlBuscarEscritura);
  if (!opj_start_compress(s.codec, s.imagen, s.flujo) || !opj_encode(s.codec, s.flujo) ||
      !opj_end_compress(s.codec, s.flujo))
    s.Fallo("encoding failed");
  return out;
}

}  // namespace

const Codec kCodecJp2 = {Reconocer, Leer, Escribir};

}  // namespace pelmaro::imagenes
