// The edit dialogs, driven through their controls by the simulator: dispatch, cancel and
// confirm, quote escaping, the frames' buttons and rules, help, the caption-bar support text
// and the release of every object.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "entorno.h"
#include "hostsim/dialogos.h"

namespace {

using prueba::Host;

// Windows can be made in this process (not on the qemu route of the 32-bit build).
bool HayVentanas() {
  HWND w = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (!w) return false;
  DestroyWindow(w);
  return true;
}

#define EXIGIR_VENTANAS() \
  if (!HayVentanas()) GTEST_SKIP() << "this route makes no windows (qemu-i386)"

bool Contiene(const std::vector<std::string>& lineas, const std::string& texto) {
  return std::any_of(lineas.begin(), lineas.end(), [&](const std::string& l) { return l.find(texto) != std::string::npos; });
}

long Cuenta(const std::vector<std::string>& lineas, const std::string& texto) {
  return std::count_if(lineas.begin(), lineas.end(), [&](const std::string& l) { return l.find(texto) != std::string::npos; });
}

// Plays `pasos` and EditAction; answers the printed lines of that call.
struct Edicion {
  std::int32_t devuelto = -1;
  std::vector<std::string> parametros;
  std::vector<std::string> lineas;
};

// Queues the steps, then calls nbEditAction with the parameters untouched by script
// expansion, through the same path as the EditAction command.
Edicion Editar(const std::string& pasos, std::int32_t id, std::vector<std::string> parametros, nbhost::Opciones o = {}) {
  Host h(o);
  Edicion e;
  std::string guion = pasos;
  guion += "EditAction " + std::to_string(id);
  for (std::size_t i = 0; i < parametros.size(); ++i) {
    // Each parameter through a variable, so that any text (brackets, quotes) arrives as it is.
    std::string v = "pelmaroP" + std::to_string(i);
    h.sim->FijarVariable(v, parametros[i]);
    guion += " \"[" + v + "]\"";
  }
  h.Reproducir(guion + "\n");
  e.lineas = h.lineas;
  for (const std::string& l : h.lineas) {
    if (l.rfind("  returned ", 0) == 0) e.devuelto = std::stoi(l.substr(11));
    if (l.rfind("  P", 0) == 0) {
      std::size_t igual = l.find(" = \"");
      e.parametros.push_back(l.substr(igual + 4, l.size() - igual - 5));
    }
  }
  EXPECT_TRUE(h.sim->Faltas().empty()) << h.Salida();
  return e;
}

TEST(Edicion, SinDialogoNoAbreNadaYDevuelveCero) {
  // 100 has no parameters; 999 is no action; 0 opens a category.
  for (std::int32_t id : {100, 999, 0, 208, 704}) {
    SCOPED_TRACE(id);
    long antes = nbhost::VentanasDelHilo();
    Edicion e = Editar("", id, {"x"});
    EXPECT_EQ(e.devuelto, 0);
    ASSERT_EQ(e.parametros.size(), 1u);
    EXPECT_EQ(e.parametros[0], "x");
    EXPECT_FALSE(Contiene(e.lineas, "dialog:"));
    EXPECT_EQ(nbhost::VentanasDelHilo(), antes);
  }
}

TEST(Edicion, CancelarDejaLosBloquesDelHost) {
  EXIGIR_VENTANAS();
  // The simulator checks that no slot was released or replaced.
  for (const char* forma : {"DialogPress \"Cancelar\"\n", "DialogKey \"Esc\"\n", "DialogCancel\n"}) {
    SCOPED_TRACE(forma);
    Edicion e = Editar(std::string("DialogSet \"Clave de la secci\xF3n\" \"cambiada\"\n") + forma, 800,
                       {"C:\\a.ini", "Secci\xF3n", "clave", "defecto"});
    EXPECT_EQ(e.devuelto, 0);
    EXPECT_EQ(e.parametros, (std::vector<std::string>{"C:\\a.ini", "Secci\xF3n", "clave", "defecto"}));
  }
}

TEST(Edicion, AceptarReemplazaCadaRanura) {
  EXIGIR_VENTANAS();
  struct Caso {
    std::int32_t id;
    std::vector<std::string> entrada, salida;
  };
  const Caso casos[] = {
      // Unchanged texts come back as they were, accents and brackets included.
      {800, {"C:\\a.ini", "Secci\xF3n", "[clave]", ""}, {"C:\\a.ini", "Secci\xF3n", "[clave]", ""}},
      // "Checked" becomes "True"; a blank yes/no parameter of 105 gets its default "False".
      {105, {"CSIDL_FONTS", ""}, {"CSIDL_FONTS", "False"}},
      {105, {"CSIDL_FONTS", " \t"}, {"CSIDL_FONTS", "False"}},
      {105, {"[Carpeta]", "Checked"}, {"[Carpeta]", "True"}},
      // No default there: an empty yes/no parameter is written back empty.
      {106, {""}, {""}},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(c.id);
    for (const char* forma : {"DialogConfirm\n", "DialogPress \"Aceptar\"\n", "DialogKey \"Enter\"\n"}) {
      SCOPED_TRACE(forma);
      Edicion e = Editar(forma, c.id, c.entrada);
      EXPECT_EQ(e.devuelto, 1);
      EXPECT_EQ(e.parametros, c.salida);
    }
  }
}

TEST(Edicion, ComillasEscritasEnUnaEdicionSeGuardanComoCodigo) {
  EXIGIR_VENTANAS();
  Edicion e = Editar("DialogSet \"Nombre del proceso\" \"a[#34][#34]b\"\nDialogConfirm\n", 101, {""});
  EXPECT_EQ(e.parametros, (std::vector<std::string>{"a[#34][#34]b"}));
  // In a combo box they stay.
  e = Editar("DialogSet \"Directorio cuya ruta quieres obtener\" \"a[#34][#34]b\"\nDialogConfirm\n", 105,
             {"", "False"});
  EXPECT_EQ(e.parametros, (std::vector<std::string>{"a\"\"b", "False"}));
}

TEST(Edicion, MarcoBooleano) {
  EXIGIR_VENTANAS();
  const char* kEtiqueta = "Forzar el apagado de Windows";
  struct Caso {
    const char* parametro;
    const char* pasos;
    const char* muestra;  // what the field shows after filling and the steps
    const char* escribe;
  };
  const Caso casos[] = {
      {"Checked", "", "= \"True\" [ticked]", "True"},
      {"True", "", "= \"True\" [ticked]", "True"},
      {"[MiVariable]", "", "= \"[MiVariable]\" [unticked]", "[MiVariable]"},
      {"False", "", "= \"False\" [unticked]", "False"},
      {"", "", "= \"\" [unticked]", ""},
      {"true", "", "= \"true\" [unticked]", "true"},
      // Ticking writes True, unticking False.
      {"", "DialogTick \"Forzar el apagado de Windows\"\n", "= \"True\" [ticked]", "True"},
      {"True", "DialogTick \"Forzar el apagado de Windows\"\n", "= \"False\" [unticked]", "False"},
      // Typing True does not tick the box; typing anything does not untick it.
      {"", "DialogSet \"Forzar el apagado de Windows\" \"True\"\n", "= \"True\" [unticked]", "True"},
      {"Checked", "DialogSet \"Forzar el apagado de Windows\" \"False\"\n", "= \"False\" [ticked]", "False"},
  };
  for (const Caso& c : casos) {
    SCOPED_TRACE(std::string(c.parametro) + " / " + c.pasos);
    Edicion e = Editar(std::string(c.pasos) + "DialogPrint\nDialogConfirm\n", 106, {c.parametro});
    EXPECT_TRUE(Contiene(e.lineas, std::string("field \"") + kEtiqueta + "\" " + c.muestra));
    EXPECT_EQ(e.parametros, (std::vector<std::string>{c.escribe}));
  }
}

TEST(Edicion, BotonDeVariables) {
  EXIGIR_VENTANAS();
  const std::string pulsar = "DialogPress \"Nombre del proceso\" \"Insertar una variable\"\nDialogConfirm\n";
  nbhost::Opciones o;
  o.respuestas[14] = "[Var]";
  Edicion e = Editar(pulsar, 101, {"abc"}, o);
  EXPECT_EQ(e.parametros, (std::vector<std::string>{"[Var]"}));
  EXPECT_FALSE(Contiene(e.lineas, "message box"));
  // An empty answer leaves the text.
  o.respuestas[14] = "";
  e = Editar(pulsar, 101, {"abc"}, o);
  EXPECT_EQ(e.parametros, (std::vector<std::string>{"abc"}));
  // Host 4: the message, nothing asked, nothing changed.
  o.respuestas[14] = "[Var]";
  o.version = "4500";
  e = Editar(pulsar, 101, {"abc"}, o);
  EXPECT_EQ(e.parametros, (std::vector<std::string>{"abc"}));
  EXPECT_TRUE(Contiene(e.lineas, "message box (error) \"Error conocido\": \"Esta caracter\xEDstica precisa de Neobook 5.0.0 \xF3 superior\""));
}

TEST(Edicion, CarpetaConUnaBarraFinal) {
  EXIGIR_VENTANAS();
  const std::string boton = "DialogPress \"Ruta de la carpeta que quieres borrar\" \"Elige un directorio\"\n";
  struct Caso {
    const char* elegida;
    const char* escrita;
  };
  for (const Caso& c : {Caso{"C:\\windows", "C:\\windows\\"}, Caso{"C:\\", "C:\\"}}) {
    SCOPED_TRACE(c.elegida);
    Edicion e = Editar(boton + "DialogPick \"" + c.elegida + "\"\nDialogConfirm\n", 203, {"antes", "", ""});
    ASSERT_EQ(e.parametros.size(), 3u);
    EXPECT_STRCASEEQ(e.parametros[0].c_str(), c.escrita);
  }
  // Cancelling the browser leaves the text.
  Edicion e = Editar(boton + "DialogPickCancel\nDialogConfirm\n", 203, {"antes", "", ""});
  EXPECT_EQ(e.parametros[0], "antes");
}

TEST(Edicion, ArchivoParaGuardarDaLaRutaCompleta) {
  EXIGIR_VENTANAS();
  Edicion e = Editar("DialogPress \"Directorio de destino\" \"Elige un archivo\"\n"
                     "DialogPick \"C:\\windows\\nuevo.txt\"\nDialogConfirm\n",
                     201, {"a", "b", "False"});
  ASSERT_EQ(e.parametros.size(), 3u);
  EXPECT_STRCASEEQ(e.parametros[1].c_str(), "C:\\windows\\nuevo.txt");
}

int CALLBACK SiEsTrueType(const LOGFONTA*, const TEXTMETRICA*, DWORD tipo, LPARAM l) {
  if (tipo & TRUETYPE_FONTTYPE) *reinterpret_cast<bool*>(l) = true;
  return 1;
}

// A scalable face the system has: the dialog font when installed, else one that Wine ships.
std::string CaraDisponible() {
  for (const char* cara : {"Tahoma", "Arial", "DejaVu Sans", "Liberation Sans"}) {
    LOGFONTA lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, cara, LF_FACESIZE);
    bool hay = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExA(dc, &lf, &SiEsTrueType, reinterpret_cast<LPARAM>(&hay), 0);
    ReleaseDC(nullptr, dc);
    if (hay) return cara;
  }
  return "Tahoma";
}

