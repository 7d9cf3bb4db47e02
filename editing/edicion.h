// The edit dispatch behind nbEditAction: the action's dialog, filled from its parameters,
// shown modally and, after "Aceptar", every parameter slot replaced.
#pragma once
#include <cstdint>

#include "core/host.h"
#include "editing/dialogos.h"

namespace pelmaro {

class TEdicionAcc {
 public:
  // 1 when the author confirmed the dialog of action `id` and every slot was replaced; 0 for
  // an action without parameters or a number no action has, without showing anything.
  static std::int32_t EditarAccion(std::int32_t id, RanuraCadena* parametros);
  // The edit routine every dialog shares: true when the author confirmed.
  static bool Editar(const edicion::Dialogo& dialogo, RanuraCadena* parametros);
};

}  // namespace pelmaro
