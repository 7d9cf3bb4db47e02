#include "editing/kit_win.h"

#include <commctrl.h>

#include "core/textos.h"

namespace pelmaro::kit {
namespace {

constexpr wchar_t kClaseFormulario[] = L"PelmaroFormulario";
constexpr wchar_t kClaseMarco[] = L"PelmaroMarco";
constexpr wchar_t kPropiedad[] = L"PelmaroComponente";
// The manifest resource of a library (ISOLATIONAWARE_MANIFEST_RESOURCE_ID).
constexpr WORD kRecursoManifiesto = 2;

HMODULE ModuloPropio() {
  HMODULE m = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ModuloPropio), &m);
  return m;
}

std::wstring Convertir(const std::string& t, UINT pagina) {
  if (t.empty()) return {};
  int n = MultiByteToWideChar(pagina, 0, t.data(), static_cast<int>(t.size()), nullptr, 0);
  std::wstring w(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(pagina, 0, t.data(), static_cast<int>(t.size()), &w[0], n);
  return w;
}

LRESULT CALLBACK ProcedimientoVentana(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_NCCREATE) {
    auto cs = reinterpret_cast<CREATESTRUCTW*>(l);
    SetPropW(hwnd, kPropiedad, cs->lpCreateParams);
  }
  auto c = static_cast<Contenedor*>(GetPropW(hwnd, kPropiedad));
  if (msg == WM_NCDESTROY) RemovePropW(hwnd, kPropiedad);
  if (!c || msg == WM_NCDESTROY || msg == WM_NCCREATE) return DefWindowProcW(hwnd, msg, w, l);
  return c->Mensaje(msg, w, l);
}

void RegistrarClases() {
  HINSTANCE inst = ModuloPropio();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ProcedimientoVentana;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  WNDCLASSEXW existente{};
  existente.cbSize = sizeof existente;
  if (!GetClassInfoExW(inst, kClaseFormulario, &existente)) {
    wc.lpszClassName = kClaseFormulario;
    wc.style = CS_DBLCLKS;
    RegisterClassExW(&wc);
  }
  if (!GetClassInfoExW(inst, kClaseMarco, &existente)) {
    wc.lpszClassName = kClaseMarco;
    wc.style = 0;
    RegisterClassExW(&wc);
  }
}

int ControlSiguiente() {
  static int id = 1000;
  if (++id > 30000) id = 1001;
  return id;
}

}  // namespace

// ---- Resources ------------------------------------------------------------------------------

Fuente::Fuente(const wchar_t* cara, int puntos, int ppp, bool negrita) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(puntos, ppp, 72);
  lf.lfWeight = negrita ? FW_BOLD : FW_NORMAL;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  lstrcpynW(lf.lfFaceName, cara, LF_FACESIZE);
  h_ = CreateFontIndirectW(&lf);
}
Fuente::Fuente(const LOGFONTW& lf) { h_ = CreateFontIndirectW(&lf); }
Fuente::~Fuente() {
  if (h_) DeleteObject(h_);
}

Pincel::Pincel(COLORREF color) { h_ = CreateSolidBrush(color); }
Pincel::~Pincel() {
  if (h_) DeleteObject(h_);
}

ContextoDibujo::ContextoDibujo(HWND ventana, bool entera)
    : ventana_(ventana), dc_(entera ? GetWindowDC(ventana) : GetDC(ventana)) {}
ContextoDibujo::~ContextoDibujo() {
  if (!dc_) return;
  for (auto it = anteriores_.rbegin(); it != anteriores_.rend(); ++it) SelectObject(dc_, *it);
  ReleaseDC(ventana_, dc_);
}
void ContextoDibujo::Seleccionar(HGDIOBJ objeto) {
  if (dc_) anteriores_.push_back(SelectObject(dc_, objeto));
}

