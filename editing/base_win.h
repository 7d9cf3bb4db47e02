// The base of every edit dialog: its parameter frames, built from a dialog row, above the
// footer (title, description, Aceptar, Cancelar, Ayuda), the help button and F1, the quote
// escaping on confirmation and the support text in the caption bar.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "editing/dialogos.h"
#include "editing/kit_win.h"
#include "editing/marcos_win.h"

namespace pelmaro {

class TframePieFrms : public kit::Marco {
 public:
  explicit TframePieFrms(kit::Contenedor* dueno, std::string nombre);
  kit::Forma* spTitulo;
  kit::Forma* spDescripcion;
  kit::Imagen* imgTitulo;
  kit::Etiqueta* lbTitulo;
  kit::Etiqueta* lbDescripcion;
  kit::Boton* btnAceptar;
  kit::Boton* btnCancelar;
  kit::Boton* btnAyuda;
  kit::ListaAcciones* acciones;

  void accAyudaExecute() { btnAyuda->Pulsar(); }
  // The width the footer needs at least: the title box and the three buttons.
  int AnchoNecesario() const;
  // Lays the footer out at the given width; answers its height.
  int Disponer(int ancho);
  int anchoTitulo = 0;  // spTitulo's width, set when the dialog is built
};

class TfrmEdicionAccBase : public kit::Formulario {
 public:
  // Builds the dialog of `diseno` (owned by the active window), applies the stored language,
  // translates it and lays it out.
  TfrmEdicionAccBase(const std::string& nombrePlugin, const edicion::Dialogo& diseno);

  TframePieFrms* framePieFrm;
  std::vector<TframeVar*> marcos;  // one per parameter, in parameter order

  const std::string& FNombrePlugin() const { return FNombrePlugin_; }
  const std::string& FTextoApoyo() const { return FTextoApoyo_; }

  void FormClose(kit::Resultado resultado);
  void framePieFrmbtnAyudaClick();

  LRESULT Procesar(UINT msg, WPARAM w, LPARAM l) override;

 private:
  void Disponer(const edicion::Dialogo& diseno);
  void PintarApoyo();
  LRESULT WMSetCursor(WPARAM w, LPARAM l);
  int AnchoApoyo();

  std::string FNombrePlugin_;
  std::string FTextoApoyo_;
  std::unique_ptr<kit::Fuente> fuenteApoyo_;
};

}  // namespace pelmaro
