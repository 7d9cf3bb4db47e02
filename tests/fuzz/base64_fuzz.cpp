// libFuzzer target of the Base64 decoder that reads a publication's cipher texts.
#include <cstddef>
#include <cstdint>
#include <string>

#include "actions/hashes/cifrado.h"
#include "core/errores.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamanyo) {
  std::string_view texto(reinterpret_cast<const char*>(datos), tamanyo);
  try {
    const std::string bytes = pelmaro::cifrado::Base64Decodificar(texto);
    // Whatever decodes must come back to the same bytes.
    if (pelmaro::cifrado::Base64Decodificar(pelmaro::cifrado::Base64Codificar(bytes)) != bytes) __builtin_trap();
  } catch (const pelmaro::Excepcion&) {
  }
  return 0;
}
