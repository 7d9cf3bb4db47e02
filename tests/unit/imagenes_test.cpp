// The image codecs, the format list and the transforms, on small images built in memory.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "actions/images/formatos.h"
#include "actions/images/imagen.h"
#include "tests/unit/imagenes_muestras.h"

using namespace pelmaro;
using namespace pelmaro::imagenes;
using namespace prueba_imagenes;

namespace {

// What a writer keeps of an image.
struct Fidelidad {
  const char* clave;
  bool color;     // false: stored as grey
  bool alfa;      // keeps alpha
  bool alfaBinaria;  // keeps only fully transparent or opaque
  double psnr;    // 0: exact; otherwise the least PSNR in dB
};

const Fidelidad kEscritores[] = {
    {"BMP", true, true, false, 0},  {"PNG", true, true, false, 0},   {"GIF", true, true, true, 0},
    {"TGA", true, true, false, 0},  {"PGM", false, false, false, 0}, {"PPM", true, false, false, 0},
    {"PAM", true, true, false, 0},  {"PFM", true, false, false, 0},  {"JPG", true, false, false, 30},
    {"JP2", true, false, false, 30},
};

// The source as the format can hold it, in RGBA.
Imagen Esperada(const Imagen& origen, const Fidelidad& f) {
  Imagen e = ConvertirA(origen, FormatoPixel::kRGBA32);
  if (!f.color) {
    Imagen g = ConvertirA(origen, FormatoPixel::kGris8);
    Imagen r = ConvertirA(g, FormatoPixel::kRGBA32);
    for (std::size_t i = 3; i < r.pixeles.size(); i += 4) r.pixeles[i] = 255;
    return r;
  }
  if (!f.alfa)
    for (std::size_t i = 3; i < e.pixeles.size(); i += 4) e.pixeles[i] = 255;
  return e;
}

}  // namespace

TEST(Imagenes, CadaEscritorYLectorConservanLaImagen) {
  for (const Fidelidad& f : kEscritores) {
    for (const Muestra& m : Muestras()) {
      if (f.alfaBinaria && m.alfaParcial) continue;  // GIF holds no partial transparency
      SCOPED_TRACE(std::string(f.clave) + " " + m.nombre);
      Bytes archivo = EscribirImagen(m.imagen, f.clave);
      Imagen leida;
      ASSERT_TRUE(LeerImagen(archivo.data(), archivo.size(), std::string("x.") + f.clave, leida));
      ASSERT_EQ(leida.ancho, m.imagen.ancho);
      ASSERT_EQ(leida.alto, m.imagen.alto);
      Imagen obtenida = ConvertirA(leida, FormatoPixel::kRGBA32), esperada = Esperada(m.imagen, f);
      if (f.psnr == 0) {
        EXPECT_EQ(obtenida.pixeles, esperada.pixeles);
      }
    }
    if (f.psnr > 0) {
      // Lossy coders are measured on a smooth picture; tiny samples of sharp colours say little.
      const Imagen foto = Degradado(64, 48);
      Bytes archivo = EscribirImagen(foto, f.clave);
      Imagen leida;
      ASSERT_TRUE(LeerImagen(archivo.data(), archivo.size(), "x", leida));
      EXPECT_GE(Psnr(ConvertirA(leida, FormatoPixel::kRGBA32), ConvertirA(foto, FormatoPixel::kRGBA32)), f.psnr)
          << f.clave;
    }
  }
}

TEST(Imagenes, BmpDePaletaSeGuardaEnRle8YLaFotoEn24Bits) {
  Imagen paleta = Muestras()[1].imagen, foto = Degradado(40, 30);
  Bytes a = EscribirImagen(paleta, "BMP"), b = EscribirImagen(foto, "BMP");
  EXPECT_EQ(a[28], 8);
  EXPECT_EQ(a[30], 1);  // BI_RLE8
  EXPECT_EQ(b[28], 24);
  EXPECT_EQ(b[30], 0);
}

