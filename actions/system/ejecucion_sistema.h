// Handlers of the category "Sistema" (100-117).
#pragma once
#include "core/ejecucion.h"

namespace pelmaro {

class TEjecucionAccSistema {
 public:
  static TablaManejadores Tabla();

  static std::uint8_t ListarProcesos(const Parametros& p);
  static std::uint8_t MatarProcesos(const Parametros& p);
  static std::uint8_t HandleVentana(const Parametros& p);
  static std::uint8_t VersionWindows(const Parametros& p);
  static std::uint8_t VariablesEntorno(const Parametros& p);
  static std::uint8_t DirectorioSistema(const Parametros& p);
  static std::uint8_t ApagarWindows(const Parametros& p);
  static std::uint8_t ReiniciarWindows(const Parametros& p);
  static std::uint8_t ApagarOrdenador(const Parametros& p);
  static std::uint8_t PuedeHibernarse(const Parametros& p);
  static std::uint8_t HibernarOrdenador(const Parametros& p);
  static std::uint8_t PuedeSuspenderse(const Parametros& p);
  static std::uint8_t SuspenderOrdenador(const Parametros& p);
  static std::uint8_t CerrarSesionUsuario(const Parametros& p);
  static std::uint8_t UsuarioAdministrador(const Parametros& p);
  static std::uint8_t OcultarErroresCriticos(const Parametros& p);
  static std::uint8_t MostrarErroresCriticos(const Parametros& p);
  static std::uint8_t MostrarBarraTitulo(const Parametros& p);
};

}  // namespace pelmaro