TEST(Edicion, BotonDeFuenteIdaYVuelta) {
  EXIGIR_VENTANAS();
  const std::string cara = CaraDisponible();
  const std::string fuente = cara + "|12|255,0,0|Bold";
  Edicion e = Editar("DialogPress \"Fuente\" \"...\"\nDialogPick\nDialogConfirm\n", 603, {"t", "1", "2", "3", fuente});
  EXPECT_TRUE(Contiene(e.lineas, "font dialog shows \"" + cara + "\" 12")) << ::testing::PrintToString(e.lineas);
  ASSERT_EQ(e.parametros.size(), 5u);
  EXPECT_EQ(e.parametros[4], fuente);
  // Cancelled: the text stays.
  e = Editar("DialogPress \"Fuente\" \"...\"\nDialogPickCancel\nDialogConfirm\n", 603, {"t", "1", "2", "3", "x"});
  EXPECT_EQ(e.parametros[4], "x");
}

TEST(Edicion, ListaDeSubrutinas) {
  EXIGIR_VENTANAS();
  nbhost::Opciones o;
  o.subrutinasExtra = {"Progreso", "Otra"};
  Edicion e = Editar("DialogPrint\nDialogConfirm\n", 701, {"f", "Progreso", "", ""}, o);
  EXPECT_TRUE(Contiene(e.lineas, "field \"Subrutina para el progreso\" = \"Progreso\" (2 entries)"));
  // None: an empty list that still takes a typed name.
  e = Editar("DialogSet \"Subrutina para el progreso\" \"Escrita\"\nDialogPrint\nDialogConfirm\n", 701, {"f", "", "", ""});
  EXPECT_TRUE(Contiene(e.lineas, "field \"Subrutina para el progreso\" = \"Escrita\" (0 entries)"));
  EXPECT_EQ(e.parametros[1], "Escrita");
}

