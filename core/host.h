// The procedures the host hands over, the slots that hold them, and the string handover.
#pragma once
#include <cstdint>
#include <string>

#include "core/convencion.h"

namespace pelmaro {

// A string slot: a cell holding a pointer to a zero-terminated string in a GlobalAlloc block.
using RanuraCadena = char*;

using THostAddActionI386 = void(NB_REGISTRO*)(std::int32_t id, const char* nombre, const char* pista,
                                              std::int32_t cuenta, std::int32_t ultimo,
                                              const std::uint8_t* tipos);  // stack part reversed
using THostAddAction = void(NB_REGISTRO*)(std::int32_t id, const char* nombre, const char* pista,
                                          const std::uint8_t* tipos, std::int32_t ultimo,
                                          std::int32_t cuenta);
using THostGetVariable = void(NB_REGISTRO*)(const char* nombre, RanuraCadena* ranura);
using THostSetVariable = void(NB_REGISTRO*)(const char* nombre, const char* valor);
using THostInterfaceAccess = void(NB_REGISTRO*)(std::int32_t codigo, RanuraCadena* ranura);
using THostScriptProcessor = void(NB_REGISTRO*)(const char* linea);

// Module-level slots, empty when the library loads and written during the handshake.
struct RanurasHost {
  void* ventana = nullptr;
  void* anyadirAccion = nullptr;  // THostAddAction, or THostAddActionI386 on 32-bit x86
  void* reservado = nullptr;      // stored, never called
  THostGetVariable leerVariable = nullptr;
  THostSetVariable escribirVariable = nullptr;
  THostInterfaceAccess accesoInterfaz = nullptr;
  THostScriptProcessor procesadorGuion = nullptr;
};
RanurasHost& Host();

// Calls HostAddAction with the arguments in their documented order.
void LlamarAnyadirAccion(std::int32_t id, const char* nombre, const char* pista, const std::uint8_t* tipos,
                         std::int32_t ultimo, std::int32_t cuenta);

// String handover into a slot: the old block (if any) is released, a new one holds the text.
void AsignarPChar(RanuraCadena* ranura, const std::string& texto);
// Releases the slot's block (if any) and empties the slot.
void LiberarPChar(RanuraCadena* ranura);
// Copies the text of a slot filled by the host and releases its block.
std::string TomarPChar(RanuraCadena* ranura);

}  // namespace pelmaro
