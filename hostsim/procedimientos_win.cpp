// GetProcAddress of the plug-in, hooked: registered procedures get their replacement. The
// HTML Help runtime's HtmlHelpA is recorded here, so that help requests show the file,
// the command and its data instead of opening a viewer.
#include "hostsim/procedimientos.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "hostsim/extensiones.h"
#include "hostsim/simulador.h"

namespace nbhost {
namespace {

struct Procedimiento {
  std::string dll, nombre;
  void* sustituto;
};

std::vector<Procedimiento>& Registrados() {
  static std::vector<Procedimiento> v;
  return v;
}

std::string NombreDeModulo(HMODULE m) {
  char ruta[MAX_PATH] = {};
  GetModuleFileNameA(m, ruta, MAX_PATH);
  std::string r = ruta;
  std::size_t barra = r.find_last_of("\\/");
  return barra == std::string::npos ? r : r.substr(barra + 1);
}

FARPROC WINAPI GanchoGetProcAddress(HMODULE modulo, LPCSTR nombre) {
  if (modulo && reinterpret_cast<ULONG_PTR>(nombre) > 0xFFFF) {
    std::string dll = NombreDeModulo(modulo);
    for (const Procedimiento& p : Registrados())
      if (lstrcmpiA(p.dll.c_str(), dll.c_str()) == 0 && p.nombre == nombre)
        return reinterpret_cast<FARPROC>(p.sustituto);
  }
  return GetProcAddress(modulo, nombre);
}

Extension gGetProcAddress{
    GanchoImportacion{"kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&GanchoGetProcAddress)}};

// HtmlHelpA(owner, file, command, data): recorded; answers the window CallResult gives (0).
HWND WINAPI GrabarHtmlHelpA(HWND /*dueno*/, LPCSTR archivo, UINT orden, DWORD_PTR dato) {
  Simulador* sim = Simulador::Actual();
  if (!sim) return nullptr;
  char d[32];
  std::snprintf(d, sizeof d, "%lu", static_cast<unsigned long>(dato));
  sim->RegistrarLlamada("HtmlHelpA(\"" + std::string(archivo ? archivo : "") + "\", " + std::to_string(orden) + ", " + d +
                        ")");
  return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(std::stoul(sim->ResultadoLlamada("HtmlHelpA", "0"))));
}

const bool gAyuda =
    (RegistrarProcedimiento("hhctrl.ocx", "HtmlHelpA", reinterpret_cast<void*>(&GrabarHtmlHelpA)), true);

}  // namespace

void RegistrarProcedimiento(const char* dll, const char* nombre, void* sustituto) {
  Registrados().push_back({dll, nombre, sustituto});
}

}  // namespace nbhost
