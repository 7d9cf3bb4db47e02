// The platform-free rules of the system actions: the Windows version names, the strings of
// an environment block and the flags of the session-ending calls.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pelmaro {

// Platforms as the version record gives them.
inline constexpr std::uint32_t kPlataformaWin32s = 0;
inline constexpr std::uint32_t kPlataforma9x = 1;
inline constexpr std::uint32_t kPlataformaNT = 2;

// "Win31", "Win95", "Win98", "WinME", "WinNT3", "WinNT4", "Win2K", "WinXP", "WinVista" or
// "WinDesconocido" (every 6.x version of the NT family is "WinVista").
std::string NombreVersion(std::uint32_t plataforma, std::uint32_t mayor, std::uint32_t menor);
inline constexpr const char* kVersionDesconocida = "WinDesconocido";

// Every NAME=value string of an environment block (strings ending in a zero byte, the block
// in an empty one), in block order; null gives none.
std::vector<std::string> CadenasEntorno(const char* bloque);

// The session-ending flags.
inline constexpr std::uint32_t kSalidaCerrarSesion = 0x0;
inline constexpr std::uint32_t kSalidaApagar = 0x1;
inline constexpr std::uint32_t kSalidaReiniciar = 0x2;
inline constexpr std::uint32_t kSalidaApagarEquipo = 0x8;
inline constexpr std::uint32_t kSalidaForzar = 0x4 | 0x10;  // EWX_FORCE | EWX_FORCEIFHUNG
// The flags for ExitWindowsEx: forcing only on the NT family.
inline std::uint32_t FlagsSalida(std::uint32_t base, bool forzar, bool esNT) {
  return forzar && esNT ? base | kSalidaForzar : base;
}

}  // namespace pelmaro
