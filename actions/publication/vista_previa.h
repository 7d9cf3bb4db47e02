// The picture behind the preview pane of the open and save picture dialogs. Decoding goes
// through what the system itself reads (OLE pictures: BMP, JPEG, GIF, PNG, icons,
// metafiles); the image codec layer can take its place here without the dialogs changing.
#pragma once
#include <string>

namespace pelmaro {

struct ImagenVistaPrevia {
  void* mapa = nullptr;  // HBITMAP (a DIB section) owned by the holder; null when unreadable
  int ancho = 0, alto = 0;
};

// Decodes the picture file; an empty result when it cannot be read.
ImagenVistaPrevia CargarVistaPrevia(const std::string& ruta);
void LiberarVistaPrevia(ImagenVistaPrevia& imagen);

// The filter the dialogs start with: one entry that covers every format the preview reads,
// then one entry per format, in the "Description|*.ext|..." form.
std::string FiltroImagenes();

}  // namespace pelmaro