// The help file below DirPlugin, present or not, for the time of a test.
struct ArchivoDeAyuda {
  std::string carpeta, archivo;
  explicit ArchivoDeAyuda(bool crear) {
    carpeta = prueba::CarpetaDeLaPrueba("ayuda") + "\\";
    archivo = carpeta + "ayuda\\es\\Pelmaro.chm";
    CreateDirectoryA(carpeta.c_str(), nullptr);
    CreateDirectoryA((carpeta + "ayuda").c_str(), nullptr);
    CreateDirectoryA((carpeta + "ayuda\\es").c_str(), nullptr);
    if (crear) std::ofstream(archivo) << "ITSF";
    HKEY k;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Brelmont\\Korvane\\Pelmaro", 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr);
    RegSetValueExA(k, "DirPlugin", 0, REG_SZ, reinterpret_cast<const BYTE*>(carpeta.c_str()),
                   static_cast<DWORD>(carpeta.size() + 1));
    RegCloseKey(k);
  }
  ~ArchivoDeAyuda() {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, "Software\\Brelmont\\Korvane\\Pelmaro", "DirPlugin");
    DeleteFileA(archivo.c_str());
    RemoveDirectoryA((carpeta + "ayuda\\es").c_str());
    RemoveDirectoryA((carpeta + "ayuda").c_str());
    RemoveDirectoryA(carpeta.c_str());
  }
};

