// The portable maps: PBM, PGM, PPM (ASCII and binary), PAM and PFM. Reading takes any of
// them; writing is binary (PGM P5, PPM P6, PAM P7, PFM little-endian).
#include <cmath>
#include <cstring>

#include "actions/images/codecs.h"

namespace pelmaro::imagenes {
namespace {

bool Firma(const std::uint8_t* d, std::size_t n, const char* letras) {
  return n >= 3 && d[0] == 'P' && std::strchr(letras, d[1]) && d[1] &&
         (d[2] == ' ' || d[2] == '\t' || d[2] == '\n' || d[2] == '\r');
}
bool EsPbm(const std::uint8_t* d, std::size_t n) { return Firma(d, n, "14"); }
bool EsPgm(const std::uint8_t* d, std::size_t n) { return Firma(d, n, "25"); }
bool EsPpm(const std::uint8_t* d, std::size_t n) { return Firma(d, n, "36"); }
bool EsPam(const std::uint8_t* d, std::size_t n) { return Firma(d, n, "7"); }
bool EsPfm(const std::uint8_t* d, std::size_t n) { return Firma(d, n, "fF"); }

bool Blanco(std::uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Header tokens: blanks and "#" comments between them.
std::string Palabra(Lector& in) {
  for (;;) {
    std::uint8_t c = in.U8();
    if (c == '#') {
      while (in.U8() != '\n') {}
    } else if (!Blanco(c)) {
      std::string p(1, static_cast<char>(c));
      while (in.Resto() && !Blanco(*in.Actual()) && *in.Actual() != '#') p += static_cast<char>(in.U8());
      return p;
    }
  }
}

std::uint32_t Numero(Lector& in, std::uint32_t maximo) {
  std::string p = Palabra(in);
  std::uint64_t v = 0;
  for (char c : p) {
    if (c < '0' || c > '9') in.Error("invalid number in the header");
    v = v * 10 + (c - '0');
    if (v > maximo) in.Error("number out of range in the header");
  }
  return static_cast<std::uint32_t>(v);
}

Imagen LeerPfm(Lector& in, bool color) {
  const std::uint32_t w = Numero(in, 0x7FFFFFFF), h = Numero(in, 0x7FFFFFFF);
  const double escala = std::strtod(Palabra(in).c_str(), nullptr);
  in.Saltar(1);
  if (escala == 0 || std::isnan(escala)) in.Error("invalid scale");
  const bool little = escala < 0;
  Imagen img = CrearImagen(w, h, color ? FormatoPixel::kRGB24 : FormatoPixel::kGris8);
  const int c = color ? 3 : 1;
  const std::uint8_t* p = in.Bloque(static_cast<std::size_t>(w) * h * c * 4);
  for (std::uint32_t y = 0; y < h; ++y) {
    std::uint8_t* d = img.Fila(static_cast<int>(h - 1 - y));  // bottom row first
    for (std::uint32_t i = 0; i < w * c; ++i, p += 4) {
      std::uint32_t bitsF = little ? (p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24))
                                   : (p[3] | (p[2] << 8) | (p[1] << 16) | (static_cast<std::uint32_t>(p[0]) << 24));
      float f;
      std::memcpy(&f, &bitsF, 4);
      if (!(f > 0)) f = 0;  // NaN too
      if (f > 1) f = 1;
      d[i] = static_cast<std::uint8_t>(std::lround(f * 255.0f));
    }
  }
  return img;
}

Imagen Leer(const std::uint8_t* datos, std::size_t tamanyo) {
  Lector in(datos, tamanyo, "PNM");
  in.Saltar(1);
  const char tipo = static_cast<char>(in.U8());
  if (tipo == 'F' || tipo == 'f') return LeerPfm(in, tipo == 'F');
  std::uint32_t w = 0, h = 0, maximo = 1, canales = 1;
  if (tipo == '7') {
    std::string tupla;
    for (;;) {
      std::string clave = Palabra(in);
      if (clave == "ENDHDR") break;
      if (clave == "WIDTH") w = Numero(in, 0x7FFFFFFF);
      else if (clave == "HEIGHT") h = Numero(in, 0x7FFFFFFF);
      else if (clave == "DEPTH") canales = Numero(in, 4);
      else if (clave == "MAXVAL") maximo = Numero(in, 65535);
      else if (clave == "TUPLTYPE") tupla = Palabra(in);
      else in.Error("unknown header field " + clave);
    }
    if (canales == 0) in.Error("invalid depth");
  } else {
    w = Numero(in, 0x7FFFFFFF);
    h = Numero(in, 0x7FFFFFFF);
    if (tipo != '1' && tipo != '4') maximo = Numero(in, 65535);
    canales = (tipo == '3' || tipo == '6') ? 3 : 1;
  }
  if (maximo == 0) in.Error("invalid maximum value");
  const bool ascii = tipo >= '1' && tipo <= '3';
  const bool bitmap = tipo == '1' || tipo == '4';
  if (!ascii) in.Saltar(tipo == '7' ? 1 : 1);  // the single blank after the header
  const FormatoPixel f = canales == 1 ? FormatoPixel::kGris8
                         : canales == 2 || canales == 4 ? FormatoPixel::kRGBA32
                                                        : FormatoPixel::kRGB24;
  Imagen img = CrearImagen(static_cast<int>(w), static_cast<int>(h), f);
  const std::size_t muestras = static_cast<std::size_t>(w) * h * canales;
  std::vector<std::uint32_t> v(0);
  auto escalar = [&](std::uint32_t x) {
    if (x > maximo) x = maximo;
    return static_cast<std::uint8_t>((x * 255u + maximo / 2) / maximo);
  };
  std::vector<std::uint8_t> s(muestras);
  if (bitmap) {
    if (ascii) {
      for (std::size_t i = 0; i < muestras; ++i) {
        std::uint8_t c;
        do c = in.U8(); while (Blanco(c));
        if (c != '0' && c != '1') in.Error("invalid bit");
        s[i] = c == '1' ? 0 : 255;  // 1 is black
      }
    } else {
      const std::size_t bytesFila = (w + 7) / 8;
      const std::uint8_t* p = in.Bloque(bytesFila * h);
      for (std::uint32_t y = 0; y < h; ++y)
        for (std::uint32_t x = 0; x < w; ++x)
          s[static_cast<std::size_t>(y) * w + x] = ((p[y * bytesFila + x / 8] >> (7 - x % 8)) & 1) ? 0 : 255;
    }
  } else if (ascii) {
    for (std::size_t i = 0; i < muestras; ++i) s[i] = escalar(Numero(in, 65535));
  } else {
    const int b = maximo > 255 ? 2 : 1;
    const std::uint8_t* p = in.Bloque(muestras * b);
    for (std::size_t i = 0; i < muestras; ++i) s[i] = escalar(b == 2 ? (p[2 * i] << 8) | p[2 * i + 1] : p[i]);
  }
  // Samples to the image's layout: grey+alpha expands to RGBA.
  std::uint8_t* d = img.pixeles.data();
  for (std::size_t i = 0; i < muestras; i += canales) {
    if (canales == 2) { d[0] = d[1] = d[2] = s[i]; d[3] = s[i + 1]; d += 4; }
    else { std::memcpy(d, &s[i], canales); d += canales; }
  }
  return img;
}

Bytes Cabecera(const std::string& texto) { return Bytes(texto.begin(), texto.end()); }
std::string Medidas(const Imagen& img) { return std::to_string(img.ancho) + " " + std::to_string(img.alto) + "\n"; }

// PGM and PPM: the magic, the size, 255, the samples.
Bytes EscribirMapa(const Imagen& origen, const char* firma, FormatoPixel formato) {
  Imagen almacen;
  const Imagen& img = EnFormato(origen, formato, almacen);
  Bytes out = Cabecera(std::string(firma) + "\n" + Medidas(img) + "255\n");
  out.insert(out.end(), img.pixeles.begin(), img.pixeles.end());
  return out;
}
Bytes EscribirPgm(const Imagen& origen) { return EscribirMapa(origen, "P5", FormatoPixel::kGris8); }
Bytes EscribirPpm(const Imagen& origen) { return EscribirMapa(origen, "P6", FormatoPixel::kRGB24); }

Bytes EscribirPam(const Imagen& origen) {
  const bool gris = EsGris(origen), alfa = !EsOpaca(origen);
  Imagen almacen;
  const Imagen& img = EnFormato(origen, gris ? FormatoPixel::kGris8 : alfa ? FormatoPixel::kRGBA32 : FormatoPixel::kRGB24, almacen);
  const int c = BytesPorPixel(img.formato);
  Bytes out = Cabecera("P7\nWIDTH " + std::to_string(img.ancho) + "\nHEIGHT " + std::to_string(img.alto) + "\nDEPTH " +
                       std::to_string(c) + "\nMAXVAL 255\nTUPLTYPE " +
                       (c == 1 ? "GRAYSCALE" : c == 3 ? "RGB" : "RGB_ALPHA") + "\nENDHDR\n");
  out.insert(out.end(), img.pixeles.begin(), img.pixeles.end());
  return out;
}

Bytes EscribirPfm(const Imagen& origen) {
  const bool gris = EsGris(origen);
  Imagen almacen;
  const Imagen& img = EnFormato(origen, gris ? FormatoPixel::kGris8 : FormatoPixel::kRGB24, almacen);
  Bytes out = Cabecera(std::string(gris ? "Pf\n" : "PF\n") + Medidas(img) + "-1.0\n");
  out.reserve(out.size() + img.pixeles.size() * 4);
  for (int y = img.alto - 1; y >= 0; --y) {
    const std::uint8_t* f = img.Fila(y);
    for (std::size_t i = 0; i < img.BytesFila(); ++i) {
      float v = f[i] / 255.0f;
      std::uint32_t b;
      std::memcpy(&b, &v, 4);
      PonerU32LE(out, b);
    }
  }
  return out;
}

}  // namespace

const Codec kCodecPbm = {EsPbm, Leer, nullptr};
const Codec kCodecPgm = {EsPgm, Leer, EscribirPgm};
const Codec kCodecPpm = {EsPpm, Leer, EscribirPpm};
const Codec kCodecPam = {EsPam, Leer, EscribirPam};
const Codec kCodecPfm = {EsPfm, Leer, EscribirPfm};

}  // namespace pelmaro::imagenes
