// The shared text forms: integers, booleans, splitting, colours, styles, fonts, charsets.
#include <gtest/gtest.h>

#include "core/errores.h"
#include "core/texto.h"

using namespace pelmaro;

struct CasoEntero {
  const char* texto;
  bool valido;
  std::int32_t valor;
};

TEST(TextoEntero, SigueLaReglaComun) {
  const CasoEntero casos[] = {
      {"0", true, 0},           {"12", true, 12},          {" +12", true, 12},     {"   -7", true, -7},
      {"-0", true, 0},          {"$1F", true, 31},         {"0x1f", true, 31},     {"0X1F", true, 31},
      {"x1f", true, 31},        {"X1F", true, 31},         {"-$10", true, -16},    {"007", true, 7},
      {"2147483647", true, 2147483647}, {"-2147483648", true, INT32_MIN}, {"$FFFFFFFF", true, -1},
      {"$7FFFFFFF", true, INT32_MAX},
      // rejections
      {"", false, 0},           {" ", false, 0},           {"12 ", false, 0},      {"1.5", false, 0},
      {"+", false, 0},          {"-", false, 0},           {"$", false, 0},        {"0x", false, 0},
      {"abc", false, 0},        {"\t12", false, 0},        {"1e3", false, 0},      {"2147483648", false, 0},
      {"-2147483649", false, 0}, {"$100000000", false, 0}, {"+-1", false, 0},      {"$-1", false, 0},
      {"0x-1", false, 0},       {"12a", false, 0},         {"$G", false, 0},       {"1 2", false, 0},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string("text '") + c.texto + "'");
    auto v = LeerEnteroOpcional(c.texto);
    ASSERT_EQ(v.has_value(), c.valido);
    if (c.valido) {
      EXPECT_EQ(*v, c.valor);
    }
  }
}

TEST(TextoEntero, RechazoLanzaEConvertErrorConElTexto) {
  try {
    LeerEntero("abc");
    FAIL() << "no error raised";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.Clase(), "EConvertError");
    EXPECT_EQ(e.Mensaje(), "'abc' is not a valid integer value");
  }
  EXPECT_EQ(LeerEnteroODefecto("x", 42), 42);
  EXPECT_EQ(LeerEnteroODefecto("$a", 42), 10);
}

TEST(TextoBooleano, VerdaderoYFalsoExactos) {
  struct {
    const char* t;
    bool verdadero, falso;
  } casos[] = {
      {"True", true, false}, {"Checked", true, false}, {"False", false, true}, {"", false, true},
      {"true", false, false}, {"TRUE", false, false}, {"0", false, false}, {"1", false, false},
      {"False ", false, false}, {" True", false, false}, {"checked", false, false},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.t);
    EXPECT_EQ(EsVerdadero(c.t), c.verdadero);
    EXPECT_EQ(EsFalso(c.t), c.falso);
  }
  EXPECT_TRUE(EsFalso(nullptr));
  EXPECT_FALSE(EsVerdadero(nullptr));
}

TEST(TextoDividir, UnaPiezaMasQueSeparadores) {
  using V = std::vector<std::string>;
  struct {
    const char* sep;
    const char* texto;
    V piezas;
  } casos[] = {
      {"|", "a||b", {"a", "", "b"}},   {"|", "", {""}},          {",", "", {""}},
      {"|", "|", {"", ""}},             {"|", "abc", {"abc"}},    {"", "a|b", {"a|b"}},
      {"\r\n", "x\r\ny\r\n", {"x", "y", ""}}, {"ab", "1ab2aB3", {"1", "2aB3"}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.sep) + " / " + c.texto);
    EXPECT_EQ(DividirCadena(c.sep, c.texto), c.piezas);
  }
}

TEST(TextoColor, TextoAColor) {
  struct {
    const char* t;
    std::uint32_t v;
  } casos[] = {
      {"255,128,0", 255 + 128 * 256}, {"0,0,0", 0},        {"255,255,255", 0xFFFFFF}, {"1,2", 0},
      {"1,2,3,4", 0},                 {"300,0,0", 300},    {"x,1,0", 256},            {"", 0},
      {"8,0,32768", 0x80000008u},     {"-1,0,0", 0xFFFFFFFFu}, {" 1, 2, 3", 0x030201},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.t);
    EXPECT_EQ(TextoAColor(c.t), c.v);
  }
}

TEST(TextoColor, ColorATextoEnSusTresFamilias) {
  struct {
    std::uint32_t v;
    const char* t;
  } casos[] = {
      {0, "0,0,0"},
      {0xFFFFFF, "255,255,255"},
      {0x7FFFFFFF, "255,255,32767"},
      {0x80000008u, "8,0,32768"},
      {0x8000FFFFu, "255,255,32768"},
      {0x80010000u, "-2147418112,0,0"},
      {0xFFFFFFFFu, "-1,0,0"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.v);
    EXPECT_EQ(ColorATexto(c.v), c.t);
  }
  // System colours survive a round trip through their text.
  for (std::uint32_t v : {0x80000000u, 0x80000008u, 0x8000FFFFu, 0x123456u, 0xFFFFFFFFu})
    EXPECT_EQ(TextoAColor(ColorATexto(v)), v) << v;
}

