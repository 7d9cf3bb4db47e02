// The publication actions: random numbers, action lines and files, the restart, and the help
// files through the real HTML Help runtime; the mouse cursor counter.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/win/entorno.h"

using prueba::Host;

namespace {

const char kParametrosIncorrectos[] = "Los par\xe1metros de la acci\xf3n no son correctos";

std::string Leer(const std::string& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// The values krResultadoAccion took, in order, in an nbhost run.
std::vector<std::string> Resultados(const std::string& salida) {
  std::vector<std::string> r;
  std::istringstream ss(salida);
  const std::string prefijo = "  krResultadoAccion = \"";
  for (std::string l; std::getline(ss, l);)
    if (l.rfind(prefijo, 0) == 0) r.push_back(l.substr(prefijo.size(), l.size() - prefijo.size() - 1));
  return r;
}

TEST(NumeroAleatorio, PrimerasRespuestasTrasCargar) {
  std::string guion;
  for (int i = 0; i < 5; ++i) guion += "krNumeroAleatorio \"1\" \"100\"\n";
  prueba::Proceso p = prueba::EjecutarNbhost("", guion);
  ASSERT_EQ(p.codigo, 0u) << p.salida;
  EXPECT_EQ(Resultados(p.salida), (std::vector<std::string>{"1", "4", "86", "21", "28"})) << p.salida;
}

TEST(NumeroAleatorio, Limites) {
  Host h;
  struct {
    const char *a, *b;
    int minimo, maximo;
  } casos[] = {{"10", "10", 10, 10}, {"5", "-5", -5, 4}, {"$10", "20", 16, 19}, {"1", "3", 1, 2}, {"-3", "-1", -3, -2}};
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.a) + " " + c.b);
    bool minimoVisto = false;
    for (int i = 0; i < 200; ++i) {
      h.Reproducir(std::string("krNumeroAleatorio \"") + c.a + "\" \"" + c.b + "\"\n");
      int n = std::atoi(h.Var("krResultadoAccion").c_str());
      ASSERT_EQ(h.Var("krResultadoAccion"), std::to_string(n));
      ASSERT_GE(n, c.minimo);
      ASSERT_LE(n, c.maximo);
      minimoVisto = minimoVisto || n == c.minimo;
      ASSERT_EQ(h.Var("krUltimoError"), "");
    }
    EXPECT_TRUE(minimoVisto);
  }
  for (const char* malo : {"1.5", "", "abc", "10 "}) {
    h.Reproducir(std::string("krNumeroAleatorio \"") + malo + "\" \"20\"\n");
    EXPECT_EQ(h.Var("krResultadoAccion"), "False") << malo;
    EXPECT_EQ(h.Var("krUltimoError"), kParametrosIncorrectos) << malo;
    h.Reproducir(std::string("krNumeroAleatorio \"1\" \"") + malo + "\"\n");
    EXPECT_EQ(h.Var("krResultadoAccion"), "False") << malo;
  }
}

class EjecutarAccion : public ::testing::Test {
 protected:
  void SetUp() override {
    carpeta_ = prueba::CarpetaDeLaPrueba("pub");
    CreateDirectoryA(carpeta_.c_str(), nullptr);
    archivo_ = carpeta_ + "\\acciones.txt";
  }
  void TearDown() override {
    DeleteFileA(archivo_.c_str());
    RemoveDirectoryA(carpeta_.c_str());
  }
  void Escribir(const std::string& contenido) { std::ofstream(archivo_, std::ios::binary) << contenido; }
  void Ejecutar(const std::string& p1) {
    h_.sim->OlvidarRegistros();
    h_.sim->FijarVariable("P1", p1);
    h_.Reproducir("krEjecutarAccion \"[P1]\"\n");
    ASSERT_TRUE(h_.sim->Faltas().empty()) << h_.sim->Faltas().front();
  }

  // The lines the plug-in played, without the clearing of the result array before each action.
  std::vector<std::string> Jugadas() const {
    std::vector<std::string> v;
    for (const std::string& l : h_.sim->LineasDelPlugin())
      if (l != "DeleteArray \"krResultadoAccion\" \"All\"") v.push_back(l);
    return v;
  }

  Host h_;
  std::string carpeta_, archivo_;
};

