// File utilities of the "Archivos" actions (Windows only).
#pragma once
#include <cstdint>
#include <string>

namespace pelmaro {

class TUtilesArchivos {
 public:
  enum class Operacion { kMover = 1, kCopiar = 2, kBorrar = 3 };
  enum class Resultado { kHecho, kCancelado };
  // One shell file operation on one source (wildcards allowed) into one destination folder
  // (ignored for a delete). Raises EOSError when the shell reports failure.
  static Resultado OperacionShell(Operacion operacion, const std::string& origen, const std::string& destino,
                                  bool papelera, bool progreso);

  // True when the shortcut file was saved. Raises EOSError when the shell link object
  // cannot be had.
  static bool CrearAccesoDirecto(const std::string& nombre, const std::string& descripcion,
                                 const std::string& carpeta, const std::string& destino,
                                 const std::string& argumentos);
  // Size of the first directory entry the path finds; 0 when it finds none.
  static std::uint64_t TamanyoArchivo(const std::string& ruta);
  // Date text of a time stamp of the first entry found (0 creation, 1 last write,
  // 2 last access, anything else creation); empty when nothing is found.
  static std::string FechaArchivo(const std::string& ruta, int cual);

  // Icon handles (HICON) or null. The caller destroys them.
  static void* IconoAsociado(const std::string& archivo);
  static void* IconoEjecutable(const std::string& archivo, int indice, bool pequenyo);
  // Writes the icon to a .ico file; raises EFCreateError or EOSError when it cannot.
  static void GuardarIcono(void* icono, const std::string& archivo);
  // Writes every icon of the file as <folder>\<index>.ico when the folder exists; gives the
  // number of icons in the file.
  static int GuardarIconos(const std::string& archivo, const std::string& carpeta, bool pequenyo);
};

}  // namespace pelmaro
