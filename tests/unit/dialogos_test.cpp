// The dialog rows and the filling rules that need no window.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/catalogo.h"
#include "editing/dialogos.h"

namespace {

using namespace pelmaro;
using namespace pelmaro::edicion;

TEST(Dialogos, CadaFilaCasaConSuAccion) {
  std::set<std::int32_t> vistos;
  for (const Dialogo& d : Dialogos()) {
    SCOPED_TRACE(d.id);
    EXPECT_TRUE(vistos.insert(d.id).second) << "two dialogs for one action";
    const FilaCatalogo* fila = BuscarAccion(d.id);
    ASSERT_NE(fila, nullptr);
    EXPECT_EQ(static_cast<std::int32_t>(d.campos.size()), fila->Parametros());
    std::set<std::string> marcos;
    for (const Campo& c : d.campos) {
      EXPECT_TRUE(marcos.insert(c.marco).second) << "frame name used twice: " << c.marco;
      EXPECT_STRNE(c.etiqueta, "");
      EXPECT_TRUE(c.tipo == TipoMarco::Alpha || c.archivo == ModoArchivo::Oculto) << "a file button on a " << c.marco;
      EXPECT_TRUE(c.tipo == TipoMarco::Combo || c.lista.empty());
    }
    EXPECT_STRNE(d.titulo, "");
    EXPECT_STRNE(d.descripcion, "");
  }
  // Actions without parameters have no dialog.
  for (std::int32_t id : {100, 103, 208, 500, 600, 704}) EXPECT_EQ(BuscarDialogo(id), nullptr) << id;
}

TEST(Dialogos, TextoInicialConDefecto) {
  Campo c = SiNo("frameVarForzar", "x", "False");
  struct Caso {
    const char* parametro;
    const char* inicial;
  };
  for (const Caso& k : {Caso{"", "False"}, Caso{" \t\r\n", "False"}, Caso{"True", "True"}, Caso{" x ", " x "},
                        Caso{"[Var]", "[Var]"}}) {
    EXPECT_STREQ(TextoInicial(c, k.parametro), k.inicial) << "[" << k.parametro << "]";
  }
  EXPECT_STREQ(TextoInicial(c, nullptr), "False");
  Campo sin = CampoTexto("frameVarNombre", "x");
  EXPECT_STREQ(TextoInicial(sin, ""), "");
  EXPECT_STREQ(TextoInicial(sin, " "), " ");
}

TEST(Dialogos, IndiceDeUnaListaFija) {
  struct Caso {
    const char* parametro;
    std::int64_t indice;
  };
  for (const Caso& k : {Caso{"", 0}, Caso{"15", 15}, Caso{"$A", 10}, Caso{"0x0A", 10}, Caso{"-1", -1},
                        Caso{"25", 25}, Caso{"abc", 0}, Caso{"6 ", 0}, Caso{" 6", 6}}) {
    EXPECT_EQ(IndiceDeLista(k.parametro), k.indice) << "[" << k.parametro << "]";
  }
}

TEST(Dialogos, EntradaSinCasoYOrden) {
  Campo c = Lista("frameVarCharset", "Charset", {"OEM_CHARSET", "DEFAULT_CHARSET"}, ModoLista::SinCaso);
  EXPECT_EQ(EntradaSinCaso(c, "default_charset"), 1);
  EXPECT_EQ(EntradaSinCaso(c, "DEFAULT_CHARSET"), 1);
  EXPECT_EQ(EntradaSinCaso(c, "DEFAULT"), -1);
  EXPECT_EQ(EntradaSinCaso(c, "[Var]"), -1);

  // Fields laid out in another order than their parameters (the cipher dialogs' lists after
  // the decipher flag).
  Dialogo d;
  d.campos = {CampoTexto("a", "a"), Lista("b", "b", {}, ModoLista::Indice), EnOrden(AlLado(Lista("c", "c", {})), 3),
              EnOrden(SiNo("d", "d"), 1)};
  d.campos[1].orden = 2;
  EXPECT_EQ(OrdenDeCampos(d), (std::vector<std::size_t>{0, 3, 1, 2}));
}

}  // namespace