ContextoVisual::ContextoVisual() {
  ACTCTXW ac{};
  ac.cbSize = sizeof ac;
  ac.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  ac.hModule = ModuloPropio();
  ac.lpResourceName = MAKEINTRESOURCEW(kRecursoManifiesto);
  ctx_ = CreateActCtxW(&ac);
  if (ctx_ != INVALID_HANDLE_VALUE) activo_ = ActivateActCtx(ctx_, &cookie_) != FALSE;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
}
ContextoVisual::~ContextoVisual() {
  if (activo_) DeactivateActCtx(0, cookie_);
  if (ctx_ != INVALID_HANDLE_VALUE) ReleaseActCtx(ctx_);
}

std::wstring DeUtf8(const std::string& t) { return Convertir(t, CP_UTF8); }
std::wstring DeAnsi(const std::string& t) { return Convertir(t, CP_ACP); }
std::string AAnsi(const std::wstring& t) {
  if (t.empty()) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, t.data(), static_cast<int>(t.size()), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, t.data(), static_cast<int>(t.size()), &s[0], n, nullptr, nullptr);
  return s;
}

// ---- Measures -------------------------------------------------------------------------------

Medidas MedirFuente(HFONT fuente) {
  Medidas m;
  ContextoDibujo dc(nullptr);
  m.ppp = GetDeviceCaps(dc.h(), LOGPIXELSY);
  dc.Seleccionar(fuente);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc.h(), &tm);
  // The average width the dialog manager uses: the alphabet's extent, not tmAveCharWidth.
  SIZE s{};
  GetTextExtentPoint32W(dc.h(), L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &s);
  m.ancho = (s.cx / 26 + 1) / 2;
  m.alto = tm.tmHeight;
  return m;
}

SIZE MedirTexto(HFONT fuente, const std::wstring& texto) {
  ContextoDibujo dc(nullptr);
  dc.Seleccionar(fuente);
  SIZE s{};
  GetTextExtentPoint32W(dc.h(), texto.c_str(), static_cast<int>(texto.size()), &s);
  if (texto.empty()) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.h(), &tm);
    s.cy = tm.tmHeight;
  }
  return s;
}

int AltoTextoAjustado(HFONT fuente, const std::wstring& texto, int ancho) {
  ContextoDibujo dc(nullptr);
  dc.Seleccionar(fuente);
  RECT r{0, 0, ancho, 0};
  DrawTextW(dc.h(), texto.c_str(), static_cast<int>(texto.size()), &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  return r.bottom;
}

// ---- Components -----------------------------------------------------------------------------

Componente::Componente(Contenedor* dueno, std::string nombre) : dueno_(dueno), nombre_(std::move(nombre)) {}

Componente::~Componente() {
  if (hwnd_ && IsWindow(hwnd_)) {
    RemovePropW(hwnd_, kPropiedad);
    DestroyWindow(hwnd_);
  }
}

Formulario* Componente::Forma() const {
  const Componente* c = this;
  while (c->dueno_) c = c->dueno_;
  return dynamic_cast<Formulario*>(const_cast<Componente*>(c));
}

Componente* Componente::DeVentana(HWND ventana) { return static_cast<Componente*>(GetPropW(ventana, kPropiedad)); }

void Componente::CrearVentana(const wchar_t* clase, DWORD estilo, DWORD estiloExt) {
  HWND padre = dueno_ ? dueno_->Ventana() : nullptr;
  hwnd_ = CreateWindowExW(estiloExt, clase, L"", estilo | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, padre,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlSiguiente())), ModuloPropio(), nullptr);
  if (!hwnd_) return;
  SetPropW(hwnd_, kPropiedad, this);
  if (dueno_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(dueno_->FuenteDialogo()), FALSE);
}

void Componente::Colocar(int x, int y, int ancho, int alto) {
  limites = RECT{x, y, x + ancho, y + alto};
  if (hwnd_) MoveWindow(hwnd_, x, y, ancho, alto, FALSE);
}

