// TKorUtiles against a fake host: interface requests, lists, subroutines, variables.
#include <windows.h>

#include <functional>
#include <map>
#include <new>
#include <stdexcept>

#include "core/errores.h"
#include "core/ejecucion.h"
#include "core/korutiles.h"
#include "core/texto.h"
#include "hostsim/simulador.h"
#include "i18n/idioma.h"
#include "tests/win/entorno.h"

using pelmaro::Host;
using pelmaro::TKorUtiles;

namespace {

struct Falso {
  std::map<std::int32_t, const char*> respuestas;  // nullptr: null answer
  std::vector<std::int32_t> peticiones;
  std::vector<std::string> lineas;
  std::map<std::string, std::string> variables;
  int bloquesVivos = 0;
  std::vector<std::string> cajas;
} gFalso;

char* Bloque(const std::string& t) {
  char* b = static_cast<char*>(GlobalAlloc(0, t.size() + 1));
  memcpy(b, t.c_str(), t.size() + 1);
  ++gFalso.bloquesVivos;
  return b;
}

void NB_REGISTRO Acceso(std::int32_t codigo, char** ranura) {
  gFalso.peticiones.push_back(codigo);
  auto it = gFalso.respuestas.find(codigo);
  *ranura = (it == gFalso.respuestas.end() || !it->second) ? nullptr : Bloque(it->second);
}
void NB_REGISTRO Guion(const char* linea) { gFalso.lineas.push_back(linea); }
void NB_REGISTRO Leer(const char* nombre, char** ranura) {
  auto it = gFalso.variables.find(nombre);
  *ranura = it == gFalso.variables.end() ? nullptr : Bloque(it->second);
}
void NB_REGISTRO Escribir(const char* nombre, const char* valor) { gFalso.variables[nombre] = valor; }

// This program's own import of GlobalFree is redirected here, so the real one is looked up.
HGLOBAL WINAPI LiberarContando(HGLOBAL b) {
  static auto real = reinterpret_cast<HGLOBAL(WINAPI*)(HGLOBAL)>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GlobalFree")));
  --gFalso.bloquesVivos;
  return real(b);
}
int WINAPI Caja(HWND, LPCSTR texto, LPCSTR titulo, UINT tipo) {
  gFalso.cajas.push_back(std::string(titulo) + "|" + texto + "|" + std::to_string(tipo & MB_ICONMASK));
  return IDOK;
}

class KorUtiles : public ::testing::Test {
 protected:
  void SetUp() override {
    // The texts these helpers show are checked in Spanish, whatever the system's language.
    pelmaro::UseLanguage("es");
    static bool enganchado = false;
    if (!enganchado) {
      HMODULE yo = GetModuleHandleA(nullptr);
      nbhost::EngancharImportacion(yo, "kernel32.dll", "GlobalFree", reinterpret_cast<void*>(&LiberarContando));
      nbhost::EngancharImportacion(yo, "user32.dll", "MessageBoxA", reinterpret_cast<void*>(&Caja));
      enganchado = true;
    }
    gFalso = Falso();
    gFalso.respuestas[6] = "5800";
    Host() = pelmaro::RanurasHost();
    Host().accesoInterfaz = Acceso;
    Host().procesadorGuion = Guion;
    Host().leerVariable = Leer;
    Host().escribirVariable = Escribir;
  }
  void TearDown() override {
    EXPECT_EQ(gFalso.bloquesVivos, 0) << "a block from the host was not released";
    Host() = pelmaro::RanurasHost();
  }
};

}  // namespace

TEST_F(KorUtiles, ListaInterfazRecortaYDescartaVacios) {
  gFalso.respuestas[5] = "Sub1\r\n  Sub2 \r\r";
  std::vector<std::string> lista = {"queda?"};
  TKorUtiles::ListaInterfaz(1, lista);
  EXPECT_EQ(lista, (std::vector<std::string>{"Sub1", "Sub2"}));
  EXPECT_EQ(gFalso.peticiones, std::vector<std::int32_t>{5});
}

TEST_F(KorUtiles, ListaInterfazCodigosPorTipo) {
  gFalso.respuestas[3] = "a";
  gFalso.respuestas[4] = "b\rc";
  std::vector<std::string> lista;
  TKorUtiles::ListaInterfaz(0, lista);
  EXPECT_EQ(lista, std::vector<std::string>{"a"});
  TKorUtiles::ListaInterfaz(2, lista);
  EXPECT_EQ(lista, (std::vector<std::string>{"b", "c"}));
  TKorUtiles::ListaInterfaz(3, lista);  // no code: nothing sent, an empty list
  EXPECT_TRUE(lista.empty());
  TKorUtiles::ListaInterfaz(1, lista);  // a null answer: empty
  EXPECT_TRUE(lista.empty());
  EXPECT_EQ(gFalso.peticiones, (std::vector<std::int32_t>{3, 4, 5}));
}

