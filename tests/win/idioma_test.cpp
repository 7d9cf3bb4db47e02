// Languages and settings: the stored language applied at load, the catalogues beside the
// library (and the code rule with its two-letter fallback), switching at run time, the
// settings key and the help file rule. The Wine prefix of a test run is its own, so HKCU is
// scratch; every test puts the settings key back as it found it.
#include <windows.h>

#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "core/ansi.h"
#include "core/textos.h"
#include "hostsim/lenguaje.h"
#include "i18n/idioma.h"
#include "i18n/posinstalacion.h"
#include "tests/win/entorno.h"

using prueba::Host;

namespace {

const char* const kClave = nbhost::kClaveAjustes;

struct ValorGuardado {
  DWORD tipo = 0;
  std::string datos;
};

std::optional<ValorGuardado> LeerValor(HKEY clave, const char* nombre) {
  DWORD tipo = 0, n = 0;
  if (RegQueryValueExA(clave, nombre, nullptr, &tipo, nullptr, &n) != ERROR_SUCCESS) return std::nullopt;
  ValorGuardado v{tipo, std::string(n, '\0')};
  RegQueryValueExA(clave, nombre, nullptr, &tipo, reinterpret_cast<BYTE*>(v.datos.data()), &n);
  return v;
}

bool ExisteClave() {
  HKEY h;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kClave, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

void BorrarClave() { RegDeleteKeyA(HKEY_CURRENT_USER, kClave); }

// Writes a value (creating the key): a registry string, or any type with raw bytes.
void Escribir(const char* nombre, const std::string& texto, DWORD tipo = REG_SZ) {
  HKEY h;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kClave, 0, nullptr, 0, KEY_WRITE, nullptr, &h, nullptr), ERROR_SUCCESS);
  std::string datos = tipo == REG_SZ ? texto + '\0' : texto;
  RegSetValueExA(h, nombre, 0, tipo, reinterpret_cast<const BYTE*>(datos.data()), static_cast<DWORD>(datos.size()));
  RegCloseKey(h);
}

void Borrar(const char* nombre) {
  HKEY h;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kClave, 0, KEY_WRITE, &h) != ERROR_SUCCESS) return;
  RegDeleteValueA(h, nombre);
  RegCloseKey(h);
}

DWORD NumeroDeValores() {
  HKEY h;
  DWORD n = 0xFFFFFFFF;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kClave, 0, KEY_READ, &h) != ERROR_SUCCESS) return n;
  RegQueryInfoKeyA(h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &n, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(h);
  return n;
}

// The settings key as it was found, put back when the object goes; the language of this
// program's own catalogue layer goes back to Spanish, as the other tests expect it.
class AjustesGuardados {
 public:
  AjustesGuardados() : existia_(ExisteClave()) {
    HKEY h;
    if (existia_ && RegOpenKeyExA(HKEY_CURRENT_USER, kClave, 0, KEY_READ, &h) == ERROR_SUCCESS) {
      for (const char* n : {"Lenguaje", "DirPlugin"}) valores_[n] = LeerValor(h, n);
      RegCloseKey(h);
    }
  }
  ~AjustesGuardados() {
    if (!existia_) {
      BorrarClave();
    } else {
      for (const auto& [nombre, v] : valores_) {
        if (v) Escribir(nombre.c_str(), v->datos, v->tipo);
        else Borrar(nombre.c_str());
      }
    }
    pelmaro::UseLanguage("es");
  }
  AjustesGuardados(const AjustesGuardados&) = delete;
  AjustesGuardados& operator=(const AjustesGuardados&) = delete;

 private:
  bool existia_;
  std::map<std::string, std::optional<ValorGuardado>> valores_;
};

class Idioma : public ::testing::Test {
 private:
  AjustesGuardados ajustes_;
};

