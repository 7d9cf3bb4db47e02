// The errors that utilities raise and handlers report. Each carries the class name that the
// exception text shows to the publication and a message (8-bit text, system code page).
#pragma once
#include <stdexcept>
#include <string>

namespace pelmaro {

class Excepcion : public std::runtime_error {
 public:
  explicit Excepcion(const std::string& mensaje, const char* clase = "Exception")
      : std::runtime_error(mensaje), clase_(clase) {}
  const char* Clase() const { return clase_; }
  std::string Mensaje() const { return what(); }

 private:
  const char* clase_;
};

// A text that is not a valid integer.
class EConvertError : public Excepcion {
 public:
  explicit EConvertError(const std::string& mensaje) : Excepcion(mensaje, "EConvertError") {}
};

// A failed operating-system call.
class EOSError : public Excepcion {
 public:
  EOSError(unsigned long codigo, const std::string& mensaje)
      : Excepcion(mensaje, "EOSError"), codigo_(codigo) {}
  unsigned long Codigo() const { return codigo_; }

 private:
  unsigned long codigo_;
};

// Errors that carry nothing but their class name and message.
#define PELMARO_ERROR_SIMPLE(Clase)                                              \
  class Clase : public Excepcion {                                               \
   public:                                                                       \
    explicit Clase(const std::string& mensaje) : Excepcion(mensaje, #Clase) {} \
  };

PELMARO_ERROR_SIMPLE(EIniFileException)
PELMARO_ERROR_SIMPLE(EFCreateError)
PELMARO_ERROR_SIMPLE(EFOpenError)
PELMARO_ERROR_SIMPLE(EReadError)
PELMARO_ERROR_SIMPLE(EImagingError)

#undef PELMARO_ERROR_SIMPLE

// Message of EOSError when the system gave no error code.
inline constexpr const char* kMensajeOSSinCodigo = "A call to an OS function failed";
// Form of the EOSError message for a known code: the code and the system's text.
inline constexpr const char* kFormatoMensajeOS = "System Error.  Code: %d.\r\n%s";
// Form of the EConvertError message for an invalid integer text.
inline constexpr const char* kFormatoEnteroInvalido = "'%s' is not a valid integer value";

}  // namespace pelmaro
