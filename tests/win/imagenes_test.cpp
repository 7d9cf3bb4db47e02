// The image actions through the simulator: conversions and transforms on real files, the
// order of the checks and their messages, and the capture of a window of known size.
#include <windows.h>

#include <fstream>
#include <sstream>

#include "actions/images/formatos.h"
#include "tests/unit/imagenes_muestras.h"
#include "tests/win/entorno.h"

using namespace pelmaro::imagenes;
using prueba::Host;
using prueba_imagenes::Muestras;

namespace {

const std::string kExcepcion = "Excepci\xf3n: \"Exception\". Mensaje: \"";

class Imagenes : public ::testing::Test {
 protected:
  void SetUp() override {
    carpeta_ = prueba::CarpetaDeLaPrueba("img") + "\\";
    CreateDirectoryA(carpeta_.c_str(), nullptr);
  }
  void TearDown() override {
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((carpeta_ + "*").c_str(), &d);
    if (h != INVALID_HANDLE_VALUE) {
      do DeleteFileA((carpeta_ + d.cFileName).c_str());
      while (FindNextFileA(h, &d));
      FindClose(h);
    }
    RemoveDirectoryA(carpeta_.c_str());
  }

  std::string Ruta(const std::string& nombre) const { return carpeta_ + nombre; }
  void Escribir(const std::string& nombre, const Bytes& datos) const {
    std::ofstream(Ruta(nombre), std::ios::binary).write(reinterpret_cast<const char*>(datos.data()), datos.size());
  }
  Bytes Contenido(const std::string& nombre) const {
    std::ifstream f(Ruta(nombre), std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    const std::string s = ss.str();
    return Bytes(s.begin(), s.end());
  }
  bool Existe(const std::string& nombre) const {
    return GetFileAttributesA(Ruta(nombre).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  Imagen Leer(const std::string& nombre) const {
    Bytes b = Contenido(nombre);
    Imagen img;
    EXPECT_TRUE(LeerImagen(b.data(), b.size(), nombre, img)) << nombre;
    return ConvertirA(img, FormatoPixel::kRGBA32);
  }
  // Plays one action whose parameters are file names of the test folder (a leading "!"
  // leaves a parameter as it is).
  void Accion(const std::string& accion, std::initializer_list<std::string> parametros) {
    std::string linea = accion;
    for (const std::string& p : parametros)
      linea += " \"" + (p.empty() || p[0] == '!' ? (p.empty() ? p : p.substr(1)) : Ruta(p)) + "\"";
    h_.sim->OlvidarRegistros();
    h_.Reproducir(linea + "\n");
    ASSERT_TRUE(h_.sim->Faltas().empty()) << h_.sim->Faltas().front();
  }
  std::string R() const { return h_.Var("krResultadoAccion"); }
  std::string E() const { return h_.Var("krUltimoError"); }

  Host h_;
  std::string carpeta_;
};

// 3 x 2 RGB, each pixel its own colour.
Imagen Seis() {
  Imagen img = CrearImagen(3, 2, FormatoPixel::kRGB24);
  for (int i = 0; i < 6; ++i) {
    img.pixeles[3 * i] = static_cast<std::uint8_t>(40 * i);
    img.pixeles[3 * i + 1] = static_cast<std::uint8_t>(200 - 30 * i);
    img.pixeles[3 * i + 2] = static_cast<std::uint8_t>(7 * i);
  }
  return img;
}
// Pixel i of the 3 x 2 image, as RGBA.
std::vector<std::uint8_t> Pix(const Imagen& rgba, int x, int y) {
  const std::uint8_t* p = rgba.Fila(y) + 4 * x;
  return {p[0], p[1], p[2], p[3]};
}
std::vector<std::uint8_t> PixSeis(int i) {
  Imagen s = ConvertirA(Seis(), FormatoPixel::kRGBA32);
  return Pix(s, i % 3, i / 3);
}

}  // namespace

TEST_F(Imagenes, ConvertirEntreFormatos) {
  Escribir("seis.png", EscribirImagen(Seis(), "PNG"));
  const Imagen original = ConvertirA(Seis(), FormatoPixel::kRGBA32);
  for (const char* salida : {"bmp", "png", "gif", "tga", "ppm", "pam", "pfm", "BMP"}) {
    SCOPED_TRACE(salida);
    Accion("krConvertirImagen", {"seis.png", std::string("salida.") + salida});
    EXPECT_EQ(R(), "True");
    EXPECT_EQ(E(), "");
    EXPECT_EQ(Leer(std::string("salida.") + salida).pixeles, original.pixeles);
  }
  for (const char* salida : {"jpg", "jp2", "pgm"}) {
    Accion("krConvertirImagen", {"seis.png", std::string("salida.") + salida});
    EXPECT_EQ(R(), "True") << salida;
    EXPECT_EQ(Leer(std::string("salida.") + salida).ancho, 3) << salida;
  }
  EXPECT_EQ(Contenido("seis.png"), EscribirImagen(Seis(), "PNG")) << "the input changed";
}

TEST_F(Imagenes, TransformacionesMuevenLosPixeles) {
  Escribir("seis.bmp", EscribirImagen(Seis(), "BMP"));
  struct {
    const char* accion;
    const char* angulo;
    int ancho;
    std::vector<int> orden;  // the source pixel of each result pixel, row by row
  } casos[] = {
      {"krRotarImagen", "90", 2, {2, 5, 1, 4, 0, 3}},
      {"krRotarImagen", "450", 2, {2, 5, 1, 4, 0, 3}},
      {"krRotarImagen", "-90", 2, {3, 0, 4, 1, 5, 2}},
      {"krRotarImagen", "270", 2, {3, 0, 4, 1, 5, 2}},
      {"krRotarImagen", "180", 3, {5, 4, 3, 2, 1, 0}},
      {"krRotarImagen", "0", 3, {0, 1, 2, 3, 4, 5}},
      {"krRotarImagen", "abc", 3, {0, 1, 2, 3, 4, 5}},
      {"krEspejarImagen", nullptr, 3, {2, 1, 0, 5, 4, 3}},
      {"krInvertirImagen", nullptr, 3, {3, 4, 5, 0, 1, 2}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.accion) + " " + (c.angulo ? c.angulo : ""));
    DeleteFileA(Ruta("r.png").c_str());
    if (c.angulo) Accion(c.accion, {"seis.bmp", "r.png", std::string("!") + c.angulo});
    else Accion(c.accion, {"seis.bmp", "r.png"});
    EXPECT_EQ(R(), "True");
    EXPECT_EQ(E(), "");
    Imagen r = Leer("r.png");
    ASSERT_EQ(r.ancho, c.ancho);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Pix(r, i % c.ancho, i / c.ancho), PixSeis(c.orden[i])) << i;
  }
  Accion("krRotarImagen", {"seis.bmp", "r45.png", "!45"});
  EXPECT_EQ(R(), "False");
  EXPECT_EQ(E(), kExcepcion + "El valor del \xe1ngulo no es v\xe1lido\".");
  EXPECT_FALSE(Existe("r45.png"));
}

TEST_F(Imagenes, TamanyoConsultaYRedimensiona) {
  Escribir("seis.gif", EscribirImagen(Seis(), "GIF"));
  Accion("krTamanyoImagen", {"seis.gif", "", "", ""});
  EXPECT_EQ(R(), "2,3");
  EXPECT_EQ(E(), "");
  Accion("krTamanyoImagen", {"seis.gif", "!  ", "! ", "!"});
  EXPECT_EQ(R(), "2,3");
  Accion("krTamanyoImagen", {"seis.gif", "grande.bmp", "!6", "!4"});
  EXPECT_EQ(R(), "True");
  Imagen g = Leer("grande.bmp");
  ASSERT_EQ(g.ancho, 6);
  ASSERT_EQ(g.alto, 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(Pix(g, x, y), PixSeis((y / 2) * 3 + x / 2));
  // The same size, and sizes that are no sizes, fail with a message of their own.
  for (auto medidas : {std::pair<const char*, const char*>{"!3", "!2"}, {"!0", "!2"}, {"!abc", "!2"}, {"!-3", "!2"}}) {
    Accion("krTamanyoImagen", {"seis.gif", "igual.bmp", medidas.first, medidas.second});
    EXPECT_EQ(R(), "False");
    EXPECT_EQ(E().rfind(kExcepcion + "No se pudo redimensionar la imagen \"" + Ruta("seis.gif") + "\"", 0), 0u) << E();
    EXPECT_FALSE(Existe("igual.bmp"));
  }
}

TEST_F(Imagenes, ElOrdenDeLasComprobaciones) {
  Escribir("bueno.png", EscribirImagen(Seis(), "PNG"));
  Escribir("bueno.jpeg", EscribirImagen(Seis(), "JPG"));
  Escribir("bueno.dib", EscribirImagen(Seis(), "BMP"));
  Escribir("bueno.pcx", EscribirImagen(Seis(), "PNG"));  // a PNG under a name of a format without codec
  Escribir("basura.png", Bytes{'n', 'o', ' ', 'e', 's'});
  CreateDirectoryA(Ruta("carpeta.png").c_str(), nullptr);
  const std::string noExiste = kExcepcion + "El archivo especificado no existe\".";
  const std::string salida = kExcepcion + "Formato de salida no disponible\".";
  const std::string entrada = kExcepcion + "Formato de entrada no disponible\".";
  struct {
    std::vector<std::string> p;
    std::string error;
  } casos[] = {
      {{"falta.xyz", "s.xyz"}, noExiste},         {{"carpeta.png", "s.bmp"}, noExiste},
      {{"bueno.jpeg", "s.xyz"}, salida},          {{"bueno.png", "s.jpeg"}, salida},
      {{"bueno.png", "s.dib"}, salida},           {{"bueno.png", "s.pbm"}, salida},
      {{"bueno.png", "s.pcx"}, salida},           {{"bueno.png", "s.xpm"}, salida},
      {{"bueno.png", "sin"}, salida},             {{"bueno.jpeg", "s.bmp"}, entrada},
      {{"bueno.dib", "s.bmp"}, entrada},
      {{"basura.png", "s.bmp"},
       kExcepcion + "No se pudo cargar la imagen \"" + Ruta("basura.png") +
           "\": su contenido no es de ning\xfan formato conocido\"."},
  };
  for (const char* accion : {"krConvertirImagen", "krEspejarImagen", "krInvertirImagen", "krRotarImagen"}) {
    for (const auto& c : casos) {
      SCOPED_TRACE(std::string(accion) + " " + c.p[0] + " " + c.p[1]);
      if (std::string(accion) == "krRotarImagen") Accion(accion, {c.p[0], c.p[1], "!45"});
      else Accion(accion, {c.p[0], c.p[1]});
      EXPECT_EQ(R(), "False");
      EXPECT_EQ(E(), c.error);
    }
  }
  // The size action checks the input format before the output format.
  Accion("krTamanyoImagen", {"bueno.jpeg", "s.xyz", "!4", "!4"});
  EXPECT_EQ(E(), entrada);
  Accion("krTamanyoImagen", {"falta.png", "s.xyz", "!4", "!4"});
  EXPECT_EQ(E(), noExiste);
  Accion("krTamanyoImagen", {"bueno.png", "s.xyz", "!4", "!4"});
  EXPECT_EQ(E(), salida);
  Accion("krTamanyoImagen", {"bueno.dib", "", "", ""});
  EXPECT_EQ(E(), entrada);
  // Accepted as input, then found to be something else by content.
  Accion("krConvertirImagen", {"bueno.pcx", "s.tga"});
  EXPECT_EQ(R(), "True");
  EXPECT_EQ(Leer("s.tga").pixeles, ConvertirA(Seis(), FormatoPixel::kRGBA32).pixeles);
  EXPECT_FALSE(Existe("s.bmp"));
}

TEST_F(Imagenes, PngConNombreBmpYPrimerFotogramaDeGif) {
  Escribir("png.bmp", EscribirImagen(Seis(), "PNG"));
  Accion("krConvertirImagen", {"png.bmp", "s.ppm"});
  EXPECT_EQ(R(), "True");
  EXPECT_EQ(Leer("s.ppm").pixeles, ConvertirA(Seis(), FormatoPixel::kRGBA32).pixeles);
  // Two frames of 2 x 1: red then blue (a second image descriptor appended by hand).
  Imagen rojo = CrearImagen(2, 1, FormatoPixel::kRGB24);
  rojo.pixeles = {255, 0, 0, 255, 0, 0};
  Bytes gif = EscribirImagen(rojo, "GIF");
  ASSERT_EQ(gif.back(), 0x3B);
  gif.pop_back();
  const std::uint8_t segundo[] = {0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0x80, 0, 0, 255, 0, 0, 255,
                                  0x02, 0x02, 0x04, 0x0A, 0x00, 0x3B};
  gif.insert(gif.end(), segundo, segundo + sizeof segundo);
  Escribir("anim.gif", gif);
  Accion("krConvertirImagen", {"anim.gif", "primero.png"});
  EXPECT_EQ(R(), "True");
  Imagen p = Leer("primero.png");
  EXPECT_EQ(Pix(p, 0, 0), (std::vector<std::uint8_t>{255, 0, 0, 255}));
  EXPECT_EQ(Pix(p, 1, 0), (std::vector<std::uint8_t>{255, 0, 0, 255}));
}

TEST_F(Imagenes, UnGuardadoFallidoNoDejaArchivo) {
  Escribir("seis.png", EscribirImagen(Seis(), "PNG"));
  Accion("krConvertirImagen", {"seis.png", "no\\existe\\s.bmp"});
  EXPECT_EQ(R(), "False");
  EXPECT_EQ(E().rfind("Excepci\xf3n: \"EFCreateError\". Mensaje: \"Cannot create file \"", 0), 0u) << E();
  // A format without an encoder yet: refused before anything is written.
  Accion("krConvertirImagen", {"seis.png", "s.dds"});
  EXPECT_EQ(R(), "False");
  EXPECT_EQ(E(), kExcepcion + "No se pudo guardar la imagen \"" + Ruta("s.dds") +
                     "\": no hay codificador para su formato\".");
  EXPECT_FALSE(Existe("s.dds"));
  EXPECT_FALSE(Existe("s.dds.pelmaro-tmp"));
}

TEST_F(Imagenes, CapturaDeUnaVentanaDeTamanyoConocido) {
  HWND v = CreateWindowExA(0, "STATIC", "Captura", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 40, 240, 170, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(v, nullptr);
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
  RECT r;
  GetWindowRect(v, &r);
  HDC pantalla = GetDC(nullptr);
  const int bits = GetDeviceCaps(pantalla, BITSPIXEL);
  ReleaseDC(nullptr, pantalla);
  Accion("krImagenVentana", {"!" + std::to_string(reinterpret_cast<std::intptr_t>(v)), "captura.jpg"});
  DestroyWindow(v);
  EXPECT_EQ(R(), "True");
  EXPECT_EQ(E(), "");
  Bytes b = Contenido("captura.jpg");
  ASSERT_GE(b.size(), 54u);
  EXPECT_EQ(b[0], 'B');  // a bitmap whatever the name says
  EXPECT_EQ(b[1], 'M');
  auto u32 = [&](int o) { return static_cast<std::int32_t>(b[o] | (b[o + 1] << 8) | (b[o + 2] << 16) | (b[o + 3] << 24)); };
  EXPECT_EQ(u32(18), r.right - r.left);
  EXPECT_EQ(u32(22), r.bottom - r.top);
  EXPECT_EQ(r.right - r.left, 240);
  EXPECT_EQ(b[28], bits);
  Imagen img;
  EXPECT_TRUE(LeerImagen(b.data(), b.size(), "x.bmp", img));

  for (const char* malo : {"0", "", "abc"}) {
    Accion("krImagenVentana", {std::string("!") + malo, "nada.bmp"});
    EXPECT_EQ(R(), "False") << malo;
    EXPECT_EQ(E(), "") << malo;
  }
  Accion("krImagenVentana", {"!123457", "nada.bmp"});
  EXPECT_EQ(R(), "False");
  EXPECT_EQ(E(), kExcepcion + "No se pudo capturar la ventana 123457: no existe\".");
  EXPECT_FALSE(Existe("nada.bmp"));

  Accion("krImagenPantalla", {"pantalla.bmp"});
  EXPECT_EQ(R(), "True");
  Bytes p = Contenido("pantalla.bmp");
  ASSERT_GE(p.size(), 54u);
  RECT escritorio;
  GetWindowRect(GetDesktopWindow(), &escritorio);
  EXPECT_EQ(p[18] | (p[19] << 8), escritorio.right - escritorio.left);
  EXPECT_EQ(p[22] | (p[23] << 8), escritorio.bottom - escritorio.top);
}
