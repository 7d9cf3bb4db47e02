// GetProcAddress as the plug-in sees it: registered (module, function) pairs answer their
// replacement, everything else the real function.
#include "hostsim/procedimientos.h"

#include <windows.h>

#include <string>
#include <vector>

#include "hostsim/extensiones.h"

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

std::string NombreBase(HMODULE modulo) {
  char ruta[MAX_PATH];
  DWORD n = GetModuleFileNameA(modulo, ruta, MAX_PATH);
  std::string s(ruta, n);
  std::size_t barra = s.find_last_of("\\/");
  return barra == std::string::npos ? s : s.substr(barra + 1);
}

FARPROC WINAPI GanchoGetProcAddress(HMODULE modulo, LPCSTR nombre) {
  // Ordinals (a number in the low word) are never replaced.
  if (modulo && reinterpret_cast<ULONG_PTR>(nombre) > 0xFFFF) {
    std::string base;
    for (const Procedimiento& p : Registrados()) {
      if (p.nombre != nombre) continue;
      if (base.empty()) base = NombreBase(modulo);
      if (lstrcmpiA(base.c_str(), p.dll.c_str()) == 0) return reinterpret_cast<FARPROC>(p.sustituto);
    }
  }
  return GetProcAddress(modulo, nombre);
}

Extension gGetProcAddress{
    GanchoImportacion{"kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&GanchoGetProcAddress)}};

}  // namespace

void RegistrarProcedimiento(const char* dll, const char* nombre, void* sustituto) {
  Registrados().push_back({dll, nombre, sustituto});
}

}  // namespace nbhost
