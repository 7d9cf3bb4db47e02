#include "editing/edicion.h"

#include "core/catalogo.h"
#include "core/korutiles.h"
#include "core/textos.h"
#include "editing/base_win.h"

namespace pelmaro {
namespace {

using edicion::Campo;
using edicion::ModoLista;
using edicion::TipoMarco;

void Rellenar(TframeVar& marco, const Campo& c, const char* parametro) {
  const char* texto = parametro ? parametro : "";
  if (c.tipo == TipoMarco::Boolean) {
    // The box first; a default comes after it, so that it does not tick the box.
    static_cast<TframeVarBoolean&>(marco).Rellenar(texto);
    if (edicion::TextoInicial(c, texto) != texto) marco.FijarValor(c.defecto);
    return;
  }
  if (c.tipo == TipoMarco::Combo) {
    kit::Combo& cb = *static_cast<TframeVarCombo&>(marco).cbValor;
    if (c.modoLista == ModoLista::Indice) {
      cb.FijarIndice(0);
      std::int64_t i = edicion::IndiceDeLista(texto);
      cb.FijarIndice(i >= 0 && i < cb.Cuenta() ? static_cast<int>(i) : -1);
      return;
    }
    if (c.modoLista == ModoLista::SinCaso) {
      int i = edicion::EntradaSinCaso(c, texto);
      if (i >= 0) {
        cb.FijarIndice(i);
        return;
      }
    }
  }
  marco.FijarValor(edicion::TextoInicial(c, texto));
}

std::string ValorFinal(TframeVar& marco, const Campo& c) {
  if (c.tipo == TipoMarco::Combo && c.modoLista == ModoLista::Indice)
    return EnteroATexto(static_cast<TframeVarCombo&>(marco).cbValor->Indice());
  return marco.Valor();
}

}  // namespace

bool TEdicionAcc::Editar(const edicion::Dialogo& dialogo, RanuraCadena* parametros) {
  std::string nombre = Traducir(txt::kNombrePlugin);
  kit::ContextoVisual visual;
  TfrmEdicionAccBase frm(nombre, dialogo);
  for (std::size_t i = 0; i < dialogo.campos.size(); ++i) Rellenar(*frm.marcos[i], dialogo.campos[i], parametros[i]);
  if (frm.MostrarModal() != kit::Resultado::Aceptar) return false;
  std::vector<std::string> valores;
  for (std::size_t i = 0; i < dialogo.campos.size(); ++i) valores.push_back(ValorFinal(*frm.marcos[i], dialogo.campos[i]));
  for (std::size_t i = 0; i < valores.size(); ++i) TKorUtiles::AsignarPChar(&parametros[i], valores[i]);
  return true;
}

std::int32_t TEdicionAcc::EditarAccion(std::int32_t id, RanuraCadena* parametros) {
  const FilaCatalogo* fila = BuscarAccion(id);
  if (!fila || fila->Parametros() == 0 || !parametros) return 0;
  const edicion::Dialogo* dialogo = edicion::BuscarDialogo(id);
  if (!dialogo || static_cast<std::int32_t>(dialogo->campos.size()) != fila->Parametros()) return 0;
  return Editar(*dialogo, parametros) ? 1 : 0;
}

}  // namespace pelmaro