void Componente::Mostrar(bool visible) {
  visible_ = visible;
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void Componente::Enfocar() {
  if (hwnd_) SetFocus(hwnd_);
}

void Componente::FijarTexto(const std::string& espanol) {
  texto_ = espanol;
  if (hwnd_) SetWindowTextW(hwnd_, DeUtf8(espanol).c_str());
}

void Componente::FijarPista(const std::string& espanol) { pista_ = espanol; }

void Componente::AplicarIdioma() {
  if (hwnd_ && !texto_.empty()) SetWindowTextW(hwnd_, DeUtf8(Traducir(texto_.c_str())).c_str());
}

std::wstring Componente::TextoMostrado() const {
  if (!hwnd_) return DeUtf8(texto_);
  int n = GetWindowTextLengthW(hwnd_);
  std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd_, &w[0], n + 1);
  w.resize(static_cast<std::size_t>(n));
  return w;
}

Contenedor::~Contenedor() {
  // Children first (in reverse creation order), then this window.
  while (!componentes_.empty()) componentes_.pop_back();
}

Componente* Contenedor::Buscar(const std::string& nombre) const {
  for (const auto& c : componentes_)
    if (c->Nombre() == nombre) return c.get();
  return nullptr;
}

void Contenedor::AplicarIdioma() {
  Componente::AplicarIdioma();
  for (const auto& c : componentes_) c->AplicarIdioma();
}

HFONT Contenedor::FuenteDialogo() const {
  Formulario* f = Forma();
  return f ? f->FuenteDialogo() : nullptr;
}

const Medidas& Contenedor::Medida() const { return Forma()->Medida(); }

void Contenedor::CrearContenedor(DWORD estilo, DWORD estiloExt, HWND padre) {
  RegistrarClases();
  const wchar_t* clase = padre ? kClaseMarco : kClaseFormulario;
  hwnd_ = CreateWindowExW(estiloExt, clase, L"", estilo, 0, 0, 0, 0, padre,
                          padre ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlSiguiente())) : nullptr,
                          ModuloPropio(), this);
}

LRESULT Contenedor::Mensaje(UINT msg, WPARAM w, LPARAM l) { return Procesar(msg, w, l); }

LRESULT Contenedor::Procesar(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_COMMAND:
      if (l) {
        if (Componente* c = DeVentana(reinterpret_cast<HWND>(l))) c->Comando(HIWORD(w));
        return 0;
      }
      break;
    case WM_DRAWITEM: {
      auto d = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
      if (Componente* c = DeVentana(d->hwndItem))
        if (c->Dibujar(*d)) return TRUE;
      break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (Componente* c = DeVentana(reinterpret_cast<HWND>(l)))
        if (HBRUSH b = c->Color(reinterpret_cast<HDC>(w))) return reinterpret_cast<LRESULT>(b);
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      for (const auto& c : componentes_)
        if (!c->Ventana() && c->Visible()) c->Pintar(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, w, l);
}

Marco::Marco(Contenedor* dueno, std::string nombre) : Contenedor(dueno, std::move(nombre)) {
  CrearContenedor(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, dueno->Ventana());
}

// ---- Controls -------------------------------------------------------------------------------

Etiqueta::Etiqueta(Contenedor* dueno, std::string nombre, HFONT fuente, bool ajustar)
    : Componente(dueno, std::move(nombre)) {
  CrearVentana(L"STATIC", ajustar ? SS_LEFT : SS_LEFTNOWORDWRAP);
  if (hwnd_ && fuente) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(fuente), FALSE);
}

void Etiqueta::FijarFondo(COLORREF color) {
  colorFondo_ = color;
  fondo_ = std::make_unique<Pincel>(color);
}

HBRUSH Etiqueta::Color(HDC dc) {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  if (!fondo_) return nullptr;
  SetBkColor(dc, colorFondo_);
  return fondo_->h();
}

