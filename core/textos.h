// The plug-in's translatable texts. Every text is written here in Spanish (UTF-8 in the
// sources) and is its own message identifier; fetching it gives the current language.
#pragma once
#include <string>

// Marks a Spanish text as translatable where it is not handed straight to Texto or Traducir
// (tables, constants): the catalogue extraction looks for N_ as well.
#define N_(texto) texto

namespace pelmaro {

namespace txt {
inline constexpr const char* kNombrePlugin = N_("Pelmaro");
inline constexpr const char* kPistaPlugin =
    N_("Todo tipo de acciones para todo tipo de tareas útiles en tus publicaciones.");
inline constexpr const char* kActualizaNeobook =
    N_("Actualiza tu Neobook. Este Plugin sólo funciona en versiones 4.1.3 ó superiores");
inline constexpr const char* kErrorConocido = N_("Error conocido");
inline constexpr const char* kPrecisaNeobook5 = N_("Esta característica precisa de Neobook 5.0.0 ó superior");
inline constexpr const char* kFormatoExcepcion = N_("Excepción: \"%s\". Mensaje: \"%s\".");
inline constexpr const char* kParametrosIncorrectos = N_("Los parámetros de la acción no son correctos");
}  // namespace txt

// The publisher line handed to the host; a fixed notice, never translated.
inline constexpr const char* kLineaEditor = "(c) 2026 Brelmont - Plugins Korvane";

// The text in the current language, still UTF-8: the catalogue's translation, or the Spanish
// text itself when the current catalogue has none (or none is installed). "" stays "".
std::string Traducir(const char* espanol);

// The text in the current language in the system's 8-bit code page, as the host wants it
// (UTF-8 off Windows).
std::string Texto(const char* espanol);

}  // namespace pelmaro
