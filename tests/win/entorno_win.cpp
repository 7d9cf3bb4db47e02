#include <windows.h>

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

Proceso EjecutarNbhost(const std::string& argumentos, const std::string& guion) {
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
