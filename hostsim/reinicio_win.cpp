// What a publication's restart touches: ShellExecuteA is recorded, and really done only for a
// program (.exe: the new instance starts; anything else, a page or a document, answers what
// CallResult "ShellExecuteA" says, 42 by default), TerminateProcess on the simulator's own process is recorded as the
// end of the process, and the program path the plug-in reads can be changed by the script
// (CallResult "GetModuleFileNameA" "C:\path\program.exe") to try a program that is missing.
#include <windows.h>

#include <shellapi.h>

#include <cstdlib>
#include <string>

#include "hostsim/extensiones.h"
#include "hostsim/simulador.h"

namespace nbhost {
namespace {

std::string Texto(const char* t) { return t ? "\"" + std::string(t) + "\"" : "null"; }

HINSTANCE WINAPI GanchoShellExecute(HWND dueno, LPCSTR verbo, LPCSTR archivo, LPCSTR parametros, LPCSTR carpeta,
                                    INT mostrar) {
  if (Simulador* sim = Simulador::Actual())
    sim->RegistrarLlamada("ShellExecuteA(" + Texto(verbo) + ", " + Texto(archivo) + ", " + Texto(parametros) + ", " +
                          Texto(carpeta) + ", " + std::to_string(mostrar) + ")");
  std::string ruta = archivo ? archivo : "";
  bool programa = ruta.size() > 4 && lstrcmpiA(ruta.c_str() + ruta.size() - 4, ".exe") == 0;
  if (!programa) {
    Simulador* sim = Simulador::Actual();
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(std::atoll(sim ? sim->ResultadoLlamada("ShellExecuteA", "42").c_str() : "42")));
  }
  return ShellExecuteA(dueno, verbo, archivo, parametros, carpeta, mostrar);
}

BOOL WINAPI GanchoTerminateProcess(HANDLE proceso, UINT codigo) {
  Simulador* sim = Simulador::Actual();
  if (sim && (proceso == GetCurrentProcess() || GetProcessId(proceso) == GetCurrentProcessId())) {
    sim->RegistrarLlamada("TerminateProcess(current process, " + std::to_string(codigo) + ")");
    sim->FinDeProceso(codigo);
  }
  return TerminateProcess(proceso, codigo);
}

DWORD WINAPI GanchoGetModuleFileName(HMODULE modulo, LPSTR ruta, DWORD tamanyo) {
  Simulador* sim = Simulador::Actual();
  std::string otra = sim && !modulo ? sim->ResultadoLlamada("GetModuleFileNameA", "") : std::string();
  if (otra.empty() || tamanyo == 0) return GetModuleFileNameA(modulo, ruta, tamanyo);
  DWORD n = static_cast<DWORD>(otra.size() < tamanyo ? otra.size() : tamanyo - 1);
  otra.copy(ruta, n);
  ruta[n] = '\0';
  return n;
}

Extension gShellExecute{GanchoImportacion{"shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(&GanchoShellExecute)}};
Extension gTerminar{
    GanchoImportacion{"kernel32.dll", "TerminateProcess", reinterpret_cast<void*>(&GanchoTerminateProcess)}};
Extension gRutaPrograma{
    GanchoImportacion{"kernel32.dll", "GetModuleFileNameA", reinterpret_cast<void*>(&GanchoGetModuleFileName)}};

}  // namespace
}  // namespace nbhost
