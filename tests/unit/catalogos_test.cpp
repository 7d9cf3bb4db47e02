// Which catalogue file a language code selects.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "i18n/catalogos.h"

using namespace pelmaro;

TEST(Catalogos, RutaDelCatalogo) {
  EXPECT_EQ(RutaCatalogo("C:\\Pelmaro\\locale", "fr"), "C:\\Pelmaro\\locale\\fr\\LC_MESSAGES\\default.mo");
}

TEST(Catalogos, CodigoEnteroOSusDosPrimerasLetras) {
  const std::string c = "C:\\p\\locale";
  const std::set<std::string> instalados = {RutaCatalogo(c, "en"), RutaCatalogo(c, "fr"), RutaCatalogo(c, "es"),
                                            RutaCatalogo(c, "es_ES")};
  auto existe = [&](const std::string& r) { return instalados.count(r) > 0; };
  struct {
    const char* codigo;
    const char* elegido;
    bool hayArchivo;
  } casos[] = {
      {"fr", "fr", true},        {"es_ES", "es_ES", true}, {"es_AR", "es", true},
      {"fr_FR", "fr", true},     {"de", "de", false},      {"de_DE", "de", false},
      {"e", "e", false},         {"english", "en", true},
  };
  for (const auto& k : casos) {
    CatalogoElegido e = ElegirCatalogo(c, k.codigo, existe);
    EXPECT_EQ(e.codigo, k.elegido) << k.codigo;
    EXPECT_EQ(e.ruta, k.hayArchivo ? RutaCatalogo(c, k.elegido) : "") << k.codigo;
  }
}
