// Enciphering of whole files: 8192-byte chunks through one CBC session.
#include <windows.h>

#include "actions/hashes/cifrado.h"
#include "actions/hashes/ejecucion_hashes.h"
#include "core/errores.h"
#include "core/texto.h"
#include "core/textos.h"

namespace pelmaro {
namespace {

constexpr DWORD kTrozo = 8192;
constexpr DWORD kTrozosPorLectura = 128;

class Archivo {
 public:
  Archivo() = default;
  ~Archivo() { Cerrar(); }
  Archivo(const Archivo&) = delete;
  Archivo& operator=(const Archivo&) = delete;
  HANDLE h = INVALID_HANDLE_VALUE;
  void Cerrar() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    h = INVALID_HANDLE_VALUE;
  }
};

bool ExisteArchivo(const char* ruta) {
  DWORD a = GetFileAttributesA(ruta);
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

void LeerExacto(HANDLE h, std::uint8_t* datos, DWORD n, const char* ruta) {
  DWORD leidos = 0;
  if (!ReadFile(h, datos, n, &leidos, nullptr) || leidos != n)
    throw EReadError(Formatear("Error reading \"%s\". %s", ruta, MensajeSistema(GetLastError())));
}

void EscribirExacto(HANDLE h, const std::uint8_t* datos, DWORD n, const char* ruta) {
  DWORD escritos = 0;
  if (!WriteFile(h, datos, n, &escritos, nullptr) || escritos != n)
    throw EFCreateError(Formatear("Error writing \"%s\". %s", ruta, MensajeSistema(GetLastError())));
}

}  // namespace

// A run that fails after creating the destination removes it again, so that no partly
// written file is left looking complete.
bool cifrado::TUtilesCifrador::CipherFile(const char* origen, const char* destino, const char* frase,
                                          const char* algoritmo, const char* resumen, bool descifrar) {
  if (!ExisteArchivo(origen)) return false;
  Archivo entrada, salida;
  entrada.h = CreateFileA(origen, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (entrada.h == INVALID_HANDLE_VALUE)
    throw EFOpenError(Formatear("Cannot open file \"%s\". %s", origen, MensajeSistema(GetLastError())));
  LARGE_INTEGER tamanyo;
  if (!GetFileSizeEx(entrada.h, &tamanyo)) LanzarErrorSistema();
  if (tamanyo.QuadPart >= (1LL << 32))
    throw Excepcion(Formatear(Texto("El archivo \"%s\" ocupa 4 GiB o más: no puede cifrarse"), origen));
  salida.h = CreateFileA(destino, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (salida.h == INVALID_HANDLE_VALUE)
    throw EFCreateError(Formatear("Cannot create file \"%s\". %s", destino, MensajeSistema(GetLastError())));
  try {
    cifrado::Sesion sesion(LeerEntero(algoritmo), LeerEntero(resumen), frase);
    // The data goes through the cipher in 8192-byte chunks; the disk is read and written a
    // mebibyte (128 chunks) at a time.
    std::uint32_t n = static_cast<std::uint32_t>(tamanyo.QuadPart);
    std::vector<std::uint8_t> bufer(kTrozo * kTrozosPorLectura);
    for (std::uint32_t hecho = 0; hecho < n;) {
      DWORD k = std::min<std::uint32_t>(static_cast<std::uint32_t>(bufer.size()), n - hecho);
      LeerExacto(entrada.h, bufer.data(), k, origen);
      for (DWORD i = 0; i < k; i += kTrozo) sesion.CBC(bufer.data() + i, std::min<DWORD>(kTrozo, k - i), descifrar);
      EscribirExacto(salida.h, bufer.data(), k, destino);
      hecho += k;
    }
    SecureZeroMemory(bufer.data(), bufer.size());
    if (!FlushFileBuffers(salida.h)) LanzarErrorSistema();
  } catch (...) {
    salida.Cerrar();
    DeleteFileA(destino);
    throw;
  }
  return true;
}

std::uint8_t TEjecucionAccHashes::CifrarCadena(const Parametros& p) {
  return ConTrampa([&] { resultado::Valor(cifrado::TUtilesCifrador::CipherText(p[0], p[1], p[2], p[3], EsVerdadero(p[4]))); });
}

std::uint8_t TEjecucionAccHashes::CifrarArchivo(const Parametros& p) {
  return ConTrampa([&] {
    if (cifrado::TUtilesCifrador::CipherFile(p[0], p[1], p[2], p[3], p[4], EsVerdadero(p[5]))) resultado::Verdadero();
    else resultado::Valor(kFalso);
  });
}

}  // namespace pelmaro