Edicion::Edicion(Contenedor* dueno, std::string nombre) : Componente(dueno, std::move(nombre)) {
  CrearVentana(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
}

std::string Edicion::Valor() const { return AAnsi(TextoMostrado()); }
void Edicion::FijarValor(const std::string& ansi) { SetWindowTextW(hwnd_, DeAnsi(ansi).c_str()); }
void Edicion::SeleccionarTodo() {
  SetFocus(hwnd_);
  SendMessageW(hwnd_, EM_SETSEL, 0, -1);
}
void Edicion::Comando(WORD codigo) {
  if (codigo == EN_CHANGE && alCambiar) alCambiar();
}

Combo::Combo(Contenedor* dueno, std::string nombre, bool fija) : Componente(dueno, std::move(nombre)), fija_(fija) {
  CrearVentana(L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | (fija ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL));
}

void Combo::FijarEntradas(const std::vector<std::string>& espanol) {
  entradas_ = espanol;
  AplicarIdioma();
}

void Combo::AnyadirDato(const std::string& ansi) {
  datos_.push_back(ansi);
  SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DeAnsi(ansi).c_str()));
}

void Combo::AplicarIdioma() {
  // Entries are rebuilt in the current language; the selection and the text stay.
  int indice = Indice();
  std::string texto = Valor();
  SendMessageW(hwnd_, CB_RESETCONTENT, 0, 0);
  for (const std::string& e : entradas_)
    SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DeUtf8(Traducir(e.c_str())).c_str()));
  for (const std::string& d : datos_) SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(DeAnsi(d).c_str()));
  if (fija_) FijarIndice(indice);
  else SetWindowTextW(hwnd_, DeAnsi(texto).c_str());
}

std::string Combo::Valor() const {
  if (!fija_) return AAnsi(TextoMostrado());
  int i = Indice();
  if (i < 0) return {};
  int n = static_cast<int>(SendMessageW(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0));
  std::wstring w(static_cast<std::size_t>(n) + 1, L'\0');
  SendMessageW(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&w[0]));
  w.resize(static_cast<std::size_t>(n));
  return AAnsi(w);
}

void Combo::FijarValor(const std::string& ansi) {
  std::wstring w = DeAnsi(ansi);
  if (!fija_) {
    SetWindowTextW(hwnd_, w.c_str());
    return;
  }
  LRESULT i = SendMessageW(hwnd_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(w.c_str()));
  if (i != CB_ERR) FijarIndice(static_cast<int>(i));  // otherwise the selection stays
}

int Combo::Indice() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0)); }
void Combo::FijarIndice(int indice) { SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(indice), 0); }
int Combo::Cuenta() const { return static_cast<int>(SendMessageW(hwnd_, CB_GETCOUNT, 0, 0)); }
void Combo::SeleccionarTodo() {
  SetFocus(hwnd_);
  if (!fija_) SendMessageW(hwnd_, CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF));
}

