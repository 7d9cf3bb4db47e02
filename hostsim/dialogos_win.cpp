// Edit dialogs under the simulator: `EditAction` calls nbEditAction and prints what came back,
// and the Dialog... commands queued before it drive the dialog through its real controls
// while its modal loop runs (a thread timer plays one step whenever its window is ready).
// The plug-in's GDI objects, device contexts and activation contexts are counted so that leaks show.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "hostsim/dialogos.h"
#include "hostsim/extensiones.h"
#include "hostsim/simulador.h"

namespace nbhost {
namespace {

// ---- Recorded and counted calls of the plug-in ------------------------------------------------

Recuentos gRecuentos;
std::set<HGDIOBJ>& ObjetosVivos() {
  static std::set<HGDIOBJ> v;
  return v;
}
HGDIOBJ Nacido(HGDIOBJ h) {
  if (h) ObjetosVivos().insert(h);
  return h;
}

HFONT WINAPI GanchoCreateFontIndirectA(const LOGFONTA* lf) {
  return static_cast<HFONT>(Nacido(CreateFontIndirectA(lf)));
}
HFONT WINAPI GanchoCreateFontIndirectW(const LOGFONTW* lf) {
  return static_cast<HFONT>(Nacido(CreateFontIndirectW(lf)));
}
HBRUSH WINAPI GanchoCreateSolidBrush(COLORREF c) { return static_cast<HBRUSH>(Nacido(CreateSolidBrush(c))); }
HPEN WINAPI GanchoCreatePen(int estilo, int ancho, COLORREF c) {
  return static_cast<HPEN>(Nacido(CreatePen(estilo, ancho, c)));
}
BOOL WINAPI GanchoDeleteObject(HGDIOBJ h) {
  ObjetosVivos().erase(h);
  return DeleteObject(h);
}
HDC WINAPI GanchoGetDC(HWND w) {
  HDC dc = GetDC(w);
  if (dc) ++gRecuentos.contextosDibujo;
  return dc;
}
HDC WINAPI GanchoGetWindowDC(HWND w) {
  HDC dc = GetWindowDC(w);
  if (dc) ++gRecuentos.contextosDibujo;
  return dc;
}
int WINAPI GanchoReleaseDC(HWND w, HDC dc) {
  int r = ReleaseDC(w, dc);
  if (r) --gRecuentos.contextosDibujo;
  return r;
}
HANDLE WINAPI GanchoCreateActCtxW(PCACTCTXW ac) {
  HANDLE h = CreateActCtxW(ac);
  if (h != INVALID_HANDLE_VALUE) ++gRecuentos.contextosActivacion;
  return h;
}
void WINAPI GanchoReleaseActCtx(HANDLE h) {
  --gRecuentos.contextosActivacion;
  ReleaseActCtx(h);
}
BOOL WINAPI GanchoActivateActCtx(HANDLE h, ULONG_PTR* cookie) {
  BOOL r = ActivateActCtx(h, cookie);
  if (r) ++gRecuentos.activaciones;
  return r;
}
BOOL WINAPI GanchoDeactivateActCtx(DWORD flags, ULONG_PTR cookie) {
  BOOL r = DeactivateActCtx(flags, cookie);
  if (r) --gRecuentos.activaciones;
  return r;
}

#define GANCHO(dll, f) Extension g##f{GanchoImportacion{dll, #f, reinterpret_cast<void*>(&Gancho##f)}};
GANCHO("gdi32.dll", CreateFontIndirectA)
GANCHO("gdi32.dll", CreateFontIndirectW)
GANCHO("gdi32.dll", CreateSolidBrush)
GANCHO("gdi32.dll", CreatePen)
GANCHO("gdi32.dll", DeleteObject)
GANCHO("user32.dll", GetDC)
GANCHO("user32.dll", GetWindowDC)
GANCHO("user32.dll", ReleaseDC)
GANCHO("kernel32.dll", CreateActCtxW)
GANCHO("kernel32.dll", ReleaseActCtx)
GANCHO("kernel32.dll", ActivateActCtx)
GANCHO("kernel32.dll", DeactivateActCtx)
#undef GANCHO

// ---- Windows of the dialog ---------------------------------------------------------------------

std::string Clase(HWND w) {
  char c[64] = {};
  GetClassNameA(w, c, sizeof c);
  return c;
}

std::string TextoDe(HWND w) {
  int n = GetWindowTextLengthA(w);
  std::string t(static_cast<std::size_t>(n) + 1, '\0');
  n = GetWindowTextA(w, &t[0], n + 1);
  t.resize(static_cast<std::size_t>(n));
  return t;
}

// A caption as shown, without the mnemonic marks.
std::string SinMarcas(const std::string& t) {
  std::string r;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '&' && i + 1 < t.size()) ++i;
    r += t[i];
  }
  return r;
}