TEST(Edicion, F1YAyudaPidenElMismoTema) {
  EXIGIR_VENTANAS();
  {
    ArchivoDeAyuda ayuda(true);
    Edicion e = Editar("DialogPress \"Ayuda\"\nDialogKey \"F1\"\nDialogSet \"Nombre del proceso\" \"sigue\"\nDialogConfirm\n",
                       101, {""});
    // HH_HELP_CONTEXT (15) at the dialog's topic, twice; the dialog stayed open.
    std::string pedido = "HtmlHelpA(\"" + ayuda.archivo + "\", 15, 101)";
    EXPECT_EQ(Cuenta(e.lineas, pedido), 2) << ::testing::PrintToString(e.lineas);
    EXPECT_EQ(e.parametros, (std::vector<std::string>{"sigue"}));
  }
  ArchivoDeAyuda sinArchivo(false);
  Edicion e = Editar("DialogPress \"Ayuda\"\nDialogKey \"F1\"\nDialogConfirm\n", 800, {"", "", "", ""});
  EXPECT_EQ(Cuenta(e.lineas, "message box (warning) \"Pelmaro\": \"No se encontr\xF3 el archivo de ayuda. Por favor, "
                             "reinstala el Plugin.\""),
            2);
  EXPECT_FALSE(Contiene(e.lineas, "HtmlHelpA"));
}

TEST(Edicion, TextoDeApoyoEnLaBarraDeTitulo) {
  EXIGIR_VENTANAS();
  Edicion e = Editar("DialogMouse \"support\"\nDialogMouse \"caption\"\nDialogMouse \"client\"\n"
                     "DialogMouse \"support\" \"click\"\nDialogCancel\n",
                     101, {""});
  EXPECT_TRUE(Contiene(e.lineas, "mouse at support: hit test 2, cursor hand")) << ::testing::PrintToString(e.lineas);
  EXPECT_TRUE(Contiene(e.lineas, "mouse at caption: hit test 2, cursor arrow"));
  EXPECT_TRUE(Contiene(e.lineas, "mouse at client: hit test 1, cursor arrow"));
  // The thanks, then the page.
  auto gracias = std::find_if(e.lineas.begin(), e.lineas.end(), [](const std::string& l) {
    return l.find("message box (no icon) \"Pelmaro\": \"\xA1Muchas gracias por apoyar el desarrollo de los Korvane!\"") !=
           std::string::npos;
  });
  ASSERT_NE(gracias, e.lineas.end());
  auto pagina = std::find_if(gracias, e.lineas.end(), [](const std::string& l) {
    return l.find("system call: ShellExecuteA(\"open\", \"https://") != std::string::npos && l.find(", 1)") != std::string::npos;
  });
  EXPECT_NE(pagina, e.lineas.end());
  EXPECT_EQ(Cuenta(e.lineas, "ShellExecuteA"), 1);  // moving alone opens nothing
}

TEST(Edicion, MilAperturasNoDejanObjetos) {
  EXIGIR_VENTANAS();
  Host h;
  auto abrir = [&](int veces) {
    std::string guion;
    for (int i = 0; i < veces; ++i) guion += i % 2 ? "DialogCancel\nEditAction 105 \"CSIDL_FONTS\" \"True\"\n"
                                                   : "DialogConfirm\nEditAction 603 \"a\" \"b\" \"c\" \"d\" \"Arial|9|0,0,0\"\n";
    h.Reproducir(guion);
    h.lineas.clear();
  };
  abrir(4);  // whatever is made once per process (window classes, the system's own caches)
  nbhost::Recuentos antes = nbhost::RecuentosDelPlugin();
  long ventanas = nbhost::VentanasDelHilo();
  DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  abrir(1000);
  nbhost::Recuentos despues = nbhost::RecuentosDelPlugin();
  EXPECT_EQ(despues.objetosGdi, antes.objetosGdi);
  EXPECT_EQ(despues.contextosDibujo, 0);
  EXPECT_EQ(despues.contextosActivacion, 0);
  EXPECT_EQ(despues.activaciones, 0);
  EXPECT_EQ(nbhost::VentanasDelHilo(), ventanas);
  // Where the system counts them (Windows; Wine answers 0), the process's own figures too.
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), gdi + 5);
  EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), user + 5);
  EXPECT_TRUE(h.sim->Faltas().empty());
}

}  // namespace
