// Image utilities of the "Imágenes" actions (Windows only): name checks, loading, the
// transforms, saving, and the capture of a window.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pelmaro {

class TUtilesImagenes {
 public:
  // Each raises an error on every failure it detects and returns true when the image was
  // written. The input is never changed unless the output names the same file.
  static bool Convertir(const std::string& entrada, const std::string& salida);
  // The angle text is read as a whole number (0 when it is not one).
  static bool Rotar(const std::string& entrada, const std::string& salida, const std::string& angulo);
  // With an empty output and empty or blank sizes: the size is only read into `ancho` and
  // `alto`. Otherwise the image is scaled to exactly the sizes given (0 where not a number).
  static bool Tamanyo(const std::string& entrada, const std::string& salida, std::string& ancho, std::string& alto);
  static bool Invertir(const std::string& entrada, const std::string& salida);
  static bool Espejar(const std::string& entrada, const std::string& salida);
  // Whether the extension (no dot) is the key extension of a format that can write, or of
  // any format.
  static bool FormatoSalidaDisponible(const std::string& extension);
  static bool FormatoEntradaDisponible(const std::string& extension);
  // A BMP picture of the window (an HWND) with its frame, at the display's colour depth,
  // whatever the file's extension.
  static void CapturarVentana(std::uintptr_t ventana, const std::string& archivo);
};

// Writes a file so that a failure never leaves a partial file under its name; raises
// EFCreateError when it cannot.
void GuardarArchivoImagen(const std::string& ruta, const std::vector<std::uint8_t>& datos);

}  // namespace pelmaro