TEST_F(EjecutarAccion, ArchivoConLineaVaciaEnMedio) {
  Escribir("SetVar \"[A]\" \"uno\"\r\n\r\nSetVar \"[B]\" \"[A]-dos\"\r\n");
  Ejecutar(archivo_);
  EXPECT_EQ(Jugadas(),
            (std::vector<std::string>{"SetVar \"[A]\" \"uno\"", "", "SetVar \"[B]\" \"[A]-dos\""}));
  EXPECT_EQ(h_.Var("B"), "uno-dos");
  EXPECT_EQ(h_.Var("krResultadoAccion"), "True");
  EXPECT_EQ(h_.Var("krUltimoError"), "");
}

TEST_F(EjecutarAccion, AccionesAnidadasVacianLosResultados) {
  // The first nested action fails, the second empties its error; the outer writes "True" last.
  Escribir("krNumeroAleatorio \"x\" \"1\"\nSetVar \"[E]\" \"[krUltimoError]\"\nkrNumeroAleatorio \"7\" \"7\"\n"
           "SetVar \"[N]\" \"[krResultadoAccion]\"");
  Ejecutar(archivo_);
  EXPECT_EQ(Jugadas().size(), 4u);
  EXPECT_EQ(h_.Var("E"), kParametrosIncorrectos);
  EXPECT_EQ(h_.Var("N"), "7");
  EXPECT_EQ(h_.Var("krResultadoAccion"), "True");
  EXPECT_EQ(h_.Var("krUltimoError"), "");
}

TEST_F(EjecutarAccion, LineaCarpetaYArchivoQueFalta) {
  // Neither names a file: each is played as a line (the host cannot play it; still "True").
  for (const std::string& p1 : {carpeta_, carpeta_ + "\\no-existe.txt", std::string("SetVar \"[L]\" \"linea\"")}) {
    SCOPED_TRACE(p1);
    Ejecutar(p1);
    EXPECT_EQ(Jugadas(), std::vector<std::string>{p1});
    EXPECT_EQ(h_.Var("krResultadoAccion"), "True");
  }
  EXPECT_EQ(h_.Var("L"), "linea");
}

