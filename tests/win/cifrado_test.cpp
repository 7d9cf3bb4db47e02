// Enciphering texts and files through the actions: round trips, the errors the publication
// sees, and what is left on disk.
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>

#include "actions/hashes/cifrado.h"
#include "tests/win/entorno.h"

using prueba::Host;

namespace {

class Cifrado : public ::testing::Test {
 protected:
  void SetUp() override {
    carpeta_ = prueba::CarpetaDeLaPrueba("cifrado") + "\\";
    CreateDirectoryA(carpeta_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::string& f : creados_) DeleteFileA(f.c_str());
    RemoveDirectoryA(carpeta_.c_str());
  }
  std::string Ruta(const std::string& nombre) {
    creados_.push_back(carpeta_ + nombre);
    return carpeta_ + nombre;
  }
  static void Escribir(const std::string& ruta, const std::string& datos) {
    std::ofstream(ruta, std::ios::binary) << datos;
  }
  static std::string Leer(const std::string& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
  }
  static bool Existe(const std::string& ruta) { return GetFileAttributesA(ruta.c_str()) != INVALID_FILE_ATTRIBUTES; }
  std::string R() const { return h_.Var("krResultadoAccion"); }
  std::string E() const { return h_.Var("krUltimoError"); }

  Host h_;
  std::string carpeta_;
  std::vector<std::string> creados_;
};

}  // namespace

TEST_F(Cifrado, TextoIdaYVuelta) {
  const std::string texto = "Hola, se\xf1or. \xbfQu\xe9 tal?";
  for (const char* alg : {"0", "9", "12", "15", "17"}) {
    SCOPED_TRACE(alg);
    h_.Reproducir(std::string("krCifrarCadena \"") + texto + "\" \"clave\" \"" + alg + "\" \"2\" \"False\"\n");
    std::string b64 = R();
    EXPECT_EQ(b64.size(), 32u);  // 22 bytes in Base64
    EXPECT_EQ(E(), "");
    h_.Reproducir("krCifrarCadena \"" + b64 + "\" \"clave\" \"" + alg + "\" \"2\" \"Checked\"\n");
    EXPECT_EQ(R(), texto);
  }
  // Anything but exactly True or Checked enciphers.
  h_.Reproducir("krCifrarCadena \"abc\" \"clave\" \"15\" \"2\" \"true\"\n");
  EXPECT_EQ(R().size(), 4u);
  EXPECT_NE(R(), "abc");
}

TEST_F(Cifrado, TextoDescifradoLlegaHastaElCero) {
  // CFB-8: changing enciphered byte 1 to (byte 1 XOR 'b') deciphers byte 1 to zero and leaves
  // byte 0 as it was. The host receives only the text before the zero.
  h_.Reproducir("krCifrarCadena \"abc\" \"clave\" \"15\" \"2\" \"False\"\n");
  std::string c = pelmaro::cifrado::Base64Decodificar(R());
  ASSERT_EQ(c.size(), 3u);
  c[1] = static_cast<char>(c[1] ^ 'b');
  h_.Reproducir("krCifrarCadena \"" + pelmaro::cifrado::Base64Codificar(c) + "\" \"clave\" \"15\" \"2\" \"True\"\n");
  EXPECT_EQ(R(), "a");
  EXPECT_EQ(E(), "");
}

TEST_F(Cifrado, ErroresDeLosNumerosYDelTexto) {
  struct {
    const char* parametros;
    const char* error;
  } casos[] = {
      {"\"a\" \"x\" \"uno\" \"2\" \"False\"", "Excepci\xf3n: \"EConvertError\". Mensaje: \"'uno' is not a valid integer value\"."},
      {"\"a\" \"x\" \"1\" \"2.5\" \"False\"", "Excepci\xf3n: \"EConvertError\". Mensaje: \"'2.5' is not a valid integer value\"."},
      {"\"a\" \"x\" \"19\" \"2\" \"False\"", "Excepci\xf3n: \"Exception\". Mensaje: \"No existe el algoritmo de cifrado n\xfamero 19\"."},
      {"\"a\" \"x\" \"1\" \"10\" \"False\"", "Excepci\xf3n: \"Exception\". Mensaje: \"No existe el algoritmo de resumen n\xfamero 10\"."},
      {"\"Zm9v!mFy\" \"x\" \"1\" \"2\" \"True\"",
       "Excepci\xf3n: \"EConvertError\". Mensaje: \"El texto no est\xe1 en Base64: el car\xe1" "cter 5 no pertenece a su alfabeto\"."},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.parametros);
    h_.Reproducir(std::string("krCifrarCadena ") + c.parametros + "\n");
    EXPECT_EQ(R(), "False");
    EXPECT_EQ(E(), c.error);
  }
}

