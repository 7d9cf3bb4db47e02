// nbExecAction: the version gate, the clearing of the result variables and the dispatch.
#include <algorithm>

#include "tests/win/entorno.h"

using prueba::Host;

namespace {

nbhost::Opciones Version(const char* v) {
  nbhost::Opciones o;
  o.version = std::string(v);
  return o;
}

const char kPreparar[] =
    "SetVar \"[krUltimoError]\" \"viejo error\"\n"
    "SetVar \"[krResultadoAccion]\" \"viejo\"\n"
    "SetVar \"[krResultadoAccion0]\" \"e0\"\n"
    "SetVar \"[krResultadoAccion1]\" \"e1\"\n"
    "SetVar \"[krResultadoAccion2]\" \"e2\"\n"
    "SetVar \"[krResultadoAccion3]\" \"e3\"\n"
    "SetVar \"[krResultadoAccion4]\" \"e4\"\n"
    "SetVar \"[krResultadoAccion6]\" \"e6\"\n";

}  // namespace

TEST(Ejecucion, NumerosSinManejadorDevuelven0TrasVaciar) {
  for (const char* numero : {"0", "118", "907", "-1", "199", "2147483647"}) {
    SCOPED_TRACE(numero);
    Host h;
    h.Reproducir(std::string(kPreparar) + "ExecAction " + numero + "\n");
    EXPECT_NE(h.Salida().find("  returned 0\n"), std::string::npos) << h.Salida();
    EXPECT_EQ(h.Var("krUltimoError"), "");
    EXPECT_EQ(h.Var("krResultadoAccion"), "");
    // Host 5: the whole result array goes through one script line.
    EXPECT_EQ(h.sim->LineasDelPlugin(), std::vector<std::string>{"DeleteArray \"krResultadoAccion\" \"All\""});
    EXPECT_EQ(h.sim->Elementos("krResultadoAccion").size(), 0u);
    EXPECT_TRUE(h.sim->Faltas().empty()) << h.sim->Faltas().front();
  }
}

TEST(Ejecucion, ErrorAnteriorSeVaciaConLaSiguienteAccion) {
  Host h;
  h.Reproducir("SetVar \"[krUltimoError]\" \"de antes\"\nkrLeerIni \"nada.ini\" \"s\" \"k\" \"defecto\"\n");
  EXPECT_EQ(h.Var("krUltimoError"), "");
  EXPECT_EQ(h.Var("krResultadoAccion"), "defecto");
}

// Before version 5 the elements are emptied one by one from 1 up to the first empty one;
// element 0 and everything after the gap stay.
TEST(Ejecucion, HostAntiguoVaciaElementosHastaElPrimeroVacio) {
  for (const char* v : {"413", "4999", "499"}) {
    SCOPED_TRACE(v);
    Host h(Version(v));
    h.Reproducir(std::string(kPreparar) + "ExecAction 907\n");
    auto e = h.sim->Elementos("krResultadoAccion");
    EXPECT_EQ(e, (std::map<long, std::string>{{0, "e0"}, {6, "e6"}}));
    EXPECT_TRUE(h.sim->LineasDelPlugin().empty());
    EXPECT_EQ(h.Var("krResultadoAccion"), "");
    EXPECT_EQ(h.Var("krUltimoError"), "");
    EXPECT_TRUE(h.sim->Faltas().empty()) << h.sim->Faltas().front();
  }
}

TEST(Ejecucion, VersionesQueSuperanLaPuerta) {
  struct {
    const char* version;
    bool porGuion;
  } casos[] = {{"413", false}, {"5000", true}, {"5800", true}, {"500", true}, {"4130abc", false}};
  for (const auto& c : casos) {
    SCOPED_TRACE(c.version);
    Host h(Version(c.version));
    h.Reproducir("ExecAction 118\n");
    EXPECT_EQ(h.sim->LineasDelPlugin().size(), c.porGuion ? 1u : 0u);
    EXPECT_TRUE(h.sim->Cajas().empty());
    // Every action asks the version again (nothing is cached).
    EXPECT_GE(std::count(h.sim->Peticiones().begin(), h.sim->Peticiones().end(), 6), 2);
  }
}

