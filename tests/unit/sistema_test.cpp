// The platform-free rules of the system actions: version names, environment blocks, the
// special-folder names and the session-ending flags.
#include <gtest/gtest.h>

#include <set>

#include "actions/system/carpetas.h"
#include "actions/system/datos_sistema.h"

using namespace pelmaro;

TEST(Sistema, NombresDeVersion) {
  struct {
    std::uint32_t plataforma, mayor, menor;
    const char* nombre;
  } casos[] = {
      {0, 3, 10, "Win31"},         {1, 4, 0, "Win95"},          {1, 4, 3, "Win95"},
      {1, 4, 10, "Win98"},         {1, 4, 90, "WinME"},         {1, 4, 4, "WinDesconocido"},
      {1, 4, 50, "WinDesconocido"}, {2, 3, 51, "WinNT3"},       {2, 4, 0, "WinNT4"},
      {2, 5, 0, "Win2K"},          {2, 5, 1, "WinXP"},          {2, 5, 2, "WinDesconocido"},
      {2, 6, 0, "WinVista"},       {2, 6, 1, "WinVista"},       {2, 6, 3, "WinVista"},
      {2, 10, 0, "WinDesconocido"}, {2, 2, 0, "WinDesconocido"}, {3, 6, 1, "WinDesconocido"},
  };
  for (const auto& c : casos)
    EXPECT_EQ(NombreVersion(c.plataforma, c.mayor, c.menor), c.nombre)
        << c.plataforma << " " << c.mayor << "." << c.menor;
}

TEST(Sistema, CadenasDelBloqueDeEntorno) {
  // The first string is a variable like any other.
  const char bloque[] = "=C:=C:\\\0PATH=C:\\windows\0A=1=2\0";
  EXPECT_EQ(CadenasEntorno(bloque), (std::vector<std::string>{"=C:=C:\\", "PATH=C:\\windows", "A=1=2"}));
  const char uno[] = "SOLO=x\0";
  EXPECT_EQ(CadenasEntorno(uno), (std::vector<std::string>{"SOLO=x"}));
  EXPECT_TRUE(CadenasEntorno("\0").empty());
  EXPECT_TRUE(CadenasEntorno(nullptr).empty());
}

TEST(Sistema, NombresDeCarpeta) {
  std::size_t n = 0;
  const TSHFolderEx::Fila* filas = TSHFolderEx::Filas(n);
  EXPECT_EQ(n, 59u);
  std::set<std::string> nombres;
  for (std::size_t i = 0; i < n; ++i) {
    nombres.insert(filas[i].nombre);
    EXPECT_EQ(TSHFolderEx::NumeroCarpeta(filas[i].nombre), filas[i].numero) << filas[i].nombre;
  }
  EXPECT_EQ(nombres.size(), n);
  struct {
    const char* nombre;
    std::int32_t numero;
  } casos[] = {
      {"CSIDL_DESKTOP", 0},        {"CSIDL_APPDATA", 0x1A},          {"CSIDL_PLAYLISTS", 0x3F},
      {"CSIDL_PHOTOALBUMS", 0x45}, {"CSIDL_FLAG_CREATE", 0x8000},    {"CSIDL_FLAG_DONT_VERIFY", 0x4000},
      {"CSIDL_FLAG_DONT_UNEXPAND", 0x2000}, {"CSIDL_WINDOWS", 0x24}, {"CSIDL_DRIVES", 0x11},
      {"csidl_windows", 0},        {" CSIDL_WINDOWS", 0},            {"CSIDL_WINDOWS ", 0},
      {"", 0},                     {"CSIDL_STARTUP", 0},
  };
  for (const auto& c : casos) EXPECT_EQ(TSHFolderEx::NumeroCarpeta(c.nombre), c.numero) << c.nombre;
}

TEST(Sistema, FlagsDeSalida) {
  struct {
    std::uint32_t base;
    bool forzar, nt;
    std::uint32_t flags;
  } casos[] = {
      {kSalidaApagar, false, true, 0x1},        {kSalidaApagar, true, true, 0x15},
      {kSalidaReiniciar, true, true, 0x16},     {kSalidaApagarEquipo, true, true, 0x1C},
      {kSalidaCerrarSesion, true, true, 0x14},  {kSalidaCerrarSesion, false, true, 0x0},
      {kSalidaApagar, true, false, 0x1},        {kSalidaCerrarSesion, true, false, 0x0},
  };
  for (const auto& c : casos) EXPECT_EQ(FlagsSalida(c.base, c.forzar, c.nt), c.flags) << c.base;
}
