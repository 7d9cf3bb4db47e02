// The host simulator's script reader.
#include <gtest/gtest.h>

#include "hostsim/guion.h"

using namespace nbhost;

TEST(Guion, LineasYArgumentos) {
  LineaGuion l = AnalizarLinea("  krLeerIni \"a b.ini\" \"\" \"[k]\"   12 ", 3);
  EXPECT_EQ(l.orden, "krLeerIni");
  ASSERT_EQ(l.argumentos.size(), 4u);
  EXPECT_EQ(l.argumentos[0].texto, "a b.ini");
  EXPECT_EQ(l.argumentos[1].texto, "");
  EXPECT_TRUE(l.argumentos[1].citado);
  EXPECT_EQ(l.argumentos[3].texto, "12");
  EXPECT_FALSE(l.argumentos[3].citado);
  EXPECT_EQ(AnalizarLinea("; comment \"", 1).orden, "");
  EXPECT_EQ(AnalizarLinea("// comment", 1).orden, "");
  EXPECT_THROW(AnalizarLinea("Echo \"abc", 7), ErrorGuion);
  EXPECT_THROW(AnalizarLinea("Echo \"a\"b", 7), ErrorGuion);
}

TEST(Guion, SubrutinasYErrores) {
  Guion g = AnalizarGuion("Echo \"1\"\r\n:Sub1\nEcho \"in\"\nReturn\n\nGoSub \"sub1\"\n:Otra\nReturn\n");
  ASSERT_EQ(g.principal.size(), 2u);
  EXPECT_EQ(g.principal[1].numero, 6);
  EXPECT_EQ(g.nombresSubrutinas, (std::vector<std::string>{"Sub1", "Otra"}));
  ASSERT_TRUE(g.subrutinas.count("SUB1"));
  EXPECT_EQ(g.subrutinas.at("sub1").size(), 1u);
  EXPECT_TRUE(g.subrutinas.at("Otra").empty());

  for (const char* malo : {":A\nEcho \"x\"\n", ":A\n:B\nReturn\n", ":A\nReturn\n:a\nReturn\n", ":\nReturn\n"}) {
    EXPECT_THROW(AnalizarGuion(malo), ErrorGuion) << malo;
  }
  try {
    AnalizarGuion("Echo \"ok\"\nEcho \"bad\n");
    FAIL();
  } catch (const ErrorGuion& e) {
    EXPECT_EQ(e.Linea(), 2);
  }
}

TEST(Guion, Expansion) {
  auto var = [](const std::string& n) { return n == "x" ? std::string("uno") : std::string(); };
  EXPECT_EQ(Expandir("a[x]b[y]c", var), "aunobc");
  EXPECT_EQ(Expandir("[#34]q[#34]", var), "\"q\"");
  EXPECT_EQ(Expandir("sin [cierre", var), "sin [cierre");
  EXPECT_EQ(Expandir("[X]", var), "");
  EXPECT_EQ(NombreDeVariable("[Progreso]"), "Progreso");
  EXPECT_EQ(NombreDeVariable("Progreso"), "Progreso");
}
