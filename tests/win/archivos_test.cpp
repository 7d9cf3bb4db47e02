// The file actions on real files and folders: shell operations, shortcuts, sizes, temporary
// files, short and long paths, dates and icons.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <winioctl.h>

#include <fstream>
#include <map>

#include "tests/win/entorno.h"

using prueba::Host;

namespace {

// The system's text for an error code, as the plug-in reports it (ending trimmed).
std::string TextoSistema(DWORD codigo) {
  char buffer[257] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, codigo, 0, buffer,
                           256, nullptr);
  std::string texto(buffer, n);
  while (!texto.empty() && (static_cast<unsigned char>(texto.back()) <= 32 || texto.back() == '.')) texto.pop_back();
  return texto;
}

bool Existe(const std::string& ruta) { return GetFileAttributesA(ruta.c_str()) != INVALID_FILE_ATTRIBUTES; }

void BorrarArbol(const std::string& carpeta) {
  WIN32_FIND_DATAA d;
  HANDLE h = FindFirstFileA((carpeta + "\\*").c_str(), &d);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string nombre = d.cFileName;
      if (nombre == "." || nombre == "..") continue;
      std::string ruta = carpeta + "\\" + nombre;
      SetFileAttributesA(ruta.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) BorrarArbol(ruta);
      else DeleteFileA(ruta.c_str());
    } while (FindNextFileA(h, &d));
    FindClose(h);
  }
  RemoveDirectoryA(carpeta.c_str());
}

// Removes what the recycle bin holds under a name (the bin may add a suffix to it, and keeps
// a description beside it); true when there was something.
bool VaciarDePapelera(const std::string& papelera, const std::string& nombre) {
  if (papelera.empty()) return false;
  bool habia = false;
  for (const std::string& carpeta : {papelera, papelera + "..\\info\\"}) {
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((carpeta + nombre + "*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) continue;
    do {
      std::string ruta = carpeta + d.cFileName;
      if (carpeta == papelera) habia = true;
      if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) BorrarArbol(ruta);
      else DeleteFileA(ruta.c_str());
    } while (FindNextFileA(h, &d));
    FindClose(h);
  }
  return habia;
}

class Archivos : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    raiz_ = std::string(tmp) + "pelmaro-archivos-" + std::to_string(GetCurrentProcessId()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
    BorrarArbol(raiz_);
    CreateDirectoryA(raiz_.c_str(), nullptr);
  }
  void TearDown() override { BorrarArbol(raiz_); }

  // A path inside the test folder.
  std::string R(const std::string& relativa) const { return raiz_ + "\\" + relativa; }
  void Carpeta(const std::string& relativa) { CreateDirectoryA(R(relativa).c_str(), nullptr); }
  void Archivo(const std::string& relativa, const std::string& contenido = "x") {
    std::ofstream(R(relativa), std::ios::binary) << contenido;
  }

  // Plays one action; gives its completion flag.
  std::int32_t Accion(std::int32_t id, const std::vector<std::string>& parametros) {
    h_.sim->OlvidarRegistros();
    std::int32_t r = h_.sim->Ejecutar(id, parametros, "");
    EXPECT_TRUE(h_.sim->Faltas().empty()) << h_.sim->Faltas().front();
    return r;
  }
  std::string Res() const { return h_.Var("krResultadoAccion"); }
  std::string Err() const { return h_.Var("krUltimoError"); }

  Host h_;
  std::string raiz_;
};

const char kSinCodigo[] = "Excepci\xf3n: \"EOSError\". Mensaje: \"A call to an OS function failed\".";

}  // namespace