TEST(Imagenes, ElContenidoDecideElFormato) {
  const Imagen img = Muestras()[2].imagen;
  Bytes png = EscribirImagen(img, "PNG");
  for (const char* nombre : {"foto.bmp", "foto.png", "foto", "C:\\carpeta.jpg\\foto"}) {
    Imagen leida;
    ASSERT_TRUE(LeerImagen(png.data(), png.size(), nombre, leida)) << nombre;
    EXPECT_EQ(ConvertirA(leida, FormatoPixel::kRGB24).pixeles, ConvertirA(img, FormatoPixel::kRGB24).pixeles);
  }
  const std::uint8_t basura[] = "esto no es una imagen";
  Imagen leida;
  EXPECT_FALSE(LeerImagen(basura, sizeof basura, "x.png", leida));
  EXPECT_FALSE(LeerImagen(basura, 0, "x.png", leida));
}

TEST(Imagenes, ListaDeFormatos) {
  const auto& f = Formatos();
  ASSERT_EQ(f.size(), 21u);
  EXPECT_STREQ(f[0].nombre, "Windows Bitmap Image");
  EXPECT_EQ(f[13].Clave(), "JP2");
  EXPECT_EQ(f[20].Clave(), "DAGTEXTURE");
  struct {
    const char* extension;
    bool entrada, salida;
  } casos[] = {
      {"bmp", true, true},  {"BMP", true, true},  {"dib", false, false}, {"jpg", true, true},
      {"jpeg", false, false}, {"pbm", true, false}, {"pcx", true, false}, {"xpm", true, false},
      {"jp2", true, true},  {"j2k", false, false}, {"", false, false},   {"txt", false, false},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(FormatoPorClave(c.extension, false) != nullptr, c.entrada) << c.extension;
    EXPECT_EQ(FormatoPorClave(c.extension, true) != nullptr, c.salida) << c.extension;
  }
  EXPECT_EQ(ExtensionDe("a.b.PNG"), "PNG");
  EXPECT_EQ(ExtensionDe("sin"), "");
  EXPECT_EQ(ExtensionDe("C:\\x.y\\sin"), "");
  EXPECT_EQ(ExtensionDe("fin."), "");
}

TEST(Imagenes, AngulosDeRotacion) {
  struct {
    std::int64_t grados;
    int normalizado;
  } casos[] = {{90, 90},   {-90, 270}, {180, 180}, {-180, 180}, {270, 270}, {-270, 90}, {450, 90},
               {-450, 270}, {0, 0},    {360, 0},   {-360, 0},   {720, 0},   {45, -1},   {91, -1}};
  for (const auto& c : casos) EXPECT_EQ(AnguloNormalizado(c.grados), c.normalizado) << c.grados;
}

TEST(Imagenes, RotarMueveCadaPixel) {
  // 3 x 2, each pixel its own grey value: row 0 = 1 2 3, row 1 = 4 5 6.
  Imagen img = CrearImagen(3, 2, FormatoPixel::kGris8);
  for (int i = 0; i < 6; ++i) img.pixeles[i] = static_cast<std::uint8_t>(i + 1);
  struct {
    int grados, ancho, alto;
    std::vector<std::uint8_t> pixeles;
  } casos[] = {
      {90, 2, 3, {3, 6, 2, 5, 1, 4}},   // counter-clockwise: the top-right pixel comes to the top left
      {270, 2, 3, {4, 1, 5, 2, 6, 3}},  // clockwise
      {180, 3, 2, {6, 5, 4, 3, 2, 1}},
      {0, 3, 2, {1, 2, 3, 4, 5, 6}},
  };
  for (const auto& c : casos) {
    Imagen r = Rotar(img, c.grados);
    EXPECT_EQ(r.ancho, c.ancho);
    EXPECT_EQ(r.alto, c.alto);
    EXPECT_EQ(r.pixeles, c.pixeles) << c.grados;
  }
  Imagen color = Muestras()[3].imagen;
  EXPECT_EQ(Rotar(Rotar(Rotar(Rotar(color, 90), 90), 90), 90).pixeles, color.pixeles);
}