// A .mo file as libintl reads it (no hash table: the entries sorted by identifier).
void EscribirCatalogo(const std::string& ruta, std::map<std::string, std::string> textos) {
  textos[""] = "Content-Type: text/plain; charset=UTF-8\n";
  const std::uint32_t n = static_cast<std::uint32_t>(textos.size());
  std::vector<std::uint32_t> palabras = {0x950412de, 0, n, 28, 28 + 8 * n, 0, 28 + 16 * n};
  std::string cadenas;
  std::uint32_t inicio = 28 + 16 * n;
  std::vector<std::uint32_t> originales, traducciones;
  for (const auto& [id, _] : textos) {
    originales.insert(originales.end(), {static_cast<std::uint32_t>(id.size()), inicio + static_cast<std::uint32_t>(cadenas.size())});
    cadenas += id + '\0';
  }
  for (const auto& [_, tr] : textos) {
    traducciones.insert(traducciones.end(), {static_cast<std::uint32_t>(tr.size()), inicio + static_cast<std::uint32_t>(cadenas.size())});
    cadenas += tr + '\0';
  }
  palabras.insert(palabras.end(), originales.begin(), originales.end());
  palabras.insert(palabras.end(), traducciones.begin(), traducciones.end());
  std::ofstream f(ruta, std::ios::binary);
  f.write(reinterpret_cast<const char*>(palabras.data()), static_cast<std::streamsize>(palabras.size() * 4));
  f << cadenas;
}

void CrearCarpetas(const std::string& ruta) {
  for (std::size_t i = ruta.find('\\', 3); ; i = ruta.find('\\', i + 1)) {
    CreateDirectoryA(ruta.substr(0, i).c_str(), nullptr);
    if (i == std::string::npos) break;
  }
}

std::string Leer(const std::string& ruta) {
  std::ifstream f(ruta, std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  return ss.str();
}

// Connects a fresh simulator to the plug-in at `ruta` (unloaded when it goes).
struct Conexion {
  explicit Conexion(const std::string& ruta) : sim(nbhost::Opciones{}, nullptr) {
    sim.Cargar(ruta);
    identidad = sim.Conectar();
  }
  nbhost::Simulador sim;
  nbhost::Identidad identidad;
};

const char kPistaEs[] = "Todo tipo de acciones para todo tipo de tareas \xfatiles en tus publicaciones.";
const char kPistaEn[] = "All kinds of actions for all kinds of useful tasks in your publications.";
const char kPistaFr[] = "Toutes sortes d'actions pour toutes sortes de t\xe2" "ches utiles dans vos publications.";

}  // namespace

// ---- The catalogue as the host receives it ------------------------------------------------------

// Every row (name, hint, kinds, last index, count) against the stored listing of its language,
// converted to CP1252: the Spanish one is the plug-in's published catalogue.
TEST(Registro, ListadoCompletoPorIdioma) {
  AjustesGuardados ajustes;
  for (const char* idioma : {"es", "en", "fr"}) {
    SCOPED_TRACE(idioma);
    Escribir("Lenguaje", idioma);
    Host h;
    std::string esperado = Leer(prueba::CarpetaPrograma() + "datos\\catalogo-" + idioma + ".tsv");
    ASSERT_FALSE(esperado.empty()) << "no stored listing for " << idioma;
    esperado = pelmaro::ConvertirPagina(esperado, CP_UTF8, 1252);
    std::vector<std::string> lineas;
    std::stringstream ss(esperado);
    for (std::string l; std::getline(ss, l);) lineas.push_back(l);
    const auto& filas = h.sim->Filas();
    ASSERT_EQ(filas.size(), lineas.size());
    for (std::size_t i = 0; i < filas.size(); ++i) {
      const auto& f = filas[i];
      std::string tipos;
      for (std::size_t k = 0; k < f.tipos.size(); ++k) tipos += (k ? "," : "") + std::to_string(f.tipos[k]);
      std::string recibida = std::to_string(f.id) + "\t" + f.nombre + "\t" + f.pista + "\t" + tipos + "\t" +
                             std::to_string(f.ultimo) + "\t" + std::to_string(f.cuenta);
      EXPECT_EQ(recibida, lineas[i]) << "row " << i;
    }
  }
}

// ---- The stored language at load ------------------------------------------------------------------

