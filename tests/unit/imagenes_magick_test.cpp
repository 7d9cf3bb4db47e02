// The codecs against an independent peer, ImageMagick's `convert`: our readers decode what it
// writes to the pixels it decodes itself, and it decodes what our writers produce to the
// pixels we put in. Skipped where `convert` is not installed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "actions/images/formatos.h"
#include "tests/unit/imagenes_muestras.h"

using namespace pelmaro::imagenes;
using prueba_imagenes::Degradado;
using prueba_imagenes::Psnr;

namespace {

class Magick : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("convert -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "ImageMagick is not installed";
    char plantilla[] = "/tmp/pelmaro-magick-XXXXXX";
    ASSERT_NE(mkdtemp(plantilla), nullptr);
    carpeta_ = plantilla;
  }
  void TearDown() override {
    if (!carpeta_.empty()) std::system(("rm -rf '" + carpeta_ + "'").c_str());
  }
  std::string Ruta(const std::string& n) const { return carpeta_ + "/" + n; }
  void Escribir(const std::string& n, const Bytes& b) const {
    std::ofstream(Ruta(n), std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
  }
  Bytes Contenido(const std::string& n) const {
    std::ifstream f(Ruta(n), std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    const std::string s = ss.str();
    return Bytes(s.begin(), s.end());
  }
  void Convert(const std::string& argumentos) const {
    ASSERT_EQ(std::system(("cd '" + carpeta_ + "' && convert " + argumentos + " 2>&1").c_str()), 0) << argumentos;
  }
  // ImageMagick's own decoding of a file, as RGBA.
  Imagen SegunMagick(const std::string& n, int ancho, int alto) const {
    Convert("'" + n + "[0]' -depth 8 rgba:'" + n + ".rgba'");
    Imagen img = CrearImagen(ancho, alto, FormatoPixel::kRGBA32);
    Bytes b = Contenido(n + ".rgba");
    EXPECT_EQ(b.size(), img.pixeles.size()) << n;
    if (b.size() == img.pixeles.size()) img.pixeles = b;
    return img;
  }
  Imagen Nuestra(const std::string& n) const {
    Bytes b = Contenido(n);
    Imagen img;
    EXPECT_TRUE(LeerImagen(b.data(), b.size(), n, img)) << n;
    return ConvertirA(img, FormatoPixel::kRGBA32);
  }
  std::string carpeta_;
};

int DiferenciaMaxima(const Imagen& a, const Imagen& b) {
  if (a.pixeles.size() != b.pixeles.size()) return 256;
  int m = 0;
  for (std::size_t i = 0; i < a.pixeles.size(); ++i) m = std::max(m, std::abs(int(a.pixeles[i]) - int(b.pixeles[i])));
  return m;
}

}  // namespace

TEST_F(Magick, NuestrosLectoresLeenLoQueEscribeMagick) {
  Escribir("fuente.png", EscribirImagen(Degradado(37, 23), "PNG"));
  struct {
    const char* opciones;
    const char* salida;
    int tolerancia;  // largest difference of a sample
  } casos[] = {
      {"-interlace Plane -quality 85", "progresiva.jpg", 2},
      {"-quality 90", "base.jpg", 2},
      {"-colorspace Gray", "gris.jpg", 2},
      {"-depth 16", "dieciseis.png", 1},  // 16 to 8 bits: rounding against truncation
      {"-colorspace Gray", "gris.png", 0},
      {"-interlace PNG", "entrelazada.png", 0},
      {"-alpha set -channel A -fx 0.5 +channel", "alfa.png", 0},
      {"-colors 40 -interlace GIF", "entrelazada.gif", 0},
      {"-colors 16 -type Palette -compress RLE", "BMP3:rle8.bmp", 0},
      {"-colors 12 -type Palette -depth 4 -compress RLE", "BMP3:rle4.bmp", 0},
      {"-colors 2 -type Bilevel", "BMP3:bits1.bmp", 0},
      {"", "BMP3:veinticuatro.bmp", 0},
      // ImageMagick writes the rows of an image without orientation top first but marks the
      // file bottom-up (and reads such files back the same way): the rows are marked.
      {"-orient TopLeft -compress RLE", "rle.tga", 0},
      {"-orient TopLeft -compress None", "cruda.tga", 0},
      {"-orient TopLeft -colorspace Gray -compress RLE", "gris.tga", 0},
      {"-compress None", "ascii.ppm", 0},
      {"-compress None -colorspace Gray", "ascii.pgm", 0},
      {"-compress None -type Bilevel", "ascii.pbm", 0},
      {"-type Bilevel", "binaria.pbm", 0},
      {"-depth 16", "dieciseis.ppm", 1},
      {"", "mapa.pam", 0},
      {"-endian LSB", "flotante.pfm", 1},
      {"-quality 50", "imagen.jp2", 3},
      {"", "codigo.j2k", 3},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.salida);
    Convert("fuente.png " + std::string(c.opciones) + " '" + c.salida + "'");
    std::string nombre = c.salida;
    if (nombre.find(':') != std::string::npos) nombre = nombre.substr(nombre.find(':') + 1);
    const Imagen nuestra = Nuestra(nombre);
    ASSERT_EQ(nuestra.ancho, 37);
    ASSERT_EQ(nuestra.alto, 23);
    EXPECT_LE(DiferenciaMaxima(nuestra, SegunMagick(nombre, 37, 23)), c.tolerancia);
  }
}

