// On-screen messages: texts drawn straight onto the screen, above every window, without frame
// or background, for a while (Windows only, osd_win.cpp).
#pragma once
#include <cstdint>
#include <string>

#include "core/texto.h"

namespace pelmaro {

inline constexpr const char* kClaseVentanaOSD = "TKorvaneOSDWindowClass";

// Shows one message at (x, y) in the font and colour described, hidden again after `ms`
// milliseconds by the window's timer. Raises EOSError when its window cannot be created.
void MostrarMensajeOSD(const std::string& texto, std::int32_t x, std::int32_t y, std::int32_t ms,
                       const DescripcionFuente& fuente);
// Hides every on-screen message of every process; false (with the last error set) when the
// windows cannot be enumerated.
bool OcultarMensajesOSD();

}  // namespace pelmaro