Casilla::Casilla(Contenedor* dueno, std::string nombre, bool conTab) : Componente(dueno, std::move(nombre)) {
  CrearVentana(L"BUTTON", BS_AUTOCHECKBOX | (conTab ? WS_TABSTOP : 0));
}
bool Casilla::Marcada() const { return SendMessageW(hwnd_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Casilla::Marcar(bool marcada) {
  if (Marcada() == marcada) return;
  SendMessageW(hwnd_, BM_SETCHECK, marcada ? BST_CHECKED : BST_UNCHECKED, 0);
  if (alPulsar) alPulsar();
}
void Casilla::Comando(WORD codigo) {
  if (codigo == BN_CLICKED && alPulsar) alPulsar();
}

Boton::Boton(Contenedor* dueno, std::string nombre, bool porDefecto) : Componente(dueno, std::move(nombre)) {
  CrearVentana(L"BUTTON", WS_TABSTOP | (porDefecto ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON));
}
void Boton::Pulsar() {
  if (alPulsar) alPulsar();
  if (resultado != Resultado::Ninguno)
    if (Formulario* f = Forma()) f->Cerrar(resultado);
}
void Boton::Comando(WORD codigo) {
  if (codigo == BN_CLICKED) Pulsar();
}

BotonPlano::BotonPlano(Contenedor* dueno, std::string nombre, Dibujo dibujo)
    : Componente(dueno, std::move(nombre)), dibujo_(dibujo) {
  CrearVentana(L"BUTTON", BS_OWNERDRAW);  // flat: not a Tab stop, as the host's own
}

void BotonPlano::FijarDibujo(Dibujo d) {
  dibujo_ = d;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

void BotonPlano::Comando(WORD codigo) {
  if (codigo == BN_CLICKED && alPulsar) alPulsar();
}

void BotonPlano::AplicarIdioma() {
  Componente::AplicarIdioma();
  if (pista_.empty() || !hwnd_) return;
  std::wstring texto = DeUtf8(Traducir(pista_.c_str()));
  if (!ventanaPista_) {
    ventanaPista_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, hwnd_,
                             nullptr, ModuloPropio(), nullptr);
    // Owned by the button's form: destroyed with it.
  }
  if (!ventanaPista_) return;
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  ti.hwnd = GetParent(hwnd_);
  ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
  ti.lpszText = &texto[0];
  SendMessageW(ventanaPista_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  SendMessageW(ventanaPista_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

bool BotonPlano::Dibujar(const DRAWITEMSTRUCT& d) {
  HDC dc = d.hDC;
  RECT r = d.rcItem;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  bool pulsado = (d.itemState & ODS_SELECTED) != 0;
  if (pulsado) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
  int w = r.right - r.left, h = r.bottom - r.top;
  int cx = r.left + w / 2 + (pulsado ? 1 : 0), cy = r.top + h / 2 + (pulsado ? 1 : 0);
  int u = (h < w ? h : w) / 8;  // one unit of the glyph
  if (u < 1) u = 1;
  bool activo = (d.itemState & ODS_DISABLED) == 0;
  COLORREF tinta = activo ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT);
  HPEN pluma = CreatePen(PS_SOLID, 1, tinta);
  HGDIOBJ viejaPluma = SelectObject(dc, pluma);
  switch (dibujo_) {
    case Dibujo::Variable: {
      // "[x]": brackets and a cross, the sign of a variable reference.
      int a = 3 * u, b = 3 * u;
      POINT izq[] = {{cx - a + u, cy - b}, {cx - a, cy - b}, {cx - a, cy + b}, {cx - a + u + 1, cy + b}};
      POINT der[] = {{cx + a - u, cy - b}, {cx + a, cy - b}, {cx + a, cy + b}, {cx + a - u - 1, cy + b}};
      Polyline(dc, izq, 4);
      Polyline(dc, der, 4);
      HPEN azul = CreatePen(PS_SOLID, u > 1 ? 2 : 1, activo ? RGB(0, 0, 160) : tinta);
      HGDIOBJ p = SelectObject(dc, azul);
      MoveToEx(dc, cx - u - 1, cy - u - 1, nullptr);
      LineTo(dc, cx + u + 1, cy + u + 1);
      MoveToEx(dc, cx + u, cy - u - 1, nullptr);
      LineTo(dc, cx - u - 2, cy + u + 1);
      SelectObject(dc, p);
      DeleteObject(azul);
      break;
    }
    case Dibujo::Objeto: {
      HBRUSH azul = CreateSolidBrush(activo ? RGB(80, 120, 200) : GetSysColor(COLOR_BTNSHADOW));
      HGDIOBJ b = SelectObject(dc, azul);
      Rectangle(dc, cx - 3 * u, cy - 2 * u, cx + 2 * u, cy + 3 * u);
      SelectObject(dc, b);
      DeleteObject(azul);
      MoveToEx(dc, cx - 2 * u, cy - 3 * u, nullptr);
      LineTo(dc, cx + 3 * u, cy - 3 * u);
      LineTo(dc, cx + 3 * u, cy + 2 * u);
      break;
    }
    case Dibujo::Archivo:
    case Dibujo::Carpeta: {
      // An open folder; a file button shows a sheet in front of it.
      HBRUSH amarillo = CreateSolidBrush(activo ? RGB(240, 200, 80) : GetSysColor(COLOR_BTNFACE));
      HGDIOBJ b = SelectObject(dc, amarillo);
      POINT carpeta[] = {{cx - 3 * u, cy - 2 * u}, {cx - u, cy - 2 * u}, {cx, cy - u},
                         {cx + 3 * u, cy - u}, {cx + 3 * u, cy + 3 * u}, {cx - 3 * u, cy + 3 * u}};
      Polygon(dc, carpeta, 6);
      SelectObject(dc, b);
      DeleteObject(amarillo);
      if (dibujo_ == Dibujo::Archivo) {
        HGDIOBJ blanco = SelectObject(dc, GetStockObject(WHITE_BRUSH));
        Rectangle(dc, cx - u, cy - 3 * u, cx + 2 * u + 1, cy + 2 * u);
        SelectObject(dc, blanco);
      }
      break;
    }
    case Dibujo::Puntos: {
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, tinta);
      RECT t = r;
      if (pulsado) OffsetRect(&t, 1, 1);
      DrawTextW(dc, L"...", 3, &t, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      break;
    }
  }
  SelectObject(dc, viejaPluma);
  DeleteObject(pluma);
  if (d.itemState & ODS_FOCUS) {
    RECT f = r;
    InflateRect(&f, -2, -2);
    DrawFocusRect(dc, &f);
  }
  return true;
}

Forma::Forma(Contenedor* dueno, std::string nombre, bool redondeada, COLORREF relleno, COLORREF borde, int grosor)
    : Componente(dueno, std::move(nombre)), redondeada_(redondeada), relleno_(relleno), borde_(borde), grosor_(grosor) {}

void Forma::Pintar(HDC dc) {
  Pincel relleno(relleno_);
  HPEN pluma = CreatePen(PS_INSIDEFRAME, grosor_, borde_);
  HGDIOBJ p = SelectObject(dc, pluma);
  HGDIOBJ b = SelectObject(dc, relleno.h());
  const RECT& r = limites;
  if (redondeada_) {
    int radio = (r.bottom - r.top) / 2;
    RoundRect(dc, r.left, r.top, r.right, r.bottom, radio, radio);
  } else {
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
  }
  SelectObject(dc, b);
  SelectObject(dc, p);
  DeleteObject(pluma);
}

Imagen::Imagen(Contenedor* dueno, std::string nombre, LPCWSTR icono) : Componente(dueno, std::move(nombre)), icono_(icono) {}

void Imagen::Pintar(HDC dc) {
  int w = limites.right - limites.left, h = limites.bottom - limites.top;
  // A system icon, shared: the system keeps it, nothing to release.
  auto icono = static_cast<HICON>(LoadImageW(nullptr, icono_, IMAGE_ICON, w, h, LR_SHARED));
  if (icono) DrawIconEx(dc, limites.left, limites.top, icono, w, h, 0, nullptr, DI_NORMAL);
}

void ListaAcciones::Anyadir(std::string nombre, UINT tecla, std::function<void()> accion) {
  acciones_.push_back({std::move(nombre), tecla, std::move(accion)});
}

bool ListaAcciones::Tecla(UINT tecla) {
  for (const Accion& a : acciones_)
    if (a.tecla == tecla) {
      a.ejecutar();
      return true;
    }
  return false;
}

// ---- Forms ----------------------------------------------------------------------------------

Formulario::Formulario(std::string nombre) : Contenedor(nullptr, std::move(nombre)) {
  propietario_ = GetActiveWindow();
  {
    ContextoDibujo dc(nullptr);
    medidas_.ppp = GetDeviceCaps(dc.h(), LOGPIXELSY);
  }
  fuente_ = std::make_unique<Fuente>(L"Tahoma", 8, medidas_.ppp);
  medidas_ = MedirFuente(fuente_->h());
  CrearContenedor(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                  nullptr);
  if (hwnd_ && propietario_) SetWindowLongPtrW(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(propietario_));
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(fuente_->h()), FALSE);
}

Formulario::~Formulario() {
  // The owned components go before the window that holds them, and the window before the
  // fonts its controls use.
  while (!componentes_.empty()) componentes_.pop_back();
  if (hwnd_) {
    RemovePropW(hwnd_, kPropiedad);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
}

HFONT Formulario::FuenteNombrada(const wchar_t* cara, int puntos, bool negrita) {
  for (const FuenteGuardada& f : fuentes_)
    if (f.cara == cara && f.puntos == puntos && f.negrita == negrita) return f.fuente->h();
  fuentes_.push_back({cara, puntos, negrita, std::make_unique<Fuente>(cara, puntos, medidas_.ppp, negrita)});
  return fuentes_.back().fuente->h();
}

void Formulario::FijarAreaCliente(int ancho, int alto) {
  RECT r{0, 0, ancho, alto};
  DWORD estilo = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
  DWORD ext = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
  AdjustWindowRectEx(&r, estilo, FALSE, ext);
  int w = r.right - r.left, h = r.bottom - r.top;
  // Centred on the owner, or on the screen; kept inside the work area of its monitor.
  RECT base{};
  HMONITOR monitor = MonitorFromWindow(propietario_ ? propietario_ : hwnd_, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(monitor, &mi);
  if (!propietario_ || !IsWindowVisible(propietario_) || !GetWindowRect(propietario_, &base)) base = mi.rcWork;
  int x = base.left + (base.right - base.left - w) / 2;
  int y = base.top + (base.bottom - base.top - h) / 2;
  if (x + w > mi.rcWork.right) x = mi.rcWork.right - w;
  if (y + h > mi.rcWork.bottom) y = mi.rcWork.bottom - h;
  if (x < mi.rcWork.left) x = mi.rcWork.left;
  if (y < mi.rcWork.top) y = mi.rcWork.top;
  SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

int Formulario::AnchoCliente() const {
  RECT r{};
  GetClientRect(hwnd_, &r);
  return r.right;
}

Resultado Formulario::MostrarModal() {
  if (!hwnd_) return Resultado::Cancelar;
  bool propietarioActivo = propietario_ && IsWindowEnabled(propietario_);
  if (propietarioActivo) EnableWindow(propietario_, FALSE);
  resultado_ = Resultado::Ninguno;
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  UpdateWindow(hwnd_);
  SetForegroundWindow(hwnd_);
  if (primerFoco && primerFoco->Ventana()) SetFocus(primerFoco->Ventana());
  MSG msg;
  bool salir = false;
  while (resultado_ == Resultado::Ninguno) {
    BOOL r = GetMessageW(&msg, nullptr, 0, 0);
    if (r == 0) {  // WM_QUIT: end the dialog and hand the quit on to the host's loop
      salir = true;
      resultado_ = Resultado::Cancelar;
      break;
    }
    if (r < 0) {
      resultado_ = Resultado::Cancelar;
      break;
    }
    if (msg.message == WM_KEYDOWN && (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd))) {
      bool hecho = false;
      for (ListaAcciones* l : listas) hecho = hecho || l->Tecla(static_cast<UINT>(msg.wParam));
      if (hecho) continue;
    }
    if (!IsDialogMessageW(hwnd_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (alCerrar) alCerrar(resultado_);
  // The owner comes back before this window hides, so that it gets the activation.
  if (propietarioActivo) EnableWindow(propietario_, TRUE);
  ShowWindow(hwnd_, SW_HIDE);
  if (salir) PostQuitMessage(static_cast<int>(msg.wParam));
  return resultado_;
}

LRESULT Formulario::Procesar(UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_CLOSE:
      Cerrar(Resultado::Cancelar);
      return 0;
    case WM_COMMAND:
      // Enter and Esc from the dialog manager arrive without a control.
      if (!l && LOWORD(w) == IDOK && botonDefecto) {
        botonDefecto->Pulsar();
        return 0;
      }
      if (!l && LOWORD(w) == IDCANCEL) {
        if (botonCancelar) botonCancelar->Pulsar();
        else Cerrar(Resultado::Cancelar);
        return 0;
      }
      break;
    case DM_GETDEFID:
      return 0;
    default:
      break;
  }
  return Contenedor::Procesar(msg, w, l);
}

void TranslateComponent(Formulario& forma) { forma.AplicarIdioma(); }
void RetranslateComponent(Formulario& forma) { forma.AplicarIdioma(); }

}  // namespace pelmaro::kit