TEST_F(Archivos, CopiarYMover) {
  struct {
    std::int32_t id;
    const char *origen, *destino, *progreso;
    std::vector<const char*> presentes, ausentes;
  } casos[] = {
      // Every .txt of a folder into an existing folder, silently and with the progress.
      {202, "o\\*.txt", "d", "False", {"d\\a.txt", "d\\b.txt", "o\\a.txt"}, {"d\\c.dat"}},
      {205, "o\\*.txt", "d", "True", {"d\\a.txt", "d\\b.txt", "o\\a.txt"}, {"d\\c.dat"}},
      // Into a missing folder, which the shell creates.
      {202, "o\\*.txt", "nueva", "true", {"nueva\\a.txt", "nueva\\b.txt"}, {"nueva\\c.dat"}},
      {201, "o\\a.txt", "d", "False", {"d\\a.txt", "o\\b.txt"}, {"o\\a.txt"}},
      // A single file to a missing name is renamed (Wine refuses to move a wildcard).
      {201, "o\\b.txt", "nueva", "Checked", {"nueva", "o\\a.txt"}, {"o\\b.txt"}},
      // Whole folders with their contents.
      {205, "o", "d", "False", {"d\\o\\a.txt", "d\\o\\sub\\e.txt", "o\\a.txt"}, {}},
      {204, "o", "d", "False", {"d\\o\\a.txt", "d\\o\\sub\\e.txt"}, {"o"}},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::to_string(c.id) + " " + c.origen + " -> " + c.destino);
    BorrarArbol(R("o"));
    BorrarArbol(R("d"));
    BorrarArbol(R("nueva"));
    Carpeta("o");
    Carpeta("o\\sub");
    Carpeta("d");
    Archivo("o\\a.txt", "uno");
    Archivo("o\\b.txt", "dos");
    Archivo("o\\c.dat");
    Archivo("o\\sub\\e.txt");
    EXPECT_EQ(Accion(c.id, {R(c.origen), R(c.destino), c.progreso}), 1);
    EXPECT_EQ(Res(), "True");
    EXPECT_EQ(Err(), "");
    for (const char* p : c.presentes) EXPECT_TRUE(Existe(R(p))) << p;
    for (const char* a : c.ausentes) EXPECT_FALSE(Existe(R(a))) << a;
  }
}

TEST_F(Archivos, Borrar) {
  // Where Wine's recycle bin puts files: the Unix home folder's trash, which Wine names
  // as an NT path.
  char home[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableA("WINEHOMEDIR", home, sizeof home);
  std::string papelera(home, n < sizeof home ? n : 0);
  if (papelera.rfind("\\??\\", 0) == 0) papelera.erase(0, 4);
  if (!papelera.empty()) papelera += "\\.local\\share\\Trash\\files\\";
  struct {
    std::int32_t id;
    const char *objetivo, *papelera;
    bool relativo, alaPapelera;
  } casos[] = {
      {200, "fuera-uno.txt", "False", false, false},
      {200, "fuera-dos.txt", "true", false, false},
      {200, "papelera-uno.txt", "True", false, true},
      {203, "papelera-carpeta", "Checked", false, true},
      {203, "fuera-carpeta", "", false, false},
      // A name relative to the current folder goes to the recycle bin too.
      {200, "papelera-relativa.txt", "True", true, true},
  };
  char actual[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, actual);
  for (const auto& c : casos) {
    SCOPED_TRACE(c.objetivo);
    std::string unico = std::string(c.objetivo) + "-" + std::to_string(GetCurrentProcessId());
    VaciarDePapelera(papelera, unico);
    if (std::string(c.objetivo).find('.') == std::string::npos) {
      Carpeta(unico);
      Archivo(unico + "\\dentro.txt");
    } else {
      Archivo(unico);
    }
    SetCurrentDirectoryA(raiz_.c_str());
    EXPECT_EQ(Accion(c.id, {c.relativo ? unico : R(unico), c.papelera, "False"}), 1);
    SetCurrentDirectoryA(actual);
    EXPECT_EQ(Res(), "True");
    EXPECT_FALSE(Existe(R(unico)));
    EXPECT_EQ(VaciarDePapelera(papelera, unico), c.alaPapelera && !papelera.empty());
  }
  // Every .txt of a folder, and nothing else.
  Carpeta("w");
  Archivo("w\\a.txt");
  Archivo("w\\b.txt");
  Archivo("w\\c.dat");
  EXPECT_EQ(Accion(200, {R("w\\*.txt"), "False", "False"}), 1);
  EXPECT_EQ(Res(), "True");
  EXPECT_FALSE(Existe(R("w\\a.txt")));
  EXPECT_FALSE(Existe(R("w\\b.txt")));
  EXPECT_TRUE(Existe(R("w\\c.dat")));
}

TEST_F(Archivos, FallosDeLaOperacion) {
  Carpeta("o");
  Archivo("o\\a.txt");
  Archivo("o\\b.txt");
  struct {
    std::int32_t id;
    std::string origen, destino;
  } casos[] = {
      {202, R("falta.txt"), R("o")},
      {205, R("falta"), R("o")},
      {200, R("falta.txt"), "False"},
      {203, R("falta\\sub"), "False"},
      {201, R("o\\*.txt"), R("no\\hay")},  // Wine aborts this move into a missing folder
      {202, "", R("o")},                   // an empty list of sources
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::to_string(c.id) + " " + c.origen);
    EXPECT_EQ(Accion(c.id, {c.origen, c.destino, "False"}), 1);
    EXPECT_EQ(Res(), "False");
    // The shell leaves no last-error code behind on Wine.
    EXPECT_EQ(Err(), kSinCodigo);
  }
}