TEST_F(Magick, MagickLeeLoQueEscribenNuestrosEscritores) {
  const Imagen foto = Degradado(37, 23);
  Imagen alfa = ConvertirA(foto, FormatoPixel::kRGBA32);
  for (std::size_t i = 3; i < alfa.pixeles.size(); i += 4) alfa.pixeles[i] = static_cast<std::uint8_t>(i * 5);
  Imagen paleta;
  ASSERT_TRUE(PaletaExacta(Redimensionar(Degradado(4, 3), 37, 23), 256, paleta));
  const Imagen gris = ConvertirA(foto, FormatoPixel::kGris8);
  struct {
    const char* clave;
    const Imagen* imagen;
    double psnr;  // 0: exact
  } casos[] = {
      {"BMP", &foto, 0},  {"BMP", &alfa, 0},  {"BMP", &paleta, 0}, {"PNG", &foto, 0}, {"PNG", &alfa, 0},
      {"PNG", &paleta, 0}, {"PNG", &gris, 0}, {"GIF", &paleta, 0}, {"TGA", &foto, 0}, {"TGA", &alfa, 0},
      {"TGA", &gris, 0},  {"PGM", &gris, 0},  {"PPM", &foto, 0},   {"PAM", &alfa, 0}, {"PAM", &gris, 0},
      {"PFM", &foto, 0},  {"JPG", &foto, 35}, {"JPG", &gris, 35},  {"JP2", &foto, 25},
  };
  int n = 0;
  for (const auto& c : casos) {
    const std::string nombre = "nuestra" + std::to_string(n++) + "." + c.clave;
    SCOPED_TRACE(nombre);
    Escribir(nombre, EscribirImagen(*c.imagen, c.clave));
    const Imagen esperada = ConvertirA(*c.imagen, FormatoPixel::kRGBA32);
    const Imagen magick = SegunMagick(nombre, 37, 23);
    if (c.psnr == 0) EXPECT_EQ(DiferenciaMaxima(magick, esperada), 0);
    else EXPECT_GE(Psnr(magick, esperada), c.psnr);
  }
}

TEST_F(Magick, GifAnimadoDaSuPrimerFotograma) {
  Convert("-size 8x6 xc:red xc:blue xc:lime -set delay 10 animada.gif");
  const Imagen img = Nuestra("animada.gif");
  ASSERT_EQ(img.ancho, 8);
  EXPECT_EQ(DiferenciaMaxima(img, SegunMagick("animada.gif", 8, 6)), 0);
  EXPECT_EQ(img.pixeles[0], 255);
  EXPECT_EQ(img.pixeles[2], 0);
}
