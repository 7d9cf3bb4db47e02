#include <windows.h>

#include "actions/images/ejecucion_imagenes.h"
#include "actions/images/utiles_imagenes.h"
#include "core/texto.h"

namespace pelmaro {
namespace {

// krImagenVentana with the handle as text: "False" for 0 or a text that is not a number.
void CapturarPorTexto(const char* manejador, const char* archivo) {
  const std::int32_t ventana = LeerEnteroODefecto(manejador, 0);
  if (ventana == 0) {
    resultado::Fallo();
    return;
  }
  // Window handles are 32-bit values, sign-extended on 64-bit Windows.
  TUtilesImagenes::CapturarVentana(static_cast<std::uintptr_t>(static_cast<std::intptr_t>(ventana)), archivo);
  resultado::Verdadero();
}

template <class Operacion>
std::uint8_t Transformacion(Operacion operacion) {
  return ConTrampa([&] { resultado::Valor(TextoBooleano(operacion())); });
}

}  // namespace

TablaManejadores TEjecucionAccImagenes::Tabla() {
  static const EntradaManejador kFilas[] = {
      {900, RotarImagen},     {901, ImagenVentana}, {902, ImagenPantalla}, {903, ConvertirImagen},
      {904, TamanyoImagen},   {905, EspejarImagen}, {906, InvertirImagen},
  };
  return pelmaro::Tabla(kFilas);
}

std::uint8_t TEjecucionAccImagenes::RotarImagen(const Parametros& p) {
  return Transformacion([&] { return TUtilesImagenes::Rotar(p[0], p[1], p[2]); });
}

std::uint8_t TEjecucionAccImagenes::ImagenVentana(const Parametros& p) {
  return ConTrampa([&] { CapturarPorTexto(p[0], p[1]); });
}

std::uint8_t TEjecucionAccImagenes::ImagenPantalla(const Parametros& p) {
  return ConTrampa([&] {
    const std::string escritorio =
        EnteroATexto(static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(GetDesktopWindow())));
    CapturarPorTexto(escritorio.c_str(), p[0]);
  });
}

std::uint8_t TEjecucionAccImagenes::ConvertirImagen(const Parametros& p) {
  return Transformacion([&] { return TUtilesImagenes::Convertir(p[0], p[1]); });
}

std::uint8_t TEjecucionAccImagenes::TamanyoImagen(const Parametros& p) {
  return ConTrampa([&] {
    std::string ancho = p[2], alto = p[3];
    const bool consulta = Recortar(p[1]).empty() && Recortar(ancho).empty() && Recortar(alto).empty();
    const bool hecho = TUtilesImagenes::Tamanyo(p[0], p[1], ancho, alto);
    if (consulta) resultado::Valor(alto + "," + ancho);
    else resultado::Valor(TextoBooleano(hecho));
  });
}

std::uint8_t TEjecucionAccImagenes::EspejarImagen(const Parametros& p) {
  return Transformacion([&] { return TUtilesImagenes::Espejar(p[0], p[1]); });
}

std::uint8_t TEjecucionAccImagenes::InvertirImagen(const Parametros& p) {
  return Transformacion([&] { return TUtilesImagenes::Invertir(p[0], p[1]); });
}

}  // namespace pelmaro