TEST(Ejecucion, SinProcesadorDeGuionVaciaElementoAElemento) {
  nbhost::Opciones o;
  o.conProcesadorGuion = false;
  Host h(o);
  h.Reproducir(std::string(kPreparar) + "ExecAction 907\n");
  EXPECT_EQ(h.sim->Elementos("krResultadoAccion"), (std::map<long, std::string>{{0, "e0"}, {6, "e6"}}));
}

TEST(Ejecucion, AccionSinParametrosAceptaArrayNulo) {
  Host h;
  // ExecAction with no texts passes a null array.
  EXPECT_EQ(h.sim->Ejecutar(114, {}, ""), 1);  // krUsuarioAdministrador takes none
  const std::string r = h.Var("krResultadoAccion");
  EXPECT_TRUE(r == "True" || r == "False") << r;
  EXPECT_EQ(h.sim->Ejecutar(800, {}, ""), 1);  // a null array reads as empty texts
  EXPECT_TRUE(h.sim->Faltas().empty());
}

// What ends the host process runs in a process of its own.
TEST(PuertaHostAntiguo, MensajeYFinDelProceso) {
  const char kTexto[] = "Actualiza tu Neobook. Este Plugin s\xc3\xb3lo funciona en versiones 4.1.3 \xc3\xb3 superiores";
  struct {
    const char* argumentos;
  } casos[] = {{"--host-version=412"}, {"--host-version=300"}, {"--no-interface"}, {"--host-version-null"},
               {"--host-version=abc"}, {"--host-version=4.1.3"}, {"--host-version="}};
  for (const auto& c : casos) {
    SCOPED_TRACE(c.argumentos);
    prueba::Proceso p = prueba::EjecutarNbhost(c.argumentos, "Echo \"antes\"\nExecAction 800 \"a\" \"b\" \"c\" \"d\"\nEcho \"despues\"\n");
    EXPECT_EQ(p.codigo, 0u);
    EXPECT_NE(p.salida.find("antes\n"), std::string::npos) << p.salida;
    EXPECT_NE(p.salida.find(std::string("  message box (warning) \"Error conocido\": \"") + kTexto + "\""),
              std::string::npos)
        << p.salida;
    EXPECT_NE(p.salida.find("the plug-in ended the process with exit code 0"), std::string::npos) << p.salida;
    EXPECT_EQ(p.salida.find("despues"), std::string::npos) << "the host went on after the gate";
    EXPECT_EQ(p.salida.find("returned"), std::string::npos);
  }
}

TEST(PuertaHostAntiguo, HostValidoSigue) {
  prueba::Proceso p = prueba::EjecutarNbhost("--host-version=413", "ExecAction 907\nEcho \"despues\"\n");
  EXPECT_EQ(p.codigo, 0u);
  EXPECT_NE(p.salida.find("despues\n"), std::string::npos) << p.salida;
  EXPECT_EQ(p.salida.find("message box"), std::string::npos) << p.salida;
}

// ExecAction plays an action by number as the host would: with fewer texts than the action
// registered, the missing ones are empty (the plug-in never reads past the array); with more,
// the line is refused as it is for an action called by name.
TEST(ExecActionPorNumero, CuentaDeParametros) {
  struct {
    const char* linea;
    unsigned long codigo;
    const char* esperado;
  } casos[] = {
      {"ExecAction 800 \"Z:\\\\no\\\\hay.ini\"", 0, "  krResultadoAccion = \"\"\n"},
      {"ExecAction 800 \"Z:\\\\no\\\\hay.ini\" \"s\" \"k\" \"def\"", 0, "  krResultadoAccion = \"def\"\n"},
      {"ExecAction 802 \"a\" \"b\" \"c\" \"d\" \"e\" \"f\"", 1, nullptr},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.linea);
    prueba::Proceso p = prueba::EjecutarNbhost("", std::string(c.linea) + "\nEcho \"despues\"\n");
    EXPECT_EQ(p.codigo, c.codigo) << p.salida;
    if (c.esperado) {
      EXPECT_NE(p.salida.find(c.esperado), std::string::npos) << p.salida;
      EXPECT_NE(p.salida.find("despues"), std::string::npos) << p.salida;
    } else {
      EXPECT_EQ(p.salida.find("returned"), std::string::npos) << p.salida;
    }
  }
}
