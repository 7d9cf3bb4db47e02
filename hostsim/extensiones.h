// Extensions of the host simulator, each in a file of its own: hooks into the plug-in's
// imports (to record what the plug-in asks the system for instead of letting it happen) and
// further script commands. A file registers them with static objects:
//
//   namespace { nbhost::Extension gSalida{nbhost::GanchoImportacion{"user32.dll", "ExitWindowsEx",
//                                          reinterpret_cast<void*>(&MiGancho)}}; }
//   namespace { nbhost::Extension gOrden{"Wait", "Wait \"ms\"", &OrdenEsperar}; }
//
// The simulator's objects are linked whole, so such a file needs no other reference.
#pragma once
#include <string>
#include <vector>

#include "hostsim/guion.h"

namespace nbhost {

class Simulador;

struct GanchoImportacion {
  const char* dll;      // as the plug-in imports it, any letter case ("user32.dll")
  const char* funcion;  // the imported name
  void* nueva;          // the replacement, with the same signature and calling convention
};

// A script command. `argumentos` are expanded ([Name] replaced) unless written unquoted.
using OrdenGuion = void (*)(Simulador& sim, const LineaGuion& linea, const std::vector<std::string>& argumentos);

struct OrdenExtra {
  const char* nombre;  // the command, matched without regard to letter case
  const char* forma;   // how it is written, for --help and error messages
  OrdenGuion orden;
};

class Extension {
 public:
  explicit Extension(GanchoImportacion gancho);
  Extension(const char* nombre, const char* forma, OrdenGuion orden);
};

// Delivers the calling thread's window messages for `ms` milliseconds, as the host's message
// loop would (what the script command Wait "ms" does).
void EntregarMensajes(unsigned long ms);

const std::vector<GanchoImportacion>& GanchosRegistrados();
const std::vector<OrdenExtra>& OrdenesRegistradas();

}  // namespace nbhost
