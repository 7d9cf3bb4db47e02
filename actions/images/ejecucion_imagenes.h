// Handlers of the category "Imágenes" (900-906).
#pragma once
#include "core/ejecucion.h"

namespace pelmaro {

class TEjecucionAccImagenes {
 public:
  static TablaManejadores Tabla();

  static std::uint8_t RotarImagen(const Parametros& p);
  static std::uint8_t ImagenVentana(const Parametros& p);
  static std::uint8_t ImagenPantalla(const Parametros& p);
  static std::uint8_t ConvertirImagen(const Parametros& p);
  static std::uint8_t TamanyoImagen(const Parametros& p);
  static std::uint8_t EspejarImagen(const Parametros& p);
  static std::uint8_t InvertirImagen(const Parametros& p);
};

}  // namespace pelmaro