TEST_F(EjecutarAccion, ArchivoQueNoSePuedeLeer) {
  Escribir("SetVar \"[A]\" \"uno\"\n");
  HANDLE bloqueo = CreateFileA(archivo_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(bloqueo, INVALID_HANDLE_VALUE);
  Ejecutar(archivo_);
  CloseHandle(bloqueo);
  EXPECT_TRUE(Jugadas().empty());
  EXPECT_EQ(h_.Var("krResultadoAccion"), "False");
  // The message alone, without the exception's class.
  EXPECT_EQ(h_.Var("krUltimoError").rfind("Cannot open file \"" + archivo_ + "\". ", 0), 0u) << h_.Var("krUltimoError");
}

// ---- Restart -----------------------------------------------------------------------------------

class Reinicio : public ::testing::Test {
 protected:
  void SetUp() override {
    carpeta_ = prueba::CarpetaDeLaPrueba("reinicio");
    CreateDirectoryA(carpeta_.c_str(), nullptr);
    registro_ = carpeta_ + "\\inicios.log";
    SetEnvironmentVariableA("NBHOST_START_LOG", registro_.c_str());
  }
  void TearDown() override {
    SetEnvironmentVariableA("NBHOST_START_LOG", nullptr);
    DeleteFileA(registro_.c_str());
    DeleteFileA((carpeta_ + "\\segundo.nbs").c_str());
    DeleteFileA((carpeta_ + "\\marca.ini").c_str());
    RemoveDirectoryA(carpeta_.c_str());
  }
  // The starts logged, waiting up to `decimas` tenths of a second for `cuantos` of them.
  std::vector<std::string> Inicios(std::size_t cuantos, int decimas = 300) {
    std::vector<std::string> lineas;
    for (int i = 0; i < decimas && lineas.size() < cuantos; ++i) {
      if (i) Sleep(100);
      lineas.clear();
      std::istringstream ss(Leer(registro_));
      for (std::string l; std::getline(ss, l);) lineas.push_back(l);
    }
    return lineas;
  }
  std::string carpeta_, registro_;
};

TEST_F(Reinicio, ArrancaLaNuevaInstanciaYTerminaLaActual) {
  std::string segundo = carpeta_ + "\\segundo.nbs", marca = carpeta_ + "\\marca.ini";
  std::ofstream(segundo) << "krEscribirIni \"" << marca << "\" \"s\" \"k\" \"nueva\"\n";
  std::string p1 = "--plugin=[#34]" + prueba::RutaPlugin() + "[#34] [#34]" + segundo + "[#34]";
  prueba::Proceso p = prueba::EjecutarNbhost("", "krReiniciarPub \"" + p1 + "\"\nEcho \"sigue\"\n");
  EXPECT_EQ(p.codigo, 0u) << p.salida;
  std::string programa = prueba::CarpetaPrograma() + "nbhost.exe";
  std::string carpeta = prueba::CarpetaPrograma().substr(0, prueba::CarpetaPrograma().size() - 1);
  std::string argumentos = "--plugin=\"" + prueba::RutaPlugin() + "\" \"" + segundo + "\"";
  EXPECT_NE(p.salida.find("system call: ShellExecuteA(\"open\", \"" + programa + "\", \"" + argumentos + "\", \"" +
                          carpeta + "\", 1)"),
            std::string::npos)
      << p.salida;
  EXPECT_NE(p.salida.find("system call: TerminateProcess(current process, 0)"), std::string::npos) << p.salida;
  EXPECT_EQ(p.salida.find("sigue"), std::string::npos) << "the old instance went on";
  EXPECT_EQ(p.salida.find("returned"), std::string::npos);
  std::vector<std::string> inicios = Inicios(2);
  ASSERT_EQ(inicios.size(), 2u);
  EXPECT_EQ(inicios[1], "start: [--plugin=" + prueba::RutaPlugin() + "] [" + segundo + "]");
  // The new instance played its script.
  for (int i = 0; i < 300 && Leer(marca).empty(); ++i) Sleep(100);
  EXPECT_EQ(Leer(marca), "[s]\r\nk=nueva\r\n");
}

TEST_F(Reinicio, SinParametros) {
  prueba::Proceso p = prueba::EjecutarNbhost("", "krReiniciarPub \"\"\n");
  EXPECT_EQ(p.codigo, 0u) << p.salida;
  EXPECT_NE(p.salida.find("ShellExecuteA(\"open\", \"" + prueba::CarpetaPrograma() + "nbhost.exe\", \"\", "),
            std::string::npos)
      << p.salida;
  std::vector<std::string> inicios = Inicios(2);
  ASSERT_EQ(inicios.size(), 2u);
  EXPECT_EQ(inicios[1], "start:");
}

TEST_F(Reinicio, ProgramaQueFaltaNoTerminaNada) {
  Host h;
  std::string falta = carpeta_ + "\\no-existe\\nbhost.exe";
  h.Reproducir("CallResult \"GetModuleFileNameA\" \"" + falta + "\"\nExecAction 400 \"-x\"\n");
  EXPECT_NE(h.Salida().find("ShellExecuteA(\"open\", \"" + falta + "\", \"-x\", \"" + carpeta_ + "\\no-existe\", 1)"),
            std::string::npos)
      << h.Salida();
  EXPECT_EQ(h.Salida().find("TerminateProcess"), std::string::npos);
  EXPECT_NE(h.Salida().find("returned 0"), std::string::npos);
  EXPECT_EQ(h.Var("krResultadoAccion"), "False");
  std::string error = h.Var("krUltimoError");
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(error == "File not found" || error == "Path not found" || error.find("not found") != std::string::npos)
      << error;
  EXPECT_TRUE(Inicios(1, 20).empty());
}

// ---- Help files ----------------------------------------------------------------------------------

std::string AyudaDePrueba() {
  const char* datos = std::getenv("PELMARO_DATOS");
  return datos ? std::string(datos) + "\\ayuda\\prueba.chm" : std::string();
}

TEST(Ayuda, PeticionesYVentanas) {
  std::string chm = AyudaDePrueba();
  if (chm.empty() || GetFileAttributesA(chm.c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_FAIL() << "PELMARO_DATOS must name the folder preparar_datos.sh filled (with ayuda\\prueba.chm)";
  Host h;
  std::string busqueda = std::string("{size ") + (prueba::EsI386() ? "32" : "40") +
                         ", unicode 0, query null, proximity -1, stemmed 0, titles 0, execute 0, window null}";
  struct {
    std::string linea, peticion, resultado;
  } casos[] = {
      {"krIndiceAyuda \"" + chm + "\" \"Tema\"", "HtmlHelpA(\"" + chm + "\", 2, \"Tema\")", "True"},
      {"krIndiceAyuda \"" + chm + "\" \"\"", "HtmlHelpA(\"" + chm + "\", 2, \"\")", "True"},
      {"krIDTemaAyuda \"" + chm + "\" \"12a\"", "HtmlHelpA(\"" + chm + "\", 15, 12)", "True"},
      {"krIDTemaAyuda \"" + chm + "\" \"77\"", "HtmlHelpA(\"" + chm + "\", 15, 77)", "False"},
      // Context 0 is the runtime's choice (Wine shows the default topic).
      {"krIDTemaAyuda \"" + chm + "\" \"\"", "HtmlHelpA(\"" + chm + "\", 15, 0)", ""},
      {"krURLTemaAyuda \"" + chm + "\" \"tema.htm\"", "HtmlHelpA(\"" + chm + "::\\tema.htm\", 0, 0)", "True"},
      {"krBuscadorAyuda \"" + chm + "\"", "HtmlHelpA(\"" + chm + "\", 3, " + busqueda + ")", "True"},
      {"krContenidosAyuda \"" + chm + "\"", "HtmlHelpA(\"" + chm + "\", 1, 0)", "True"},
      {"krContenidosAyuda \"C:\\no-existe\\nada.chm\"", "HtmlHelpA(\"C:\\no-existe\\nada.chm\", 1, 0)", "False"},
      {"krIndiceAyuda \"C:\\no-existe\\nada.chm\" \"x\"", "HtmlHelpA(\"C:\\no-existe\\nada.chm\", 2, \"x\")", "False"},
      {"krCerrarAyuda \"lo-que-sea\"", "HtmlHelpA(\"lo-que-sea\", 18, 0)", "True"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.linea);
    h.sim->OlvidarRegistros();
    h.Reproducir(c.linea + "\n");
    EXPECT_EQ(h.sim->Llamadas(), std::vector<std::string>{c.peticion});
    if (!c.resultado.empty()) {
      EXPECT_EQ(h.Var("krResultadoAccion"), c.resultado);
    }
    EXPECT_EQ(h.Var("krUltimoError"), "");
    if (c.resultado == "True" && c.peticion.find(", 18, ") == std::string::npos) {
      // The handle that came back is a real help window.
      HWND ventana = FindWindowA("HH Parent", nullptr);
      EXPECT_TRUE(ventana && IsWindow(ventana));
    }
  }
  h.Reproducir("krCerrarAyuda \"" + chm + "\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "True");
}

// ---- Mouse cursor ----------------------------------------------------------------------------------

TEST(Raton, ContadorDelCursor) {
  Host h;
  struct {
    const char* accion;
    const char* resultado;
  } pasos[] = {{"krOcultarRatonPub", "True"},
               {"krOcultarRatonPub", "False"},
               {"krMostrarRatonPub", "False"},
               {"krMostrarRatonPub", "True"}};
  for (const auto& p : pasos) {
    h.Reproducir(std::string(p.accion) + "\n");
    EXPECT_EQ(h.Var("krResultadoAccion"), p.resultado) << p.accion;
  }
}

}  // namespace

namespace {

// One action of each category of this group; also run on the real 32-bit library.
TEST(UnaAccionPorCategoria, PublicacionRatonYDialogos) {
  Host h;
  h.Reproducir("krNumeroAleatorio \"1\" \"100\"\n");
  int n = std::atoi(h.Var("krResultadoAccion").c_str());
  EXPECT_TRUE(n >= 1 && n <= 99) << h.Var("krResultadoAccion");
  h.sim->FijarVariable("Linea", "SetVar \"[X]\" \"hecho\"");
  h.Reproducir("krEjecutarAccion \"[Linea]\"\n");
  EXPECT_EQ(h.Var("X"), "hecho");
  EXPECT_EQ(h.Var("krResultadoAccion"), "True");
  h.Reproducir("krCerrarAyuda \"x.chm\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "True");
  EXPECT_EQ(h.sim->Llamadas().back(), "HtmlHelpA(\"x.chm\", 18, 0)");
  h.Reproducir("krOcultarRatonPub\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "True");
  h.Reproducir("krMostrarRatonPub\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "True");
  // Windows do not work on the 32-bit route through qemu-i386 (a dialog never appears and its
  // call never returns), so the dialogs are played on the 64-bit build only.
  if (!prueba::EsI386()) {
    h.Reproducir("DialogAnswer \"Cancel\"\nkrDialogoColor \"C\" \"True\" \"\"\n");
    EXPECT_EQ(h.Var("krResultadoAccion"), "False");
    EXPECT_EQ(h.Var("C0"), "");
  }
}

}  // namespace
