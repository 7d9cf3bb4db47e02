#include "i18n/catalogos.h"

namespace pelmaro {

std::string RutaCatalogo(const std::string& carpeta, const std::string& codigo) {
  return carpeta + "\\" + codigo + "\\LC_MESSAGES\\" + kDominioCatalogo + ".mo";
}

CatalogoElegido ElegirCatalogo(const std::string& carpeta, const std::string& codigo,
                               const std::function<bool(const std::string&)>& existe) {
  std::string ruta = RutaCatalogo(carpeta, codigo);
  if (existe(ruta)) return {codigo, ruta};
  std::string corto = codigo.substr(0, 2);
  ruta = RutaCatalogo(carpeta, corto);
  return {corto, existe(ruta) ? ruta : std::string()};
}

}  // namespace pelmaro
