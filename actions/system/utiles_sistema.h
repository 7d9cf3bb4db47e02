// System utilities of the "Sistema" actions: processes, windows, environment, version,
// administrator test, power and session (Windows only).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pelmaro {

class TUtilesSistema {
 public:
  // The executable names of the running processes (process id 0 left out), in snapshot
  // order; false when the snapshot could not be walked.
  static bool ListaProcesos(std::vector<std::string>& lista);
  // Terminates every process whose executable name equals `nombre` without regard to letter
  // case; the success of the last attempt, false when none matched.
  static bool MatarProcesos(const std::string& nombre);
  static std::string VersionWindows();
  // Every NAME=value string of the process environment.
  static void VariablesEntorno(std::vector<std::string>& lista);
  static bool UsuarioAdministrador();
  // Sets or clears the caption bits of a window's style and has its frame redrawn; true
  // when the style could be written.
  static bool MostrarBarraTitulo(std::intptr_t ventana, bool mostrar);
  static bool EsWindowsNT();

  // Session and power: each enables the shutdown privilege first on the NT family, then
  // makes its call; true when the call succeeded.
  static bool ApagarWindows(bool forzar);
  static bool ReiniciarWindows(bool forzar);
  static bool ApagarOrdenador(bool forzar);
  static bool CerrarSesion(bool forzar);
  static bool HibernarOrdenador(bool forzar);
  static bool SuspenderOrdenador(bool forzar);
  static bool PuedeHibernarse();
  static bool PuedeSuspenderse();
  static bool EstablecerPrivilegio(const char* privilegio, bool activar);
};

}  // namespace pelmaro
