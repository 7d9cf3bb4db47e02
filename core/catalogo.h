// The plug-in's catalogue: nine categories and their actions, in registration order.
// One table serves registration, execution dispatch and edit dispatch.
#pragma once
#include <cstdint>
#include <string_view>

namespace pelmaro {

// Parameter kinds as the host receives them.
enum : std::uint8_t {
  kTipoSinParametros = 0,  // the single placeholder byte of a row without parameters
  kTipoTexto = 1,          // an ordinary text parameter
  kTipoVariable = 6,       // names a host variable that the action writes
};

struct FilaCatalogo {
  std::int32_t id;     // 0 opens a category
  const char* nombre;  // Spanish, UTF-8: category title or action name
  const char* pista;   // Spanish, UTF-8: hint ("" for categories)
  const char* tipos;   // one decimal digit per parameter ("" for no parameters)

  std::int32_t Parametros() const { return static_cast<std::int32_t>(std::string_view(tipos).size()); }
  bool EsCategoria() const { return id == 0; }
};

// All rows in registration order (categories and actions).
const FilaCatalogo* FilasCatalogo();
int NumeroFilasCatalogo();

// The action row of a number, or nullptr when no action has it (0 included).
const FilaCatalogo* BuscarAccion(std::int32_t id);
// The action row of a name (exact), or nullptr.
const FilaCatalogo* BuscarAccionPorNombre(std::string_view nombre);
// The category row an action belongs to, or nullptr.
const FilaCatalogo* CategoriaDe(std::int32_t id);

}  // namespace pelmaro