BOOL CALLBACK AnyadirSiActiva(HWND w, LPARAM l) {
  if (IsWindowVisible(w) && IsWindowEnabled(w) && Clase(w) != "tooltips_class32")
    reinterpret_cast<std::vector<HWND>*>(l)->push_back(w);
  return TRUE;
}

BOOL CALLBACK Anyadir(HWND w, LPARAM l) {
  reinterpret_cast<std::vector<HWND>*>(l)->push_back(w);
  return TRUE;
}

std::vector<HWND> Ventanas() {
  std::vector<HWND> v;
  EnumThreadWindows(GetCurrentThreadId(), &AnyadirSiActiva, reinterpret_cast<LPARAM>(&v));
  return v;
}

// The standard dialog that is open, or null.
HWND DialogoComun() {
  for (HWND w : Ventanas())
    if (Clase(w) == "#32770") return w;
  return nullptr;
}

// The plug-in's dialog, when it is the window that takes input.
HWND DialogoEdicion() {
  if (DialogoComun()) return nullptr;
  for (HWND w : Ventanas())
    if (GetWindowLongPtrA(w, GWL_STYLE) & WS_CAPTION) return w;
  return nullptr;
}

std::vector<HWND> Hijas(HWND padre) {
  std::vector<HWND> v;
  EnumChildWindows(padre, &Anyadir, reinterpret_cast<LPARAM>(&v));
  return v;
}

bool EsCasilla(HWND w) {
  LONG_PTR tipo = GetWindowLongPtrA(w, GWL_STYLE) & BS_TYPEMASK;
  return Clase(w) == "Button" && (tipo == BS_AUTOCHECKBOX || tipo == BS_CHECKBOX);
}

// The frame whose label reads `etiqueta` (its label's parent window), or null.
HWND MarcoDe(HWND dialogo, const std::string& etiqueta) {
  for (HWND w : Hijas(dialogo))
    if (Clase(w) == "Static" && SinMarcas(TextoDe(w)) == etiqueta) return GetParent(w);
  return nullptr;
}

HWND ControlDe(HWND marco) {
  for (HWND w : Hijas(marco)) {
    std::string c = Clase(w);
    if (c == "Edit" || c == "ComboBox") return w;
  }
  return nullptr;
}

HWND CasillaDe(HWND marco) {
  for (HWND w : Hijas(marco))
    if (EsCasilla(w)) return w;
  return nullptr;
}

HWND BotonCon(HWND dentro, const std::string& texto) {
  for (HWND w : Hijas(dentro))
    if (Clase(w) == "Button" && IsWindowVisible(w) && SinMarcas(TextoDe(w)) == texto) return w;
  return nullptr;
}

std::string NombreCursor(HCURSOR c) {
  if (c == LoadCursorA(nullptr, IDC_HAND)) return "hand";
  if (c == LoadCursorA(nullptr, IDC_ARROW)) return "arrow";
  if (c == LoadCursorA(nullptr, IDC_IBEAM)) return "I-beam";
  return c ? "other" : "none";
}

// ---- Steps ----------------------------------------------------------------------------------------

enum class Tipo { Fijar, Marcar, Pulsar, Aceptar, Cancelar, Tecla, Elegir, Anular, Raton, Mostrar, Esperar, Capturar };

