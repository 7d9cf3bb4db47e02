// libFuzzer target of one image decoder, chosen at build time with -DCODEC=kCodecXxx.
#include <cstddef>
#include <cstdint>

#include "actions/images/codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamanyo) {
  const pelmaro::imagenes::Codec& codec = pelmaro::imagenes::CODEC;
  if (!codec.reconocer(datos, tamanyo)) return 0;
  try {
    pelmaro::imagenes::Imagen img = codec.leer(datos, tamanyo);
    // What the reader gives must be a whole image: the transforms walk every pixel.
    if (img.pixeles.size() != img.BytesFila() * static_cast<std::size_t>(img.alto)) __builtin_trap();
    if (img.formato == pelmaro::imagenes::FormatoPixel::kIndexado8)
      for (std::uint8_t v : img.pixeles)
        if (v >= img.paleta.size()) __builtin_trap();
  } catch (const pelmaro::EImagingError&) {
  }
  return 0;
}