TEST(TextoEstilo, NombresSensiblesAMayusculas) {
  EXPECT_EQ(TextoAEstilo("Bold+Underline"), kNegrita | kSubrayado);
  EXPECT_EQ(TextoAEstilo("bold+underline"), 0u);
  EXPECT_EQ(TextoAEstilo("Strikeout,Italic"), kTachado | kCursiva);
  EXPECT_EQ(TextoAEstilo("xxBoldxx"), kNegrita);
  EXPECT_EQ(EstiloATexto(kTachado | kNegrita | kCursiva | kSubrayado), "Bold+Italic+Underline+Strikeout");
  EXPECT_EQ(EstiloATexto(0), "");
  EXPECT_EQ(EstiloATexto(kSubrayado), "Underline");
}

TEST(TextoCharset, TablaYDefecto) {
  struct {
    const char* nombre;
    int numero;
  } casos[] = {{"ANSI_CHARSET", 0},   {"DEFAULT_CHARSET", 1},    {"SYMBOL_CHARSET", 2},   {"SHIFTJIS_CHARSET", 128},
               {"HANGEUL_CHARSET", 129}, {"JOHAB_CHARSET", 130}, {"GB2312_CHARSET", 134}, {"CHINESEBIG5_CHARSET", 136},
               {"GREEK_CHARSET", 161}, {"TURKISH_CHARSET", 162}, {"VIETNAMESE_CHARSET", 163}, {"HEBREW_CHARSET", 177},
               {"ARABIC_CHARSET", 178}, {"RUSSIAN_CHARSET", 204}, {"THAI_CHARSET", 222}, {"EASTEUROPE_CHARSET", 238},
               {"OEM_CHARSET", 255}};
  for (const auto& c : casos) {
    EXPECT_EQ(TextoACharset(c.nombre), c.numero) << c.nombre;
    EXPECT_EQ(CharsetATexto(c.numero), c.nombre);
  }
  EXPECT_EQ(TextoACharset("ansi_charset"), 1);
  EXPECT_EQ(TextoACharset(""), 1);
  EXPECT_EQ(CharsetATexto(3), "DEFAULT_CHARSET");
  EXPECT_EQ(CharsetATexto(-1), "DEFAULT_CHARSET");
}

TEST(TextoFuente, DescriptorYDefectos) {
  DescripcionFuente defecto;
  DescripcionFuente f = TextoAFuente("Arial|12|0,0,255|Bold+Italic");
  EXPECT_EQ(f.nombre, "Arial");
  EXPECT_EQ(f.tamanyo, 12);
  EXPECT_EQ(f.color, 0xFF0000u);
  EXPECT_EQ(f.estilos, kNegrita | kCursiva);
  EXPECT_EQ(FuenteATexto(f), "Arial|12|0,0,255|Bold+Italic");

  f = TextoAFuente("Arial|x|0,0,0");
  EXPECT_EQ(f.nombre, "Arial");
  EXPECT_EQ(f.tamanyo, 10);
  EXPECT_EQ(FuenteATexto(f), "Arial|10|0,0,0");

  for (const char* corto : {"Arial|12", "Arial", ""}) {
    f = TextoAFuente(corto);
    EXPECT_EQ(f.nombre, defecto.nombre) << corto;
    EXPECT_EQ(f.tamanyo, defecto.tamanyo) << corto;
    EXPECT_EQ(f.color, defecto.color) << corto;
  }
  // Styles only with exactly four pieces; the character set never comes from the text.
  f = TextoAFuente("Arial|9|1,2,3|Bold|extra");
  EXPECT_EQ(f.estilos, 0u);
  EXPECT_EQ(f.tamanyo, 9);
  EXPECT_EQ(f.charset, defecto.charset);
  EXPECT_EQ(FuenteATexto(TextoAFuente("Courier New|8|8,0,32768")), "Courier New|8|8,0,32768");
}

TEST(TextoOtros, EscaparComillasYFormatear) {
  EXPECT_EQ(EscaparComillas("di \"hola\""), "di [#34]hola[#34]");
  EXPECT_EQ(EscaparComillas(""), "");
  EXPECT_EQ(Formatear("GoSub \"%s\"", "Sub1"), "GoSub \"Sub1\"");
  EXPECT_EQ(Formatear("a %s b %d c", "1", "2"), "a 1 b 2 c");
  EXPECT_EQ(Formatear("100%", "x"), "100%");
  EXPECT_EQ(Recortar("  \r\n Sub2 \r"), "Sub2");
}