struct Paso {
  Tipo tipo;
  std::vector<std::string> args;
  std::string linea;
};

struct Conductor {
  std::deque<Paso> pasos;
  Simulador* sim = nullptr;
  bool abortando = false;
  std::string error;
  DWORD desde = 0;  // when the current step began to wait (or the dialog became idle)
};
Conductor gConductor;

constexpr DWORD kEspera = 10000;  // ms a step may wait for its window

void Decir(const std::string& t) {
  if (gConductor.sim) gConductor.sim->Informar("  dialog: " + t);
}

void Fallar(const std::string& t) {
  if (gConductor.error.empty()) gConductor.error = t;
  Decir(t);
  gConductor.abortando = true;
}

void Clic(HWND boton) { PostMessageA(boton, BM_CLICK, 0, 0); }

void Notificar(HWND control, WORD codigo) {
  SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), codigo),
               reinterpret_cast<LPARAM>(control));
}

void MostrarCampos(HWND dialogo) {
  Decir("window \"" + TextoDe(dialogo) + "\"");
  for (HWND w : Hijas(dialogo)) {
    if (Clase(w) != "Static" || !IsWindowVisible(w)) continue;
    HWND marco = GetParent(w);
    HWND control = ControlDe(marco);
    if (!control || marco == dialogo) continue;
    std::string linea = "field \"" + TextoDe(w) + "\" = \"" + TextoDe(control) + "\"";
    if (HWND c = CasillaDe(marco)) linea += SendMessageA(c, BM_GETCHECK, 0, 0) == BST_CHECKED ? " [ticked]" : " [unticked]";
    if (Clase(control) == "ComboBox") {
      linea += " (" + std::to_string(SendMessageA(control, CB_GETCOUNT, 0, 0)) + " entries";
      LRESULT sel = SendMessageA(control, CB_GETCURSEL, 0, 0);
      if ((GetWindowLongPtrA(control, GWL_STYLE) & 3) == CBS_DROPDOWNLIST) linea += ", selected " + std::to_string(sel);
      linea += ")";
    }
    Decir(linea);
  }
}

bool Capturar(HWND w, const std::string& archivo) {
  RECT r;
  GetWindowRect(w, &r);
  int ancho = r.right - r.left, alto = r.bottom - r.top;
  HDC pantalla = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(pantalla);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = ancho;
  bi.bmiHeader.biHeight = alto;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(pantalla, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ viejo = SelectObject(dc, bmp);
  BitBlt(dc, 0, 0, ancho, alto, pantalla, r.left, r.top, SRCCOPY);
  GdiFlush();
  DWORD fila = static_cast<DWORD>((ancho * 3 + 3) & ~3);
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + fila * static_cast<DWORD>(alto);
  bool hecho = false;
  if (FILE* f = std::fopen(archivo.c_str(), "wb")) {
    hecho = std::fwrite(&fh, sizeof fh, 1, f) == 1 && std::fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f) == 1 &&
            std::fwrite(bits, fila, static_cast<std::size_t>(alto), f) == static_cast<std::size_t>(alto);
    std::fclose(f);
  }
  SelectObject(dc, viejo);
  DeleteObject(bmp);
  DeleteDC(dc);
  ReleaseDC(nullptr, pantalla);
  return hecho;
}