TEST_F(Idioma, PrimeraCargaCreaLaClaveVaciaYEligeEspanol) {
  BorrarClave();
  ASSERT_FALSE(ExisteClave());
  Host h;
  EXPECT_TRUE(ExisteClave());
  EXPECT_EQ(NumeroDeValores(), 0u) << "the plug-in only creates the key";
  EXPECT_EQ(h.identidad.pista, kPistaEs);
  BorrarClave();
  EXPECT_EQ(pelmaro::TPosInstalacion::ObtenerLenguaje("Pelmaro"), "es");
  EXPECT_TRUE(ExisteClave());
}

TEST_F(Idioma, ValoresQueNoSonTextoCuentanComoAusentes) {
  Escribir("Lenguaje", std::string("fr\0\0", 4), REG_DWORD);
  Escribir("DirPlugin", std::string("C:\\\0", 4), REG_BINARY);
  EXPECT_EQ(pelmaro::TPosInstalacion::ObtenerLenguaje("Pelmaro"), "es");
  EXPECT_EQ(pelmaro::TPosInstalacion::ObtenerDirPlugin("Pelmaro"), "");
  Host h;
  EXPECT_EQ(h.identidad.pista, kPistaEs);
}

// Error texts and the identity in the stored language; accents arrive as CP1252 bytes.
TEST_F(Idioma, TextosDeErrorEnElIdiomaGuardado) {
  struct {
    const char* idioma;
    const char* pista;
    const char* cifrado;
    const char* base64;
  } casos[] = {
      {"es", kPistaEs, "Excepci\xf3n: \"Exception\". Mensaje: \"No existe el algoritmo de cifrado n\xfamero 19\".",
       "Excepci\xf3n: \"EConvertError\". Mensaje: \"El texto no est\xe1 en Base64: el car\xe1" "cter 5 no pertenece a su alfabeto\"."},
      {"en", kPistaEn, "Exception: \"Exception\". Message: \"There is no cipher algorithm number 19\".",
       "Exception: \"EConvertError\". Message: \"The text is not Base64: character 5 is not part of its alphabet\"."},
      {"fr", kPistaFr, "Exception : \"Exception\". Message : \"Il n'existe pas d'algorithme de chiffrement num\xe9ro 19\".",
       "Exception : \"EConvertError\". Message : \"Le texte n'est pas en Base64 : le caract\xe8re 5 n'appartient pas \xe0 son alphabet\"."},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.idioma);
    Escribir("Lenguaje", c.idioma);
    Host h;
    EXPECT_EQ(h.identidad.titulo, "Pelmaro");
    EXPECT_EQ(h.identidad.pista, c.pista);
    h.Reproducir("krCifrarCadena \"a\" \"x\" \"19\" \"2\" \"False\"\n");
    EXPECT_EQ(h.Var("krUltimoError"), c.cifrado);
    h.Reproducir("krCifrarCadena \"Zm9v!mFy\" \"x\" \"1\" \"2\" \"True\"\n");
    EXPECT_EQ(h.Var("krUltimoError"), c.base64);
  }
}

// A language switched while the library stays loaded: the next fetch is in the new language,
// also for texts already fetched (libintl keeps what it found until told otherwise).
TEST_F(Idioma, CambioEnTiempoDeEjecucion) {
  using pelmaro::txt::kParametrosIncorrectos;
  pelmaro::UseLanguage("es");
  EXPECT_EQ(pelmaro::Traducir(kParametrosIncorrectos), "Los par\xc3\xa1metros de la acci\xc3\xb3n no son correctos");
  EXPECT_EQ(pelmaro::Texto(kParametrosIncorrectos), "Los par\xe1metros de la acci\xf3n no son correctos");
  pelmaro::UseLanguage("fr");
  EXPECT_EQ(pelmaro::GetCurrentLanguage(), "fr");
  EXPECT_EQ(pelmaro::Traducir(kParametrosIncorrectos), "Les param\xc3\xa8tres de l'action ne sont pas corrects");
  EXPECT_EQ(pelmaro::Texto(kParametrosIncorrectos), "Les param\xe8tres de l'action ne sont pas corrects");
  pelmaro::UseLanguage("en");
  EXPECT_EQ(pelmaro::Traducir(kParametrosIncorrectos), "The action's parameters are not valid");
  EXPECT_EQ(pelmaro::Traducir(""), "");
  pelmaro::UseLanguage("");
  std::string sistema = pelmaro::GetCurrentLanguage();
  EXPECT_EQ(sistema.size(), 2u) << sistema;

  // The plug-in itself: the same loaded library connected again after the choice changed.
  Escribir("Lenguaje", "es");
  Host es;
  es.Reproducir("krCifrarCadena \"a\" \"x\" \"19\" \"2\" \"False\"\n");
  EXPECT_EQ(es.Var("krUltimoError").rfind("Excepci\xf3n: ", 0), 0u) << es.Var("krUltimoError");
  Escribir("Lenguaje", "fr");
  Host fr;
  fr.Reproducir("krCifrarCadena \"a\" \"x\" \"19\" \"2\" \"False\"\n");
  EXPECT_EQ(fr.Var("krUltimoError").rfind("Exception : ", 0), 0u) << fr.Var("krUltimoError");
}

