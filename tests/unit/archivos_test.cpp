// Path pieces, time patterns and the icon file layout of the file actions.
#include <gtest/gtest.h>

#include "actions/files/archivo_icono.h"
#include "actions/files/rutas_archivos.h"

using namespace pelmaro;

TEST(RutasArchivos, PiezasYNombres) {
  struct {
    const char *ruta, *carpeta;
  } carpetas[] = {
      {"C:\\dir\\prog.exe", "C:\\dir\\"}, {"C:prog.exe", "C:"}, {"prog.exe", ""}, {"", ""},
      {"C:\\a:b\\c", "C:\\a:b\\"},        {"\\\\srv\\share\\x", "\\\\srv\\share\\"}, {"C:\\dir\\", "C:\\dir\\"},
  };
  for (const auto& c : carpetas) EXPECT_EQ(CarpetaDeRuta(c.ruta), c.carpeta) << c.ruta;

  EXPECT_EQ(NombreAccesoDirecto("C:\\d", "x"), "C:\\d\\x.lnk");
  EXPECT_EQ(NombreAccesoDirecto("C:\\d\\", "x"), "C:\\d\\x.lnk");
  EXPECT_EQ(NombreAccesoDirecto("C:\\d", "x.lnk"), "C:\\d\\x.lnk.lnk");
  EXPECT_EQ(NombreIcono("C:\\d", 0), "C:\\d\\0.ico");
  EXPECT_EQ(NombreIcono("C:\\d\\", 12), "C:\\d\\12.ico");
}

TEST(RutasArchivos, PatronHora) {
  struct {
    const char* separador;
    bool cero, doce, delante;
    const char* patron;
  } casos[] = {
      {":", false, false, false, "H':'mm':'ss"},    {":", true, false, true, "HH':'mm':'ss"},
      {".", false, true, false, "h'.'mm'.'ss tt"},  {":", true, true, true, "tt hh':'mm':'ss"},
      {"'", false, false, false, "H''''mm''''ss"},  {"", false, false, false, "Hmmss"},
  };
  for (const auto& c : casos) {
    AjustesHora a;
    a.separador = c.separador;
    a.ceroInicial = c.cero;
    a.doceHoras = c.doce;
    a.marcaDelante = c.delante;
    EXPECT_EQ(PatronHora(a), c.patron);
  }
}

namespace {

std::uint32_t Leer(const std::vector<std::uint8_t>& b, std::size_t en, int bytes) {
  std::uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = v << 8 | b.at(en + static_cast<std::size_t>(i));
  return v;
}

}  // namespace

TEST(ArchivoIcono, FilasRellenadas) {
  EXPECT_EQ(BytesPorFila(16, 1), 4u);
  EXPECT_EQ(BytesPorFila(33, 1), 8u);
  EXPECT_EQ(BytesPorFila(16, 4), 8u);
  EXPECT_EQ(BytesPorFila(3, 24), 12u);
  EXPECT_EQ(BytesPorFila(32, 32), 128u);
}

TEST(ArchivoIcono, UnaImagenConSuDirectorio) {
  struct {
    std::int32_t ancho, alto;
    std::uint16_t bits;
    std::uint32_t colores;  // entry's colour count byte
    std::size_t tabla;
  } casos[] = {{32, 32, 32, 0, 0}, {16, 16, 4, 16, 64}, {48, 48, 8, 0, 1024}, {256, 256, 32, 0, 0}, {16, 16, 1, 2, 8}};
  for (const auto& c : casos) {
    ImagenIcono img;
    img.ancho = c.ancho;
    img.alto = c.alto;
    img.bitsPorPixel = c.bits;
    img.tablaColores.assign(c.tabla, 0x11);
    img.pixelsColor.assign(BytesPorFila(c.ancho, c.bits) * static_cast<std::size_t>(c.alto), 0x22);
    img.pixelsMascara.assign(BytesPorFila(c.ancho, 1) * static_cast<std::size_t>(c.alto), 0x33);
    auto b = ArchivoIcono(img);
    SCOPED_TRACE(c.ancho * 100 + c.bits);
    const std::size_t datos = 40 + c.tabla + img.pixelsColor.size() + img.pixelsMascara.size();
    ASSERT_EQ(b.size(), 22 + datos);
    EXPECT_EQ(Leer(b, 0, 2), 0u);
    EXPECT_EQ(Leer(b, 2, 2), 1u);
    EXPECT_EQ(Leer(b, 4, 2), 1u);
    EXPECT_EQ(Leer(b, 6, 1), static_cast<std::uint32_t>(c.ancho & 0xFF));
    EXPECT_EQ(Leer(b, 7, 1), static_cast<std::uint32_t>(c.alto & 0xFF));
    EXPECT_EQ(Leer(b, 8, 1), c.colores);
    EXPECT_EQ(Leer(b, 9, 1), 0u);
    EXPECT_EQ(Leer(b, 10, 2), 1u);
    EXPECT_EQ(Leer(b, 12, 2), c.bits);
    EXPECT_EQ(Leer(b, 14, 4), datos);
    EXPECT_EQ(Leer(b, 18, 4), 22u);
    // The bitmap info header: colour and mask together, twice as high.
    EXPECT_EQ(Leer(b, 22, 4), 40u);
    EXPECT_EQ(Leer(b, 26, 4), static_cast<std::uint32_t>(c.ancho));
    EXPECT_EQ(Leer(b, 30, 4), static_cast<std::uint32_t>(c.alto * 2));
    EXPECT_EQ(Leer(b, 34, 2), 1u);
    EXPECT_EQ(Leer(b, 36, 2), c.bits);
    EXPECT_EQ(Leer(b, 38, 4), 0u);
    EXPECT_EQ(Leer(b, 42, 4), img.pixelsColor.size() + img.pixelsMascara.size());
    // Table, colour pixels and mask follow in that order.
    const std::size_t color = 62 + c.tabla, mascara = color + img.pixelsColor.size();
    if (c.tabla) {
      EXPECT_EQ(b[62], 0x11);
    }
    EXPECT_EQ(b[color], 0x22);
    EXPECT_EQ(b[mascara - 1], 0x22);
    EXPECT_EQ(b[mascara], 0x33);
    EXPECT_EQ(b.back(), 0x33);
  }
}
