#include <windows.h>

#include <cstdlib>

#include "tests/win/entorno.h"

namespace prueba {

std::string CarpetaPrograma() {
  char ruta[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, ruta, MAX_PATH);
  std::string s(ruta, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

std::string RutaPlugin() { return CarpetaPrograma() + "PelmaroD.nbp"; }

std::string CarpetaDeLaPrueba(const std::string& prefijo) {
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  return std::string(tmp) + "pelmaro-" + prefijo + "-" + std::to_string(GetCurrentProcessId()) + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name();
}

std::string TextoSistema(unsigned long codigo) {
  char buffer[257] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, codigo, 0, buffer,
                           256, nullptr);
  std::string texto(buffer, n);
  while (!texto.empty() && (static_cast<unsigned char>(texto.back()) <= 32 || texto.back() == '.')) texto.pop_back();
  return texto;
}

Host::Host(nbhost::Opciones opciones, bool prellenar) {
  // A process end inside a test must never look like a passing run.
  opciones.codigoAlTerminar = 99;
  opciones.descargar = false;
  sim = std::make_unique<nbhost::Simulador>(opciones, [this](const std::string& l) { lineas.push_back(l); });
  sim->Cargar(RutaPlugin());
  identidad = sim->Conectar(prellenar);
}

std::string Host::Salida() const {
  std::string s;
  for (const std::string& l : lineas) s += l + "\n";
  return s;
}

#if defined(__i386__)
namespace {

// The Linux path of a Windows path (Wine's own export), or "" where there is none.
std::string RutaLinux(const std::string& ruta) {
  using Funcion = char*(CDECL*)(LPCWSTR);
  auto f = reinterpret_cast<Funcion>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!f) return "";
  std::wstring ancho(ruta.begin(), ruta.end());
  char* unix = f(ancho.c_str());
  if (!unix) return "";
  std::string r = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return r;
}

std::string LeerArchivo(const std::string& ruta) {
  std::string s;
  HANDLE h = CreateFileA(ruta.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return s;
  char b[4096];
  DWORD n;
  while (ReadFile(h, b, sizeof b, &n, nullptr) && n) s.append(b, n);
  CloseHandle(h);
  return s;
}

void EscribirArchivo(const std::string& ruta, const std::string& texto) {
  HANDLE h = CreateFileA(ruta.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD n;
  WriteFile(h, texto.data(), static_cast<DWORD>(texto.size()), &n, nullptr);
  CloseHandle(h);
}

// On the qemu route a 32-bit program cannot start a 32-bit child: the session's helper script
// (a Linux program, which Wine can start) runs it through qemu, with files for its input,
// output and exit code. Wine gives no handle for a Linux child, so the exit code file is
// waited for.
Proceso EjecutarPorQemu(const char* hijo32, const std::string& argumentos, const std::string& guion) {
  static int contador = 0;
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  const std::string base = std::string(tmp) + "nbhost32-" + std::to_string(GetCurrentProcessId()) + "-" +
                           std::to_string(++contador);
  EscribirArchivo(base + ".in", guion);
  DeleteFileA((base + ".out.rc").c_str());
  std::string linea = std::string("\"") + hijo32 + "\" \"" + RutaLinux(base + ".in") + "\" \"" +
                      RutaLinux(base + ".out") + "\" \"" + RutaLinux(CarpetaPrograma() + "nbhost.exe") +
                      "\" --plugin=\"" + RutaPlugin() + "\" " + argumentos + " -";
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  Proceso p;
  if (!CreateProcessA(nullptr, linea.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    p.codigo = 0xFFFFFFFF;
    p.salida = "cannot start " + std::string(hijo32) + ": error " + std::to_string(GetLastError());
    return p;
  }
  if (pi.hProcess) CloseHandle(pi.hProcess);
  if (pi.hThread) CloseHandle(pi.hThread);
  std::string rc;
  for (int i = 0; i < 3000 && (rc = LeerArchivo(base + ".out.rc")).empty(); ++i) Sleep(100);
  p.salida = LeerArchivo(base + ".out");
  p.codigo = rc.empty() ? 0xFFFFFFFF : std::stoul(rc);
  if (rc.empty()) p.salida += "\n(no exit code from the child after 300 s)";
  for (const char* ext : {".in", ".out", ".out.rc"}) DeleteFileA((base + ext).c_str());
  return p;
}

}  // namespace
#endif

Proceso EjecutarNbhost(const std::string& argumentos, const std::string& guion) {
#if defined(__i386__)
  if (const char* hijo32 = std::getenv("PELMARO_HIJO32"); hijo32 && *hijo32)
    return EjecutarPorQemu(hijo32, argumentos, guion);
#endif
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  HANDLE entradaLeer, entradaEscribir, salidaLeer, salidaEscribir;
  CreatePipe(&entradaLeer, &entradaEscribir, &sa, 0);
  CreatePipe(&salidaLeer, &salidaEscribir, &sa, 0);
  SetHandleInformation(entradaEscribir, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(salidaLeer, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = entradaLeer;
  si.hStdOutput = salidaEscribir;
  si.hStdError = salidaEscribir;
  PROCESS_INFORMATION pi{};
  std::string linea = "\"" + CarpetaPrograma() + "nbhost.exe\" --plugin=\"" + RutaPlugin() + "\" " + argumentos + " -";
  Proceso p;
  if (!CreateProcessA(nullptr, linea.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi)) {
    p.codigo = 0xFFFFFFFF;
    p.salida = "cannot start nbhost: error " + std::to_string(GetLastError());
    return p;
  }
  CloseHandle(entradaLeer);
  CloseHandle(salidaEscribir);
  DWORD escritos;
  WriteFile(entradaEscribir, guion.data(), static_cast<DWORD>(guion.size()), &escritos, nullptr);
  CloseHandle(entradaEscribir);
  // Read while the process runs, not up to the end of the pipe: a process it starts (Wine's
  // desktop process, a restarted nbhost) may hold the pipe open long after it has ended.
  char buffer[4096];
  auto vaciar = [&] {
    DWORD disponibles = 0, leidos = 0;
    while (PeekNamedPipe(salidaLeer, nullptr, 0, nullptr, &disponibles, nullptr) && disponibles &&
           ReadFile(salidaLeer, buffer, disponibles < sizeof(buffer) ? disponibles : sizeof(buffer), &leidos, nullptr) &&
           leidos)
      p.salida.append(buffer, leidos);
  };
  DWORD inicio = GetTickCount();
  while (WaitForSingleObject(pi.hProcess, 20) == WAIT_TIMEOUT && GetTickCount() - inicio < 60000) vaciar();
  vaciar();
  CloseHandle(salidaLeer);
  GetExitCodeProcess(pi.hProcess, &p.codigo);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return p;
}

}  // namespace prueba