TEST_F(Cifrado, ArchivosIdaYVuelta) {
  std::mt19937 azar(3);
  for (std::size_t n : {0u, 5u, 16u, 8192u, 8193u, 20000u}) {
    SCOPED_TRACE(n);
    std::string datos(n, '\0');
    for (auto& c : datos) c = static_cast<char>(azar());
    std::string origen = Ruta("o" + std::to_string(n)), cifrado = Ruta("c" + std::to_string(n)),
                vuelta = Ruta("v" + std::to_string(n));
    Escribir(origen, datos);
    Escribir(cifrado, "contenido anterior, m\xe1s largo que algunos de los resultados");
    h_.Reproducir("krCifrarArchivo \"" + origen + "\" \"" + cifrado + "\" \"clave\" \"16\" \"6\" \"False\"\n");
    EXPECT_EQ(R(), "True");
    EXPECT_EQ(Leer(cifrado).size(), n);  // replaced, exactly as long as the source
    if (n >= 16) {
      EXPECT_NE(Leer(cifrado), datos);
    }
    h_.Reproducir("krCifrarArchivo \"" + cifrado + "\" \"" + vuelta + "\" \"clave\" \"16\" \"6\" \"True\"\n");
    EXPECT_EQ(R(), "True");
    EXPECT_EQ(Leer(vuelta), datos);
  }
}

TEST_F(Cifrado, ArchivoInexistenteYMismaRuta) {
  std::string destino = Ruta("d.bin");
  h_.Reproducir("krCifrarArchivo \"" + carpeta_ + "no-existe.bin\" \"" + destino + "\" \"k\" \"0\" \"2\" \"False\"\n");
  EXPECT_EQ(R(), "False");
  EXPECT_EQ(E(), "");
  EXPECT_FALSE(Existe(destino));

  std::string mismo = Ruta("mismo.bin");
  Escribir(mismo, "datos que deben quedar");
  h_.Reproducir("krCifrarArchivo \"" + mismo + "\" \"" + mismo + "\" \"k\" \"0\" \"2\" \"False\"\n");
  EXPECT_EQ(R(), "False");
  EXPECT_EQ(E().rfind("Excepci\xf3n: \"EFCreateError\". Mensaje: \"Cannot create file \"" + mismo + "\".", 0), 0u) << E();
  EXPECT_EQ(Leer(mismo), "datos que deben quedar");
}

// A run that fails after the destination was created leaves no destination behind.
TEST_F(Cifrado, FalloNoDejaDestinoAMedias) {
  std::string origen = Ruta("o.bin"), destino = Ruta("d.bin");
  Escribir(origen, std::string(10000, 'x'));
  Escribir(destino, "viejo");
  h_.Reproducir("krCifrarArchivo \"" + origen + "\" \"" + destino + "\" \"k\" \"77\" \"2\" \"False\"\n");
  EXPECT_EQ(R(), "False");
  EXPECT_EQ(E(), "Excepci\xf3n: \"Exception\". Mensaje: \"No existe el algoritmo de cifrado n\xfamero 77\".");
  EXPECT_FALSE(Existe(destino));
  EXPECT_EQ(Leer(origen), std::string(10000, 'x'));
}

TEST_F(Cifrado, ArchivoDe4GiBSeRechaza) {
  const char* datos = std::getenv("PELMARO_DATOS");
  ASSERT_NE(datos, nullptr) << "PELMARO_DATOS must name the folder preparar_datos.sh filled";
  std::string origen = std::string(datos) + "\\cuatro-gib.bin", destino = Ruta("d.bin");
  h_.Reproducir("krCifrarArchivo \"" + origen + "\" \"" + destino + "\" \"k\" \"15\" \"2\" \"False\"\n");
  EXPECT_EQ(R(), "False");
  EXPECT_EQ(E(), "Excepci\xf3n: \"Exception\". Mensaje: \"El archivo \"" + origen + "\" ocupa 4 GiB o m\xe1s: no puede cifrarse\".");
  EXPECT_FALSE(Existe(destino));
}
