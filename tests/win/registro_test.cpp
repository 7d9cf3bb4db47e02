// The handshake: identity strings, slot handover, and the registration of the catalogue as
// the host receives it.
#include <windows.h>

#include <map>
#include <set>

#include "core/ansi.h"
#include "core/catalogo.h"
#include "tests/win/entorno.h"

using prueba::Host;

namespace {

const nbhost::FilaRegistrada* Fila(const Host& h, std::int32_t id) {
  for (const auto& f : h.sim->Filas())
    if (f.id == id) return &f;
  return nullptr;
}

}  // namespace

TEST(Identidad, TextosYBloques) {
  Host h;
  EXPECT_EQ(h.identidad.titulo, "Pelmaro");
  // The hint reaches the host in the system code page: "útiles" as the single byte 0xFA.
  EXPECT_EQ(h.identidad.pista, "Todo tipo de acciones para todo tipo de tareas \xfatiles en tus publicaciones.");
  EXPECT_NE(h.identidad.editor.find("Brelmont"), std::string::npos);
  EXPECT_NE(h.identidad.editor.find("2026"), std::string::npos);
  EXPECT_EQ(h.identidad.editor.find('\n'), std::string::npos);
  EXPECT_TRUE(h.identidad.bloquesDelTamanyoJusto);
  // The slots arrived pre-filled: the plug-in must have released those blocks.
  EXPECT_TRUE(h.sim->Faltas().empty()) << h.sim->Faltas().front();
}

TEST(Identidad, RanurasVaciasSoloReciben) {
  Host h({}, /*prellenar=*/false);
  EXPECT_EQ(h.identidad.titulo, "Pelmaro");
  EXPECT_TRUE(h.sim->Faltas().empty());
}

TEST(Registro, InvariantesDelCatalogo) {
  Host h;
  const auto& filas = h.sim->Filas();
  ASSERT_EQ(filas.size(), 92u);
  int categorias = 0, sinParametros = 0;
  std::int32_t siguiente = 0;
  std::set<std::int32_t> conTipo6;
  for (const auto& f : filas) {
    ASSERT_EQ(f.tipos.size(), static_cast<std::size_t>(f.ultimo + 1)) << f.id;
    if (f.id == 0) {
      ++categorias;
      siguiente = categorias * 100;
      EXPECT_EQ(f.pista, "");
      EXPECT_EQ(f.tipos, std::vector<std::uint8_t>{0});
      EXPECT_EQ(f.cuenta, 0);
      continue;
    }
    EXPECT_EQ(f.id, siguiente++) << "numbers run without gaps inside a category";
    if (f.cuenta == 0) {
      ++sinParametros;
      EXPECT_EQ(f.tipos, std::vector<std::uint8_t>{0}) << f.nombre;
      EXPECT_EQ(f.ultimo, 0);
    } else {
      EXPECT_EQ(f.ultimo, f.cuenta - 1) << f.nombre;
    }
    for (std::size_t k = 0; k < f.tipos.size() && f.cuenta; ++k) {
      if (f.tipos[k] == 6) conTipo6.insert(f.id * 10 + static_cast<std::int32_t>(k + 1));
      else EXPECT_EQ(f.tipos[k], 1) << f.nombre;
    }
    EXPECT_FALSE(f.pista.empty()) << f.nombre;
  }
  EXPECT_EQ(categorias, 9);
  EXPECT_EQ(sinParametros, 15);
  // Parameter 5 of krDialogoAbrirImagen, 3 and 4 of krMD5Archivo and krSHA1Archivo.
  EXPECT_EQ(conTipo6, (std::set<std::int32_t>{3025, 7013, 7014, 7033, 7034}));
  int seis = 0;
  for (const auto& f : filas) seis += f.cuenta == 6;
  EXPECT_EQ(seis, 1);
  EXPECT_EQ(Fila(h, 706)->cuenta, 6);
}

