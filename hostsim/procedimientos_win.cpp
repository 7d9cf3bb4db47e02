#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "hostsim/extensiones.h"
#include "hostsim/procedimientos.h"

namespace nbhost {
namespace {

struct Procedimiento {
  std::string dll;  // without ".dll"
  std::string funcion;
  void* sustituto;
};

std::vector<Procedimiento>& Procedimientos() {
  static std::vector<Procedimiento> v;
  return v;
}

// A library's file name without its folder and without ".dll".
std::string NombreBase(std::string nombre) {
  std::size_t barra = nombre.find_last_of("\\/");
  if (barra != std::string::npos) nombre.erase(0, barra + 1);
  if (nombre.size() > 4 && lstrcmpiA(nombre.c_str() + nombre.size() - 4, ".dll") == 0) nombre.resize(nombre.size() - 4);
  return nombre;
}

FARPROC WINAPI GanchoGetProcAddress(HMODULE modulo, LPCSTR nombre) {
  if (void* s = ProcedimientoSustituto(modulo, nombre)) return reinterpret_cast<FARPROC>(s);
  return GetProcAddress(modulo, nombre);
}

Extension gGancho{GanchoImportacion{"kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&GanchoGetProcAddress)}};

}  // namespace

bool RegistrarProcedimiento(const char* dll, const char* funcion, void* sustituto) {
  Procedimientos().push_back({NombreBase(dll), funcion, sustituto});
  return true;
}

void* ProcedimientoSustituto(void* modulo, const char* funcion) {
  // Names only: an ordinal is a number below 0x10000 in the pointer's place.
  if (!modulo || reinterpret_cast<std::uintptr_t>(funcion) < 0x10000 || Procedimientos().empty()) return nullptr;
  char ruta[MAX_PATH] = {};
  if (!GetModuleFileNameA(static_cast<HMODULE>(modulo), ruta, MAX_PATH)) return nullptr;
  std::string dll = NombreBase(ruta);
  for (const Procedimiento& p : Procedimientos())
    if (lstrcmpiA(p.dll.c_str(), dll.c_str()) == 0 && p.funcion == funcion) return p.sustituto;
  return nullptr;
}

}  // namespace nbhost
