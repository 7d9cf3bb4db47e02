// A small toolkit for the plug-in's modal dialogs on plain Win32: forms, frames, labels, edit
// and combo boxes, check boxes, buttons, flat picture buttons, shapes, pictures and an action
// list with keyboard shortcuts.
//
// Components form an ownership tree: a form owns its components, a frame owns its own; the
// owner destroys what it owns. Windowed components are child windows of their owner's
// window; shapes and pictures are painted by their owner. Texts given to components are the
// Spanish design texts (UTF-8); TranslateComponent shows them in the current language and
// keeps the Spanish ones for RetranslateComponent. Values (edit and combo texts) are 8-bit
// texts in the system code page, as the host hands them over.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pelmaro::kit {

// ---- Resources, released on every path ------------------------------------------------------

class Fuente {
 public:
  Fuente(const wchar_t* cara, int puntos, int ppp, bool negrita = false);
  explicit Fuente(const LOGFONTW& lf);
  ~Fuente();
  Fuente(const Fuente&) = delete;
  Fuente& operator=(const Fuente&) = delete;
  HFONT h() const { return h_; }

 private:
  HFONT h_ = nullptr;
};

class Pincel {
 public:
  explicit Pincel(COLORREF color);
  ~Pincel();
  Pincel(const Pincel&) = delete;
  Pincel& operator=(const Pincel&) = delete;
  HBRUSH h() const { return h_; }

 private:
  HBRUSH h_ = nullptr;
};

// A device context of a window (or of the screen), released when it goes; objects selected
// into it are put back first.
class ContextoDibujo {
 public:
  explicit ContextoDibujo(HWND ventana, bool entera = false);
  ~ContextoDibujo();
  ContextoDibujo(const ContextoDibujo&) = delete;
  ContextoDibujo& operator=(const ContextoDibujo&) = delete;
  HDC h() const { return dc_; }
  void Seleccionar(HGDIOBJ objeto);

 private:
  HWND ventana_;
  HDC dc_;
  std::vector<HGDIOBJ> anteriores_;
};

// The library's own manifest (common controls 6), activated for as long as it lives, so that
// the dialogs get the system's current look and the host keeps its own.
class ContextoVisual {
 public:
  ContextoVisual();
  ~ContextoVisual();
  ContextoVisual(const ContextoVisual&) = delete;
  ContextoVisual& operator=(const ContextoVisual&) = delete;

 private:
  HANDLE ctx_ = INVALID_HANDLE_VALUE;
  ULONG_PTR cookie_ = 0;
  bool activo_ = false;
};

// Text conversions at the window boundary.
std::wstring DeUtf8(const std::string& t);
std::wstring DeAnsi(const std::string& t);
std::string AAnsi(const std::wstring& t);

// ---- Measures --------------------------------------------------------------------------------

// Sizes derived from a font, so that layouts follow the texts and the system's DPI.
struct Medidas {
  int ppp = 96;      // pixels per inch of the screen
  int ancho = 6;     // average character width of the dialog font
  int alto = 13;     // character height of the dialog font
  int X(int unidades) const { return MulDiv(unidades, ancho, 4); }  // dialog units
  int Y(int unidades) const { return MulDiv(unidades, alto, 8); }
};
Medidas MedirFuente(HFONT fuente);
SIZE MedirTexto(HFONT fuente, const std::wstring& texto);
// Height of a word-wrapped text in a box of the given width.
int AltoTextoAjustado(HFONT fuente, const std::wstring& texto, int ancho);

// ---- Components ----------------------------------------------------------------------------

class Contenedor;
class Formulario;

class Componente {
 public:
  Componente(Contenedor* dueno, std::string nombre);
  virtual ~Componente();
  Componente(const Componente&) = delete;
  Componente& operator=(const Componente&) = delete;

  const std::string& Nombre() const { return nombre_; }
  Contenedor* Dueno() const { return dueno_; }
  Formulario* Forma() const;
  HWND Ventana() const { return hwnd_; }

  std::int32_t tag = 0;
  RECT limites{};  // in the owner's client coordinates

  virtual void Colocar(int x, int y, int ancho, int alto);
  void Mostrar(bool visible);
  bool Visible() const { return visible_; }
  void Enfocar();

