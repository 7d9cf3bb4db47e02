// Invariants of the catalogue table that registration and dispatch rely on.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/catalogo.h"

using namespace pelmaro;

TEST(Catalogo, CategoriasYNumeracionSinHuecos) {
  const int centenas[] = {100, 200, 300, 400, 500, 600, 700, 800, 900};
  int categoria = -1, siguiente = 0, acciones = 0, sinParametros = 0;
  std::set<std::string> nombres;
  for (int i = 0; i < NumeroFilasCatalogo(); ++i) {
    const FilaCatalogo& f = FilasCatalogo()[i];
    if (f.EsCategoria()) {
      ++categoria;
      ASSERT_LT(categoria, 9);
      siguiente = centenas[categoria];
      EXPECT_STREQ(f.pista, "");
      EXPECT_EQ(f.Parametros(), 0);
      continue;
    }
    ASSERT_GE(categoria, 0) << "action before the first category";
    EXPECT_EQ(f.id, siguiente++) << f.nombre;
    EXPECT_TRUE(nombres.insert(f.nombre).second) << "duplicate " << f.nombre;
    EXPECT_EQ(std::string(f.nombre).rfind("kr", 0), 0u) << f.nombre;
    EXPECT_EQ(CategoriaDe(f.id), &FilasCatalogo()[i - (f.id - centenas[categoria]) - 1]);
    for (const char* t = f.tipos; *t; ++t) EXPECT_TRUE(*t == '1' || *t == '6') << f.nombre;
    ++acciones;
    if (f.Parametros() == 0) ++sinParametros;
  }
  EXPECT_EQ(categoria, 8);
  EXPECT_EQ(acciones, 83);
  EXPECT_EQ(sinParametros, 15);
}

TEST(Catalogo, Busquedas) {
  EXPECT_EQ(BuscarAccion(0), nullptr);
  EXPECT_EQ(BuscarAccion(118), nullptr);
  EXPECT_EQ(BuscarAccion(907), nullptr);
  ASSERT_NE(BuscarAccion(800), nullptr);
  EXPECT_STREQ(BuscarAccion(800)->nombre, "krLeerIni");
  EXPECT_EQ(BuscarAccionPorNombre("krCifrarArchivo")->Parametros(), 6);
  EXPECT_EQ(BuscarAccionPorNombre("Sistema"), nullptr);
  EXPECT_STREQ(CategoriaDe(906)->nombre, "Imágenes");
}
