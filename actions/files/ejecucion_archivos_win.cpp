#include <windows.h>

#include "actions/files/ejecucion_archivos.h"
#include "actions/files/utiles_archivos.h"
#include "core/errores.h"
#include "core/texto.h"

namespace pelmaro {
namespace {

constexpr const char* kCancelado = "Cancelado";
constexpr DWORD kTamanyoRuta = 261;

using Op = TUtilesArchivos::Operacion;

// Copy, move or delete through the shell; P2 is the destination, or the recycle-bin choice
// of a delete; P3 shows the progress.
std::uint8_t OperacionArchivos(Op operacion, const Parametros& p) {
  return ConTrampa([&] {
    const bool borrar = operacion == Op::kBorrar;
    auto r = TUtilesArchivos::OperacionShell(operacion, p[0], borrar ? "" : p[1], borrar && EsVerdadero(p[1]),
                                              EsVerdadero(p[2]));
    resultado::Valor(r == TUtilesArchivos::Resultado::kCancelado ? kCancelado : kVerdadero);
  });
}

// A path from a system call that fills a buffer and answers the length (0 on failure). The
// answer is the text, or "False" and the system's text with completion 0.
template <class Llamada>
std::uint8_t RutaDelSistema(Llamada llamada) {
  std::string buffer(kTamanyoRuta, '\0');
  DWORD n = llamada(buffer.data(), kTamanyoRuta);
  if (n >= kTamanyoRuta) {  // too long for the buffer: ask again with the room it needs
    buffer.assign(n + 1, '\0');
    n = llamada(buffer.data(), n + 1);
    if (n >= buffer.size()) n = 0;
  }
  if (n == 0) {
    resultado::FalloSistema();
    return 0;
  }
  resultado::Valor(buffer.c_str());
  return 1;
}

std::uint8_t Fecha(const Parametros& p, int cual) {
  resultado::Valor(TUtilesArchivos::FechaArchivo(p[0], cual));
  return 1;
}

// Saves an icon handle to a file, then destroys it; "True" when there was one.
void GuardarYResponder(void* icono, const char* archivo) {
  if (!icono) {
    resultado::Valor(kFalso);
    return;
  }
  try {
    TUtilesArchivos::GuardarIcono(icono, archivo);
  } catch (...) {
    DestroyIcon(static_cast<HICON>(icono));
    throw;
  }
  DestroyIcon(static_cast<HICON>(icono));
  resultado::Verdadero();
}

}  // namespace

TablaManejadores TEjecucionAccArchivos::Tabla() {
  static const EntradaManejador kFilas[] = {
      {200, BorrarArchivos},      {201, MoverArchivos},           {202, CopiarArchivos},
      {203, BorrarCarpeta},       {204, MoverCarpeta},            {205, CopiarCarpeta},
      {206, AccesoDirecto},       {207, TamanyoArchivo},          {208, ArchivoTemporal},
      {209, IconoAsociado},       {210, IconoEjecutable},         {211, IconosEjecutable},
      {212, RutaLargaArchivo},    {213, RutaCortaArchivo},        {214, FechaCreacionArchivo},
      {215, FechaModificacionArchivo}, {216, FechaUltimoAccesoArchivo},
  };
  return pelmaro::Tabla(kFilas);
}

std::uint8_t TEjecucionAccArchivos::BorrarArchivos(const Parametros& p) { return OperacionArchivos(Op::kBorrar, p); }
std::uint8_t TEjecucionAccArchivos::MoverArchivos(const Parametros& p) { return OperacionArchivos(Op::kMover, p); }
std::uint8_t TEjecucionAccArchivos::CopiarArchivos(const Parametros& p) { return OperacionArchivos(Op::kCopiar, p); }
std::uint8_t TEjecucionAccArchivos::BorrarCarpeta(const Parametros& p) { return OperacionArchivos(Op::kBorrar, p); }
std::uint8_t TEjecucionAccArchivos::MoverCarpeta(const Parametros& p) { return OperacionArchivos(Op::kMover, p); }
std::uint8_t TEjecucionAccArchivos::CopiarCarpeta(const Parametros& p) { return OperacionArchivos(Op::kCopiar, p); }

std::uint8_t TEjecucionAccArchivos::AccesoDirecto(const Parametros& p) {
  if (TUtilesArchivos::CrearAccesoDirecto(p[0], p[1], p[2], p[3], p[4])) resultado::Verdadero();
  else resultado::Valor(kFalso);
  return 1;
}

std::uint8_t TEjecucionAccArchivos::TamanyoArchivo(const Parametros& p) {
  resultado::Valor(std::to_string(TUtilesArchivos::TamanyoArchivo(p[0])));
  return 1;
}

std::uint8_t TEjecucionAccArchivos::ArchivoTemporal(const Parametros&) {
  char carpeta[kTamanyoRuta] = {};
  DWORD n = GetTempPathA(kTamanyoRuta, carpeta);
  if (n == 0 || n >= kTamanyoRuta) {
    if (n != 0) SetLastError(ERROR_BUFFER_OVERFLOW);
    resultado::FalloSistema();
    return 0;
  }
  char archivo[kTamanyoRuta] = {};
  if (GetTempFileNameA(carpeta, "", 0, archivo) == 0) {
    resultado::FalloSistema();
    return 0;
  }
  resultado::Valor(archivo);
  return 1;
}

std::uint8_t TEjecucionAccArchivos::IconoAsociado(const Parametros& p) {
  GuardarYResponder(TUtilesArchivos::IconoAsociado(p[0]), p[1]);
  return 1;
}

std::uint8_t TEjecucionAccArchivos::IconoEjecutable(const Parametros& p) {
  GuardarYResponder(TUtilesArchivos::IconoEjecutable(p[0], LeerEnteroODefecto(p[2], 0), EsVerdadero(p[3])), p[1]);
  return 1;
}

std::uint8_t TEjecucionAccArchivos::IconosEjecutable(const Parametros& p) {
  resultado::Valor(EnteroATexto(TUtilesArchivos::GuardarIconos(p[0], p[1], EsVerdadero(p[2]))));
  return 1;
}

std::uint8_t TEjecucionAccArchivos::RutaLargaArchivo(const Parametros& p) {
  return RutaDelSistema([&](char* b, DWORD n) { return GetLongPathNameA(p[0], b, n); });
}

std::uint8_t TEjecucionAccArchivos::RutaCortaArchivo(const Parametros& p) {
  return RutaDelSistema([&](char* b, DWORD n) { return GetShortPathNameA(p[0], b, n); });
}

std::uint8_t TEjecucionAccArchivos::FechaCreacionArchivo(const Parametros& p) { return Fecha(p, 0); }
std::uint8_t TEjecucionAccArchivos::FechaModificacionArchivo(const Parametros& p) { return Fecha(p, 1); }
std::uint8_t TEjecucionAccArchivos::FechaUltimoAccesoArchivo(const Parametros& p) { return Fecha(p, 2); }

}  // namespace pelmaro
