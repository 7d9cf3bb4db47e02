// THtmlHlpIntf: the calls of the HTML Help runtime (hhctrl.ocx) that the help actions and the
// plug-in's own help buttons make. HtmlHelpA is looked up at the first call, so that the
// library still loads where the runtime is missing; every call then answers false.
#pragma once
#include <cstdint>
#include <string>

namespace pelmaro {

class THtmlHlpIntf {
 public:
  // Each asks HtmlHelpA, owned by the active window, and answers whether it gave a window.
  static bool MostrarIndice(const std::string& archivo, const std::string& palabra);
  static void CerrarTodo(const std::string& archivo);
  static bool MostrarTemaID(const std::string& archivo, std::int32_t numero);
  static bool MostrarTemaURL(const std::string& archivo, const std::string& tema);
  static bool MostrarBuscador(const std::string& archivo);
  static bool MostrarContenidos(const std::string& archivo);
  // Whether the HTML Help runtime could be loaded (it is looked up once).
  static bool Disponible();
};

}  // namespace pelmaro