TEST_F(KorUtiles, SinAccesoAlInterfazNadaSeEnvia) {
  Host().accesoInterfaz = nullptr;
  std::vector<std::string> lista = {"sigue"};
  TKorUtiles::ListaInterfaz(1, lista);
  EXPECT_EQ(lista, std::vector<std::string>{"sigue"});
  EXPECT_FALSE(TKorUtiles::EsVersionValida());
  EXPECT_FALSE(TKorUtiles::EsVersion5());
  EXPECT_EQ(TKorUtiles::DatoInterfaz(0), "");
  EXPECT_FALSE(TKorUtiles::ExisteSubrutina("x"));
  TKorUtiles::LlamarSubrutina("x");
  EXPECT_TRUE(gFalso.lineas.empty());
  // Kinds 1 and 2 still warn that the feature needs host 5.
  EXPECT_EQ(TKorUtiles::DatoInterfaz(1), "");
  EXPECT_EQ(gFalso.cajas.size(), 1u);
}

TEST_F(KorUtiles, DatoInterfazCodigosYAvisoDeHost5) {
  const std::int32_t codigos[] = {2, 14, 13, 1, 8, 10};
  for (std::uint8_t tipo = 0; tipo < 6; ++tipo) gFalso.respuestas[codigos[tipo]] = "r";
  for (std::uint8_t tipo = 0; tipo < 6; ++tipo) {
    gFalso.peticiones.clear();
    EXPECT_EQ(TKorUtiles::DatoInterfaz(tipo), "r") << int(tipo);
    EXPECT_EQ(gFalso.peticiones.back(), codigos[tipo]);
  }
  gFalso.peticiones.clear();
  EXPECT_EQ(TKorUtiles::DatoInterfaz(6), "");
  EXPECT_TRUE(gFalso.peticiones.empty());
  EXPECT_TRUE(gFalso.cajas.empty());

  gFalso.respuestas[6] = "4100";
  for (std::uint8_t tipo : {1, 2}) {
    gFalso.peticiones.clear();
    EXPECT_EQ(TKorUtiles::DatoInterfaz(tipo), "");
    EXPECT_EQ(gFalso.peticiones, std::vector<std::int32_t>{6}) << "only the version is asked";
  }
  ASSERT_EQ(gFalso.cajas.size(), 2u);
  EXPECT_EQ(gFalso.cajas[0],
            "Error conocido|Esta caracter\xedstica precisa de Neobook 5.0.0 \xf3 superior|" + std::to_string(MB_ICONERROR));
  EXPECT_EQ(TKorUtiles::DatoInterfaz(3), "r");  // other kinds still work
}

TEST_F(KorUtiles, Versiones) {
  struct {
    const char* respuesta;
    bool valida, cinco;
  } casos[] = {{"413", true, false}, {"412", false, false}, {"5000", true, true}, {"4130", true, false},
               {"9", false, true},   {"600", true, true},    {"05", false, false}, {"41", false, false}};
  for (const auto& c : casos) {
    gFalso.respuestas[6] = c.respuesta;
    EXPECT_EQ(TKorUtiles::EsVersionValida(), c.valida) << c.respuesta;
    EXPECT_EQ(TKorUtiles::EsVersion5(), c.cinco) << c.respuesta;
  }
  gFalso.respuestas[6] = nullptr;
  EXPECT_FALSE(TKorUtiles::EsVersionValida());
  for (const char* malo : {"abc", "4.1.3", ""}) {
    gFalso.respuestas[6] = malo;
    EXPECT_THROW(TKorUtiles::EsVersionValida(), pelmaro::EConvertError) << malo;
  }
  // Only the leading characters count: " 50" is 50 for the first test, " " for the second.
  gFalso.respuestas[6] = " 50";
  EXPECT_FALSE(TKorUtiles::EsVersionValida());
  EXPECT_THROW(TKorUtiles::EsVersion5(), pelmaro::EConvertError);
}

TEST_F(KorUtiles, SubrutinasSinDistinguirMayusculas) {
  gFalso.respuestas[5] = "Progreso\rOtra";
  EXPECT_TRUE(TKorUtiles::ExisteSubrutina("PROGRESO"));
  EXPECT_FALSE(TKorUtiles::ExisteSubrutina("Prog"));
  TKorUtiles::LlamarSubrutina("progreso");
  TKorUtiles::LlamarSubrutina("Ninguna");
  EXPECT_EQ(gFalso.lineas, std::vector<std::string>{"GoSub \"progreso\""});
}