  // Design texts (Spanish, UTF-8).
  void FijarTexto(const std::string& espanol);
  const std::string& TextoDiseno() const { return texto_; }
  void FijarPista(const std::string& espanol);
  // Shows the design texts in the current language.
  virtual void AplicarIdioma();
  // The text shown now.
  std::wstring TextoMostrado() const;

  // Events from the window system.
  virtual void Comando(WORD /*codigo*/) {}
  virtual bool Dibujar(const DRAWITEMSTRUCT&) { return false; }
  virtual void Pintar(HDC) {}  // windowless components
  virtual HBRUSH Color(HDC) { return nullptr; }

  static Componente* DeVentana(HWND ventana);

 protected:
  void CrearVentana(const wchar_t* clase, DWORD estilo, DWORD estiloExt = 0);
  Contenedor* dueno_;
  std::string nombre_;
  HWND hwnd_ = nullptr;
  std::string texto_, pista_;
  bool visible_ = true;
};

// A component that owns components and holds a window of its own for them.
class Contenedor : public Componente {
 public:
  Contenedor(Contenedor* dueno, std::string nombre) : Componente(dueno, std::move(nombre)) {}
  ~Contenedor() override;

  template <class T, class... A>
  T* Crear(A&&... argumentos) {
    auto c = std::make_unique<T>(this, std::forward<A>(argumentos)...);
    T* p = c.get();
    componentes_.push_back(std::move(c));
    return p;
  }
  // Owned components in creation order.
  const std::vector<std::unique_ptr<Componente>>& Componentes() const { return componentes_; }
  Componente* Buscar(const std::string& nombre) const;
  void AplicarIdioma() override;
  HFONT FuenteDialogo() const;
  const Medidas& Medida() const;

  LRESULT Mensaje(UINT msg, WPARAM w, LPARAM l);
  virtual LRESULT Procesar(UINT msg, WPARAM w, LPARAM l);

 protected:
  void CrearContenedor(DWORD estilo, DWORD estiloExt, HWND padre);
  std::vector<std::unique_ptr<Componente>> componentes_;
  friend class Componente;
};

// A frame: a panel of controls inside a form, owned by it.
class Marco : public Contenedor {
 public:
  Marco(Contenedor* dueno, std::string nombre);
};

class Etiqueta : public Componente {
 public:
  Etiqueta(Contenedor* dueno, std::string nombre, HFONT fuente, bool ajustar = false);
  // Background behind a transparent label (the colour of the shape it sits on); CLR_INVALID
  // for the form's own.
  void FijarFondo(COLORREF color);
  HBRUSH Color(HDC dc) override;

 private:
  std::unique_ptr<Pincel> fondo_;
  COLORREF colorFondo_ = CLR_INVALID;
};

class Edicion : public Componente {
 public:
  Edicion(Contenedor* dueno, std::string nombre);
  std::string Valor() const;  // system code page
  void FijarValor(const std::string& ansi);
  void SeleccionarTodo();
  void AplicarIdioma() override {}  // its text is data
  std::function<void()> alCambiar;
  void Comando(WORD codigo) override;
};

class Combo : public Componente {
 public:
  Combo(Contenedor* dueno, std::string nombre, bool fija);
  bool Fija() const { return fija_; }
  void FijarEntradas(const std::vector<std::string>& espanol);  // design entries, translated
  void AnyadirDato(const std::string& ansi);                     // an entry that is data
  std::string Valor() const;
  void FijarValor(const std::string& ansi);  // a fixed list selects the entry with that text
  int Indice() const;
  void FijarIndice(int indice);
  int Cuenta() const;
  void SeleccionarTodo();
  void AplicarIdioma() override;

 private:
  bool fija_;
  std::vector<std::string> entradas_;
  std::vector<std::string> datos_;
};

class Casilla : public Componente {
 public:
  Casilla(Contenedor* dueno, std::string nombre, bool conTab);
  bool Marcada() const;
  // Changes the state; the click handler runs when the state changes, as for a click.
  void Marcar(bool marcada);
  std::function<void()> alPulsar;
  void Comando(WORD codigo) override;
};