namespace {

// What a saved shortcut holds, read back through the shell link object.
struct Enlace {
  bool cargado = false;
  std::string ruta, argumentos, descripcion, carpeta;
};

Enlace LeerEnlace(const std::string& archivo) {
  Enlace e;
  CoInitialize(nullptr);
  IShellLinkA* enlace = nullptr;
  IPersistFile* persistente = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&enlace))) &&
      SUCCEEDED(enlace->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persistente)))) {
    std::wstring ancho(archivo.begin(), archivo.end());
    if (SUCCEEDED(persistente->Load(ancho.c_str(), STGM_READ))) {
      char b[MAX_PATH * 2] = {};
      e.cargado = true;
      enlace->GetPath(b, sizeof b, nullptr, SLGP_RAWPATH);
      e.ruta = b;
      b[0] = 0;
      enlace->GetArguments(b, sizeof b);
      e.argumentos = b;
      b[0] = 0;
      enlace->GetDescription(b, sizeof b);
      e.descripcion = b;
      b[0] = 0;
      enlace->GetWorkingDirectory(b, sizeof b);
      e.carpeta = b;
    }
  }
  if (persistente) persistente->Release();
  if (enlace) enlace->Release();
  CoUninitialize();
  return e;
}

}  // namespace

TEST_F(Archivos, AccesoDirecto) {
  Carpeta("prog");
  Archivo("prog\\app.exe");
  struct {
    const char *nombre, *carpeta, *archivo;
  } casos[] = {
      {"uno", "", "uno.lnk"},
      {"dos", "\\", "dos.lnk"},
      {"tres.lnk", "", "tres.lnk.lnk"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.nombre);
    EXPECT_EQ(Accion(206, {c.nombre, "Mi programa", raiz_ + c.carpeta, R("prog\\app.exe"), "/x \"y\""}), 1);
    EXPECT_EQ(Res(), "True");
    Enlace e = LeerEnlace(R(c.archivo));
    ASSERT_TRUE(e.cargado);
    EXPECT_EQ(e.ruta, R("prog\\app.exe"));
    EXPECT_EQ(e.argumentos, "/x \"y\"");
    EXPECT_EQ(e.descripcion, "Mi programa");
    EXPECT_EQ(e.carpeta, R("prog\\"));
  }
  // A folder that does not exist: no file, and no error text.
  EXPECT_EQ(Accion(206, {"cuatro", "", R("no\\hay"), R("prog\\app.exe"), ""}), 1);
  EXPECT_EQ(Res(), "False");
  EXPECT_EQ(Err(), "");
}