// A copy of the plug-in in a folder of its own, with only the catalogues a case needs: the
// catalogue folder is the library's, and the code's own file wins over its first two letters.
TEST_F(Idioma, CatalogoSegunElCodigoYLaCarpetaDeLaBiblioteca) {
  std::string carpeta = prueba::CarpetaDeLaPrueba("idioma");
  std::string locale = carpeta + "\\locale\\";
  for (const char* c : {"es_ES", "es", "fr"}) CrearCarpetas(locale + c + "\\LC_MESSAGES");
  const std::string pista = pelmaro::txt::kPistaPlugin;
  EscribirCatalogo(locale + "es_ES\\LC_MESSAGES\\default.mo", {{pista, "es_ES: " + pista}});
  EscribirCatalogo(locale + "es\\LC_MESSAGES\\default.mo", {{pista, "es: " + pista}});
  ASSERT_TRUE(CopyFileA((prueba::CarpetaPrograma() + "locale\\fr\\LC_MESSAGES\\default.mo").c_str(),
                        (locale + "fr\\LC_MESSAGES\\default.mo").c_str(), FALSE));
  std::string plugin = carpeta + "\\PelmaroD.nbp";
  ASSERT_TRUE(CopyFileA(prueba::RutaPlugin().c_str(), plugin.c_str(), FALSE));

  const std::string es = kPistaEs;
  struct {
    std::optional<std::string> lenguaje;  // nullopt: a DWORD value
    std::string pista;
  } casos[] = {
      {"en", es},                      // no English catalogue here: Spanish
      {"es_ES", "es_ES: " + es},       // the code's own catalogue
      {"es_AR", "es: " + es},          // none for the code: its first two letters
      {"fr_FR", kPistaFr},
      {std::nullopt, "es: " + es},     // a DWORD counts as absent: "es"
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.lenguaje.value_or("(DWORD)"));
    if (c.lenguaje) Escribir("Lenguaje", *c.lenguaje);
    else Escribir("Lenguaje", std::string("en\0\0", 4), REG_DWORD);
    Conexion x(plugin);
    EXPECT_EQ(x.identidad.pista, c.pista);
  }
  // The library in the test program's folder has an English catalogue.
  Escribir("Lenguaje", "en");
  Conexion propia(prueba::RutaPlugin());
  EXPECT_EQ(propia.identidad.pista, kPistaEn);
}

// nbhost --language=CODE stores the code before loading and says which catalogue it selects.
TEST_F(Idioma, NbhostConLenguaje) {
  prueba::Proceso p = prueba::EjecutarNbhost("--language=fr --catalog", "");
  EXPECT_EQ(p.codigo, 0u) << p.salida;
  EXPECT_NE(p.salida.find("language: fr, catalogue " + prueba::CarpetaPrograma() + "locale\\fr\\LC_MESSAGES\\default.mo\n"),
            std::string::npos) << p.salida;
  EXPECT_NE(p.salida.find("\n0\tSyst\xc3\xa8me\t\t0\t0\t0\n"), std::string::npos) << p.salida;
  EXPECT_NE(p.salida.find("hint: Toutes sortes d'actions"), std::string::npos) << p.salida;
  p = prueba::EjecutarNbhost("--language=de", "");
  EXPECT_NE(p.salida.find("language: de, no catalogue (Spanish texts)\n"), std::string::npos) << p.salida;
  EXPECT_NE(p.salida.find("hint: Todo tipo de acciones"), std::string::npos) << p.salida;
}

