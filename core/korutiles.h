// TKorUtiles: the one place that talks to the host's variables and script player, and the
// home of the shared text conversions. Stateless; every operation is a class function.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/host.h"
#include "core/texto.h"

namespace pelmaro {

class TKorUtiles {
 public:
  // Host variables.
  static std::string LeerVariable(const std::string& nombre);
  static void EscribirVariable(const std::string& nombre, const std::string& valor);
  static void EscribirElemento(std::int32_t indice, const std::string& nombre, const std::string& valor);
  static void VaciarVariables(std::initializer_list<const char*> nombres);
  static void BorrarArrays(std::initializer_list<const char*> nombres);

  // String slots.
  static void AsignarPChar(RanuraCadena* ranura, const std::string& texto) { pelmaro::AsignarPChar(ranura, texto); }
  static void LiberarPChar(RanuraCadena* ranura) { pelmaro::LiberarPChar(ranura); }

  // Boolean texts.
  static bool EsVerdadero(const char* texto) { return pelmaro::EsVerdadero(texto); }
  static bool EsFalso(const char* texto) { return pelmaro::EsFalso(texto); }

  // Host version, asked again on every call. An answer whose leading characters are not an
  // integer raises EConvertError.
  static bool EsVersionValida();
  static bool EsVersion5();

  // Interface queries.
  static std::string DatoInterfaz(std::uint8_t tipo);
  static void ListaInterfaz(std::uint8_t tipo, std::vector<std::string>& lista);
  static bool ExisteSubrutina(const std::string& nombre);
  static void LlamarSubrutina(const std::string& nombre);

  // Text conversions (see core/texto.h).
  static std::vector<std::string> DividirCadena(const std::string& separador, const std::string& texto) {
    return pelmaro::DividirCadena(separador, texto);
  }
  static std::uint32_t TextoAColor(const std::string& t) { return pelmaro::TextoAColor(t); }
  static std::string ColorATexto(std::uint32_t c) { return pelmaro::ColorATexto(c); }
  static DescripcionFuente TextoAFuente(const std::string& t) { return pelmaro::TextoAFuente(t); }
  static std::string FuenteATexto(const DescripcionFuente& f) { return pelmaro::FuenteATexto(f); }
  static unsigned TextoAEstilo(const std::string& t) { return pelmaro::TextoAEstilo(t); }
  static std::string EstiloATexto(unsigned e) { return pelmaro::EstiloATexto(e); }
  static std::uint8_t TextoACharset(const std::string& t) { return pelmaro::TextoACharset(t); }
  static std::string CharsetATexto(int n) { return pelmaro::CharsetATexto(n); }
  static std::string EscaparComillas(const std::string& t) { return pelmaro::EscaparComillas(t); }

 private:
  static bool Version(std::size_t caracteres, std::int32_t minimo);
};

}  // namespace pelmaro
