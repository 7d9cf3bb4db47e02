#include "editing/base_win.h"

#include <windows.h>
#include <shellapi.h>

#include <algorithm>

#include "core/korutiles.h"
#include "core/textos.h"
#include "i18n/idioma.h"
#include "i18n/posinstalacion.h"

namespace pelmaro {
namespace {

namespace t {
inline constexpr const char* kAceptar = N_("Aceptar");
inline constexpr const char* kCancelar = N_("Cancelar");
inline constexpr const char* kAyuda = N_("Ayuda");
inline constexpr const char* kApoyo = N_("¡Apóyame!");
inline constexpr const char* kSinAyuda = N_("No se encontró el archivo de ayuda. Por favor, reinstala el Plugin.");
inline constexpr const char* kGracias = N_("¡Muchas gracias por apoyar el desarrollo de los Korvane!");
}  // namespace t

// The family's donation page.
constexpr const char* kPaginaApoyo = "https://www.brelmont.es/korvane/apoyo/";

// Pixels of the design at 96 dpi, scaled to the screen.
int Px(const kit::Medidas& m, int pixeles) { return MulDiv(pixeles, m.ppp, 96); }

HFONT FuenteDe(const kit::Componente* c) {
  return reinterpret_cast<HFONT>(SendMessageW(c->Ventana(), WM_GETFONT, 0, 0));
}

TframeVar* CrearMarco(kit::Formulario& f, const edicion::Campo& c) {
  using edicion::TipoMarco;
  switch (c.tipo) {
    case TipoMarco::Boolean:
      return f.Crear<TframeVarBoolean>(c.marco);
    case TipoMarco::Combo: {
      auto m = f.Crear<TframeVarCombo>(c.marco, c.modoLista == edicion::ModoLista::Indice);
      m->cbValor->FijarEntradas(std::vector<std::string>(c.lista.begin(), c.lista.end()));
      if (c.modoLista == edicion::ModoLista::Indice) m->cbValor->FijarIndice(0);
      return m;
    }
    case TipoMarco::Fuente:
      return f.Crear<TframeVarFuente>(c.marco);
    case TipoMarco::Subrutina:
      return f.Crear<TframeVarSubrutina>(c.marco);
    case TipoMarco::Alpha:
      break;
  }
  auto m = f.Crear<TframeVarAlpha>(c.marco);
  m->FijarModoArchivo(static_cast<int>(c.archivo));
  return m;
}

}  // namespace

// ---- Footer ---------------------------------------------------------------------------------

TframePieFrms::TframePieFrms(kit::Contenedor* dueno, std::string nombre) : kit::Marco(dueno, std::move(nombre)) {
  kit::Formulario* f = Forma();
  HFONT arial = f->FuenteNombrada(L"Arial", 9);
  spTitulo = Crear<kit::Forma>("spTitulo", true, RGB(214, 214, 199), RGB(205, 205, 188), 3);
  spDescripcion = Crear<kit::Forma>("spDescripcion", false, RGB(255, 255, 225), RGB(208, 208, 193), 2);
  imgTitulo = Crear<kit::Imagen>("imgTitulo", MAKEINTRESOURCEW(32516));  // IDI_INFORMATION
  lbTitulo = Crear<kit::Etiqueta>("lbTitulo", arial);
  lbTitulo->FijarFondo(spTitulo->Relleno());
  lbDescripcion = Crear<kit::Etiqueta>("lbDescripcion", arial, true);
  lbDescripcion->FijarFondo(spDescripcion->Relleno());
  btnAceptar = Crear<kit::Boton>("btnAceptar", true);
  btnAceptar->FijarTexto(t::kAceptar);
  btnAceptar->resultado = kit::Resultado::Aceptar;
  btnCancelar = Crear<kit::Boton>("btnCancelar");
  btnCancelar->FijarTexto(t::kCancelar);
  btnCancelar->resultado = kit::Resultado::Cancelar;
  btnAyuda = Crear<kit::Boton>("btnAyuda");
  btnAyuda->FijarTexto(t::kAyuda);
  acciones = Crear<kit::ListaAcciones>("acciones");
  acciones->Anyadir("accAyuda", VK_F1, [this] { accAyudaExecute(); });
  f->botonDefecto = btnAceptar;
  f->botonCancelar = btnCancelar;
  f->listas.push_back(acciones);
}

int TframePieFrms::AnchoNecesario() const {
  const kit::Medidas& m = Medida();
  int boton = m.X(50);
  for (const kit::Boton* b : {btnAceptar, btnCancelar, btnAyuda})
    boton = std::max<int>(boton, kit::MedirTexto(FuenteDe(b), b->TextoMostrado()).cx + m.X(8));
  return std::max(anchoTitulo, 3 * boton + 2 * m.X(4));
}

int TframePieFrms::Disponer(int ancho) {
  const kit::Medidas& m = Medida();
  int altoTitulo = Px(m, 30);
  spTitulo->Colocar(0, 0, anchoTitulo, altoTitulo);
  int icono = GetSystemMetrics(SM_CXSMICON);
  imgTitulo->Colocar(Px(m, 8), (altoTitulo - icono) / 2, icono, icono);
  SIZE titulo = kit::MedirTexto(FuenteDe(lbTitulo), lbTitulo->TextoMostrado());
  lbTitulo->Colocar(Px(m, 8) + icono + Px(m, 6), (altoTitulo - titulo.cy) / 2,
                    anchoTitulo - (Px(m, 8) + icono + Px(m, 6)) - Px(m, 6), titulo.cy);

  int y = altoTitulo + m.Y(3);
  int margen = m.X(4);
  int anchoTexto = ancho - 2 * margen;
  int altoTexto = kit::AltoTextoAjustado(FuenteDe(lbDescripcion), lbDescripcion->TextoMostrado(), anchoTexto);
  int altoCaja = altoTexto + 2 * m.Y(3);
  spDescripcion->Colocar(0, y, ancho, altoCaja);
  lbDescripcion->Colocar(margen, y + m.Y(3), anchoTexto, altoTexto);
  y += altoCaja + m.Y(7);

  int boton = m.X(50);
  for (const kit::Boton* b : {btnAceptar, btnCancelar, btnAyuda})
    boton = std::max<int>(boton, kit::MedirTexto(FuenteDe(b), b->TextoMostrado()).cx + m.X(8));
  int altoBoton = m.Y(14);
  int x = ancho;
  for (kit::Boton* b : {btnAyuda, btnCancelar, btnAceptar}) {
    x -= boton;
    b->Colocar(x, y, boton, altoBoton);
    x -= m.X(4);
  }
  int total = y + altoBoton;
  MoveWindow(hwnd_, limites.left, limites.top, ancho, total, FALSE);
  limites.right = limites.left + ancho;
  limites.bottom = limites.top + total;
  return total;
}

// ---- The base dialog ------------------------------------------------------------------------

TfrmEdicionAccBase::TfrmEdicionAccBase(const std::string& nombrePlugin, const edicion::Dialogo& diseno)
    : kit::Formulario(diseno.clase) {
  // 1. The design: caption, one frame per parameter, the footer.
  FijarTexto(diseno.titulo);
  for (const edicion::Campo& c : diseno.campos) {
    TframeVar* m = CrearMarco(*this, c);
    m->lbValor->FijarTexto(c.etiqueta);
    marcos.push_back(m);
  }
  // Tab order: the frames in their layout order, then the footer.
  HWND anterior = HWND_TOP;
  for (std::size_t i : edicion::OrdenDeCampos(diseno)) {
    SetWindowPos(marcos[i]->Ventana(), anterior, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    anterior = marcos[i]->Ventana();
  }
  framePieFrm = Crear<TframePieFrms>("framePieFrm");
  framePieFrm->lbTitulo->FijarTexto(diseno.titulo);
  framePieFrm->lbDescripcion->FijarTexto(diseno.descripcion);
  framePieFrm->btnAyuda->tag = diseno.tema;
  framePieFrm->btnAyuda->alPulsar = [this] { framePieFrmbtnAyudaClick(); };
  if (!marcos.empty()) primerFoco = marcos[edicion::OrdenDeCampos(diseno).front()]->Control();
  alCerrar = [this](kit::Resultado r) { FormClose(r); };

  // 2-4. The plug-in's name, its stored language, the support text in that language.
  FNombrePlugin_ = nombrePlugin;
  UseLanguage(TPosInstalacion::ObtenerLenguaje(FNombrePlugin_));
  FTextoApoyo_ = Traducir(t::kApoyo);
  // 5. Every design text in that language.
  kit::TranslateComponent(*this);
  // 6. The title box: the translated title's width in the dialog font, plus 50; never less
  // than the icon and the title in its own (larger) font need.
  const kit::Medidas& m = Medida();
  int titulo = kit::MedirTexto(FuenteDialogo(), framePieFrm->lbTitulo->TextoMostrado()).cx + Px(m, 50);
  int necesario = kit::MedirTexto(FuenteDe(framePieFrm->lbTitulo), framePieFrm->lbTitulo->TextoMostrado()).cx +
                  GetSystemMetrics(SM_CXSMICON) + Px(m, 28);
  framePieFrm->anchoTitulo = std::max(titulo, necesario);

  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0);
  ncm.lfCaptionFont.lfWeight = FW_BOLD;
  ncm.lfCaptionFont.lfUnderline = TRUE;
  fuenteApoyo_ = std::make_unique<kit::Fuente>(ncm.lfCaptionFont);
  Disponer(diseno);
}

void TfrmEdicionAccBase::Disponer(const edicion::Dialogo& diseno) {
  const kit::Medidas& m = Medida();
  int margenX = m.X(7), margenY = m.Y(7);
  // Width: what the widest text needs, never narrower than a comfortable minimum.
  int ancho = std::max(m.X(230), framePieFrm->AnchoNecesario());
  for (TframeVar* f : marcos) ancho = std::max(ancho, f->AnchoNecesario() + m.X(4));
  // The caption bar holds the caption, the support text and the close box.
  int caption = kit::MedirTexto(fuenteApoyo_->h(), kit::DeUtf8(FTextoApoyo_)).cx +
                kit::MedirTexto(fuenteApoyo_->h(), TextoMostrado()).cx + 3 * GetSystemMetrics(SM_CXSIZE);
  ancho = std::max(ancho, caption - 2 * margenX);

  int y = margenY;
  std::vector<std::size_t> orden = edicion::OrdenDeCampos(diseno);
  for (std::size_t k = 0; k < orden.size();) {
    // A row: one field, or several side by side.
    std::size_t fin = k + 1;
    while (fin < orden.size() && diseno.campos[orden[fin]].alLado) ++fin;
    int n = static_cast<int>(fin - k);
    int separacion = m.X(6);
    int cada = (ancho - (n - 1) * separacion) / n;
    int alto = 0;
    for (std::size_t j = k; j < fin; ++j) {
      TframeVar* f = marcos[orden[j]];
      f->limites.left = margenX + static_cast<int>(j - k) * (cada + separacion);
      f->limites.top = y;
      alto = std::max(alto, f->Disponer(cada));
    }
    y += alto + m.Y(4);
    k = fin;
  }
  y += m.Y(3);
  framePieFrm->limites.left = margenX;
  framePieFrm->limites.top = y;
  y += framePieFrm->Disponer(ancho) + margenY;
  FijarAreaCliente(ancho + 2 * margenX, y);
}

void TfrmEdicionAccBase::FormClose(kit::Resultado resultado) {
  if (resultado != kit::Resultado::Aceptar) return;
  // Double quotes typed into an edit box of a frame become [#34]; combo boxes and the
  // dialog's own controls keep theirs.
  for (const auto& c : Componentes()) {
    auto marco = dynamic_cast<kit::Marco*>(c.get());
    if (!marco) continue;
    for (const auto& d : marco->Componentes())
      if (auto e = dynamic_cast<kit::Edicion*>(d.get())) e->FijarValor(TKorUtiles::EscaparComillas(e->Valor()));
  }
}

void TfrmEdicionAccBase::framePieFrmbtnAyudaClick() {
  TPosInstalacion::MostrarAyuda(FNombrePlugin_, Texto(t::kSinAyuda), framePieFrm->btnAyuda->tag);
}

int TfrmEdicionAccBase::AnchoApoyo() { return kit::MedirTexto(fuenteApoyo_->h(), kit::DeUtf8(FTextoApoyo_)).cx; }

void TfrmEdicionAccBase::PintarApoyo() {
  kit::ContextoDibujo dc(hwnd_, true);
  if (!dc.h()) return;
  dc.Seleccionar(fuenteApoyo_->h());
  std::wstring texto = kit::DeUtf8(FTextoApoyo_);
  SIZE s{};
  GetTextExtentPoint32W(dc.h(), texto.c_str(), static_cast<int>(texto.size()), &s);
  SetBkMode(dc.h(), TRANSPARENT);
  SetTextColor(dc.h(), GetSysColor(GetForegroundWindow() == hwnd_ ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
  int x = AnchoCliente() - GetSystemMetrics(SM_CXSMICON) - GetSystemMetrics(SM_CXFRAME) - s.cx - 4;
  int y = GetSystemMetrics(SM_CYFRAME) + (GetSystemMetrics(SM_CYCAPTION) - s.cy) / 2 - 1;
  TextOutW(dc.h(), x, y, texto.c_str(), static_cast<int>(texto.size()));
}

LRESULT TfrmEdicionAccBase::WMSetCursor(WPARAM w, LPARAM l) {
  LRESULT r = kit::Formulario::Procesar(WM_SETCURSOR, w, l);
  if (LOWORD(l) != HTCAPTION) {
    // Anywhere else the cursor of what lies under the mouse, as the default processing set it.
    return r;
  }
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(hwnd_, &p);
  int limite = AnchoCliente() - GetSystemMetrics(SM_CXSMICON) - 2 * GetSystemMetrics(SM_CXFRAME) - AnchoApoyo();
  if (p.x < limite) return r;
  SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)));  // IDC_HAND
  if (HIWORD(l) == WM_LBUTTONDOWN) {
    MessageBoxA(hwnd_, Texto(t::kGracias).c_str(), Texto(txt::kNombrePlugin).c_str(), MB_OK);
    ShellExecuteA(GetActiveWindow(), "open", kPaginaApoyo, nullptr, nullptr, SW_SHOWNORMAL);
  }
  return TRUE;
}

LRESULT TfrmEdicionAccBase::Procesar(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_NCPAINT:
    case WM_NCACTIVATE: {
      LRESULT r = kit::Formulario::Procesar(msg, w, l);
      PintarApoyo();
      return r;
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(w) == hwnd_) return WMSetCursor(w, l);
      break;
    default:
      break;
  }
  return kit::Formulario::Procesar(msg, w, l);
}

}  // namespace pelmaro
