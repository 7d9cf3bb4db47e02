#include <windows.h>

#include "actions/ini/ejecucion_ini.h"
#include "actions/ini/hexadecimal.h"
#include "core/errores.h"
#include "core/texto.h"
#include "core/textos.h"

namespace pelmaro {
namespace {

constexpr DWORD kTamanyoValor = 2048;
constexpr DWORD kTamanyoLista = 16384;
constexpr std::size_t kMaximoBinario = 1023;

// An INI file as the profile functions see it. Destroying it flushes the file's profile
// cache, whatever happened before.
class TAccesoIni {
 public:
  explicit TAccesoIni(const char* archivo) : archivo_(archivo) {}
  ~TAccesoIni() { Vaciar(); }
  TAccesoIni(const TAccesoIni&) = delete;
  TAccesoIni& operator=(const TAccesoIni&) = delete;

  std::string Leer(const char* seccion, const char* clave, const char* defecto) const {
    std::string buffer(kTamanyoValor, '\0');
    DWORD n = GetPrivateProfileStringA(seccion, clave, defecto, buffer.data(), kTamanyoValor, archivo_.c_str());
    buffer.resize(n);
    return buffer;
  }

  void Escribir(const char* seccion, const char* clave, const char* valor) const {
    if (!WritePrivateProfileStringA(seccion, clave, valor, archivo_.c_str())) ErrorEscritura();
  }

  std::vector<std::string> Claves(const char* seccion) const {
    std::vector<char> buffer(kTamanyoLista, '\0');
    DWORD n = GetPrivateProfileStringA(seccion, nullptr, nullptr, buffer.data(), kTamanyoLista, archivo_.c_str());
    return NombresSeparadosPorCeros(buffer.data(), n);
  }

  bool ExisteClave(const char* seccion, const char* clave) const {
    for (const std::string& c : Claves(seccion))
      if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, c.c_str(), -1, clave, -1) == CSTR_EQUAL) return true;
    return false;
  }

  bool ExisteSeccion(const char* seccion) const { return !Claves(seccion).empty(); }

  void BorrarClave(const char* seccion, const char* clave) const {
    WritePrivateProfileStringA(seccion, clave, nullptr, archivo_.c_str());
  }

  void BorrarSeccion(const char* seccion) const {
    if (!WritePrivateProfileStringA(seccion, nullptr, nullptr, archivo_.c_str())) ErrorEscritura();
  }

  std::vector<std::string> Valores(const char* seccion) const {
    std::vector<std::string> valores;
    for (const std::string& clave : Claves(seccion)) {
      std::string linea = clave + "=" + Leer(seccion, clave.c_str(), "");
      valores.push_back(linea.substr(linea.find('=') + 1));
    }
    return valores;
  }

  void Vaciar() const { WritePrivateProfileStringA(nullptr, nullptr, nullptr, archivo_.c_str()); }

 private:
  [[noreturn]] void ErrorEscritura() const {
    throw EIniFileException(Formatear("Unable to write to %s", archivo_));
  }

  std::string archivo_;
};

}  // namespace

TablaManejadores TEjecucionAccArchivosIni::Tabla() {
  static const EntradaManejador kFilas[] = {
      {800, LeerIni},           {801, EscribirIni},        {802, SeccionIni},       {803, SeccionesIni},
      {804, ExisteValorIni},    {805, BorrarClaveIni},     {806, LeerBinarioIni},   {807, EscribirBinarioIni},
      {808, BorrarSeccionIni},  {809, VaciarSeccionIni},   {810, ExisteSeccionIni}, {811, ValoresSeccionIni},
  };
  return pelmaro::Tabla(kFilas);
}

std::uint8_t TEjecucionAccArchivosIni::LeerIni(const Parametros& p) {
  return ConTrampa([&] { resultado::Valor(TAccesoIni(p[0]).Leer(p[1], p[2], p[3])); });
}

std::uint8_t TEjecucionAccArchivosIni::EscribirIni(const Parametros& p) {
  return ConTrampa([&] {
    TAccesoIni(p[0]).Escribir(p[1], p[2], p[3]);
    resultado::Verdadero();
  });
}

std::uint8_t TEjecucionAccArchivosIni::SeccionIni(const Parametros& p) {
  return ConTrampa([&] { resultado::Lista(TAccesoIni(p[0]).Claves(p[1])); });
}

std::uint8_t TEjecucionAccArchivosIni::SeccionesIni(const Parametros& p) {
  return ConTrampa([&] { resultado::Lista(TAccesoIni(p[0]).Claves(nullptr)); });
}

std::uint8_t TEjecucionAccArchivosIni::ExisteValorIni(const Parametros& p) {
  return ConTrampa([&] { resultado::Valor(TextoBooleano(TAccesoIni(p[0]).ExisteClave(p[1], p[2]))); });
}

std::uint8_t TEjecucionAccArchivosIni::BorrarClaveIni(const Parametros& p) {
  return ConTrampa([&] {
    TAccesoIni(p[0]).BorrarClave(p[1], p[2]);
    resultado::Verdadero();
  });
}

std::uint8_t TEjecucionAccArchivosIni::LeerBinarioIni(const Parametros& p) {
  return ConTrampa([&] {
    TAccesoIni ini(p[0]);
    if (ini.ExisteClave(p[1], p[2])) resultado::Valor(DecodificarHexadecimal(ini.Leer(p[1], p[2], "")));
    else resultado::Valor(p[3]);
  });
}

std::uint8_t TEjecucionAccArchivosIni::EscribirBinarioIni(const Parametros& p) {
  return ConTrampa([&] {
    std::string_view valor(p[3]);
    if (valor.size() > kMaximoBinario) {
      resultado::Valor(Texto("DATA_LENGTH_EXCEDED"));
      return;
    }
    TAccesoIni(p[0]).Escribir(p[1], p[2], CodificarHexadecimal(valor).c_str());
    resultado::Verdadero();
  });
}

std::uint8_t TEjecucionAccArchivosIni::BorrarSeccionIni(const Parametros& p) {
  return ConTrampa([&] {
    TAccesoIni ini(p[0]);
    ini.BorrarSeccion(p[1]);
    ini.Vaciar();
    resultado::Verdadero();
  });
}

std::uint8_t TEjecucionAccArchivosIni::VaciarSeccionIni(const Parametros& p) {
  return ConTrampa([&] {
    TAccesoIni ini(p[0]);
    if (ini.ExisteSeccion(p[1]))
      for (const std::string& clave : ini.Claves(p[1])) ini.BorrarClave(p[1], clave.c_str());
    resultado::Verdadero();
  });
}

std::uint8_t TEjecucionAccArchivosIni::ExisteSeccionIni(const Parametros& p) {
  return ConTrampa([&] { resultado::Valor(TextoBooleano(TAccesoIni(p[0]).ExisteSeccion(p[1]))); });
}

std::uint8_t TEjecucionAccArchivosIni::ValoresSeccionIni(const Parametros& p) {
  return ConTrampa([&] { resultado::Lista(TAccesoIni(p[0]).Valores(p[1])); });
}

}  // namespace pelmaro
