// The INI file actions on real files through the Windows profile functions.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "tests/win/entorno.h"

using prueba::Host;

namespace {

class Ini : public ::testing::Test {
 protected:
  void SetUp() override {
    carpeta_ = prueba::CarpetaDeLaPrueba("ini") + "\\";
    CreateDirectoryA(carpeta_.c_str(), nullptr);
    archivo_ = carpeta_ + "prueba.ini";
    DeleteFileA(archivo_.c_str());
  }
  void TearDown() override {
    DeleteFileA(archivo_.c_str());
    RemoveDirectoryA(carpeta_.c_str());
  }

  void Escribir(const std::string& contenido) {
    std::ofstream(archivo_, std::ios::binary) << contenido;
  }
  std::string Contenido() const {
    std::ifstream f(archivo_, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
  }
  bool Existe() const { return GetFileAttributesA(archivo_.c_str()) != INVALID_FILE_ATTRIBUTES; }

  // Plays one action on the test file: `resto` are the parameters after the file name.
  void Accion(const std::string& accion, const std::string& resto) {
    h_.sim->OlvidarRegistros();
    h_.Reproducir(accion + " \"" + archivo_ + "\" " + resto + "\n");
    ASSERT_TRUE(h_.sim->Faltas().empty()) << h_.sim->Faltas().front();
  }
  std::string R() const { return h_.Var("krResultadoAccion"); }
  std::string E() const { return h_.Var("krUltimoError"); }
  std::map<long, std::string> Lista() const { return h_.sim->Elementos("krResultadoAccion"); }

  Host h_;
  std::string carpeta_, archivo_;
};

const char kMuestra[] =
    "[vacia]\r\n"
    "[llena]\r\n"
    "uno=1\r\n"
    "Clave=valor\r\n"
    "formula=a=b+c\r\n"
    "[binario]\r\n"
    "mayus=616263\r\n"
    "minus=6a6b6C\r\n"
    "impar=6162633\r\n"
    "vacio=\r\n"
    "roto=61zz62\r\n";

}  // namespace

TEST_F(Ini, LecturasYExistencia) {
  Escribir(kMuestra);
  struct {
    const char* accion;
    const char* parametros;
    const char* resultado;
  } casos[] = {
      {"krLeerIni", "\"llena\" \"uno\" \"d\"", "1"},
      {"krLeerIni", "\"LLENA\" \"clave\" \"d\"", "valor"},
      {"krLeerIni", "\"llena\" \"falta\" \"por defecto\"", "por defecto"},
      {"krLeerIni", "\"no hay\" \"uno\" \"\"", ""},
      {"krLeerIni", "\"llena\" \"formula\" \"\"", "a=b+c"},
      {"krExisteValorIni", "\"llena\" \"CLAVE\"", "True"},
      {"krExisteValorIni", "\"llena\" \"falta\"", "False"},
      {"krExisteValorIni", "\"vacia\" \"uno\"", "False"},
      {"krExisteSeccionIni", "\"vacia\"", "False"},  // a header without keys counts as absent
      {"krExisteSeccionIni", "\"llena\"", "True"},
      {"krExisteSeccionIni", "\"nada\"", "False"},
      {"krLeerBinarioIni", "\"binario\" \"mayus\" \"d\"", "abc"},
      {"krLeerBinarioIni", "\"binario\" \"minus\" \"d\"", "jkl"},
      {"krLeerBinarioIni", "\"binario\" \"impar\" \"d\"", "abc"},  // odd last character ignored
      {"krLeerBinarioIni", "\"binario\" \"vacio\" \"d\"", ""},     // exists: empty, not the default
      {"krLeerBinarioIni", "\"binario\" \"roto\" \"d\"", "a"},     // stops at the first bad pair
      {"krLeerBinarioIni", "\"binario\" \"falta\" \"6162\"", "6162"},  // the default, not decoded
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(std::string(c.accion) + " " + c.parametros);
    Accion(c.accion, c.parametros);
    EXPECT_EQ(R(), c.resultado);
    EXPECT_EQ(E(), "");
  }
  EXPECT_EQ(Contenido(), kMuestra) << "reading changed the file";
}

TEST_F(Ini, Listas) {
  Escribir(kMuestra);
  Accion("krSeccionesIni", "");
  EXPECT_EQ(Lista(), (std::map<long, std::string>{{0, "vacia"}, {1, "llena"}, {2, "binario"}}));
  EXPECT_EQ(R(), "");
  Accion("krSeccionIni", "\"llena\"");
  EXPECT_EQ(Lista(), (std::map<long, std::string>{{0, "uno"}, {1, "Clave"}, {2, "formula"}}));
  Accion("krValoresSeccionIni", "\"llena\"");
  EXPECT_EQ(Lista(), (std::map<long, std::string>{{0, "1"}, {1, "valor"}, {2, "a=b+c"}}));
  for (const char* vacia : {"\"vacia\"", "\"nada\""}) {
    Accion("krSeccionIni", vacia);
    EXPECT_EQ(R(), "False");
    EXPECT_TRUE(Lista().empty());
    Accion("krValoresSeccionIni", vacia);
    EXPECT_EQ(R(), "False");
    EXPECT_EQ(E(), "");
  }
}

TEST_F(Ini, ArchivoInexistente) {
  struct {
    const char* accion;
    const char* parametros;
    const char* resultado;
  } casos[] = {
      {"krSeccionesIni", "", "False"},         {"krSeccionIni", "\"s\"", "False"},
      {"krValoresSeccionIni", "\"s\"", "False"}, {"krLeerIni", "\"s\" \"k\" \"def\"", "def"},
      {"krExisteValorIni", "\"s\" \"k\"", "False"}, {"krExisteSeccionIni", "\"s\"", "False"},
      {"krLeerBinarioIni", "\"s\" \"k\" \"def\"", "def"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.accion);
    Accion(c.accion, c.parametros);
    EXPECT_EQ(R(), c.resultado);
    EXPECT_EQ(E(), "");
    EXPECT_FALSE(Existe());
  }
}

TEST_F(Ini, BorradosQueNoEncuentranNadaNoTocanElArchivo) {
  Escribir(kMuestra);
  for (const char* p : {"\"llena\" \"falta\"", "\"nada\" \"uno\""}) {
    Accion("krBorrarClaveIni", p);
    EXPECT_EQ(R(), "True");
  }
  for (const char* p : {"\"nada\"", "\"vacia\""}) {
    Accion("krVaciarSeccionIni", p);
    EXPECT_EQ(R(), "True");
  }
  EXPECT_EQ(Contenido(), kMuestra);
}

TEST_F(Ini, EscrituraYBorrado) {
  Escribir(kMuestra);
  Accion("krEscribirIni", "\"nueva\" \"k\" \"v\"");
  EXPECT_EQ(R(), "True");
  Accion("krLeerIni", "\"nueva\" \"k\" \"\"");
  EXPECT_EQ(R(), "v");
  Accion("krBorrarClaveIni", "\"llena\" \"uno\"");
  EXPECT_EQ(R(), "True");
  Accion("krExisteValorIni", "\"llena\" \"uno\"");
  EXPECT_EQ(R(), "False");

  // Emptying keeps the header; the section then counts as absent.
  Accion("krVaciarSeccionIni", "\"llena\"");
  EXPECT_EQ(R(), "True");
  EXPECT_NE(Contenido().find("[llena]"), std::string::npos);
  EXPECT_EQ(Contenido().find("formula"), std::string::npos);
  Accion("krExisteSeccionIni", "\"llena\"");
  EXPECT_EQ(R(), "False");

  Accion("krBorrarSeccionIni", "\"binario\"");
  EXPECT_EQ(R(), "True");
  EXPECT_EQ(Contenido().find("binario"), std::string::npos);
  EXPECT_EQ(Contenido().find("mayus"), std::string::npos);
  EXPECT_EQ(E(), "");
}

TEST_F(Ini, BinarioHastaElLimite) {
  // Letters and digits only: a script text cannot hold a double quote or a bracket pair.
  const char kAlfabeto[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  std::string valor;
  for (int i = 0; i < 1023; ++i) valor += kAlfabeto[i % 62];
  Accion("krEscribirBinarioIni", "\"s\" \"k\" \"" + valor + "\"");
  EXPECT_EQ(R(), "True");
  std::string contenido = Contenido();
  std::size_t igual = contenido.find("k=");
  ASSERT_NE(igual, std::string::npos);
  std::string guardado = contenido.substr(igual + 2, contenido.find_first_of("\r\n", igual) - igual - 2);
  EXPECT_EQ(guardado.size(), 2046u);
  EXPECT_EQ(guardado.substr(0, 6), "303132");
  Accion("krLeerBinarioIni", "\"s\" \"k\" \"\"");
  EXPECT_EQ(R(), valor);

  // One more character is refused before anything is opened.
  std::string antes = Contenido();
  Accion("krEscribirBinarioIni", "\"s\" \"otra\" \"" + valor + "x\"");
  EXPECT_EQ(R(), "DATA_LENGTH_EXCEDED");
  EXPECT_EQ(E(), "");
  EXPECT_EQ(Contenido(), antes);

  Accion("krEscribirBinarioIni", "\"s\" \"vacia\" \"\"");
  EXPECT_EQ(R(), "True");
  EXPECT_NE(Contenido().find("vacia=\r\n"), std::string::npos);
  Accion("krEscribirBinarioIni", "\"s\" \"abc\" \"abc\"");
  EXPECT_NE(Contenido().find("abc=616263"), std::string::npos);
}

TEST_F(Ini, ValorLargoSeCortaA2047) {
  std::string largo(3000, 'x');
  largo[2046] = 'Y';
  Escribir("[s]\r\nk=" + largo + "\r\n");
  Accion("krLeerIni", "\"s\" \"k\" \"\"");
  EXPECT_EQ(R().size(), 2047u);
  EXPECT_EQ(R().back(), 'Y');
}

TEST_F(Ini, AcentosByteAByte) {
  const std::string valor = "Se\xf1or \xc1\xc9\xcd\xd3\xda \xe7\xfc \x80";
  Accion("krEscribirIni", "\"secci\xf3n\" \"a\xf1o\" \"" + valor + "\"");
  EXPECT_EQ(R(), "True");
  EXPECT_NE(Contenido().find("[secci\xf3n]"), std::string::npos);
  EXPECT_NE(Contenido().find("a\xf1o=" + valor), std::string::npos);
  Accion("krLeerIni", "\"secci\xf3n\" \"a\xf1o\" \"\"");
  EXPECT_EQ(R(), valor);
  Accion("krEscribirBinarioIni", "\"b\" \"k\" \"" + valor + "\"");
  EXPECT_NE(Contenido().find("k=5365F16F7220C1C9CDD3DA20E7FC2080"), std::string::npos);
  Accion("krLeerBinarioIni", "\"b\" \"k\" \"\"");
  EXPECT_EQ(R(), valor);
}

TEST_F(Ini, EscrituraRechazadaDaElTextoDeExcepcion) {
  // A file in a folder that does not exist, and a file name that is a folder.
  std::string carpetaComoArchivo = carpeta_ + "carpeta";
  CreateDirectoryA(carpetaComoArchivo.c_str(), nullptr);
  std::vector<std::string> destinos = {carpeta_ + "no\\existe\\x.ini", carpetaComoArchivo};
  // A file the system will not write, prepared by tests/win/preparar_datos.sh.
  std::string soloLectura;
  if (const char* datos = std::getenv("PELMARO_DATOS")) soloLectura = std::string(datos) + "\\solo-lectura.ini";
  bool conSoloLectura = !soloLectura.empty() && GetFileAttributesA(soloLectura.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (conSoloLectura) destinos.push_back(soloLectura);
  else ADD_FAILURE() << "no write-protected INI file was prepared (PELMARO_DATOS)";
  for (const std::string& destino : destinos) {
    SCOPED_TRACE(destino);
    struct {
      const char* accion;
      const char* parametros;
    } escrituras[] = {{"krEscribirIni", "\"s\" \"k\" \"v\""},
                      {"krEscribirBinarioIni", "\"s\" \"k\" \"v\""},
                      {"krBorrarSeccionIni", "\"s\""}};
    for (const auto& c : escrituras) {
      SCOPED_TRACE(c.accion);
      h_.Reproducir(std::string(c.accion) + " \"" + destino + "\" " + c.parametros + "\n");
      EXPECT_EQ(R(), "False");
      EXPECT_EQ(E(), "Excepci\xf3n: \"EIniFileException\". Mensaje: \"Unable to write to " + destino + "\".");
    }
    // Deleting a key ignores what the system answers.
    h_.Reproducir("krBorrarClaveIni \"" + destino + "\" \"s\" \"k\"\n");
    EXPECT_EQ(R(), "True");
  }
  RemoveDirectoryA(carpetaComoArchivo.c_str());
  if (conSoloLectura) {
    std::ifstream f(soloLectura, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    EXPECT_EQ(ss.str(), "[s]\r\nk=v\r\n") << "the refused writes changed the file";
  }
}
