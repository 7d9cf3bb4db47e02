#include <windows.h>

#include "core/korutiles.h"

#include "core/textos.h"

namespace pelmaro {
namespace {

// Sends an interface request and returns the answer (empty for a null answer).
std::string PedirInterfaz(std::int32_t codigo) {
  RanuraCadena ranura = nullptr;
  Host().accesoInterfaz(codigo, &ranura);
  return TomarPChar(&ranura);
}

bool CodigoDeDato(std::uint8_t tipo, std::int32_t& codigo) {
  static const std::int32_t kCodigos[] = {2, 14, 13, 1, 8, 10};
  if (tipo >= 6) return false;
  codigo = kCodigos[tipo];
  return true;
}

}  // namespace

std::string TKorUtiles::LeerVariable(const std::string& nombre) {
  if (!Host().leerVariable) return {};
  RanuraCadena ranura = nullptr;
  Host().leerVariable(nombre.c_str(), &ranura);
  return TomarPChar(&ranura);
}

void TKorUtiles::EscribirVariable(const std::string& nombre, const std::string& valor) {
  if (Host().escribirVariable) Host().escribirVariable(nombre.c_str(), valor.c_str());
}

void TKorUtiles::EscribirElemento(std::int32_t indice, const std::string& nombre, const std::string& valor) {
  EscribirVariable(nombre + EnteroATexto(indice), valor);
}

void TKorUtiles::VaciarVariables(std::initializer_list<const char*> nombres) {
  for (const char* nombre : nombres) EscribirVariable(nombre, "");
}

void TKorUtiles::BorrarArrays(std::initializer_list<const char*> nombres) {
  // Hosts from version 5 clear a whole array with one script line; older ones (and a host
  // without a script processor) have their elements emptied one by one from index 1 up to
  // the first empty one.
  bool porGuion = Host().procesadorGuion && EsVersion5();
  for (const char* nombre : nombres) {
    if (porGuion) {
      std::string linea = Formatear("DeleteArray \"%s\" \"All\"", nombre);
      Host().procesadorGuion(linea.c_str());
      continue;
    }
    for (std::int32_t n = 1;; ++n) {
      std::string elemento = std::string(nombre) + EnteroATexto(n);
      if (LeerVariable(elemento).empty()) break;
      EscribirVariable(elemento, "");
    }
  }
}

bool TKorUtiles::Version(std::size_t caracteres, std::int32_t minimo) {
  if (!Host().accesoInterfaz) return false;
  RanuraCadena ranura = nullptr;
  Host().accesoInterfaz(6, &ranura);
  if (!ranura) return false;
  std::string version = TomarPChar(&ranura);
  return LeerEntero(version.substr(0, caracteres)) >= minimo;
}

bool TKorUtiles::EsVersionValida() { return Version(3, 413); }
bool TKorUtiles::EsVersion5() { return Version(1, 5); }

std::string TKorUtiles::DatoInterfaz(std::uint8_t tipo) {
  if ((tipo == 1 || tipo == 2) && !EsVersion5()) {
    MessageBoxA(GetActiveWindow(), Texto(txt::kPrecisaNeobook5).c_str(), Texto(txt::kErrorConocido).c_str(),
                MB_OK | MB_ICONERROR);
    return {};
  }
  std::int32_t codigo;
  if (!Host().accesoInterfaz || !CodigoDeDato(tipo, codigo)) return {};
  return PedirInterfaz(codigo);
}

void TKorUtiles::ListaInterfaz(std::uint8_t tipo, std::vector<std::string>& lista) {
  if (!Host().accesoInterfaz) return;
  lista.clear();
  static const std::int32_t kCodigos[] = {3, 5, 4};
  if (tipo >= 3) return;
  for (const std::string& pieza : pelmaro::DividirCadena("\r", PedirInterfaz(kCodigos[tipo]))) {
    std::string nombre = Recortar(pieza);
    if (!nombre.empty()) lista.push_back(nombre);
  }
}

bool TKorUtiles::ExisteSubrutina(const std::string& nombre) {
  std::vector<std::string> subrutinas;
  ListaInterfaz(1, subrutinas);
  for (const std::string& s : subrutinas)
    if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, s.c_str(), -1, nombre.c_str(), -1) == CSTR_EQUAL)
      return true;
  return false;
}

void TKorUtiles::LlamarSubrutina(const std::string& nombre) {
  if (!Host().procesadorGuion || !ExisteSubrutina(nombre)) return;
  std::string linea = Formatear("GoSub \"%s\"", nombre);
  Host().procesadorGuion(linea.c_str());
}

}  // namespace pelmaro
