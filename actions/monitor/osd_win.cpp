// On-screen messages. Each message is a TOSD with a layered, click-through, always-on-top
// window whose background is cut out by a colour key, so that only the text is seen. The
// window's timer 1 hides it after the message's time; timer 2 keeps it on top once a second.
//
// A message whose time is over is hidden and its window and object released at once (604
// still reaches every visible one through its window class): a publication may show any
// number of messages without using up the process's window or GDI handles. The window
// class is registered with the first message (a library that only loads touches no window
// function: some hosts' processes then cannot end); when the library unloads, every message
// still on screen is destroyed first (which stops its timers), then the class is
// unregistered. When the process ends, the system takes both back itself.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "actions/monitor/osd.h"
#include "core/ejecucion.h"
#include "core/modulo.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace pelmaro {
namespace {

constexpr UINT_PTR kTemporizadorOcultar = 1;
constexpr UINT_PTR kTemporizadorEncima = 2;
constexpr UINT kPeriodoEncima = 1000;
constexpr UINT kFormatoTexto = DT_LEFT | DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX;  // 0x910
constexpr DWORD kEstilosExtendidos = WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_TOPMOST;
constexpr int kPosicionPorDefecto = 40;
constexpr int kMargenPorDefecto = 80;
constexpr std::uint8_t kPosicionPersonalizada = 5;
constexpr COLORREF kVerde = RGB(0, 255, 0);
// The colour cut out of the window. Black, unless the text itself is black: then a colour
// that no black text can be mistaken for, or the text would be cut out with the background.
constexpr COLORREF kClaveNegra = RGB(0, 0, 0);
constexpr COLORREF kClaveTextoNegro = RGB(255, 0, 255);

HINSTANCE Instancia() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

// ---- GDI objects, each released on every path -----------------------------------------------

class TFuenteGdi {
 public:
  TFuenteGdi() = default;
  ~TFuenteGdi() { Reemplazar(nullptr); }
  TFuenteGdi(const TFuenteGdi&) = delete;
  TFuenteGdi& operator=(const TFuenteGdi&) = delete;
  void Reemplazar(HFONT nueva) {
    if (h_) DeleteObject(h_);
    h_ = nueva;
  }
  HFONT Handle() const { return h_; }

 private:
  HFONT h_ = nullptr;
};

// The device context of a window (null: the screen).
class TDCVentana {
 public:
  explicit TDCVentana(HWND ventana) : ventana_(ventana), dc_(GetDC(ventana)) {}
  ~TDCVentana() {
    if (dc_) ReleaseDC(ventana_, dc_);
  }
  TDCVentana(const TDCVentana&) = delete;
  TDCVentana& operator=(const TDCVentana&) = delete;
  HDC Handle() const { return dc_; }

 private:
  HWND ventana_;
  HDC dc_;
};

class TPintura {
 public:
  explicit TPintura(HWND ventana) : ventana_(ventana), dc_(BeginPaint(ventana, &ps_)) {}
  ~TPintura() { EndPaint(ventana_, &ps_); }
  TPintura(const TPintura&) = delete;
  TPintura& operator=(const TPintura&) = delete;
  HDC Handle() const { return dc_; }

 private:
  HWND ventana_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// An object selected into a device context, and the one it replaced put back.
class TSeleccion {
 public:
  TSeleccion(HDC dc, HGDIOBJ objeto) : dc_(dc), anterior_(dc && objeto ? SelectObject(dc, objeto) : nullptr) {}
  ~TSeleccion() {
    if (anterior_) SelectObject(dc_, anterior_);
  }
  TSeleccion(const TSeleccion&) = delete;
  TSeleccion& operator=(const TSeleccion&) = delete;

