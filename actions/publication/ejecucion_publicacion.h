// Handlers of the categories "Diálogos" (300-303), "Publicación" (400-408) and "Ratón"
// (500-501).
#pragma once
#include "core/ejecucion.h"

namespace pelmaro {

class TEjecucionAccDialogos {
 public:
  static TablaManejadores Tabla();

  static std::uint8_t DialogoColor(const Parametros& p);
  static std::uint8_t DialogoFuente(const Parametros& p);
  static std::uint8_t DialogoAbrirImagen(const Parametros& p);
  static std::uint8_t DialogoGuardarImagen(const Parametros& p);
};

class TEjecucionAccPublicacion {
 public:
  static TablaManejadores Tabla();

  static std::uint8_t ReiniciarPub(const Parametros& p);
  static std::uint8_t IndiceAyuda(const Parametros& p);
  static std::uint8_t CerrarAyuda(const Parametros& p);
  static std::uint8_t IDTemaAyuda(const Parametros& p);
  static std::uint8_t URLTemaAyuda(const Parametros& p);
  static std::uint8_t BuscadorAyuda(const Parametros& p);
  static std::uint8_t ContenidosAyuda(const Parametros& p);
  static std::uint8_t EjecutarAccion(const Parametros& p);
  static std::uint8_t NumeroAleatorio(const Parametros& p);
};

class TEjecucionAccRaton {
 public:
  static TablaManejadores Tabla();

  static std::uint8_t OcultarRatonPub(const Parametros& p);
  static std::uint8_t MostrarRatonPub(const Parametros& p);
};

}  // namespace pelmaro