TEST_F(KorUtiles, VariablesYElementos) {
  TKorUtiles::EscribirVariable("a", "1");
  TKorUtiles::EscribirElemento(12, "arr", "x");
  EXPECT_EQ(gFalso.variables["arr12"], "x");
  EXPECT_EQ(TKorUtiles::LeerVariable("a"), "1");
  EXPECT_EQ(TKorUtiles::LeerVariable("nunca"), "");
  TKorUtiles::VaciarVariables({"a", "b"});
  EXPECT_EQ(gFalso.variables["a"], "");
  EXPECT_EQ(gFalso.variables.count("b"), 1u);
}

TEST_F(KorUtiles, AsignarPCharLiberaElBloqueAnterior) {
  char* ranura = Bloque("anterior");
  TKorUtiles::AsignarPChar(&ranura, "nuevo");
  EXPECT_STREQ(ranura, "nuevo");
  EXPECT_EQ(GlobalSize(ranura), 6u);
  ++gFalso.bloquesVivos;  // the new block is ours to count as well
  TKorUtiles::LiberarPChar(&ranura);
  EXPECT_EQ(ranura, nullptr);
  TKorUtiles::LiberarPChar(&ranura);  // an empty slot stays empty
}

// The error texts: what a trap writes for each kind of error, in the order the protocol
// fixes (krResultadoAccion first, then krUltimoError).
TEST_F(KorUtiles, TextosDeError) {
  using namespace pelmaro;
  struct {
    std::function<void()> lanzar;
    std::string texto;
  } casos[] = {
      {[] { LeerEntero("abc"); },
       "Excepci\xf3n: \"EConvertError\". Mensaje: \"'abc' is not a valid integer value\"."},
      {[] { throw EIniFileException("Unable to write to x.ini"); },
       "Excepci\xf3n: \"EIniFileException\". Mensaje: \"Unable to write to x.ini\"."},
      {[] { throw std::bad_alloc(); }, "Excepci\xf3n: \"EOutOfMemory\". Mensaje: \"Out of memory\"."},
      {[] { throw std::runtime_error("roto"); }, "Excepci\xf3n: \"Exception\". Mensaje: \"roto\"."},
      {[] { throw 42; }, "Excepci\xf3n: \"Exception\". Mensaje: \"Unknown error\"."},
      {[] {
         SetLastError(0);
         LanzarErrorSistema();
       },
       "Excepci\xf3n: \"EOSError\". Mensaje: \"A call to an OS function failed\"."},
  };
  for (const auto& c : casos) {
    gFalso.variables.clear();
    try {
      c.lanzar();
      ADD_FAILURE() << "nothing was raised";
    } catch (...) {
      resultado::FalloExcepcionActual();
    }
    EXPECT_EQ(gFalso.variables["krResultadoAccion"], "False");
    EXPECT_EQ(gFalso.variables["krUltimoError"], c.texto);
  }
  // A real error code: the system's own text for it, without its line break and period.
  char sistema[256] = {};
  FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_FILE_NOT_FOUND, 0, sistema,
                 sizeof sistema, nullptr);
  std::string esperado(sistema);
  while (!esperado.empty() && (esperado.back() == '\n' || esperado.back() == '\r' || esperado.back() == '.' ||
                               esperado.back() == ' '))
    esperado.pop_back();
  ASSERT_FALSE(esperado.empty());
  EXPECT_EQ(MensajeSistema(ERROR_FILE_NOT_FOUND), esperado);
  try {
    SetLastError(ERROR_FILE_NOT_FOUND);
    LanzarErrorSistema();
  } catch (const EOSError& e) {
    EXPECT_EQ(e.Mensaje(), "System Error.  Code: 2.\r\n" + esperado);
    EXPECT_EQ(e.Codigo(), 2u);
  }
  gFalso.variables.clear();
  SetLastError(ERROR_PATH_NOT_FOUND);
  resultado::FalloSistema();
  EXPECT_EQ(gFalso.variables["krUltimoError"], MensajeSistema(ERROR_PATH_NOT_FOUND));
  resultado::FalloParametros();
  EXPECT_EQ(gFalso.variables["krUltimoError"], "Los par\xe1metros de la acci\xf3n no son correctos");
  resultado::FalloMensaje(EIniFileException("solo el mensaje"));
  EXPECT_EQ(gFalso.variables["krUltimoError"], "solo el mensaje");
  // A list: elements from 0, the plain variable untouched; an empty list is "False".
  gFalso.variables.clear();
  resultado::Lista({"a", "b"});
  EXPECT_EQ(gFalso.variables.count("krResultadoAccion"), 0u);
  EXPECT_EQ(gFalso.variables["krResultadoAccion1"], "b");
  resultado::Lista({});
  EXPECT_EQ(gFalso.variables["krResultadoAccion"], "False");
  EXPECT_EQ(gFalso.variables.count("krUltimoError"), 0u);
}