enum class Resultado { Ninguno = 0, Aceptar = 1, Cancelar = 2 };

class Boton : public Componente {
 public:
  Boton(Contenedor* dueno, std::string nombre, bool porDefecto = false);
  Resultado resultado = Resultado::Ninguno;  // closes the form with this result
  std::function<void()> alPulsar;
  void Pulsar();
  void Comando(WORD codigo) override;
};

// The glyph a flat button draws.
enum class Dibujo { Variable, Objeto, Archivo, Carpeta, Puntos };

class BotonPlano : public Componente {
 public:
  BotonPlano(Contenedor* dueno, std::string nombre, Dibujo dibujo);
  void FijarDibujo(Dibujo d);
  std::function<void()> alPulsar;
  void Comando(WORD codigo) override;
  bool Dibujar(const DRAWITEMSTRUCT& d) override;
  void AplicarIdioma() override;

 private:
  Dibujo dibujo_;
  HWND ventanaPista_ = nullptr;  // the tooltip window, when the button has a hint
};

// A shape: a rectangle or rounded rectangle with a fill and a border.
class Forma : public Componente {
 public:
  Forma(Contenedor* dueno, std::string nombre, bool redondeada, COLORREF relleno, COLORREF borde, int grosor);
  void Pintar(HDC dc) override;
  COLORREF Relleno() const { return relleno_; }

 private:
  bool redondeada_;
  COLORREF relleno_, borde_;
  int grosor_;
};

// A small picture: one of the system's icons, drawn transparently.
class Imagen : public Componente {
 public:
  Imagen(Contenedor* dueno, std::string nombre, LPCWSTR icono);
  void Pintar(HDC dc) override;

 private:
  LPCWSTR icono_;
};

// Keyboard shortcuts of a form: a key runs an action wherever the focus is in it.
class ListaAcciones : public Componente {
 public:
  ListaAcciones(Contenedor* dueno, std::string nombre) : Componente(dueno, std::move(nombre)) {}
  void Anyadir(std::string nombre, UINT tecla, std::function<void()> accion);
  bool Tecla(UINT tecla);

 private:
  struct Accion {
    std::string nombre;
    UINT tecla;
    std::function<void()> ejecutar;
  };
  std::vector<Accion> acciones_;
};

// A top-level modal window: fixed dialog border, the dialog font, owned by the window that
// is active when it is created and centred on it.
class Formulario : public Contenedor {
 public:
  explicit Formulario(std::string nombre);
  ~Formulario() override;

  HFONT FuenteDialogo() const { return fuente_->h(); }
  const Medidas& Medida() const { return medidas_; }
  int Ppp() const { return medidas_.ppp; }
  // A font of the form's own, made once and released with it.
  HFONT FuenteNombrada(const wchar_t* cara, int puntos, bool negrita = false);

  Boton* botonDefecto = nullptr;
  Boton* botonCancelar = nullptr;
  Componente* primerFoco = nullptr;
  std::vector<ListaAcciones*> listas;

  void FijarAreaCliente(int ancho, int alto);
  int AnchoCliente() const;
  // Shows the form modally and runs its message loop until a button or the close box ends
  // it; the owner is disabled meanwhile.
  Resultado MostrarModal();
  void Cerrar(Resultado r) { resultado_ = r; }
  Resultado ResultadoModal() const { return resultado_; }
  // Runs while the form closes, before it is hidden.
  std::function<void(Resultado)> alCerrar;

  LRESULT Procesar(UINT msg, WPARAM w, LPARAM l) override;

 private:
  HWND propietario_ = nullptr;
  std::unique_ptr<Fuente> fuente_;
  struct FuenteGuardada {
    std::wstring cara;
    int puntos;
    bool negrita;
    std::unique_ptr<Fuente> fuente;
  };
  std::vector<FuenteGuardada> fuentes_;
  Medidas medidas_;
  Resultado resultado_ = Resultado::Ninguno;
};

// Translates a form's design texts (captions, labels, hints, list entries) into the current
// language, keeping the Spanish ones; component names are never translated.
void TranslateComponent(Formulario& forma);
// Shows the kept Spanish design texts again in the now current language.
void RetranslateComponent(Formulario& forma);

}  // namespace pelmaro::kit
