// libFuzzer target of the decoder of hexadecimal INI values.
#include <cstddef>
#include <cstdint>
#include <string>

#include "actions/ini/hexadecimal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* datos, std::size_t tamanyo) {
  std::string_view texto(reinterpret_cast<const char*>(datos), tamanyo);
  const std::string bytes = pelmaro::DecodificarHexadecimal(texto);
  if (bytes.size() > tamanyo / 2) __builtin_trap();
  if (pelmaro::DecodificarHexadecimal(pelmaro::CodificarHexadecimal(bytes)) != bytes) __builtin_trap();
  return 0;
}
