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
  char buffer[4096];
  DWORD leidos;
  while (ReadFile(salidaLeer, buffer, sizeof(buffer), &leidos, nullptr) && leidos) p.salida.append(buffer, leidos);
  CloseHandle(salidaLeer);
  WaitForSingleObject(pi.hProcess, 60000);
  GetExitCodeProcess(pi.hProcess, &p.codigo);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return p;
}

}  // namespace prueba