TEST_F(Archivos, Tamanyo) {
  Archivo("mil.bin", std::string(1234, 'a'));
  Carpeta("sub");
  Archivo("sub\\solo.dat", "12345");
  {
    // A sparse file beyond 4 GiB.
    HANDLE f = CreateFileA(R("grande.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    DWORD nada;
    DeviceIoControl(f, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &nada, nullptr);
    LARGE_INTEGER fin;
    fin.QuadPart = 5368709120LL;
    SetFilePointerEx(f, fin, nullptr, FILE_BEGIN);
    SetEndOfFile(f);
    CloseHandle(f);
  }
  struct {
    std::string ruta;
    const char* tamanyo;
  } casos[] = {
      {R("mil.bin"), "1234"}, {R("grande.bin"), "5368709120"}, {R("sub"), "0"},
      {R("sub\\*.dat"), "5"}, {R("falta.bin"), "0"},          {"", "0"},
  };
  for (const auto& c : casos) {
    EXPECT_EQ(Accion(207, {c.ruta}), 1);
    EXPECT_EQ(Res(), c.tamanyo) << c.ruta;
    EXPECT_EQ(Err(), "");
  }
}

TEST_F(Archivos, ArchivoTemporal) {
  char tmp[MAX_PATH];
  std::string carpeta(tmp, GetTempPathA(MAX_PATH, tmp));
  EXPECT_EQ(Accion(208, {}), 1);
  std::string primero = Res();
  EXPECT_EQ(Accion(208, {}), 1);
  std::string segundo = Res();
  EXPECT_NE(primero, segundo);
  for (const std::string& ruta : {primero, segundo}) {
    EXPECT_EQ(ruta.rfind(carpeta, 0), 0u) << ruta;
    WIN32_FILE_ATTRIBUTE_DATA d;
    ASSERT_TRUE(GetFileAttributesExA(ruta.c_str(), GetFileExInfoStandard, &d)) << ruta;
    EXPECT_EQ(d.nFileSizeLow, 0u);
    DeleteFileA(ruta.c_str());
  }
  // A temporary folder that does not exist.
  char viejoTmp[MAX_PATH] = {}, viejoTemp[MAX_PATH] = {};
  DWORD t1 = GetEnvironmentVariableA("TMP", viejoTmp, MAX_PATH);
  DWORD t2 = GetEnvironmentVariableA("TEMP", viejoTemp, MAX_PATH);
  SetEnvironmentVariableA("TMP", R("no\\hay").c_str());
  SetEnvironmentVariableA("TEMP", R("no\\hay").c_str());
  std::int32_t flag = Accion(208, {});
  SetEnvironmentVariableA("TMP", t1 ? viejoTmp : nullptr);
  SetEnvironmentVariableA("TEMP", t2 ? viejoTemp : nullptr);
  EXPECT_EQ(flag, 0);
  EXPECT_EQ(Res(), "False");
  EXPECT_EQ(Err(), TextoSistema(ERROR_DIRECTORY));
}

TEST_F(Archivos, RutasCortaYLarga) {
  Carpeta("carpeta de nombre largo");
  Archivo("carpeta de nombre largo\\archivo con nombre largo.texto");
  const std::string largo = R("carpeta de nombre largo\\archivo con nombre largo.texto");
  EXPECT_EQ(Accion(213, {largo}), 1);
  std::string corto = Res();
  EXPECT_NE(corto, largo);
  EXPECT_EQ(corto.find(' '), std::string::npos) << corto;
  EXPECT_TRUE(Existe(corto)) << corto;
  EXPECT_EQ(Accion(212, {corto}), 1);
  EXPECT_EQ(Res(), largo);
  EXPECT_EQ(Err(), "");

  struct {
    std::int32_t id;
    std::string ruta;
    DWORD codigo;
  } fallos[] = {{213, R("falta.txt"), ERROR_FILE_NOT_FOUND}, {212, R("falta.txt"), ERROR_FILE_NOT_FOUND}};
  for (const auto& f : fallos) {
    SCOPED_TRACE(f.id);
    EXPECT_EQ(Accion(f.id, {f.ruta}), 0);
    EXPECT_EQ(Res(), "False");
    EXPECT_EQ(Err(), TextoSistema(f.codigo));
  }
}

TEST_F(Archivos, Fechas) {
  Archivo("f.txt");
  // Local times; the action shows them back as local times.
  SYSTEMTIME medianoche = {2021, 3, 0, 4, 0, 0, 0, 0};
  SYSTEMTIME tarde = {2021, 3, 0, 4, 13, 5, 9, 500};
  auto Sello = [](const SYSTEMTIME& st) {
    FILETIME local, utc;
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    return utc;
  };
  FILETIME fm = Sello(medianoche), ft = Sello(tarde);
  HANDLE f = CreateFileA(R("f.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(SetFileTime(f, nullptr, &fm, &ft));
  CloseHandle(f);

  char fecha[128], hora[128];
  GetDateFormatA(GetThreadLocale(), DATE_SHORTDATE, &tarde, nullptr, fecha, sizeof fecha);
  GetTimeFormatA(GetThreadLocale(), 0, &tarde, nullptr, hora, sizeof hora);
  EXPECT_EQ(Accion(215, {R("f.txt")}), 1);  // last write
  EXPECT_EQ(Res(), std::string(fecha) + " " + hora);
  EXPECT_EQ(Accion(216, {R("f.txt")}), 1);  // last access, at midnight: the date alone
  EXPECT_EQ(Res(), fecha);
  EXPECT_EQ(Accion(214, {R("f.txt")}), 1);  // created now
  EXPECT_FALSE(Res().empty());
  for (std::int32_t id : {214, 215, 216}) {
    EXPECT_EQ(Accion(id, {R("falta.txt")}), 1);
    EXPECT_EQ(Res(), "");
    EXPECT_EQ(Err(), "");
  }
}
