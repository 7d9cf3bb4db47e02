#include "actions/system/carpetas.h"

namespace pelmaro {
namespace {

// The numbers of the Windows SDK's ShlObj.h (the sample and album folders come from its
// Windows XP edition; CSIDL_MYDOCUMENTS is CSIDL_PERSONAL there since Windows Vista).
constexpr TSHFolderEx::Fila kFilas[] = {
    {"CSIDL_ADMINTOOLS", 0x30},
    {"CSIDL_ALTSTARTUP", 0x1D},
    {"CSIDL_APPDATA", 0x1A},
    {"CSIDL_BITBUCKET", 0x0A},
    {"CSIDL_CDBURN_AREA", 0x3B},
    {"CSIDL_COMMON_ADMINTOOLS", 0x2F},
    {"CSIDL_COMMON_ALTSTARTUP", 0x1E},
    {"CSIDL_COMMON_APPDATA", 0x23},
    {"CSIDL_COMMON_DESKTOPDIRECTORY", 0x19},
    {"CSIDL_COMMON_DOCUMENTS", 0x2E},
    {"CSIDL_COMMON_FAVORITES", 0x1F},
    {"CSIDL_COMMON_MUSIC", 0x35},
    {"CSIDL_COMMON_PICTURES", 0x36},
    {"CSIDL_COMMON_PROGRAMS", 0x17},
    {"CSIDL_COMMON_STARTMENU", 0x16},
    {"CSIDL_COMMON_STARTUP", 0x18},
    {"CSIDL_COMMON_TEMPLATES", 0x2D},
    {"CSIDL_COMMON_VIDEO", 0x37},
    {"CSIDL_COMPUTERSNEARME", 0x3D},
    {"CSIDL_CONNECTIONS", 0x31},
    {"CSIDL_CONTROLS", 0x03},
    {"CSIDL_COOKIES", 0x21},
    {"CSIDL_DESKTOP", 0x00},
    {"CSIDL_DESKTOPDIRECTORY", 0x10},
    {"CSIDL_DRIVES", 0x11},
    {"CSIDL_FAVORITES", 0x06},
    {"CSIDL_FLAG_CREATE", 0x8000},
    {"CSIDL_FLAG_DONT_UNEXPAND", 0x2000},
    {"CSIDL_FLAG_DONT_VERIFY", 0x4000},
    {"CSIDL_FONTS", 0x14},
    {"CSIDL_HISTORY", 0x22},
    {"CSIDL_INTERNET_CACHE", 0x20},
    {"CSIDL_LOCAL_APPDATA", 0x1C},
    {"CSIDL_MYDOCUMENTS", 0x05},
    {"CSIDL_MYMUSIC", 0x0D},
    {"CSIDL_MYPICTURES", 0x27},
    {"CSIDL_MYVIDEO", 0x0E},
    {"CSIDL_NETHOOD", 0x13},
    {"CSIDL_NETWORK", 0x12},
    {"CSIDL_PERSONAL", 0x05},
    {"CSIDL_PHOTOALBUMS", 0x45},
    {"CSIDL_PLAYLISTS", 0x3F},
    {"CSIDL_PRINTERS", 0x04},
    {"CSIDL_PRINTHOOD", 0x1B},
    {"CSIDL_PROFILE", 0x28},
    {"CSIDL_PROGRAM_FILES", 0x26},
    {"CSIDL_PROGRAM_FILES_COMMON", 0x2B},
    {"CSIDL_PROGRAMS", 0x02},
    {"CSIDL_RECENT", 0x08},
    {"CSIDL_RESOURCES", 0x38},
    {"CSIDL_SAMPLE_MUSIC", 0x40},
    {"CSIDL_SAMPLE_PICTURES", 0x42},
    {"CSIDL_SAMPLE_PLAYLISTS", 0x41},
    {"CSIDL_SAMPLE_VIDEOS", 0x43},
    {"CSIDL_SENDTO", 0x09},
    {"CSIDL_STARTMENU", 0x0B},
    {"CSIDL_SYSTEM", 0x25},
    {"CSIDL_TEMPLATES", 0x15},
    {"CSIDL_WINDOWS", 0x24},
};

}  // namespace

const TSHFolderEx::Fila* TSHFolderEx::Filas(std::size_t& cuenta) {
  cuenta = sizeof kFilas / sizeof kFilas[0];
  return kFilas;
}

std::int32_t TSHFolderEx::NumeroCarpeta(const std::string& nombre) {
  for (const Fila& f : kFilas)
    if (nombre == f.nombre) return f.numero;
  return 0;
}

}  // namespace pelmaro
