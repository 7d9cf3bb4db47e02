// The random generator, action-file lines, context numbers and custom-colour slots.
#include <gtest/gtest.h>

#include "actions/publication/utiles_publicacion.h"

using namespace pelmaro;

TEST(Aleatorio, PrimerasRespuestasYLimites) {
  TGeneradorAleatorio g;
  std::vector<std::int32_t> primeras;
  for (int i = 0; i < 5; ++i) primeras.push_back(g.Entre(1, 100));
  EXPECT_EQ(primeras, (std::vector<std::int32_t>{1, 4, 86, 21, 28}));

  TGeneradorAleatorio otro;
  EXPECT_EQ(otro.Entre(10, 10), 10);
  // Equal bounds still advance the state: the next draw is the second of the sequence.
  EXPECT_EQ(otro.Entre(1, 100), 4);

  TGeneradorAleatorio h;
  for (int i = 0; i < 2000; ++i) {
    std::int32_t n = h.Entre(5, -5);
    ASSERT_GE(n, -5);
    ASSERT_LE(n, 4);
    ASSERT_NE(h.Entre(0, 3), 3);
  }
  // The whole 32-bit range wraps around instead of overflowing.
  TGeneradorAleatorio w;
  for (int i = 0; i < 100; ++i) ASSERT_NE(w.Entre(INT32_MIN, INT32_MAX), INT32_MAX);
}

TEST(Lineas, FinesDeLinea) {
  struct {
    const char* texto;
    std::vector<std::string> lineas;
  } casos[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\rb\nc\r\n", {"a", "b", "c"}},
      {"\n\n", {"", ""}},
      {"a\n\rb", {"a", "", "b"}},
  };
  for (const auto& c : casos) EXPECT_EQ(DividirLineas(c.texto), c.lineas) << c.texto;
}

TEST(EnteroInicial, PrefijoValido) {
  struct {
    const char* texto;
    std::int32_t valor;
  } casos[] = {{"12", 12}, {"12a", 12}, {"", 0}, {"abc", 0}, {" -7x", -7}, {"$1Fz", 31},
               {"1.5", 1}, {"12 ", 12}, {"-", 0}, {"99999999999", 999999999}};
  for (const auto& c : casos) EXPECT_EQ(EnteroInicial(c.texto), c.valor) << c.texto;
}

TEST(ColoresPersonalizados, LineasYValores) {
  EXPECT_EQ(LineaColor(0, "FF"), "colorA=FF");
  EXPECT_EQ(LineaColor(15, ""), "colorP=FFFFFFFF");
  struct {
    const char* linea;
    std::uint32_t valor;
  } casos[] = {{"colorA=FF", 0xFF},         {"colorB=00ff00", 0xFF00}, {"colorC=FFFFFFFF", kColorVacio},
               {"colorD=zz", kColorVacio}, {"colorE=", kColorVacio},   {"colorF=123456789", kColorVacio},
               {"colorG=$FF", kColorVacio}, {"colorH=-1", kColorVacio}};
  for (const auto& c : casos) EXPECT_EQ(ValorLineaColor(c.linea), c.valor) << c.linea;
  EXPECT_EQ(TextoColorPersonalizado(0xFF), "0000FF");
  EXPECT_EQ(TextoColorPersonalizado(0xABCDEF), "ABCDEF");
  EXPECT_EQ(TextoColorPersonalizado(kColorVacio), "FFFFFFFF");
}
