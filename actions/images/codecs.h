// The codecs of the registered formats, one file each (the portable maps share one).
#pragma once
#include "actions/images/formatos.h"

namespace pelmaro::imagenes {

extern const Codec kCodecBmp;
extern const Codec kCodecJpeg;
extern const Codec kCodecPng;
extern const Codec kCodecGif;
extern const Codec kCodecTga;
extern const Codec kCodecPbm;
extern const Codec kCodecPgm;
extern const Codec kCodecPpm;
extern const Codec kCodecPam;
extern const Codec kCodecPfm;
extern const Codec kCodecJp2;

}  // namespace pelmaro::imagenes
