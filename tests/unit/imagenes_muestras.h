// Small images for the image tests: grey, palette, RGB and RGBA, with odd widths that need
// row padding, and a single pixel.
#pragma once
#include <cmath>
#include <string>
#include <vector>

#include "actions/images/imagen.h"

namespace prueba_imagenes {

using pelmaro::imagenes::CrearImagen;
using pelmaro::imagenes::FormatoPixel;
using pelmaro::imagenes::Imagen;

struct Muestra {
  std::string nombre;
  Imagen imagen;
  bool alfaParcial = false;
};

// A smooth picture (what lossy coders are made for).
inline Imagen Degradado(int ancho, int alto) {
  Imagen img = CrearImagen(ancho, alto, FormatoPixel::kRGB24);
  for (int y = 0; y < alto; ++y)
    for (int x = 0; x < ancho; ++x) {
      std::uint8_t* p = img.Fila(y) + 3 * x;
      p[0] = static_cast<std::uint8_t>(x * 255 / (ancho > 1 ? ancho - 1 : 1));
      p[1] = static_cast<std::uint8_t>(y * 255 / (alto > 1 ? alto - 1 : 1));
      p[2] = static_cast<std::uint8_t>(128 + (x - y) / 2);
    }
  return img;
}

// Peak signal-to-noise ratio in dB of two images of the same layout (99 when equal).
inline double Psnr(const Imagen& a, const Imagen& b) {
  double suma = 0;
  for (std::size_t i = 0; i < a.pixeles.size(); ++i) suma += std::pow(double(a.pixeles[i]) - b.pixeles[i], 2);
  return suma == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / (suma / a.pixeles.size()));
}

inline const std::vector<Muestra>& Muestras() {
  static const std::vector<Muestra> kMuestras = [] {
    std::vector<Muestra> m;
    Imagen gris = CrearImagen(5, 3, FormatoPixel::kGris8);
    for (std::size_t i = 0; i < gris.pixeles.size(); ++i) gris.pixeles[i] = static_cast<std::uint8_t>(i * 17);
    m.push_back({"gris 5x3", gris});
    Imagen paleta = CrearImagen(7, 4, FormatoPixel::kIndexado8);
    paleta.paleta = {{255, 0, 0, 255}, {0, 128, 0, 255}, {0, 0, 255, 255}, {250, 250, 10, 255}};
    for (std::size_t i = 0; i < paleta.pixeles.size(); ++i) paleta.pixeles[i] = static_cast<std::uint8_t>((i * 7 / 3) % 4);
    m.push_back({"paleta 7x4", paleta});
    m.push_back({"rgb 5x3", Degradado(5, 3)});
    Imagen rgba = CrearImagen(3, 2, FormatoPixel::kRGBA32);
    const std::uint8_t px[] = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 255, 0, 10, 20, 30, 255, 40, 50, 60, 200, 70, 80, 90, 255};
    rgba.pixeles.assign(px, px + sizeof px);
    m.push_back({"rgba 3x2", rgba, true});
    Imagen transparente = CrearImagen(3, 1, FormatoPixel::kRGBA32);
    const std::uint8_t tp[] = {255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 255, 255};
    transparente.pixeles.assign(tp, tp + sizeof tp);
    m.push_back({"transparente 3x1", transparente});
    Imagen uno = CrearImagen(1, 1, FormatoPixel::kRGB24);
    uno.pixeles = {12, 34, 56};
    m.push_back({"rgb 1x1", uno});
    return m;
  }();
  return kMuestras;
}

}  // namespace prueba_imagenes
