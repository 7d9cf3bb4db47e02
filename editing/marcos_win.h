// The parameter frames of the edit dialogs: a label above a text control and the buttons that
// help to fill it (a host variable, an object, a file or folder, a font, a subroutine).
#pragma once
#include <string>

#include "editing/kit_win.h"

namespace pelmaro {

// What every frame kind has: lbValor above the control, sbtnVariables beside it.
class TframeVar : public kit::Marco {
 public:
  TframeVar(kit::Contenedor* dueno, std::string nombre);
  kit::Etiqueta* lbValor;
  kit::BotonPlano* sbtnVariables;

  // The parameter text (system code page).
  virtual std::string Valor() const = 0;
  virtual void FijarValor(const std::string& ansi) = 0;
  // Focus to the text control, all of its text selected.
  virtual void EnfocarYSeleccionar() = 0;
  virtual kit::Componente* Control() = 0;

  // Lays the frame out at the given width; answers its height.
  int Disponer(int ancho);
  // The width the frame needs for its label.
  int AnchoNecesario() const;

  void sbtnVariablesClick();

 protected:
  void PonerDelante(kit::Componente* control);
  // Buttons right of the control, in order (visible ones only are laid out).
  std::vector<kit::Componente*> botones_;
  kit::Componente* extra_ = nullptr;  // the check box of a boolean frame
};

class TframeVarAlpha : public TframeVar {
 public:
  TframeVarAlpha(kit::Contenedor* dueno, std::string nombre);
  kit::Edicion* edValor;
  kit::BotonPlano* sbtnObjetos;   // tag 0 or 1: which object list
  kit::BotonPlano* sbtnArchivos;  // tag 0 open, 1 save, 2 folder
  // Sets the file button's mode, or hides it (-1).
  void FijarModoArchivo(int modo);

  std::string Valor() const override { return edValor->Valor(); }
  void FijarValor(const std::string& ansi) override { edValor->FijarValor(ansi); }
  void EnfocarYSeleccionar() override { edValor->SeleccionarTodo(); }
  kit::Componente* Control() override { return edValor; }

  void sbtnObjetosClick();
  void sbtnArchivosClick();
};

class TframeVarBoolean : public TframeVar {
 public:
  TframeVarBoolean(kit::Contenedor* dueno, std::string nombre);
  kit::Edicion* edValor;
  kit::Casilla* chBoolean;

  std::string Valor() const override { return edValor->Valor(); }
  void FijarValor(const std::string& ansi) override { edValor->FijarValor(ansi); }
  void EnfocarYSeleccionar() override { edValor->SeleccionarTodo(); }
  kit::Componente* Control() override { return edValor; }
  // The text first, then the box: ticked exactly when the text is true.
  void Rellenar(const std::string& ansi);

  void chBooleanClick();
};

class TframeVarCombo : public TframeVar {
 public:
  TframeVarCombo(kit::Contenedor* dueno, std::string nombre, bool fija = false);
  kit::Combo* cbValor;

  std::string Valor() const override { return cbValor->Valor(); }
  void FijarValor(const std::string& ansi) override { cbValor->FijarValor(ansi); }
  void EnfocarYSeleccionar() override { cbValor->SeleccionarTodo(); }
  kit::Componente* Control() override { return cbValor; }
};

class TframeVarFuente : public TframeVar {
 public:
  TframeVarFuente(kit::Contenedor* dueno, std::string nombre);
  kit::Edicion* edValor;
  kit::BotonPlano* sbtnFuente;

  std::string Valor() const override { return edValor->Valor(); }
  void FijarValor(const std::string& ansi) override { edValor->FijarValor(ansi); }
  void EnfocarYSeleccionar() override { edValor->SeleccionarTodo(); }
  kit::Componente* Control() override { return edValor; }

  void sbtnFuenteClick();
};

class TframeVarSubrutina : public TframeVar {
 public:
  // Fills its list with the publication's subroutines.
  TframeVarSubrutina(kit::Contenedor* dueno, std::string nombre);
  kit::Combo* cbValor;

  std::string Valor() const override { return cbValor->Valor(); }
  void FijarValor(const std::string& ansi) override { cbValor->FijarValor(ansi); }
  void EnfocarYSeleccionar() override { cbValor->SeleccionarTodo(); }
  kit::Componente* Control() override { return cbValor; }
};

}  // namespace pelmaro