TEST(Imagenes, EspejarInvertirYRedimensionar) {
  Imagen img = CrearImagen(3, 2, FormatoPixel::kGris8);
  for (int i = 0; i < 6; ++i) img.pixeles[i] = static_cast<std::uint8_t>(i + 1);
  Imagen e = img;
  Espejar(e);
  EXPECT_EQ(e.pixeles, (std::vector<std::uint8_t>{3, 2, 1, 6, 5, 4}));
  Imagen v = img;
  Invertir(v);
  EXPECT_EQ(v.pixeles, (std::vector<std::uint8_t>{4, 5, 6, 1, 2, 3}));
  Imagen g = Redimensionar(img, 6, 4);
  EXPECT_EQ(g.pixeles, (std::vector<std::uint8_t>{1, 1, 2, 2, 3, 3, 1, 1, 2, 2, 3, 3,
                                                  4, 4, 5, 5, 6, 6, 4, 4, 5, 5, 6, 6}));
  Imagen p = Redimensionar(img, 2, 1);
  EXPECT_EQ(p.pixeles, (std::vector<std::uint8_t>{1, 2}));
  Imagen rgb = Redimensionar(Muestras()[2].imagen, 1, 1);
  EXPECT_EQ(rgb.pixeles, std::vector<std::uint8_t>(Muestras()[2].imagen.pixeles.begin(),
                                                   Muestras()[2].imagen.pixeles.begin() + 3));
  EXPECT_THROW(Redimensionar(img, 0, 5), EImagingError);
  EXPECT_THROW(Redimensionar(img, 20000, 5), EImagingError);
}

TEST(Imagenes, ArchivosCortadosOEstropeadosDanEImagingError) {
  const Imagen img = Degradado(33, 17);
  for (const char* clave : {"BMP", "PNG", "GIF", "TGA", "PGM", "PPM", "PAM", "PFM", "JPG", "JP2"}) {
    SCOPED_TRACE(clave);
    const Bytes completo = EscribirImagen(img, clave);
    for (std::size_t largo : {completo.size() / 2, completo.size() * 3 / 4, completo.size() - 13}) {
      Bytes corto(completo.begin(), completo.begin() + largo);
      Imagen leida;
      EXPECT_THROW(LeerImagen(corto.data(), corto.size(), "x", leida), EImagingError) << largo;
    }
    // Changed bytes anywhere: an error or an image, never anything worse.
    for (std::size_t i = 0; i < completo.size(); i += 1 + completo.size() / 97) {
      Bytes malo = completo;
      malo[i] ^= 0xA5;
      Imagen leida;
      try {
        LeerImagen(malo.data(), malo.size(), "x", leida);
      } catch (const EImagingError&) {
      }
    }
  }
}

TEST(Imagenes, MedidasImposiblesSeRechazanAntesDeReservar) {
  EXPECT_THROW(ComprobarDimensiones(16385, 1, 1), EImagingError);
  EXPECT_THROW(ComprobarDimensiones(16384, 16384, 4), EImagingError);
  EXPECT_NO_THROW(ComprobarDimensiones(16384, 4096, 4));
  EXPECT_THROW(ComprobarDimensiones(0, 1, 1), EImagingError);
  // Headers that claim huge images over a few bytes of data.
  Bytes bmp = EscribirImagen(Muestras()[2].imagen, "BMP");
  bmp[18] = 0xFF; bmp[19] = 0xFF; bmp[20] = 0; bmp[21] = 0;  // 65535 wide
  Bytes ppm = {'P', '6', '\n', '9', '9', '9', '9', '9', ' ', '9', '9', '9', '9', '9', '\n', '2', '5', '5', '\n', 0};
  Bytes gif = EscribirImagen(Muestras()[1].imagen, "GIF");
  gif[6] = gif[7] = gif[8] = gif[9] = 0xFF;  // logical screen 65535 x 65535
  for (Bytes* b : {&bmp, &ppm, &gif}) {
    Imagen leida;
    try {
      LeerImagen(b->data(), b->size(), "x", leida);
      ADD_FAILURE() << "no error";
    } catch (const EImagingError& e) {
      EXPECT_NE(std::string(e.what()).find("too large"), std::string::npos) << e.what();
    }
  }
}

TEST(Imagenes, FormatosSinCodificadorSeNombranPeroNoSeEscriben) {
  EXPECT_THROW(EscribirImagen(Muestras()[0].imagen, "DDS"), EImagingError);
  EXPECT_THROW(EscribirImagen(Muestras()[0].imagen, "PBM"), EImagingError);
}