TEST(Registro, MuestraTextoATexto) {
  Host h;
  const auto& filas = h.sim->Filas();
  ASSERT_EQ(filas.size(), 92u);
  const char* categorias[] = {"Sistema", "Archivos", "Di\xe1logos", "Publicaci\xf3n", "Rat\xf3n",
                              "Monitor", "Hashes",   "Archivos INI", "Im\xe1genes"};
  int c = 0;
  for (const auto& f : filas)
    if (f.id == 0) {
      EXPECT_EQ(f.nombre, categorias[c++]);
    }
  struct {
    std::int32_t id;
    const char* nombre;
    const char* pista;
    std::vector<std::uint8_t> tipos;
  } muestra[] = {
      {100, "krListarProcesos",
       "Obtiene en una variable Array de Neobook una lista de los procesos que est\xe1n ejecut\xe1ndose en el sistema.",
       {0}},
      {101, "krMatarProcesos",
       "Dado el nombre de un proceso (ejem. calc.exe) esta acci\xf3n mata (cierra) todas las instancias que encuentre "
       "abiertas del mismo.",
       {1}},
      {302, "krDialogoAbrirImagen",
       "Muestra al usuario el di\xe1logo est\xe1ndar de Windows para abrir archivos de im\xe1genes.", {1, 1, 1, 1, 6}},
      {601, "krEncenderMonitor",
       "Enciende el monitor si este se apag\xf3, por ejemplo, mediante la acci\xf3n \"krApagarMonitor\" de este mismo "
       "plugin.",
       {0}},
      {701, "krMD5Archivo", "Calcula el algoritmo MD5 de un determinado archivo.", {1, 1, 6, 6}},
      {704, "krCancelarHashing", "Cancela el c\xe1lculo del Hashing que se est\xe9 llevando a cabo.", {0}},
      {706, "krCifrarArchivo",
       "Cifrar o descifra un archivo utilizando varios de los algoritmos y hashes disponibles.", {1, 1, 1, 1, 1, 1}},
      {800, "krLeerIni", "Lee un valor guardado en un archivo de configuraci\xf3n INI.", {1, 1, 1, 1}},
      {905, "krEspejarImagen",
       "Espeja, invierte una imagen horizontalmente. En ingl\xe9s este efecto se llama \"MirrorImage\".", {1, 1}},
  };
  for (const auto& m : muestra) {
    const nbhost::FilaRegistrada* f = Fila(h, m.id);
    ASSERT_NE(f, nullptr) << m.id;
    EXPECT_EQ(f->nombre, m.nombre);
    EXPECT_EQ(f->pista, m.pista);
    EXPECT_EQ(f->tipos, m.tipos) << m.nombre;
  }
}

// Every row the host received equals the catalogue, in order: what crossed the boundary
// (registers, stack arguments, strings) arrived intact.
TEST(Registro, FilasIntactas) {
  Host h;
  const auto& filas = h.sim->Filas();
  ASSERT_EQ(static_cast<int>(filas.size()), pelmaro::NumeroFilasCatalogo());
  for (std::size_t i = 0; i < filas.size(); ++i) {
    const pelmaro::FilaCatalogo& esperada = pelmaro::FilasCatalogo()[i];
    SCOPED_TRACE(esperada.nombre);
    EXPECT_EQ(filas[i].id, esperada.id);
    EXPECT_EQ(filas[i].nombre, pelmaro::Utf8AAnsi(esperada.nombre));
    EXPECT_EQ(filas[i].pista, pelmaro::Utf8AAnsi(esperada.pista));
    EXPECT_EQ(filas[i].cuenta, esperada.Parametros());
  }
  EXPECT_TRUE(h.sim->Faltas().empty()) << h.sim->Faltas().front();
}

TEST(Exportaciones, OchoPorNombre) {
  HMODULE m = LoadLibraryA(prueba::RutaPlugin().c_str());
  ASSERT_NE(m, nullptr);
  for (const char* n : {"nbInitPlugIn", "nbRegisterPlugIn", "nbRegisterInterfaceAccess", "nbRegisterScriptProcessor",
                        "nbExecAction", "nbEditAction", "nbAbout", "nbMessage"})
    EXPECT_NE(GetProcAddress(m, n), nullptr) << n;
  // Exactly eight: nothing else is exported.
  auto base = reinterpret_cast<BYTE*>(m);
  auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  auto dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  ASSERT_NE(dir.VirtualAddress, 0u);
  auto exp = reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  EXPECT_EQ(exp->NumberOfNames, 8u);
  EXPECT_EQ(exp->NumberOfFunctions, 8u);
  FreeLibrary(m);
}

// On 32-bit x86 every export goes through the hand-written register-convention glue, which
// checks the stack pointer after each return.
TEST(Exportaciones, PilaExactaTrasCadaLlamada) {
  if (!prueba::EsI386()) GTEST_SKIP() << "the stack checks are made on 32-bit x86 only";
  Host h;  // handshake: nbInitPlugIn and nbRegisterPlugIn remove one stack argument each
  EXPECT_TRUE(h.sim->Faltas().empty()) << h.sim->Faltas().front();
  // nbMessage with garbage in EAX, EDX, ECX and three words pushed removes nothing.
  EXPECT_TRUE(h.sim->LlamarMensaje()) << h.sim->Faltas().back();
  h.sim->LlamarAcercaDe();
  std::vector<std::string> p = {"a", "b"};
  EXPECT_EQ(h.sim->Editar(302, p), 0);
  h.Reproducir("ExecAction 907\n");
  EXPECT_TRUE(h.sim->Faltas().empty()) << h.sim->Faltas().front();
}

TEST(Exportaciones, EdicionSinDialogoDejaLosParametros) {
  Host h;
  std::vector<std::string> p = {"uno", "dos", "tres", "cuatro", "cinco"};
  EXPECT_EQ(h.sim->Editar(302, p), 0);
  EXPECT_EQ(p[0], "uno");
  EXPECT_EQ(p[4], "cinco");
  std::vector<std::string> ninguno;
  EXPECT_EQ(h.sim->Editar(100, ninguno), 0);
  EXPECT_EQ(h.sim->Editar(0, ninguno), 0);
  EXPECT_TRUE(h.sim->Faltas().empty());
}
