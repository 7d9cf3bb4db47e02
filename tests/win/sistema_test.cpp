// The system actions: processes, windows, environment, Windows version, special folders,
// administrator test, error mode, and the power and session calls as the simulator records
// them.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <map>

#include "tests/win/entorno.h"

using prueba::Host;
using prueba::TextoSistema;

namespace {

std::vector<std::string> Valores(const std::map<long, std::string>& elementos) {
  std::vector<std::string> v;
  for (const auto& [i, valor] : elementos) v.push_back(valor);
  return v;
}

bool Contiene(const std::vector<std::string>& v, const std::string& s) { return std::find(v.begin(), v.end(), s) != v.end(); }

std::string NombreBase(const std::string& ruta) { return ruta.substr(ruta.find_last_of('\\') + 1); }

std::string Decimal(HWND h) { return std::to_string(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(h))); }

}  // namespace

// ---- Processes --------------------------------------------------------------------------------

TEST(Sistema, ListaDeProcesos) {
  char propio[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, propio, MAX_PATH);
  Host h;
  h.Reproducir("krListarProcesos\n");
  auto procesos = Valores(h.sim->Elementos("krResultadoAccion"));
  EXPECT_TRUE(Contiene(procesos, NombreBase(propio))) << h.Salida();
  EXPECT_TRUE(Contiene(procesos, "services.exe")) << h.Salida();
  EXPECT_EQ(h.Var("krResultadoAccion"), "");
  EXPECT_EQ(h.Var("krUltimoError"), "");
}