 private:
  HDC dc_;
  HGDIOBJ anterior_;
};

int PuntosPorPulgada() {
  TDCVentana pantalla(nullptr);
  return pantalla.Handle() ? GetDeviceCaps(pantalla.Handle(), LOGPIXELSY) : 96;
}

LOGFONTA FuentePorDefecto() {
  LOGFONTA lf{};
  lf.lfHeight = MulDiv(-18, PuntosPorPulgada(), 72);
  lf.lfWeight = FW_BOLD;
  lf.lfCharSet = ANSI_CHARSET;
  lf.lfQuality = NONANTIALIASED_QUALITY;
  lstrcpynA(lf.lfFaceName, "Verdana", LF_FACESIZE);
  return lf;
}

LOGFONTA FuenteLogica(const DescripcionFuente& d) {
  LOGFONTA lf{};
  lf.lfHeight = -MulDiv(d.tamanyo, PuntosPorPulgada(), 72);
  lf.lfWeight = (d.estilos & kNegrita) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (d.estilos & kCursiva) ? 1 : 0;
  lf.lfUnderline = (d.estilos & kSubrayado) ? 1 : 0;
  lf.lfStrikeOut = (d.estilos & kTachado) ? 1 : 0;
  lf.lfCharSet = d.charset;
  lstrcpynA(lf.lfFaceName, d.nombre.c_str(), LF_FACESIZE);
  return lf;
}

// The colour as drawn: a system colour code becomes that colour; otherwise the RGB part.
COLORREF ColorReal(std::uint32_t color) {
  if ((color & 0xFF000000u) == 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFFu;
}

// SetLayeredWindowAttributes where the system has it.
void AtributosCapa(HWND ventana, COLORREF clave) {
  using TFuncion = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  static const TFuncion funcion = reinterpret_cast<TFuncion>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetLayeredWindowAttributes")));
  if (funcion) funcion(ventana, clave, 0, LWA_COLORKEY);
}

// ---- One message ------------------------------------------------------------------------------

class TOSD {
 public:
  TOSD();
  ~TOSD();
  TOSD(const TOSD&) = delete;
  TOSD& operator=(const TOSD&) = delete;

  // Null: the default font.
  void SetFont(const LOGFONTA* fuente);
  void SetColor(std::uint32_t color);
  void SetPosition(int x, int y);
  void SetText(const std::string& texto);
  // False when the hide timer could not be started: the message is then not shown.
  bool ShowText(const std::string& texto, UINT ms);

  // The window is gone and none of its messages is being handled: the object can go.
  bool Terminado() const { return liberar_ && anidamiento_ == 0; }

 private:
  static LRESULT CALLBACK Procedimiento(HWND ventana, UINT mensaje, WPARAM w, LPARAM l);
  LRESULT Mensaje(HWND ventana, UINT mensaje, WPARAM w, LPARAM l);
  void FuenteDeHandle(HFONT fuente);
  void ActualizarDisposicion();
  void Pintar();
  void Borrar(HDC dc);
  void Ocultar();
  COLORREF Clave() const { return ColorReal(color_) == kClaveNegra ? kClaveTextoNegro : kClaveNegra; }

  TFuenteGdi fuente_;
  HWND ventana_ = nullptr;
  std::string texto_;
  int posX_ = 0;
  UINT_PTR temporizadorOcultar_ = 0;
  int posY_ = 0;
  UINT_PTR temporizadorEncima_ = 0;
  WNDPROC anterior_ = nullptr;
  std::uint32_t color_ = kVerde;
  std::uint8_t modoPosicion_ = 0;
  std::uint8_t alineacion_ = 0;  // left: the only alignment used
  int anidamiento_ = 0;          // calls of the window procedure under way
  bool destruyendo_ = false;     // the window is being destroyed by the object itself
  bool liberar_ = false;         // the window was destroyed otherwise: release the object
};

// OSDList, with the window class's lifetime.
class TModuloOSD {
 public:
  TModuloOSD() = default;
  ~TModuloOSD() {
    // When the process ends, the system takes the windows and timers back itself.
    if (ProcesoTerminando()) {
      for (auto& osd : lista_) (void)osd.release();
      return;
    }
    // Unloaded: every window still there is destroyed, and with it its timers. The list is
    // emptied first, so that nothing done meanwhile can touch it.
    std::vector<std::unique_ptr<TOSD>> lista = std::move(lista_);
    lista.clear();
    if (claseRegistrada_) UnregisterClassA(kClaseVentanaOSD, Instancia());
  }
  TModuloOSD(const TModuloOSD&) = delete;
  TModuloOSD& operator=(const TModuloOSD&) = delete;

  // The window class, registered before the first message window is created.
  void AsegurarClase() {
    if (!claseRegistrada_) claseRegistrada_ = RegistrarClase();
  }

  TOSD* Anyadir(std::unique_ptr<TOSD> osd) {
    lista_.push_back(std::move(osd));
    return lista_.back().get();
  }
  void Quitar(const TOSD* osd) {
    auto it = std::find_if(lista_.begin(), lista_.end(), [osd](const auto& p) { return p.get() == osd; });
    if (it != lista_.end()) lista_.erase(it);
  }

 private:
  static bool RegistrarClase() {
    WNDCLASSA clase{};
    if (GetClassInfoA(Instancia(), kClaseVentanaOSD, &clase)) {
      if (clase.lpfnWndProc == &DefWindowProcA) return true;
      UnregisterClassA(kClaseVentanaOSD, Instancia());
    }
    clase = WNDCLASSA{};
    clase.style = CS_HREDRAW | CS_VREDRAW;
    clase.lpfnWndProc = &DefWindowProcA;
    clase.hInstance = Instancia();
    clase.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    clase.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    clase.lpszClassName = kClaseVentanaOSD;
    return RegisterClassA(&clase) != 0;  // on failure the windows cannot be created, which 603 reports
  }

  std::vector<std::unique_ptr<TOSD>> lista_;
  bool claseRegistrada_ = false;
};

TModuloOSD gModulo;

TOSD::TOSD() {
  gModulo.AsegurarClase();
  SetFont(nullptr);
  ventana_ = CreateWindowExA(kEstilosExtendidos, kClaseVentanaOSD, "", WS_POPUP | WS_VISIBLE, kPosicionPorDefecto,
                             kPosicionPorDefecto, 0, 0, GetDesktopWindow(), nullptr, Instancia(), nullptr);
  if (!ventana_) LanzarErrorSistema();
  SetWindowLongPtrA(ventana_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  anterior_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(ventana_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TOSD::Procedimiento)));
  ShowWindow(ventana_, SW_HIDE);
  AtributosCapa(ventana_, Clave());
  temporizadorEncima_ = SetTimer(ventana_, kTemporizadorEncima, kPeriodoEncima, nullptr);
}

TOSD::~TOSD() {
  if (ventana_) {
    destruyendo_ = true;
    DestroyWindow(ventana_);
  }
}

LRESULT CALLBACK TOSD::Procedimiento(HWND ventana, UINT mensaje, WPARAM w, LPARAM l) {
  auto* osd = reinterpret_cast<TOSD*>(GetWindowLongPtrA(ventana, GWLP_USERDATA));
  if (!osd) return DefWindowProcA(ventana, mensaje, w, l);
  ++osd->anidamiento_;
  LRESULT r = osd->Mensaje(ventana, mensaje, w, l);
  --osd->anidamiento_;
  if (osd->Terminado()) gModulo.Quitar(osd);
  return r;
}

LRESULT TOSD::Mensaje(HWND ventana, UINT mensaje, WPARAM w, LPARAM l) {
  switch (mensaje) {
    case WM_DESTROY: {
      if (temporizadorOcultar_) KillTimer(ventana, temporizadorOcultar_);
      if (temporizadorEncima_) KillTimer(ventana, temporizadorEncima_);
      temporizadorOcultar_ = temporizadorEncima_ = 0;
      ventana_ = nullptr;
      // Nothing of this object is reached through the window any more.
      WNDPROC anterior = anterior_;
      SetWindowLongPtrA(ventana, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(anterior));
      SetWindowLongPtrA(ventana, GWLP_USERDATA, 0);
      if (!destruyendo_) liberar_ = true;
      return CallWindowProcA(anterior, ventana, mensaje, w, l);
    }
    case WM_SETTEXT:
      SetText(l ? reinterpret_cast<const char*>(l) : "");
      return TRUE;
    case WM_PAINT:
      if (texto_.empty()) break;
      Pintar();
      return 0;
    case WM_ERASEBKGND:
      Borrar(reinterpret_cast<HDC>(w));
      return 1;
    case WM_SETFONT:
      FuenteDeHandle(reinterpret_cast<HFONT>(w));
      return 0;
    case WM_DISPLAYCHANGE:
      ActualizarDisposicion();
      break;
    case WM_TIMER:
      if (w == kTemporizadorOcultar) {
        Ocultar();
        return 0;
      }
      if (w == kTemporizadorEncima) {
        if (IsWindowVisible(ventana) && GetTopWindow(GetDesktopWindow()) != ventana)
          SetWindowPos(ventana, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return 0;
      }
      break;
    default:
      break;
  }
  return CallWindowProcA(anterior_, ventana, mensaje, w, l);
}

void TOSD::SetFont(const LOGFONTA* fuente) {
  LOGFONTA lf = fuente ? *fuente : FuentePorDefecto();
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = NONANTIALIASED_QUALITY;
  HFONT nueva = CreateFontIndirectA(&lf);
  if (!nueva && fuente) {
    LOGFONTA defecto = FuentePorDefecto();
    nueva = CreateFontIndirectA(&defecto);
  }
  fuente_.Reemplazar(nueva);
  ActualizarDisposicion();
}

void TOSD::FuenteDeHandle(HFONT fuente) {
  LOGFONTA lf{};
  bool leida = fuente && GetObjectA(fuente, sizeof lf, &lf) == static_cast<int>(sizeof lf);
  SetFont(leida ? &lf : nullptr);
}

void TOSD::SetColor(std::uint32_t color) {
  color_ = color;
  if (!ventana_) return;
  AtributosCapa(ventana_, Clave());
  if (IsWindowVisible(ventana_)) InvalidateRect(ventana_, nullptr, TRUE);
}

void TOSD::SetPosition(int x, int y) {
  posX_ = x;
  posY_ = y;
  modoPosicion_ = kPosicionPersonalizada;
  ActualizarDisposicion();
}

void TOSD::SetText(const std::string& texto) {
  if (texto == texto_) return;
  texto_ = texto;
  ActualizarDisposicion();
}

bool TOSD::ShowText(const std::string& texto, UINT ms) {
  if (!ventana_) return false;
  if (temporizadorOcultar_) KillTimer(ventana_, temporizadorOcultar_);
  temporizadorOcultar_ = SetTimer(ventana_, kTemporizadorOcultar, ms, nullptr);
  if (!temporizadorOcultar_) return false;
  SetText(texto);
  ShowWindow(ventana_, SW_SHOWNOACTIVATE);
  InvalidateRect(ventana_, nullptr, TRUE);
  UpdateWindow(ventana_);
  return true;
}

void TOSD::ActualizarDisposicion() {
  if (!ventana_) return;
  RECT area{};
  GetClientRect(GetDesktopWindow(), &area);
  const bool personalizada = modoPosicion_ == kPosicionPersonalizada;
  area.right -= personalizada ? posX_ : kMargenPorDefecto;
  area.bottom -= personalizada ? posY_ : kMargenPorDefecto;
  if (texto_.empty()) {
    InvalidateRect(ventana_, nullptr, TRUE);
    return;
  }
  RECT medida = area;
  {
    TDCVentana dc(ventana_);
    TSeleccion fuente(dc.Handle(), fuente_.Handle());
    DrawTextA(dc.Handle(), texto_.c_str(), static_cast<int>(texto_.size()), &medida, kFormatoTexto | DT_CALCRECT);
  }
  const int ancho = medida.right - medida.left, alto = medida.bottom - medida.top;
  const int x = personalizada ? posX_ : kPosicionPorDefecto, y = personalizada ? posY_ : kPosicionPorDefecto;
  RECT actual{};
  GetWindowRect(ventana_, &actual);
  if (ancho == actual.right - actual.left && alto == actual.bottom - actual.top) {
    if (actual.left != x || actual.top != y) MoveWindow(ventana_, x, y, ancho, alto, TRUE);
  } else {
    SetWindowPos(ventana_, nullptr, 0, 0, ancho, alto, SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    MoveWindow(ventana_, x, y, ancho, alto, TRUE);
  }
  InvalidateRect(ventana_, nullptr, TRUE);
}

void TOSD::Borrar(HDC dc) {
  RECT r{};
  GetClientRect(ventana_ ? ventana_ : WindowFromDC(dc), &r);
  COLORREF antes = SetDCBrushColor(dc, Clave());
  FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  SetDCBrushColor(dc, antes);
}

void TOSD::Pintar() {
  TPintura pintura(ventana_);
  HDC dc = pintura.Handle();
  if (!dc) return;
  SetTextColor(dc, ColorReal(color_));
  SetBkMode(dc, TRANSPARENT);
  TSeleccion fuente(dc, fuente_.Handle());
  RECT r{};
  GetClientRect(ventana_, &r);
  DrawTextA(dc, texto_.c_str(), static_cast<int>(texto_.size()), &r, kFormatoTexto);
}

// The message's time is over (or 604 asked): hidden, and released.
void TOSD::Ocultar() {
  if (temporizadorOcultar_) KillTimer(ventana_, temporizadorOcultar_);
  temporizadorOcultar_ = 0;
  ShowWindow(ventana_, SW_HIDE);
  DestroyWindow(ventana_);
}

BOOL CALLBACK OcultarSiEsMensaje(HWND ventana, LPARAM) {
  char clase[1026] = {};
  if (GetClassNameA(ventana, clase, sizeof clase) > 0 && std::strcmp(clase, kClaseVentanaOSD) == 0)
    SendMessageA(ventana, WM_TIMER, kTemporizadorOcultar, 0);
  return TRUE;
}

}  // namespace

void MostrarMensajeOSD(const std::string& texto, std::int32_t x, std::int32_t y, std::int32_t ms,
                       const DescripcionFuente& fuente) {
  TOSD* osd = gModulo.Anyadir(std::make_unique<TOSD>());
  try {
    LOGFONTA lf = FuenteLogica(fuente);
    osd->SetFont(&lf);
    osd->SetColor(fuente.color);
    osd->SetPosition(x, y);
    if (osd->ShowText(texto, static_cast<UINT>(ms))) return;
  } catch (...) {
    gModulo.Quitar(osd);
    throw;
  }
  gModulo.Quitar(osd);  // never shown: nothing will hide it, so it goes now
}

bool OcultarMensajesOSD() { return EnumWindows(&OcultarSiEsMensaje, 0) != 0; }

}  // namespace pelmaro
