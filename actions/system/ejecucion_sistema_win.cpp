#include <windows.h>

#include <string>
#include <vector>

#include "actions/system/carpetas.h"
#include "actions/system/ejecucion_sistema.h"
#include "actions/system/utiles_sistema.h"
#include "core/texto.h"

namespace pelmaro {
namespace {

// A parameter holding nothing but blanks and control characters counts as empty.
bool Vacio(const char* texto) { return Recortar(texto).empty(); }

// "True" when the system call succeeded, else "False" and the system's text for its error.
std::uint8_t Exito(bool hecho) {
  if (hecho) resultado::Verdadero();
  else resultado::FalloSistema();
  return 1;
}

std::uint8_t Respuesta(bool valor) {
  resultado::Valor(TextoBooleano(valor));
  return 1;
}

// The force flag of the session and power actions.
bool Forzar(const Parametros& p) { return EsVerdadero(p[0]); }

}  // namespace

TablaManejadores TEjecucionAccSistema::Tabla() {
  static const EntradaManejador kFilas[] = {
      {100, ListarProcesos},       {101, MatarProcesos},          {102, HandleVentana},
      {103, VersionWindows},       {104, VariablesEntorno},       {105, DirectorioSistema},
      {106, ApagarWindows},        {107, ReiniciarWindows},       {108, ApagarOrdenador},
      {109, PuedeHibernarse},      {110, HibernarOrdenador},      {111, PuedeSuspenderse},
      {112, SuspenderOrdenador},   {113, CerrarSesionUsuario},    {114, UsuarioAdministrador},
      {115, OcultarErroresCriticos}, {116, MostrarErroresCriticos}, {117, MostrarBarraTitulo},
  };
  return pelmaro::Tabla(kFilas);
}

std::uint8_t TEjecucionAccSistema::ListarProcesos(const Parametros&) {
  std::vector<std::string> procesos;
  if (!TUtilesSistema::ListaProcesos(procesos)) return Exito(false);
  resultado::Lista(procesos);
  return 1;
}

std::uint8_t TEjecucionAccSistema::MatarProcesos(const Parametros& p) {
  return Exito(TUtilesSistema::MatarProcesos(p[0]));
}

std::uint8_t TEjecucionAccSistema::HandleVentana(const Parametros& p) {
  HWND h = FindWindowA(Vacio(p[1]) ? nullptr : p[1], Vacio(p[0]) ? nullptr : p[0]);
  resultado::Valor(std::to_string(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(h))));
  return 1;
}

std::uint8_t TEjecucionAccSistema::VersionWindows(const Parametros&) {
  resultado::Valor(TUtilesSistema::VersionWindows());
  return 1;
}

std::uint8_t TEjecucionAccSistema::VariablesEntorno(const Parametros& p) {
  if (Vacio(p[0])) {
    std::vector<std::string> variables;
    TUtilesSistema::VariablesEntorno(variables);
    resultado::Lista(variables);
  } else if (!Vacio(p[1])) {
    Exito(SetEnvironmentVariableA(p[0], p[1]) != FALSE);
  } else {
    std::string valor(MAX_PATH, '\0');
    DWORD n = GetEnvironmentVariableA(p[0], valor.data(), static_cast<DWORD>(valor.size()));
    while (n >= valor.size()) {  // too long for the buffer: n is the room it needs
      valor.assign(n, '\0');
      n = GetEnvironmentVariableA(p[0], valor.data(), static_cast<DWORD>(valor.size()));
    }
    valor.resize(n);
    resultado::Valor(valor);
  }
  return 1;
}

std::uint8_t TEjecucionAccSistema::DirectorioSistema(const Parametros& p) {
  resultado::Valor(TSHFolderEx::RutaCarpeta(TSHFolderEx::NumeroCarpeta(p[0]), EsVerdadero(p[1])));
  return 1;
}

std::uint8_t TEjecucionAccSistema::ApagarWindows(const Parametros& p) { return Exito(TUtilesSistema::ApagarWindows(Forzar(p))); }
std::uint8_t TEjecucionAccSistema::ReiniciarWindows(const Parametros& p) {
  return Exito(TUtilesSistema::ReiniciarWindows(Forzar(p)));
}
std::uint8_t TEjecucionAccSistema::ApagarOrdenador(const Parametros& p) {
  return Exito(TUtilesSistema::ApagarOrdenador(Forzar(p)));
}
std::uint8_t TEjecucionAccSistema::HibernarOrdenador(const Parametros& p) {
  return Exito(TUtilesSistema::HibernarOrdenador(Forzar(p)));
}
std::uint8_t TEjecucionAccSistema::SuspenderOrdenador(const Parametros& p) {
  return Exito(TUtilesSistema::SuspenderOrdenador(Forzar(p)));
}
std::uint8_t TEjecucionAccSistema::CerrarSesionUsuario(const Parametros& p) {
  return Exito(TUtilesSistema::CerrarSesion(Forzar(p)));
}

std::uint8_t TEjecucionAccSistema::PuedeHibernarse(const Parametros&) { return Respuesta(TUtilesSistema::PuedeHibernarse()); }
std::uint8_t TEjecucionAccSistema::PuedeSuspenderse(const Parametros&) {
  return Respuesta(TUtilesSistema::PuedeSuspenderse());
}
std::uint8_t TEjecucionAccSistema::UsuarioAdministrador(const Parametros&) {
  return Respuesta(TUtilesSistema::UsuarioAdministrador());
}

std::uint8_t TEjecucionAccSistema::OcultarErroresCriticos(const Parametros&) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);  // 0x8001
  resultado::Verdadero();
  return 1;
}

std::uint8_t TEjecucionAccSistema::MostrarErroresCriticos(const Parametros&) {
  SetErrorMode(0);
  resultado::Verdadero();
  return 1;
}

std::uint8_t TEjecucionAccSistema::MostrarBarraTitulo(const Parametros& p) {
  return Exito(TUtilesSistema::MostrarBarraTitulo(LeerEnteroODefecto(p[0], 0), EsVerdadero(p[1])));
}

}  // namespace pelmaro
