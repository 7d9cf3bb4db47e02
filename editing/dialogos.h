// The edit dialogs as data: one row per dialog, one field row per parameter. A single builder
// (editing/edicion_win.cpp) turns a row into a TfrmEdicionAccBase with its frames, fills it
// from the parameters, shows it and writes the fields back.
//
// A dialog row reads as its design does:
//
//   {101, "TfrmMatarProcesos", <caption>, 101, <description>,
//    {CampoTexto("frameVarNombre", <label>)}},
//
// where every Spanish text is marked for the catalogue extraction.
//
// Texts are the Spanish design texts; the dialog translates them when it is built.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace pelmaro::edicion {

enum class TipoMarco : std::uint8_t { Alpha, Boolean, Combo, Fuente, Subrutina };

// The file button of a text frame, kept in its integer tag; Oculto hides it.
enum class ModoArchivo : std::int8_t { Oculto = -1, Abrir = 0, Guardar = 1, Carpeta = 2 };

// How a list field takes and gives its parameter.
enum class ModoLista : std::uint8_t {
  Libre,      // editable combo box: the parameter is its text
  SinCaso,    // editable; a text equal to an entry apart from letter case selects that entry
  Indice,     // fixed drop-down list: the parameter is the selected entry's index in decimal
};

struct Campo {
  TipoMarco tipo = TipoMarco::Alpha;
  const char* marco = "";     // the frame's component name ("frameVarNombre")
  const char* etiqueta = "";  // Spanish label
  ModoArchivo archivo = ModoArchivo::Oculto;
  const char* defecto = nullptr;  // replaces a blank parameter while filling, or nullptr
  std::vector<const char*> lista;  // list entries (data, or N_ texts for translated entries)
  ModoLista modoLista = ModoLista::Libre;
  bool alLado = false;  // stands to the right of the previous field instead of under it
  int orden = -1;       // its place in the Tab order and layout when it differs from its parameter's
};

// Field constructors, so that a row stays one line per parameter.
inline Campo CampoTexto(const char* marco, const char* etiqueta, ModoArchivo archivo = ModoArchivo::Oculto) {
  Campo c;
  c.marco = marco;
  c.etiqueta = etiqueta;
  c.archivo = archivo;
  return c;
}
inline Campo SiNo(const char* marco, const char* etiqueta, const char* defecto = nullptr) {
  Campo c;
  c.tipo = TipoMarco::Boolean;
  c.marco = marco;
  c.etiqueta = etiqueta;
  c.defecto = defecto;
  return c;
}
inline Campo Lista(const char* marco, const char* etiqueta, std::initializer_list<const char*> entradas,
                   ModoLista modo = ModoLista::Libre) {
  Campo c;
  c.tipo = TipoMarco::Combo;
  c.marco = marco;
  c.etiqueta = etiqueta;
  c.lista = entradas;
  c.modoLista = modo;
  return c;
}
inline Campo Fuente(const char* marco, const char* etiqueta) {
  Campo c;
  c.tipo = TipoMarco::Fuente;
  c.marco = marco;
  c.etiqueta = etiqueta;
  return c;
}
inline Campo Subrutina(const char* marco, const char* etiqueta) {
  Campo c;
  c.tipo = TipoMarco::Subrutina;
  c.marco = marco;
  c.etiqueta = etiqueta;
  return c;
}
// Modifiers for the few fields that need them.
inline Campo ConDefecto(Campo c, const char* defecto) {
  c.defecto = defecto;
  return c;
}
inline Campo AlLado(Campo c) {
  c.alLado = true;
  return c;
}
inline Campo EnOrden(Campo c, int orden) {
  c.orden = orden;
  return c;
}

struct Dialogo {
  std::int32_t id = 0;          // the action's number
  const char* clase = "";       // the dialog's class name ("TfrmMatarProcesos")
  const char* titulo = "";      // window caption and footer title (Spanish)
  std::int32_t tema = 0;        // help topic number
  const char* descripcion = "";  // footer description (Spanish)
  std::vector<Campo> campos;    // one per parameter, in parameter order
};

// The dialog of an action number, or nullptr when it has none.
const Dialogo* BuscarDialogo(std::int32_t id);
const std::vector<Dialogo>& Dialogos();

// Fields in layout and Tab order: indexes into `campos`.
std::vector<std::size_t> OrdenDeCampos(const Dialogo& d);

// Filling rules that need no window.
// The text a field opens with: the parameter, or the default when the parameter is blank
// (only blanks and control characters).
const char* TextoInicial(const Campo& c, const char* parametro);
// The entry an index list selects for a parameter: 0, or the parameter's integer when it is a
// valid integer text (which may lie outside the list: then nothing is selected).
std::int64_t IndiceDeLista(const char* parametro);
// The entry a case-blind list selects for a text, or -1.
int EntradaSinCaso(const Campo& c, const char* texto);

}  // namespace pelmaro::edicion
