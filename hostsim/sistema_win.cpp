// Session and power calls of the plug-in: recorded and answered as the script chooses,
// never made (ExitWindowsEx would end every process of the Wine session). The capability
// and administrator queries and the privilege adjustment are recorded too and answered by
// the system unless the script chooses otherwise.
//
//   CallResult "ExitWindowsEx" "1"       success (the default of the calls that end things)
//   CallResult "ExitWindowsEx" "0"       refused, last error 1314 (privilege not held)
//   CallResult "ExitWindowsEx" "0,5"     refused with the last error 5
//   CallResult "ExitWindowsEx" "real"    the real call (the default of the queries)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "hostsim/extensiones.h"
#include "hostsim/procedimientos.h"
#include "hostsim/simulador.h"

namespace nbhost {
namespace {

constexpr const char* kReal = "real";

std::string Hex(unsigned long v) {
  char b[16];
  std::snprintf(b, sizeof b, "0x%lX", v);
  return b;
}

// Records the call; true with the chosen answer in `valor` (and the last error set), false
// when the real function is to answer.
bool Elegir(const char* funcion, const std::string& descripcion, const char* porDefecto, unsigned long& valor) {
  Simulador* sim = Simulador::Actual();
  if (!sim) return false;
  sim->RegistrarLlamada(descripcion);
  std::string r = sim->ResultadoLlamada(funcion, porDefecto);
  if (r == kReal) return false;
  char* fin = nullptr;
  valor = std::strtoul(r.c_str(), &fin, 0);
  if (*fin == ',') SetLastError(std::strtoul(fin + 1, nullptr, 0));
  else SetLastError(valor == 0 ? ERROR_PRIVILEGE_NOT_HELD : ERROR_SUCCESS);
  return true;
}

BOOL WINAPI GanchoExitWindowsEx(UINT flags, DWORD razon) {
  unsigned long v;
  if (Elegir("ExitWindowsEx", "ExitWindowsEx(" + Hex(flags) + ", " + std::to_string(razon) + ")", "1", v))
    return static_cast<BOOL>(v);
  return ExitWindowsEx(flags, razon);
}

BOOL WINAPI GanchoSetSystemPowerState(BOOL suspender, BOOL forzar) {
  unsigned long v;
  if (Elegir("SetSystemPowerState",
             "SetSystemPowerState(" + std::to_string(suspender) + ", " + std::to_string(forzar) + ")", "1", v))
    return static_cast<BOOL>(v);
  return SetSystemPowerState(suspender, forzar);
}

BOOL WINAPI GanchoAdjustTokenPrivileges(HANDLE token, BOOL desactivarTodos, PTOKEN_PRIVILEGES nuevos, DWORD largo,
                                        PTOKEN_PRIVILEGES anteriores, PDWORD devuelto) {
  std::string d = "AdjustTokenPrivileges(";
  if (desactivarTodos) d += "all disabled";
  for (DWORD i = 0; !desactivarTodos && nuevos && i < nuevos->PrivilegeCount; ++i) {
    char nombre[64] = {};
    DWORD n = sizeof nombre;
    if (!LookupPrivilegeNameA(nullptr, &nuevos->Privileges[i].Luid, nombre, &n)) std::strcpy(nombre, "?");
    d += std::string(i ? ", " : "") + nombre + " " + Hex(nuevos->Privileges[i].Attributes);
  }
  unsigned long v;
  if (Elegir("AdjustTokenPrivileges", d + ")", kReal, v)) return static_cast<BOOL>(v);
  return AdjustTokenPrivileges(token, desactivarTodos, nuevos, largo, anteriores, devuelto);
}

// Functions found at run time: the real one comes from the library already loaded.
template <class F>
F Real(const char* dll, const char* funcion) {
  HMODULE m = GetModuleHandleA(dll);
  return m ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, funcion))) : nullptr;
}

template <const char* kDll, const char* kFuncion, class R>
R WINAPI GanchoPregunta() {
  unsigned long v;
  if (Elegir(kFuncion, std::string(kFuncion) + "()", kReal, v)) return static_cast<R>(v);
  auto real = Real<R(WINAPI*)()>(kDll, kFuncion);
  return real ? real() : 0;
}

BOOLEAN WINAPI GanchoSetSuspendState(BOOLEAN hibernar, BOOLEAN forzar, BOOLEAN sinDespertar) {
  unsigned long v;
  if (Elegir("SetSuspendState",
             "SetSuspendState(" + std::to_string(hibernar) + ", " + std::to_string(forzar) + ", " +
                 std::to_string(sinDespertar) + ")",
             "1", v))
    return static_cast<BOOLEAN>(v);
  auto real = Real<BOOLEAN(WINAPI*)(BOOLEAN, BOOLEAN, BOOLEAN)>("powrprof.dll", "SetSuspendState");
  return real ? real(hibernar, forzar, sinDespertar) : FALSE;
}


constexpr char kPowrprof[] = "powrprof.dll";
constexpr char kShell32[] = "shell32.dll";
constexpr char kHibernar[] = "IsPwrHibernateAllowed";
constexpr char kSuspender[] = "IsPwrSuspendAllowed";
constexpr char kAdministrador[] = "IsUserAnAdmin";

Extension gSalir{GanchoImportacion{"user32.dll", "ExitWindowsEx", reinterpret_cast<void*>(&GanchoExitWindowsEx)}};
Extension gEnergia{
    GanchoImportacion{"kernel32.dll", "SetSystemPowerState", reinterpret_cast<void*>(&GanchoSetSystemPowerState)}};
Extension gPrivilegios{
    GanchoImportacion{"advapi32.dll", "AdjustTokenPrivileges", reinterpret_cast<void*>(&GanchoAdjustTokenPrivileges)}};
const bool gProcedimientos =
    RegistrarProcedimiento(kPowrprof, "SetSuspendState", reinterpret_cast<void*>(&GanchoSetSuspendState)) &&
    RegistrarProcedimiento(kPowrprof, kHibernar,
                           reinterpret_cast<void*>(&GanchoPregunta<kPowrprof, kHibernar, BOOLEAN>)) &&
    RegistrarProcedimiento(kPowrprof, kSuspender,
                           reinterpret_cast<void*>(&GanchoPregunta<kPowrprof, kSuspender, BOOLEAN>)) &&
    RegistrarProcedimiento(kShell32, kAdministrador,
                           reinterpret_cast<void*>(&GanchoPregunta<kShell32, kAdministrador, BOOL>));

}  // namespace
}  // namespace nbhost
