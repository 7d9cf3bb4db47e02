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

class EIniFileException : public Excepcion {
 public:
  explicit EIniFileException(const std::string& mensaje) : Excepcion(mensaje, "EIniFileException") {}
};

class EFCreateError : public Excepcion {
 public:
  explicit EFCreateError(const std::string& mensaje) : Excepcion(mensaje, "EFCreateError") {}
};

class EFOpenError : public Excepcion {
 public:
  explicit EFOpenError(const std::string& mensaje) : Excepcion(mensaje, "EFOpenError") {}
};

class EReadError : public Excepcion {
 public:
  explicit EReadError(const std::string& mensaje) : Excepcion(mensaje, "EReadError") {}
};

class EImagingError : public Excepcion {
 public:
  explicit EImagingError(const std::string& mensaje) : Excepcion(mensaje, "EImagingError") {}
};

// Message of EOSError when the system gave no error code.
inline constexpr const char* kMensajeOSSinCodigo = "A call to an OS function failed";
// Form of the EOSError message for a known code: the code and the system's text.
inline constexpr const char* kFormatoMensajeOS = "System Error.  Code: %d.\r\n%s";
// Form of the EConvertError message for an invalid integer text.
inline constexpr const char* kFormatoEnteroInvalido = "'%s' is not a valid integer value";

}  // namespace pelmaro