TEST(Sistema, MatarProcesosPorNombreEnMayusculas) {
  std::string programa = prueba::CarpetaPrograma() + "pelmaro_espera.exe";
  PROCESS_INFORMATION pi[2] = {};
  for (auto& p : pi) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string linea = "\"" + programa + "\" 60";
    ASSERT_TRUE(CreateProcessA(nullptr, linea.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &p));
  }
  Host h;
  h.Reproducir("krMatarProcesos \"PELMARO_ESPERA.EXE\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "True") << h.Salida();
  for (auto& p : pi) {
    EXPECT_EQ(WaitForSingleObject(p.hProcess, 10000), WAIT_OBJECT_0);
    DWORD codigo = 1;
    GetExitCodeProcess(p.hProcess, &codigo);
    EXPECT_EQ(codigo, 0u);  // TerminateProcess's code, not the helper's own 3
    TerminateProcess(p.hProcess, 1);
    CloseHandle(p.hProcess);
    CloseHandle(p.hThread);
  }
  // None left: "False" with what the walk left, the end of the list.
  h.Reproducir("krMatarProcesos \"pelmaro_espera.exe\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "False");
  EXPECT_EQ(h.Var("krUltimoError"), TextoSistema(ERROR_NO_MORE_FILES));
}

// ---- Windows ----------------------------------------------------------------------------------

class Ventanas : public ::testing::Test {
 protected:
  static constexpr const char* kClase = "PelmaroClasePrueba";
  static constexpr const char* kTitulo = "Ventana de prueba de Pelmaro";
  void SetUp() override {
    WNDCLASSA c{};
    c.lpfnWndProc = DefWindowProcA;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = kClase;
    RegisterClassA(&c);
    ventana_ = CreateWindowExA(0, kClase, kTitulo, WS_OVERLAPPEDWINDOW, 10, 10, 300, 200, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(ventana_, nullptr);
  }
  void TearDown() override {
    DestroyWindow(ventana_);
    UnregisterClassA(kClase, GetModuleHandleA(nullptr));
  }
  LONG Estilo() const { return GetWindowLongA(ventana_, GWL_STYLE); }
  HWND ventana_ = nullptr;
};

TEST_F(Ventanas, PorTituloPorClaseYPorAmbos) {
  struct {
    std::string titulo, clase;
    bool hallada;
  } casos[] = {
      {kTitulo, "", true},           {"", kClase, true},  {kTitulo, kClase, true},   {"  ", kClase, true},
      {kTitulo, "OtraClase", false}, {"Otra", kClase, false}, {std::string(" ") + kTitulo, "", false},
  };
  Host h;
  for (const auto& c : casos) {
    h.Reproducir("krHandleVentana \"" + c.titulo + "\" \"" + c.clase + "\"\n");
    EXPECT_EQ(h.Var("krResultadoAccion"), c.hallada ? Decimal(ventana_) : "0") << c.titulo << "|" << c.clase;
    EXPECT_EQ(h.Var("krUltimoError"), "");
  }
}

TEST_F(Ventanas, BarraDeTituloOcultaYMostrada) {
  ASSERT_EQ(Estilo() & WS_CAPTION, WS_CAPTION);
  Host h;
  const std::string manija = Decimal(ventana_);
  h.Reproducir("krMostrarBarraTitulo \"" + manija + "\" \"False\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "True") << h.Salida();
  EXPECT_EQ(Estilo() & WS_CAPTION, 0);
  EXPECT_NE(Estilo() & WS_THICKFRAME, 0);  // the other bits stay
  h.Reproducir("krMostrarBarraTitulo \"" + manija + "\" \"Checked\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "True");
  EXPECT_EQ(Estilo() & WS_CAPTION, WS_CAPTION);
  h.Reproducir("krMostrarBarraTitulo \"" + manija + "\" \"checked\"\n");  // not a true text: hides
  EXPECT_EQ(Estilo() & WS_CAPTION, 0);
  // A handle that is no number is window 0.
  h.Reproducir("krMostrarBarraTitulo \"abc\" \"True\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "False");
  EXPECT_EQ(h.Var("krUltimoError"), TextoSistema(ERROR_INVALID_WINDOW_HANDLE));
}

// ---- Environment ------------------------------------------------------------------------------

TEST(Sistema, VariablesDeEntorno) {
  Host h;
  h.Reproducir("krVariablesEntorno \"PELMARO_PRUEBA\" \"valor uno\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "True");
  char valor[64] = {};
  GetEnvironmentVariableA("PELMARO_PRUEBA", valor, sizeof valor);
  EXPECT_STREQ(valor, "valor uno");  // the publication's own process

  h.Reproducir("krVariablesEntorno \"PELMARO_PRUEBA\" \"\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "valor uno");
  h.Reproducir("krVariablesEntorno \"PELMARO_PRUEBA\" \" \t\"\n");  // blank: read, never delete
  EXPECT_EQ(h.Var("krResultadoAccion"), "valor uno");
  h.Reproducir("krVariablesEntorno \"PELMARO_NO_DEFINIDA\" \"\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "");
  EXPECT_EQ(h.Var("krUltimoError"), "");

  std::string largo(5000, 'x');
  SetEnvironmentVariableA("PELMARO_LARGA", largo.c_str());
  h.Reproducir("krVariablesEntorno \"PELMARO_LARGA\" \"\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), largo);
  SetEnvironmentVariableA("PELMARO_LARGA", nullptr);

  // The listing holds the block's first string as well as the one just set.
  char* bloque = GetEnvironmentStringsA();
  std::string primera = bloque;
  FreeEnvironmentStringsA(bloque);
  h.Reproducir("krVariablesEntorno \"\" \"\"\n");
  auto lista = Valores(h.sim->Elementos("krResultadoAccion"));
  EXPECT_TRUE(Contiene(lista, "PELMARO_PRUEBA=valor uno"));
  ASSERT_FALSE(lista.empty());
  EXPECT_EQ(lista.front(), primera);

  h.Reproducir("krVariablesEntorno \"\" \"valor\"\n");  // no name: still the listing
  EXPECT_EQ(Valores(h.sim->Elementos("krResultadoAccion")), lista);
  SetEnvironmentVariableA("PELMARO_PRUEBA", nullptr);
}

// ---- Windows version --------------------------------------------------------------------------

// The version Wine reports, chosen in the prefix's registry for the processes started while
// it is set; the value that was there comes back afterwards.
class VersionDeWine {
 public:
  explicit VersionDeWine(const char* version) {
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &clave_, nullptr);
    char antes[64] = {};
    DWORD n = sizeof antes;
    habia_ = RegQueryValueExA(clave_, "Version", nullptr, nullptr, reinterpret_cast<BYTE*>(antes), &n) == ERROR_SUCCESS;
    antes_ = antes;
    RegSetValueExA(clave_, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), lstrlenA(version) + 1);
  }
  ~VersionDeWine() {
    if (habia_)
      RegSetValueExA(clave_, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(antes_.c_str()),
                     static_cast<DWORD>(antes_.size() + 1));
    else
      RegDeleteValueA(clave_, "Version");
    RegCloseKey(clave_);
  }

 private:
  HKEY clave_ = nullptr;
  bool habia_ = false;
  std::string antes_;
};

TEST(Sistema, NombreDeLaVersionDeWindows) {
  struct {
    const char* wine;
    const char* nombre;
  } casos[] = {
      {"winxp", "WinXP"},
      {"winxp64", "WinDesconocido"},  // 5.2 is in no row
      {"vista", "WinVista"},
      {"win7", "WinVista"},  // every 6.x
  };
  for (const auto& c : casos) {
    VersionDeWine version(c.wine);
    auto p = prueba::EjecutarNbhost("", "krVersionWindows\n");
    EXPECT_NE(p.salida.find(std::string("krResultadoAccion = \"") + c.nombre + "\""), std::string::npos)
        << c.wine << "\n" << p.salida;
  }
}

// ---- Special folders --------------------------------------------------------------------------

namespace {

std::string Carpeta(int numero, bool crear) {
  char ruta[MAX_PATH + 1] = {};
  if (!SHGetSpecialFolderPathA(nullptr, ruta, numero, crear)) return "";
  std::string r = ruta;
  return r.back() == '\\' ? r : r + "\\";
}

}  // namespace

TEST(Sistema, CarpetasEspeciales) {
  // The SDK's numbers (shlobj.h, and its Windows XP edition for the names it no longer has).
  const std::map<std::string, int> numeros = {
      {"CSIDL_ADMINTOOLS", CSIDL_ADMINTOOLS},
      {"CSIDL_ALTSTARTUP", CSIDL_ALTSTARTUP},
      {"CSIDL_APPDATA", CSIDL_APPDATA},
      {"CSIDL_BITBUCKET", CSIDL_BITBUCKET},
      {"CSIDL_CDBURN_AREA", CSIDL_CDBURN_AREA},
      {"CSIDL_COMMON_ADMINTOOLS", CSIDL_COMMON_ADMINTOOLS},
      {"CSIDL_COMMON_ALTSTARTUP", CSIDL_COMMON_ALTSTARTUP},
      {"CSIDL_COMMON_APPDATA", CSIDL_COMMON_APPDATA},
      {"CSIDL_COMMON_DESKTOPDIRECTORY", CSIDL_COMMON_DESKTOPDIRECTORY},
      {"CSIDL_COMMON_DOCUMENTS", CSIDL_COMMON_DOCUMENTS},
      {"CSIDL_COMMON_FAVORITES", CSIDL_COMMON_FAVORITES},
      {"CSIDL_COMMON_MUSIC", CSIDL_COMMON_MUSIC},
      {"CSIDL_COMMON_PICTURES", CSIDL_COMMON_PICTURES},
      {"CSIDL_COMMON_PROGRAMS", CSIDL_COMMON_PROGRAMS},
      {"CSIDL_COMMON_STARTMENU", CSIDL_COMMON_STARTMENU},
      {"CSIDL_COMMON_STARTUP", CSIDL_COMMON_STARTUP},
      {"CSIDL_COMMON_TEMPLATES", CSIDL_COMMON_TEMPLATES},
      {"CSIDL_COMMON_VIDEO", CSIDL_COMMON_VIDEO},
      {"CSIDL_COMPUTERSNEARME", CSIDL_COMPUTERSNEARME},
      {"CSIDL_CONNECTIONS", CSIDL_CONNECTIONS},
      {"CSIDL_CONTROLS", CSIDL_CONTROLS},
      {"CSIDL_COOKIES", CSIDL_COOKIES},
      {"CSIDL_DESKTOP", CSIDL_DESKTOP},
      {"CSIDL_DESKTOPDIRECTORY", CSIDL_DESKTOPDIRECTORY},
      {"CSIDL_DRIVES", CSIDL_DRIVES},
      {"CSIDL_FAVORITES", CSIDL_FAVORITES},
      {"CSIDL_FLAG_CREATE", CSIDL_FLAG_CREATE},
      {"CSIDL_FLAG_DONT_UNEXPAND", CSIDL_FLAG_DONT_UNEXPAND},
      {"CSIDL_FLAG_DONT_VERIFY", CSIDL_FLAG_DONT_VERIFY},
      {"CSIDL_FONTS", CSIDL_FONTS},
      {"CSIDL_HISTORY", CSIDL_HISTORY},
      {"CSIDL_INTERNET_CACHE", CSIDL_INTERNET_CACHE},
      {"CSIDL_LOCAL_APPDATA", CSIDL_LOCAL_APPDATA},
      {"CSIDL_MYDOCUMENTS", CSIDL_MYDOCUMENTS},
      {"CSIDL_MYMUSIC", CSIDL_MYMUSIC},
      {"CSIDL_MYPICTURES", CSIDL_MYPICTURES},
      {"CSIDL_MYVIDEO", CSIDL_MYVIDEO},
      {"CSIDL_NETHOOD", CSIDL_NETHOOD},
      {"CSIDL_NETWORK", CSIDL_NETWORK},
      {"CSIDL_PERSONAL", CSIDL_PERSONAL},
      {"CSIDL_PHOTOALBUMS", 0x45},
      {"CSIDL_PLAYLISTS", 0x3F},
      {"CSIDL_PRINTERS", CSIDL_PRINTERS},
      {"CSIDL_PRINTHOOD", CSIDL_PRINTHOOD},
      {"CSIDL_PROFILE", CSIDL_PROFILE},
      {"CSIDL_PROGRAM_FILES", CSIDL_PROGRAM_FILES},
      {"CSIDL_PROGRAM_FILES_COMMON", CSIDL_PROGRAM_FILES_COMMON},
      {"CSIDL_PROGRAMS", CSIDL_PROGRAMS},
      {"CSIDL_RECENT", CSIDL_RECENT},
      {"CSIDL_RESOURCES", CSIDL_RESOURCES},
      {"CSIDL_SAMPLE_MUSIC", 0x40},
      {"CSIDL_SAMPLE_PICTURES", 0x42},
      {"CSIDL_SAMPLE_PLAYLISTS", 0x41},
      {"CSIDL_SAMPLE_VIDEOS", 0x43},
      {"CSIDL_SENDTO", CSIDL_SENDTO},
      {"CSIDL_STARTMENU", CSIDL_STARTMENU},
      {"CSIDL_SYSTEM", CSIDL_SYSTEM},
      {"CSIDL_TEMPLATES", CSIDL_TEMPLATES},
      {"CSIDL_WINDOWS", CSIDL_WINDOWS},
  };
  ASSERT_EQ(numeros.size(), 59u);
  Host h;
  int conRuta = 0;
  for (const auto& [nombre, numero] : numeros) {
    h.Reproducir("krDirectorioSistema \"" + nombre + "\" \"\"\n");
    std::string ruta = h.Var("krResultadoAccion");
    EXPECT_EQ(ruta, Carpeta(numero, false)) << nombre;
    EXPECT_TRUE(ruta.empty() || ruta.back() == '\\') << nombre << ": " << ruta;
    EXPECT_EQ(h.Var("krUltimoError"), "");
    conRuta += !ruta.empty();
  }
  EXPECT_GT(conRuta, 30);

  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string escritorio = Carpeta(CSIDL_DESKTOP, false);
  ASSERT_FALSE(escritorio.empty());
  struct {
    const char* nombre;
    std::string ruta;
  } casos[] = {
      {"CSIDL_WINDOWS", std::string(windows) + "\\"},
      {"csidl_windows", escritorio},
      {"", escritorio},
      {"CSIDL_DRIVES", ""},
      {"CSIDL_BITBUCKET", ""},
  };
  for (const auto& c : casos) {
    h.Reproducir(std::string("krDirectorioSistema \"") + c.nombre + "\" \"\"\n");
    EXPECT_EQ(h.Var("krResultadoAccion"), c.ruta) << c.nombre;
  }
}

TEST(Sistema, CarpetaEspecialCreadaCuandoFalta) {
  std::string musica = Carpeta(CSIDL_MYMUSIC, false);
  ASSERT_FALSE(musica.empty());
  musica.pop_back();
  std::string aparte = musica + ".pelmaro";
  ASSERT_TRUE(MoveFileA(musica.c_str(), aparte.c_str())) << GetLastError();
  Host h;
  h.Reproducir("krDirectorioSistema \"CSIDL_MYMUSIC\" \"False\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "");
  EXPECT_EQ(GetFileAttributesA(musica.c_str()), INVALID_FILE_ATTRIBUTES);
  h.Reproducir("krDirectorioSistema \"CSIDL_MYMUSIC\" \"True\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), musica + "\\");
  DWORD atributos = GetFileAttributesA(musica.c_str());
  EXPECT_TRUE(atributos != INVALID_FILE_ATTRIBUTES && (atributos & FILE_ATTRIBUTE_DIRECTORY));
  RemoveDirectoryA(musica.c_str());
  MoveFileA(aparte.c_str(), musica.c_str());
}

// ---- Administrator, capabilities and error mode -------------------------------------------------

TEST(Sistema, PreguntasAlSistema) {
  struct {
    const char* accion;
    const char* funcion;
    const char* eleccion;  // CallResult, or null: the system answers
    const char* respuesta;
  } casos[] = {
      {"krUsuarioAdministrador", "IsUserAnAdmin", nullptr, "True"},  // Wine: 1
      {"krUsuarioAdministrador", "IsUserAnAdmin", "0", "False"},
      {"krPuedeHibernarse", "IsPwrHibernateAllowed", nullptr, "True"},  // Wine: 1
      {"krPuedeHibernarse", "IsPwrHibernateAllowed", "0", "False"},
      {"krPuedeSuspenderse", "IsPwrSuspendAllowed", nullptr, "False"},  // Wine: 0
      {"krPuedeSuspenderse", "IsPwrSuspendAllowed", "1", "True"},
  };
  for (const auto& c : casos) {
    Host h;
    if (c.eleccion) h.Reproducir(std::string("CallResult \"") + c.funcion + "\" \"" + c.eleccion + "\"\n");
    h.Reproducir(std::string(c.accion) + "\n");
    EXPECT_EQ(h.Var("krResultadoAccion"), c.respuesta) << c.accion << " " << (c.eleccion ? c.eleccion : "");
    EXPECT_EQ(h.Var("krUltimoError"), "");
    EXPECT_EQ(h.sim->Llamadas(), (std::vector<std::string>{std::string(c.funcion) + "()"})) << c.accion;
  }
}

TEST(Sistema, ModoDeErrores) {
  UINT original = SetErrorMode(SEM_NOGPFAULTERRORBOX);
  Host h;
  h.Reproducir("krOcultarErroresCriticos\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "True");
  EXPECT_EQ(SetErrorMode(SEM_NOGPFAULTERRORBOX), static_cast<UINT>(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
  h.Reproducir("krMostrarErroresCriticos\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "True");
  EXPECT_EQ(SetErrorMode(0), 0u);
  h.Reproducir("krOcultarErroresCriticos\nkrMostrarErroresCriticos\n");
  EXPECT_EQ(SetErrorMode(original), 0u);
}

// ---- Power and session, recorded by the simulator ---------------------------------------------

TEST(Sistema, ApagadoYSesionRegistrados) {
  const std::string privilegio = "AdjustTokenPrivileges(SeShutdownPrivilege 0x2)";
  struct {
    const char* accion;
    const char* fuerza;
    const char* llamada;
  } casos[] = {
      {"krApagarWindows", "Checked", "ExitWindowsEx(0x15, 0)"},
      {"krApagarWindows", "checked", "ExitWindowsEx(0x1, 0)"},
      {"krApagarWindows", "", "ExitWindowsEx(0x1, 0)"},
      {"krReiniciarWindows", "", "ExitWindowsEx(0x2, 0)"},
      {"krReiniciarWindows", "True", "ExitWindowsEx(0x16, 0)"},
      {"krApagarOrdenador", "False", "ExitWindowsEx(0x8, 0)"},
      {"krApagarOrdenador", "Checked", "ExitWindowsEx(0x1C, 0)"},
      {"krCerrarSesionUsuario", "", "ExitWindowsEx(0x0, 0)"},
      {"krCerrarSesionUsuario", "True", "ExitWindowsEx(0x14, 0)"},
      {"krHibernarOrdenador", "", "SetSystemPowerState(0, 0)"},
      {"krHibernarOrdenador", "True", "SetSystemPowerState(0, 1)"},
      {"krSuspenderOrdenador", "", "SetSystemPowerState(1, 0)"},
      {"krSuspenderOrdenador", "Checked", "SetSystemPowerState(1, 1)"},
  };
  for (const auto& c : casos) {
    Host h;
    h.Reproducir(std::string(c.accion) + " \"" + c.fuerza + "\"\n");
    EXPECT_EQ(h.Var("krResultadoAccion"), "True") << c.accion << " " << c.fuerza << "\n" << h.Salida();
    EXPECT_EQ(h.Var("krUltimoError"), "");
    // The privilege is asked for first.
    EXPECT_EQ(h.sim->Llamadas(), (std::vector<std::string>{privilegio, c.llamada})) << c.accion << " " << c.fuerza;
  }
}

TEST(Sistema, ApagadoRechazado) {
  struct {
    const char* funcion;
    const char* eleccion;
    const char* accion;
    DWORD error;
  } casos[] = {
      {"ExitWindowsEx", "0", "krApagarWindows \"True\"", ERROR_PRIVILEGE_NOT_HELD},
      {"ExitWindowsEx", "0,5", "krCerrarSesionUsuario \"\"", ERROR_ACCESS_DENIED},
      {"SetSystemPowerState", "0,50", "krSuspenderOrdenador \"\"", ERROR_NOT_SUPPORTED},
      {"SetSystemPowerState", "0", "krHibernarOrdenador \"True\"", ERROR_PRIVILEGE_NOT_HELD},
  };
  for (const auto& c : casos) {
    Host h;
    h.Reproducir(std::string("CallResult \"") + c.funcion + "\" \"" + c.eleccion + "\"\n" + c.accion + "\n");
    EXPECT_EQ(h.Var("krResultadoAccion"), "False") << c.accion;
    EXPECT_EQ(h.Var("krUltimoError"), TextoSistema(c.error)) << c.accion;
    ASSERT_FALSE(TextoSistema(c.error).empty());
  }
  // The privilege refused changes nothing: the call is still made.
  Host h;
  h.Reproducir("CallResult \"AdjustTokenPrivileges\" \"0\"\nkrReiniciarWindows \"\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "True");
  EXPECT_EQ(h.sim->Llamadas().back(), "ExitWindowsEx(0x2, 0)");
}
