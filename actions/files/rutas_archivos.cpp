#include "actions/files/rutas_archivos.h"

namespace pelmaro {

std::string CarpetaDeRuta(std::string_view ruta) {
  std::size_t fin = ruta.find_last_of("\\:");
  if (fin == std::string_view::npos) return std::string();
  return std::string(ruta.substr(0, fin + 1));
}

std::string ConBarraFinal(std::string_view carpeta) {
  std::string resultado(carpeta);
  if (resultado.empty() || resultado.back() != '\\') resultado += '\\';
  return resultado;
}

std::string NombreAccesoDirecto(std::string_view carpeta, std::string_view nombre) {
  return ConBarraFinal(carpeta) + std::string(nombre) + ".lnk";
}

std::string NombreIcono(std::string_view carpeta, int indice) {
  return ConBarraFinal(carpeta) + std::to_string(indice) + ".ico";
}

namespace {

// A literal in a time picture: inside single quotes, a quote doubled.
std::string Literal(std::string_view texto) {
  if (texto.empty()) return std::string();
  std::string resultado = "'";
  for (char c : texto) {
    if (c == '\'') resultado += '\'';
    resultado += c;
  }
  return resultado + "'";
}

}  // namespace

std::string PatronHora(const AjustesHora& ajustes) {
  std::string horas = ajustes.doceHoras ? "h" : "H";
  if (ajustes.ceroInicial) horas += horas;
  std::string sep = Literal(ajustes.separador);
  std::string hora = horas + sep + "mm" + sep + "ss";
  if (!ajustes.doceHoras) return hora;
  return ajustes.marcaDelante ? "tt " + hora : hora + " tt";
}

}  // namespace pelmaro