// Plays a step on the edit dialog.
void Jugar(const Paso& p, HWND d) {
  const auto& a = p.args;
  switch (p.tipo) {
    case Tipo::Fijar: {
      HWND marco = MarcoDe(d, a[0]);
      HWND control = marco ? ControlDe(marco) : nullptr;
      if (!control) return Fallar("no field labelled \"" + a[0] + "\"");
      SetFocus(control);
      bool lista = Clase(control) == "ComboBox" && (GetWindowLongPtrA(control, GWL_STYLE) & 3) == CBS_DROPDOWNLIST;
      if (lista) {
        LRESULT i = SendMessageA(control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(a[1].c_str()));
        if (i == CB_ERR) return Fallar("the list \"" + a[0] + "\" has no entry \"" + a[1] + "\"");
        SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
        Notificar(control, CBN_SELCHANGE);
      } else {
        SetWindowTextA(control, a[1].c_str());
      }
      return;
    }
    case Tipo::Marcar: {
      HWND marco = MarcoDe(d, a[0]);
      HWND casilla = marco ? CasillaDe(marco) : nullptr;
      if (!casilla)
        for (HWND w : Hijas(d))
          if (EsCasilla(w) && SinMarcas(TextoDe(w)) == a[0]) casilla = w;
      if (!casilla) return Fallar("no check box for \"" + a[0] + "\"");
      Clic(casilla);
      return;
    }
    case Tipo::Pulsar: {
      HWND dentro = d;
      if (a.size() == 2 && !(dentro = MarcoDe(d, a[0]))) return Fallar("no field labelled \"" + a[0] + "\"");
      HWND b = BotonCon(dentro, a.back());
      if (!b) return Fallar("no button \"" + a.back() + "\"");
      Clic(b);
      return;
    }
    case Tipo::Aceptar:
      for (HWND w : Hijas(d))
        if (Clase(w) == "Button" && (GetWindowLongPtrA(w, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return Clic(w);
      return Fallar("no default button");
    case Tipo::Cancelar:
      PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    case Tipo::Tecla: {
      static const std::map<std::string, UINT> teclas = {
          {"F1", VK_F1}, {"Enter", VK_RETURN}, {"Esc", VK_ESCAPE}, {"Tab", VK_TAB}, {"Space", VK_SPACE}};
      auto it = teclas.find(a[0]);
      if (it == teclas.end()) return Fallar("unknown key " + a[0] + " (F1, Enter, Esc, Tab, Space)");
      HWND foco = GetFocus();
      if (!foco) foco = d;
      PostMessageA(foco, WM_KEYDOWN, it->second, 1);
      PostMessageA(foco, WM_KEYUP, it->second, 0xC0000001);
      return;
    }
    case Tipo::Raton: {
      RECT cliente;
      GetClientRect(d, &cliente);
      POINT origen{0, 0};
      ClientToScreen(d, &origen);
      RECT ventana;
      GetWindowRect(d, &ventana);
      POINT pt;
      if (a[0] == "support") {
        // The right end of the caption bar, just left of the close box.
        pt = {origen.x + cliente.right - GetSystemMetrics(SM_CXSIZE) - 6,
              ventana.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
      } else if (a[0] == "caption") {
        pt = {origen.x + cliente.right / 4,
              ventana.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
      } else if (a[0] == "client") {
        pt = {origen.x + 2, origen.y + 2};
      } else {
        return Fallar("DialogMouse takes support, caption or client");
      }
      bool clic = a.size() > 1 && a[1] == "click";
      // The pointer moves asynchronously under X: Wine may report the old place until the
      // window system has delivered the move, so move, let events in, and look again.
      bool llego = false;
      for (int i = 0; i < 100 && !llego; ++i) {
        SetCursorPos(pt.x, pt.y);
        for (int k = 0; k < 3; ++k) {
          MSG m;
          PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
          Sleep(10);
        }
        POINT ahora{};
        GetCursorPos(&ahora);
        llego = ahora.x == pt.x && ahora.y == pt.y;
      }
      if (!llego) return Fallar("the mouse pointer could not be moved");
      SetCursor(nullptr);
      LRESULT zona = SendMessageA(d, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
      SendMessageA(d, WM_SETCURSOR, reinterpret_cast<WPARAM>(d),
                   MAKELPARAM(static_cast<WORD>(zona), clic ? WM_LBUTTONDOWN : WM_MOUSEMOVE));
      Decir("mouse at " + a[0] + (clic ? " (click)" : "") + ": hit test " + std::to_string(zona) + ", cursor " +
            NombreCursor(GetCursor()));
      return;
    }
    case Tipo::Mostrar:
      MostrarCampos(d);
      return;
    case Tipo::Capturar:
      if (!Capturar(d, a[0])) return Fallar("cannot write " + a[0]);
      Decir("saved " + a[0]);
      return;
    default:
      return;
  }
}

// Plays a step on an open standard dialog.
void JugarComun(const Paso& p, HWND d) {
  if (p.tipo == Tipo::Anular) {
    Decir("standard dialog \"" + TextoDe(d) + "\" cancelled");
    if (HWND b = GetDlgItem(d, IDCANCEL)) Clic(b);
    else PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  const std::string& valor = p.args.empty() ? std::string() : p.args[0];
  bool arbol = false;
  for (HWND w : Hijas(d)) arbol = arbol || Clase(w) == "SysTreeView32";
  if (GetDlgItem(d, 0x470) && GetDlgItem(d, 0x472)) {  // the font dialog: its face and size combo boxes
    Decir("font dialog shows \"" + TextoDe(GetDlgItem(d, 0x470)) + "\" " + TextoDe(GetDlgItem(d, 0x472)));
  } else if (arbol) {
    Decir("folder browser \"" + TextoDe(d) + "\": " + valor);
    SendMessageA(d, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(valor.c_str()));
  } else {
    Decir("file dialog \"" + TextoDe(d) + "\": " + valor);
    // The file name box: a combo box (cmb13) in the open dialog, an edit box (edt1) in some
    // save dialogs.
    SendMessageA(d, CDM_SETCONTROLTEXT, 0x47C, reinterpret_cast<LPARAM>(valor.c_str()));
    SendMessageA(d, CDM_SETCONTROLTEXT, 0x480, reinterpret_cast<LPARAM>(valor.c_str()));
  }
  if (HWND b = GetDlgItem(d, IDOK)) Clic(b);
  else PostMessageA(d, WM_COMMAND, IDOK, 0);
}

void CALLBACK Latido(HWND, UINT, UINT_PTR, DWORD) {
  static bool dentro = false;
  if (dentro) return;
  dentro = true;
  struct Salir {
    ~Salir() { dentro = false; }
  } salir;
  Conductor& c = gConductor;
  DWORD ahora = GetTickCount();
  HWND comun = DialogoComun();
  HWND edicion = DialogoEdicion();
  if (c.abortando) {
    // Close whatever is open until the edit call returns.
    if (comun) PostMessageA(comun, WM_COMMAND, IDCANCEL, 0);
    else if (edicion) PostMessageA(edicion, WM_SYSCOMMAND, SC_CLOSE, 0);
    return;
  }
  if (c.pasos.empty()) {
    if (ahora - c.desde > kEspera) Fallar("no step left for the open window; closing it");
    return;
  }
  const Paso& p = c.pasos.front();
  bool paraComun = p.tipo == Tipo::Elegir || p.tipo == Tipo::Anular;
  HWND destino = paraComun ? comun : edicion;
  bool listo = destino != nullptr;
  if (p.tipo == Tipo::Esperar) listo = ahora - c.desde >= static_cast<DWORD>(std::stoul(p.args[0]));
  if (!listo) {
    if (ahora - c.desde > kEspera) Fallar("gave up waiting for the window of: " + p.linea);
    return;
  }
  Paso paso = p;
  c.pasos.pop_front();
  c.desde = ahora;
  if (paso.tipo == Tipo::Esperar) return;
  if (paraComun) JugarComun(paso, destino);
  else Jugar(paso, destino);
}

// ---- Script commands ---------------------------------------------------------------------------

void Encolar(Tipo tipo, const LineaGuion& l, const std::vector<std::string>& a, std::size_t minimo,
             std::size_t maximo, const char* forma) {
  if (a.size() < minimo || a.size() > maximo) throw ErrorGuion(l.numero, std::string("expected: ") + forma);
  gConductor.pasos.push_back({tipo, a, l.original});
}

#define ORDEN(nombre, tipo, minimo, maximo, forma)                                                            \
  void Orden##nombre(Simulador&, const LineaGuion& l, const std::vector<std::string>& a) {                    \
    Encolar(Tipo::tipo, l, a, minimo, maximo, forma);                                                         \
  }                                                                                                           \
  Extension g##nombre{#nombre, forma, &Orden##nombre};
ORDEN(DialogSet, Fijar, 2, 2, "DialogSet \"Label\" \"text\"")
ORDEN(DialogTick, Marcar, 1, 1, "DialogTick \"Label or caption\"")
ORDEN(DialogPress, Pulsar, 1, 2, "DialogPress [\"Label\"] \"Caption\"")
ORDEN(DialogConfirm, Aceptar, 0, 0, "DialogConfirm")
ORDEN(DialogCancel, Cancelar, 0, 0, "DialogCancel")
ORDEN(DialogKey, Tecla, 1, 1, "DialogKey \"F1|Enter|Esc|Tab|Space\"")
ORDEN(DialogPick, Elegir, 0, 1, "DialogPick [\"path\"]")
ORDEN(DialogPickCancel, Anular, 0, 0, "DialogPickCancel")
ORDEN(DialogMouse, Raton, 1, 2, "DialogMouse \"support|caption|client\" [\"click\"]")
ORDEN(DialogPrint, Mostrar, 0, 0, "DialogPrint")
ORDEN(DialogWait, Esperar, 1, 1, "DialogWait \"ms\"")
ORDEN(DialogCapture, Capturar, 1, 1, "DialogCapture \"file.bmp\"")
#undef ORDEN

void OrdenEditAction(Simulador& sim, const LineaGuion& l, const std::vector<std::string>& a) {
  if (a.empty()) throw ErrorGuion(l.numero, "expected: EditAction NUMBER|\"krName\" \"p1\" ...");
  std::int32_t id = 0;
  const FilaRegistrada* fila = nullptr;
  for (const FilaRegistrada& f : sim.Filas())
    if (f.id != 0 && IgualesSinCaso(f.nombre, a[0])) fila = &f;
  if (fila) {
    id = fila->id;
  } else {
    char* fin = nullptr;
    long n = std::strtol(a[0].c_str(), &fin, 10);
    if (a[0].empty() || *fin) throw ErrorGuion(l.numero, "EditAction needs an action number or name, not " + a[0]);
    id = static_cast<std::int32_t>(n);
  }
  std::vector<std::string> parametros(a.begin() + 1, a.end());
  sim.Informar(l.original);
  gConductor.sim = &sim;
  gConductor.abortando = false;
  gConductor.error.clear();
  gConductor.desde = GetTickCount();
  UINT_PTR temporizador = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &Latido);
  std::int32_t r = sim.Editar(id, parametros);
  KillTimer(nullptr, temporizador);
  for (std::size_t i = 0; i < parametros.size(); ++i)
    sim.Informar("  P" + std::to_string(i + 1) + " = \"" + parametros[i] + "\"");
  sim.Informar("  returned " + std::to_string(r));
  sim.ImprimirFaltas();
  std::size_t quedan = gConductor.pasos.size();
  gConductor.pasos.clear();
  gConductor.sim = nullptr;
  if (!gConductor.error.empty()) throw ErrorGuion(l.numero, "the dialog could not be driven: " + gConductor.error);
  if (quedan) throw ErrorGuion(l.numero, std::to_string(quedan) + " dialog step(s) were not played");
}
Extension gEditAction{"EditAction", "EditAction NUMBER|\"krName\" \"p1\" ...", &OrdenEditAction};

}  // namespace

Recuentos RecuentosDelPlugin() {
  Recuentos r = gRecuentos;
  r.objetosGdi = static_cast<long>(ObjetosVivos().size());
  return r;
}

long VentanasDelHilo() {
  std::vector<HWND> v;
  EnumThreadWindows(GetCurrentThreadId(), &Anyadir, reinterpret_cast<LPARAM>(&v));
  long n = 0;
  for (HWND w : v) n += 1 + static_cast<long>(Hijas(w).size());
  return n;
}

}  // namespace nbhost