// ---- Settings and the help file ------------------------------------------------------------------

TEST_F(Idioma, GuardarLenguajeSoloEnUnaClaveQueExiste) {
  BorrarClave();
  pelmaro::TPosInstalacion::GuardarLenguaje("Pelmaro", "fr");
  EXPECT_FALSE(ExisteClave()) << "storing never creates the key";
  EXPECT_EQ(pelmaro::TPosInstalacion::ObtenerLenguaje("Pelmaro"), "es");
  pelmaro::TPosInstalacion::GuardarLenguaje("Pelmaro", "fr");
  EXPECT_EQ(pelmaro::TPosInstalacion::ObtenerLenguaje("Pelmaro"), "fr");
  HKEY h;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kClave, 0, KEY_READ, &h), ERROR_SUCCESS);
  auto v = LeerValor(h, "Lenguaje");
  RegCloseKey(h);
  ASSERT_TRUE(v);
  EXPECT_EQ(v->tipo, static_cast<DWORD>(REG_SZ));
}

TEST_F(Idioma, RutaDeAyuda) {
  struct {
    std::optional<std::string> dirPlugin;
    const char* idioma;
    const char* ruta;
  } casos[] = {
      {std::nullopt, "es", "ayuda\\es\\Pelmaro.chm"},  // relative: the current folder
      {"C:\\Korvane\\", "fr", "C:\\Korvane\\ayuda\\fr\\Pelmaro.chm"},
      {"C:\\Korvane", "en", "C:\\Korvaneayuda\\en\\Pelmaro.chm"},  // joined as stored
      {"", "es_ES", "ayuda\\es_ES\\Pelmaro.chm"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.ruta);
    if (c.dirPlugin) Escribir("DirPlugin", *c.dirPlugin);
    else Borrar("DirPlugin");
    pelmaro::UseLanguage(c.idioma);
    EXPECT_EQ(pelmaro::TPosInstalacion::RutaAyuda("Pelmaro"), c.ruta);
  }
}

namespace {
std::vector<nbhost::CajaMensaje> gCajas;
int WINAPI CajaDeAyuda(HWND dueno, LPCSTR texto, LPCSTR titulo, UINT tipo) {
  gCajas.push_back({dueno, texto, titulo, tipo});
  return IDOK;
}
}  // namespace

TEST_F(Idioma, AyudaQueFaltaMuestraElAvisoDelLlamador) {
  void* anterior = nullptr;
  ASSERT_TRUE(nbhost::EngancharImportacion(GetModuleHandleA(nullptr), "user32.dll", "MessageBoxA",
                                           reinterpret_cast<void*>(&CajaDeAyuda), &anterior));
  gCajas.clear();
  std::string carpeta = prueba::CarpetaDeLaPrueba("ayuda") + "\\";
  CrearCarpetas(carpeta + "ayuda\\fr");
  Escribir("DirPlugin", carpeta);
  pelmaro::UseLanguage("fr");
  const char kAviso[] = "No se encontr\xf3 el archivo de ayuda. Por favor, reinstala el Plugin.";
  pelmaro::TPosInstalacion::MostrarAyuda("Pelmaro", kAviso, 7);
  ASSERT_EQ(gCajas.size(), 1u);
  EXPECT_EQ(gCajas[0].texto, kAviso);
  EXPECT_EQ(gCajas[0].titulo, "Pelmaro");
  EXPECT_EQ(gCajas[0].tipo, static_cast<unsigned>(MB_OK | MB_ICONWARNING));
  EXPECT_EQ(gCajas[0].dueno, reinterpret_cast<void*>(GetActiveWindow()));
  // A file at the path (not a real help file here): it goes to HTML Help, no box.
  std::ofstream(carpeta + "ayuda\\fr\\Pelmaro.chm", std::ios::binary) << "no es un chm";
  pelmaro::TPosInstalacion::MostrarAyuda("Pelmaro", kAviso, 7);
  EXPECT_EQ(gCajas.size(), 1u);
  nbhost::EngancharImportacion(GetModuleHandleA(nullptr), "user32.dll", "MessageBoxA", anterior);
}
