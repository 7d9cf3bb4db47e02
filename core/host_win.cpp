#include <windows.h>

#include <cstring>

#include "core/host.h"

namespace pelmaro {

RanurasHost& Host() {
  static RanurasHost ranuras;
  return ranuras;
}

void LlamarAnyadirAccion(std::int32_t id, const char* nombre, const char* pista, const std::uint8_t* tipos,
                         std::int32_t ultimo, std::int32_t cuenta) {
  void* proc = Host().anyadirAccion;
  if (!proc) return;
#if NB_I386
  reinterpret_cast<THostAddActionI386>(proc)(id, nombre, pista, cuenta, ultimo, tipos);
#else
  reinterpret_cast<THostAddAction>(proc)(id, nombre, pista, tipos, ultimo, cuenta);
#endif
}

void AsignarPChar(RanuraCadena* ranura, const std::string& texto) {
  LiberarPChar(ranura);
  void* bloque = GlobalAlloc(0, texto.size() + 1);
  if (!bloque) throw std::bad_alloc();
  std::memcpy(bloque, texto.c_str(), texto.size() + 1);
  *ranura = static_cast<char*>(bloque);
}

void LiberarPChar(RanuraCadena* ranura) {
  if (*ranura) GlobalFree(*ranura);
  *ranura = nullptr;
}

std::string TomarPChar(RanuraCadena* ranura) {
  std::string texto = *ranura ? std::string(*ranura) : std::string();
  LiberarPChar(ranura);
  return texto;
}

}  // namespace pelmaro
