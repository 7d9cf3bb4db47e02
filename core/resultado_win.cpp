// The result protocol and the error texts every handler uses.
#include <windows.h>

#include <new>
#include <stdexcept>

#include "core/ejecucion.h"
#include "core/errores.h"
#include "core/korutiles.h"
#include "core/textos.h"

namespace pelmaro {

std::string TextoExcepcion(const char* clase, const std::string& mensaje) {
  return Formatear(Texto(txt::kFormatoExcepcion), clase, mensaje);
}

std::string MensajeSistema(unsigned long codigo) {
  char buffer[257] = {};
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, codigo, 0, buffer,
                           256, nullptr);
  std::string texto(buffer, n);
  while (!texto.empty() && (static_cast<unsigned char>(texto.back()) <= 32 || texto.back() == '.'))
    texto.pop_back();
  return texto;
}

[[noreturn]] void LanzarErrorSistema() {
  DWORD codigo = GetLastError();
  if (codigo == 0) throw EOSError(0, kMensajeOSSinCodigo);
  throw EOSError(codigo, Formatear(kFormatoMensajeOS, EnteroATexto(static_cast<std::int32_t>(codigo)),
                                   MensajeSistema(codigo)));
}

namespace resultado {

void Valor(const std::string& valor) { TKorUtiles::EscribirVariable(kResultado, valor); }
void Verdadero() { Valor(kVerdadero); }

void Lista(const std::vector<std::string>& elementos) {
  if (elementos.empty()) {
    Valor(kFalso);
    return;
  }
  for (std::size_t i = 0; i < elementos.size(); ++i)
    TKorUtiles::EscribirElemento(static_cast<std::int32_t>(i), kResultado, elementos[i]);
}

void Fallo(const std::string& textoError) {
  Valor(kFalso);
  if (!textoError.empty()) TKorUtiles::EscribirVariable(kUltimoError, textoError);
}

void FalloExcepcion(const Excepcion& e) { Fallo(TextoExcepcion(e.Clase(), e.Mensaje())); }
void FalloParametros() { Fallo(Texto(txt::kParametrosIncorrectos)); }
void FalloSistema() { Fallo(MensajeSistema(GetLastError())); }
void FalloMensaje(const Excepcion& e) { Fallo(e.Mensaje()); }

void FalloExcepcionActual() {
  try {
    throw;
  } catch (const Excepcion& e) {
    FalloExcepcion(e);
  } catch (const std::bad_alloc&) {
    Fallo(TextoExcepcion("EOutOfMemory", "Out of memory"));
  } catch (const std::exception& e) {
    Fallo(TextoExcepcion("Exception", e.what()));
  } catch (...) {
    Fallo(TextoExcepcion("Exception", "Unknown error"));
  }
}

}  // namespace resultado
}  // namespace pelmaro
