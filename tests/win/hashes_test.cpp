// MD5 and SHA-1 of texts and files, with progress, subroutine calls, nesting and cancelling.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/win/entorno.h"

using prueba::Host;

namespace {

// The data files and their digests as the Linux tools computed them (tests/win/preparar_datos.sh).
struct Datos {
  std::string carpeta;
  std::map<std::string, std::pair<std::string, std::string>> resumenes;
};

const Datos* LeerDatos() {
  static Datos datos;
  static bool leidos = false;
  if (!leidos) {
    leidos = true;
    const char* c = std::getenv("PELMARO_DATOS");
    if (c) {
      datos.carpeta = std::string(c) + "\\";
      std::ifstream f(datos.carpeta + "referencias.tsv");
      std::string nombre, md5, sha1;
      while (f >> nombre >> md5 >> sha1) datos.resumenes[nombre] = {md5, sha1};
    }
  }
  return datos.resumenes.empty() ? nullptr : &datos;
}

#define DATOS_O_FALLAR()                                                               \
  const Datos* datos = LeerDatos();                                                    \
  if (!datos) GTEST_FAIL() << "PELMARO_DATOS must name the folder preparar_datos.sh filled"

std::string Leer(const std::string& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// A script whose subroutine prints the two progress variables after every block.
std::string ConSubrutina(const std::string& lineas, const std::string& cuerpo = "") {
  return lineas + ":Progreso\nEcho \"progress [P] of [M]\"\n" + cuerpo + "Return\n";
}

std::vector<std::string> Progresos(const Host& h) {
  std::vector<std::string> v;
  for (const auto& l : h.lineas)
    if (l.rfind("progress ", 0) == 0) v.push_back(l.substr(9));
  return v;
}

}  // namespace

TEST(Hashes, TextoVacio) {
  Host h;
  h.Reproducir("krMD5Cadena \"\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "d41d8cd98f00b204e9800998ecf8427e");
  h.Reproducir("krSHA1Cadena \"\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
  EXPECT_EQ(h.Var("krUltimoError"), "");
}

TEST(Hashes, TextosYArchivosComoLasHerramientasDeLinux) {
  DATOS_O_FALLAR();
  Host h;
  const auto& texto = datos->resumenes.at("texto.txt");
  std::string bytes = Leer(datos->carpeta + "texto.txt");
  ASSERT_EQ(bytes.size(), 22u);  // accented letters as single bytes
  h.Reproducir("krMD5Cadena \"" + bytes + "\"\nSetVar \"[a]\" \"[krResultadoAccion]\"\nkrSHA1Cadena \"" + bytes + "\"\n");
  EXPECT_EQ(h.Var("a"), texto.first);
  EXPECT_EQ(h.Var("krResultadoAccion"), texto.second);
  for (const char* archivo : {"vacio.bin", "uno-mib.bin", "dos-y-media-mib.bin", "texto.txt"}) {
    SCOPED_TRACE(archivo);
    std::string ruta = datos->carpeta + archivo;
    h.Reproducir("krMD5Archivo \"" + ruta + "\" \"\" \"P\" \"M\"\n");
    EXPECT_EQ(h.Var("krResultadoAccion"), datos->resumenes.at(archivo).first);
    h.Reproducir("krSHA1Archivo \"" + ruta + "\" \"\" \"P\" \"M\"\n");
    EXPECT_EQ(h.Var("krResultadoAccion"), datos->resumenes.at(archivo).second);
  }
}

TEST(Hashes, SecuenciaDeProgreso) {
  DATOS_O_FALLAR();
  struct {
    const char* archivo;
    std::vector<std::string> progresos;
  } casos[] = {
      {"vacio.bin", {}},
      {"uno-mib.bin", {"1048576 of 1048576"}},
      {"dos-y-media-mib.bin", {"1048576 of 2621440", "2097152 of 2621440", "2621440 of 2621440"}},
  };
  for (const auto& c : casos) {
    for (const char* accion : {"krMD5Archivo", "krSHA1Archivo"}) {
      SCOPED_TRACE(std::string(accion) + " " + c.archivo);
      Host h;
      // The subroutine is found without regard to letter case.
      h.Reproducir(ConSubrutina(std::string(accion) + " \"" + datos->carpeta + c.archivo + "\" \"PROGRESO\" \"[P]\" \"[M]\"\n"));
      EXPECT_EQ(Progresos(h), c.progresos);
      EXPECT_EQ(h.Var("M"), std::to_string(Leer(datos->carpeta + c.archivo).size()));
      EXPECT_EQ(h.Var("krResultadoAccion").size(), std::string(accion) == "krMD5Archivo" ? 32u : 40u);
      EXPECT_EQ(h.Var("krUltimoError"), "");
    }
  }
}

TEST(Hashes, SinSubrutinaLasVariablesSeEscribenIgual) {
  DATOS_O_FALLAR();
  for (const char* sub : {"", "NoExiste"}) {
    Host h;
    h.Reproducir(ConSubrutina(std::string("krMD5Archivo \"") + datos->carpeta + "dos-y-media-mib.bin\" \"" + sub +
                              "\" \"P\" \"M\"\n"));
    EXPECT_TRUE(Progresos(h).empty()) << sub;
    EXPECT_EQ(h.Var("P"), "2621440");
    EXPECT_EQ(h.Var("M"), "2621440");
  }
}

TEST(Hashes, ArchivoInexistente) {
  Host h;
  h.Reproducir("SetVar \"[P]\" \"7\"\nkrMD5Archivo \"C:\\no\\existe.bin\" \"\" \"P\" \"M\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "");
  EXPECT_EQ(h.Var("krUltimoError"), "");
  EXPECT_EQ(h.Var("P"), "0");
  EXPECT_FALSE(h.sim->ExisteVariable("M"));
}

TEST(Hashes, ArchivoQueNoSePuedeAbrir) {
  DATOS_O_FALLAR();
  std::string ruta = datos->carpeta + "texto.txt";
  HANDLE bloqueo = CreateFileA(ruta.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(bloqueo, INVALID_HANDLE_VALUE);
  Host h;
  h.Reproducir("krSHA1Archivo \"" + ruta + "\" \"\" \"P\" \"M\"\n");
  CloseHandle(bloqueo);
  EXPECT_EQ(h.Var("krResultadoAccion"), "False");
  EXPECT_EQ(h.Var("krUltimoError").rfind("Excepci\xf3n: \"EFOpenError\". Mensaje: \"Cannot open file \"" + ruta + "\".", 0), 0u)
      << h.Var("krUltimoError");
  EXPECT_EQ(h.Var("P"), "0");
  // The job was freed: the next digest runs.
  h.Reproducir("krMD5Cadena \"\"\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(Hashes, AnidadoContestaOcupado) {
  DATOS_O_FALLAR();
  Host h;
  std::string archivo = datos->carpeta + "dos-y-media-mib.bin";
  h.Reproducir(ConSubrutina("krMD5Archivo \"" + archivo + "\" \"Progreso\" \"P\" \"M\"\n",
                            "krSHA1Archivo \"" + archivo + "\" \"\" \"Q\" \"N\"\nEcho \"nested: [krResultadoAccion]\"\n"
                            "krMD5Cadena \"x\"\nEcho \"nested: [krResultadoAccion]\"\n"));
  int ocupados = 0;
  for (const auto& l : h.lineas) ocupados += l == "nested: Ocupado";
  EXPECT_EQ(ocupados, 6);  // two nested actions in each of the three blocks
  EXPECT_EQ(h.Var("krResultadoAccion"), datos->resumenes.at("dos-y-media-mib.bin").first);
  EXPECT_FALSE(h.sim->ExisteVariable("Q"));  // the nested digest never started
  h.Reproducir("krCancelarHashing\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "False");
}

TEST(Hashes, CancelarDesdeLaSubrutina) {
  DATOS_O_FALLAR();
  Host h;
  h.Reproducir(ConSubrutina("krSHA1Archivo \"" + datos->carpeta + "dos-y-media-mib.bin\" \"Progreso\" \"P\" \"M\"\n",
                            "krCancelarHashing\nEcho \"cancel: [krResultadoAccion]\"\n"));
  EXPECT_EQ(Progresos(h), std::vector<std::string>{"1048576 of 2621440"});  // no block after the cancel
  EXPECT_NE(std::find(h.lineas.begin(), h.lineas.end(), "cancel: True"), h.lineas.end());
  EXPECT_EQ(h.Var("krResultadoAccion"), "Cancelado");
  EXPECT_EQ(h.Var("P"), "0");
  EXPECT_EQ(h.Var("krUltimoError"), "");
}

TEST(Hashes, CancelarSinTrabajo) {
  Host h;
  h.Reproducir("krCancelarHashing\n");
  EXPECT_EQ(h.Var("krResultadoAccion"), "False");
  EXPECT_EQ(h.Var("krUltimoError"), "");
}

// 3 GiB: progress values are true byte counts beyond 2^31, never negative.
TEST(Hashes, ArchivoDe3GiB) {
  DATOS_O_FALLAR();
  Host h;
  h.Reproducir(ConSubrutina("krMD5Archivo \"" + datos->carpeta + "grande.bin\" \"Progreso\" \"P\" \"M\"\n"));
  std::vector<std::string> p = Progresos(h);
  ASSERT_EQ(p.size(), 3072u);
  for (std::size_t i = 0; i < p.size(); ++i)
    ASSERT_EQ(p[i], std::to_string((i + 1) * 1048576ull) + " of 3221225472") << i;
  EXPECT_EQ(h.Var("krResultadoAccion"), datos->resumenes.at("grande.bin").first);
}
