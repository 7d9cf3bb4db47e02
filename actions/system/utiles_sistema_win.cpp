#include <windows.h>
#include <tlhelp32.h>

#include <memory>

#include "actions/system/datos_sistema.h"
#include "actions/system/manijas_win.h"
#include "actions/system/utiles_sistema.h"

namespace pelmaro {
namespace {

constexpr DWORD kAccesoToken = TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY | READ_CONTROL;  // 0x20028
constexpr const char* kPrivilegioApagado = "SeShutdownPrivilege";

// Walks a process snapshot, calling `visita` with every entry; false when the snapshot could
// not be taken or its first entry not read (the last error then tells why).
template <class Visita>
bool RecorrerProcesos(Visita visita) {
  Manija instantanea(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!instantanea) return false;
  PROCESSENTRY32 entrada = {};
  entrada.dwSize = sizeof entrada;
  if (!Process32First(instantanea.get(), &entrada)) return false;
  do {
    visita(entrada);
  } while (Process32Next(instantanea.get(), &entrada));
  return true;
}

bool LeerVersion(OSVERSIONINFOA& v) {
  v = {};
  v.dwOSVersionInfoSize = sizeof v;  // the 148-byte record
  return GetVersionExA(&v) != FALSE;
}

void PrivilegioApagado() {
  if (TUtilesSistema::EsWindowsNT()) TUtilesSistema::EstablecerPrivilegio(kPrivilegioApagado, true);
}

bool SalirDeWindows(std::uint32_t base, bool forzar) {
  PrivilegioApagado();
  return ExitWindowsEx(FlagsSalida(base, forzar, TUtilesSistema::EsWindowsNT()), 0) != FALSE;
}

bool EstadoEnergia(bool suspender, bool forzar) {
  PrivilegioApagado();
  return SetSystemPowerState(suspender, forzar) != FALSE;
}

struct LiberarEntorno {
  void operator()(char* bloque) const { FreeEnvironmentStringsA(bloque); }
};

}  // namespace

bool TUtilesSistema::ListaProcesos(std::vector<std::string>& lista) {
  lista.clear();
  return RecorrerProcesos([&](const PROCESSENTRY32& e) {
    if (e.th32ProcessID != 0) lista.emplace_back(e.szExeFile);
  });
}

bool TUtilesSistema::MatarProcesos(const std::string& nombre) {
  bool hecho = false;
  DWORD errorDelIntento = ERROR_SUCCESS;
  RecorrerProcesos([&](const PROCESSENTRY32& e) {
    if (lstrcmpiA(e.szExeFile, nombre.c_str()) != 0) return;
    Manija proceso(OpenProcess(PROCESS_TERMINATE, FALSE, e.th32ProcessID));
    hecho = proceso && TerminateProcess(proceso.get(), 0);
    errorDelIntento = hecho ? ERROR_SUCCESS : GetLastError();
  });
  // The walk's end overwrote the error of a failed last attempt: that one is what counts.
  if (!hecho && errorDelIntento != ERROR_SUCCESS) SetLastError(errorDelIntento);
  return hecho;
}

std::string TUtilesSistema::VersionWindows() {
  OSVERSIONINFOA v;
  if (!LeerVersion(v)) return kVersionDesconocida;
  return NombreVersion(v.dwPlatformId, v.dwMajorVersion, v.dwMinorVersion);
}

bool TUtilesSistema::EsWindowsNT() {
  OSVERSIONINFOA v;
  return LeerVersion(v) && v.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

void TUtilesSistema::VariablesEntorno(std::vector<std::string>& lista) {
  std::unique_ptr<char, LiberarEntorno> bloque(GetEnvironmentStringsA());
  lista = CadenasEntorno(bloque.get());
}

bool TUtilesSistema::UsuarioAdministrador() { return PreguntarFuncion<BOOL>("shell32.dll", "IsUserAnAdmin"); }

bool TUtilesSistema::MostrarBarraTitulo(std::intptr_t ventana, bool mostrar) {
  HWND h = reinterpret_cast<HWND>(ventana);
  LONG estilo = GetWindowLongA(h, GWL_STYLE);
  estilo = mostrar ? (estilo | WS_CAPTION) : (estilo & ~static_cast<LONG>(WS_CAPTION));
  LONG anterior = SetWindowLongA(h, GWL_STYLE, estilo);
  DWORD error = GetLastError();
  SetWindowPos(h, nullptr, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);  // 0x233
  if (anterior != 0) return true;
  SetLastError(error);  // the reason the style could not be written, not the redraw's
  return false;
}

bool TUtilesSistema::ApagarWindows(bool forzar) { return SalirDeWindows(kSalidaApagar, forzar); }
bool TUtilesSistema::ReiniciarWindows(bool forzar) { return SalirDeWindows(kSalidaReiniciar, forzar); }
bool TUtilesSistema::ApagarOrdenador(bool forzar) { return SalirDeWindows(kSalidaApagarEquipo, forzar); }
bool TUtilesSistema::CerrarSesion(bool forzar) { return SalirDeWindows(kSalidaCerrarSesion, forzar); }
bool TUtilesSistema::HibernarOrdenador(bool forzar) { return EstadoEnergia(false, forzar); }
bool TUtilesSistema::SuspenderOrdenador(bool forzar) { return EstadoEnergia(true, forzar); }

bool TUtilesSistema::PuedeHibernarse() { return PreguntarFuncion<BOOLEAN>("powrprof.dll", "IsPwrHibernateAllowed"); }
bool TUtilesSistema::PuedeSuspenderse() { return PreguntarFuncion<BOOLEAN>("powrprof.dll", "IsPwrSuspendAllowed"); }

bool TUtilesSistema::EstablecerPrivilegio(const char* privilegio, bool activar) {
  HANDLE h = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), kAccesoToken, &h)) return false;
  Manija token(h);
  TOKEN_PRIVILEGES tp = {};
  tp.PrivilegeCount = 1;
  if (!LookupPrivilegeValueA(nullptr, privilegio, &tp.Privileges[0].Luid)) return false;
  tp.Privileges[0].Attributes = activar ? SE_PRIVILEGE_ENABLED : 0;
  return AdjustTokenPrivileges(token.get(), FALSE, &tp, 0, nullptr, nullptr) != FALSE;
}

}  // namespace pelmaro
