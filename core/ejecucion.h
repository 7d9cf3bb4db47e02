// Execution dispatch: the handler of every action number, and what handlers use to read
// their parameters and report their outcome.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pelmaro {

class Excepcion;

inline constexpr const char* kResultado = "krResultadoAccion";
inline constexpr const char* kUltimoError = "krUltimoError";

// The parameter texts of one call: exactly the registered number of them.
class Parametros {
 public:
  Parametros(const char* const* valores, std::int32_t cuenta) : valores_(valores), cuenta_(cuenta) {}
  // P1 is [0]. A missing element reads as the empty text.
  const char* operator[](std::int32_t i) const {
    if (!valores_ || i < 0 || i >= cuenta_ || !valores_[i]) return "";
    return valores_[i];
  }
  std::int32_t Cuenta() const { return cuenta_; }

 private:
  const char* const* valores_;
  std::int32_t cuenta_;
};

// A handler returns its completion flag, 1 or 0.
using Manejador = std::uint8_t (*)(const Parametros&);

struct EntradaManejador {
  std::int32_t id;
  Manejador manejador;
};

struct TablaManejadores {
  const EntradaManejador* filas;
  std::size_t cuenta;
};

template <std::size_t N>
constexpr TablaManejadores Tabla(const EntradaManejador (&filas)[N]) {
  return {filas, N};
}

// nbExecAction after its trap: the version gate, the clearing steps and the dispatch.
std::int32_t EjecutarAccion(std::int32_t id, const char* const* parametros);

// The old-host gate: message, then the end of the process.
[[noreturn]] void TerminarPorHostAntiguo();

// Result protocol.
namespace resultado {
void Valor(const std::string& valor);                           // krResultadoAccion
void Verdadero();                                                // "True"
void Lista(const std::vector<std::string>& elementos);          // elements from 0, or "False" when empty
void Fallo(const std::string& textoError = std::string());     // "False", then krUltimoError
void FalloExcepcion(const Excepcion& e);                        // the exception text
void FalloParametros();                                         // the invalid-parameters text
void FalloSistema();                                            // the text of the last error code
void FalloMensaje(const Excepcion& e);                          // the message alone
// Inside a catch block: reports the error being handled with the exception text.
void FalloExcepcionActual();
}  // namespace resultado

// Runs a handler's work inside an error trap: an error becomes "False" and the exception
// text. Returns the completion flag, 1.
template <class Trabajo>
std::uint8_t ConTrampa(Trabajo&& trabajo) {
  try {
    trabajo();
  } catch (...) {
    resultado::FalloExcepcionActual();
  }
  return 1;
}

// The exception text: Excepción: "<class>". Mensaje: "<message>".
std::string TextoExcepcion(const char* clase, const std::string& mensaje);
// The system's message for an error code: no inserts, at most 256 characters, trailing
// blanks, line breaks and periods removed.
std::string MensajeSistema(unsigned long codigo);
// An EOSError for the calling thread's last error code.
[[noreturn]] void LanzarErrorSistema();

}  // namespace pelmaro
