#include "hostsim/extensiones.h"

namespace nbhost {
namespace {

// Function-local statics: registrations run from other files' static initialisers.
std::vector<GanchoImportacion>& Ganchos() {
  static std::vector<GanchoImportacion> v;
  return v;
}
std::vector<OrdenExtra>& Ordenes() {
  static std::vector<OrdenExtra> v;
  return v;
}

}  // namespace

Extension::Extension(GanchoImportacion gancho) { Ganchos().push_back(gancho); }
Extension::Extension(const char* nombre, const char* forma, OrdenGuion orden) {
  Ordenes().push_back({nombre, forma, orden});
}

const std::vector<GanchoImportacion>& GanchosRegistrados() { return Ganchos(); }
const std::vector<OrdenExtra>& OrdenesRegistradas() { return Ordenes(); }

}  // namespace nbhost
