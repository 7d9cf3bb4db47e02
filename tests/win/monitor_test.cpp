// The monitor actions: on-screen messages (their windows as the system sees them), monitor
// power, display modes inside Wine's virtual desktop, and the wallpaper settings.
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <set>

#include "core/ejecucion.h"
#include "core/errores.h"
#include "core/texto.h"
#include "hostsim/extensiones.h"
#include "hostsim/dialogos.h"
#include "tests/win/entorno.h"

using prueba::Host;

namespace {

constexpr const char kClase[] = "TKorvaneOSDWindowClass";

// What the plug-in holds of the GDI: fonts, brushes and device contexts are counted by the
// simulator's own hooks on the plug-in's imports (Wine's GetGuiResources answers 0 for
// everything); paints are counted here.
struct ObjetosDelPlugin {
  long pinturas = 0;
} gObjetos;

HDC WINAPI GanchoBeginPaint(HWND h, PAINTSTRUCT* ps) {
  ++gObjetos.pinturas;
  return BeginPaint(h, ps);
}
BOOL WINAPI GanchoEndPaint(HWND h, const PAINTSTRUCT* ps) {
  --gObjetos.pinturas;
  return EndPaint(h, ps);
}
#define GANCHO(dll, f) nbhost::Extension g##f{nbhost::GanchoImportacion{dll, #f, reinterpret_cast<void*>(&Gancho##f)}};
GANCHO("user32.dll", BeginPaint)
GANCHO("user32.dll", EndPaint)
#undef GANCHO

BOOL CALLBACK AnyadirSiEsMensaje(HWND h, LPARAM l) {
  char clase[64] = {};
  DWORD proceso = 0;
  GetWindowThreadProcessId(h, &proceso);
  if (proceso == GetCurrentProcessId() && GetClassNameA(h, clase, sizeof clase) && !strcmp(clase, kClase))
    reinterpret_cast<std::vector<HWND>*>(l)->push_back(h);
  return TRUE;
}

// The message windows of this process (of every loaded copy of the plug-in).
std::vector<HWND> VentanasOSD() {
  std::vector<HWND> ventanas;
  EnumWindows(&AnyadirSiEsMensaje, reinterpret_cast<LPARAM>(&ventanas));
  return ventanas;
}

RECT Rectangulo(HWND h) {
  RECT r{};
  GetWindowRect(h, &r);
  return r;
}

int AnchoEscritorio() {
  RECT r{};
  GetClientRect(GetDesktopWindow(), &r);
  return r.right;
}

// The font the plug-in makes of a font description, made again here to measure texts.
struct Fuente {
  HFONT h;
  Fuente(const char* cara, int puntos, bool negrita) {
    HDC pantalla = GetDC(nullptr);
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(puntos, GetDeviceCaps(pantalla, LOGPIXELSY), 72);
    ReleaseDC(nullptr, pantalla);
    lf.lfWeight = negrita ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpynA(lf.lfFaceName, cara, LF_FACESIZE);
    h = CreateFontIndirectA(&lf);
  }
  ~Fuente() { DeleteObject(h); }
};

// The size DrawTextA gives the text in `ancho` pixels with the flags.
SIZE Medir(const std::string& texto, const Fuente& f, int ancho, UINT flags = DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX) {
  HDC dc = GetDC(nullptr);
  HGDIOBJ antes = SelectObject(dc, f.h);
  RECT r{0, 0, ancho, 10000};
  DrawTextA(dc, texto.c_str(), -1, &r, flags | DT_CALCRECT);
  SelectObject(dc, antes);
  ReleaseDC(nullptr, dc);
  return {r.right - r.left, r.bottom - r.top};
}

// The window's pixels as drawn into its own device context, 0x00RRGGBB as COLORREF.
std::vector<COLORREF> Pixeles(HWND h, int& ancho, int& alto) {
  RECT r{};
  GetClientRect(h, &r);
  ancho = r.right;
  alto = r.bottom;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = ancho;
  bi.bmiHeader.biHeight = -alto;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = GetDC(h);
  HDC memoria = CreateCompatibleDC(dc);
  HBITMAP mapa = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ antes = SelectObject(memoria, mapa);
  BitBlt(memoria, 0, 0, ancho, alto, dc, 0, 0, SRCCOPY);
  GdiFlush();
  std::vector<COLORREF> pixeles;
  for (int i = 0; i < ancho * alto; ++i) {
    DWORD p = static_cast<const DWORD*>(bits)[i];  // 0x00RRGGBB
    pixeles.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  }
  SelectObject(memoria, antes);
  DeleteObject(mapa);
  DeleteDC(memoria);
  ReleaseDC(h, dc);
  return pixeles;
}

class Monitor : public ::testing::Test {
 protected:
  void TearDown() override {
    Accion("krOcultarMensajesOSD");
    Esperar(20);
  }
  void Accion(const std::string& linea) {
    h_.sim->OlvidarRegistros();
    h_.Reproducir(linea + "\n");
    ASSERT_TRUE(h_.sim->Faltas().empty()) << h_.sim->Faltas().front();
  }
  void Esperar(int ms) { h_.Reproducir("Wait \"" + std::to_string(ms) + "\"\n"); }
  // Delivers messages until no message window is left, at most `ms` milliseconds.
  bool EsperarSinMensajes(int ms) {
    for (int t = 0; t < ms; t += 10) {
      if (VentanasOSD().empty()) return true;
      Esperar(10);
    }
    return VentanasOSD().empty();
  }
  HWND UnaVentana() {
    std::vector<HWND> v = VentanasOSD();
    EXPECT_EQ(v.size(), 1u);
    return v.empty() ? nullptr : v.front();
  }
  std::string R() const { return h_.Var("krResultadoAccion"); }
  std::string E() const { return h_.Var("krUltimoError"); }

  Host h_;
};

TEST_F(Monitor, MensajeEnSuSitioConSuTamanyoYSusEstilos) {
  Accion("krMostrarMensajeOSD \"Hola, mundo\" \"100\" \"120\" \"2500\" \"Arial|20|255,0,0\"");
  EXPECT_EQ(R(), "True");
  EXPECT_EQ(E(), "");
  HWND h = UnaVentana();
  ASSERT_TRUE(h);
  SIZE esperado = Medir("Hola, mundo", Fuente("Arial", 20, false), AnchoEscritorio() - 100);
  RECT r = Rectangulo(h);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 120);
  EXPECT_EQ(r.right - r.left, esperado.cx);
  EXPECT_EQ(r.bottom - r.top, esperado.cy);
  EXPECT_TRUE(IsWindowVisible(h));
  LONG_PTR ex = GetWindowLongPtrA(h, GWL_EXSTYLE);
  EXPECT_EQ(ex & 0x800A8, 0x800A8) << std::hex << ex;  // layered, tool window, transparent, topmost
  EXPECT_EQ(GetWindowLongPtrA(h, GWL_STYLE) & WS_POPUP, WS_POPUP);
  COLORREF clave = 1;
  BYTE alfa = 1;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(h, &clave, &alfa, &flags));
  EXPECT_EQ(clave, RGB(0, 0, 0));
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
  // Clicks go to what lies below.
  POINT centro{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  EXPECT_NE(WindowFromPoint(centro), h);
  // Another topmost window over it: within a second the message is back on top.
  HWND encima = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "encima", WS_POPUP | WS_VISIBLE, 0, 0,
                                300, 300, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(encima);
  SetWindowPos(encima, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  EXPECT_NE(GetTopWindow(GetDesktopWindow()), h);
  Esperar(1300);
  EXPECT_EQ(GetTopWindow(GetDesktopWindow()), h);
  DestroyWindow(encima);
  EXPECT_TRUE(IsWindow(h) && IsWindowVisible(h)) << "gone before its time";
  EXPECT_TRUE(EsperarSinMensajes(2500)) << "still there after its time";
  EXPECT_FALSE(IsWindow(h));
}

TEST_F(Monitor, DosMensajesCadaUnoConSuTiempoYElTiempoCero) {
  Accion("krMostrarMensajeOSD \"Primero\" \"200\" \"200\" \"300\" \"Arial|20|255,255,0\"");
  Accion("krMostrarMensajeOSD \"Segundo\" \"200\" \"200\" \"1800\" \"Arial|20|0,255,255\"");
  ASSERT_EQ(VentanasOSD().size(), 2u);
  Esperar(900);
  std::vector<HWND> quedan = VentanasOSD();
  ASSERT_EQ(quedan.size(), 1u);
  EXPECT_TRUE(IsWindowVisible(quedan[0]));
  EXPECT_TRUE(EsperarSinMensajes(1800));

  Accion("krMostrarMensajeOSD \"Nada\" \"10\" \"10\" \"0\" \"Arial|20|255,255,255\"");
  EXPECT_EQ(R(), "True");
  EXPECT_TRUE(EsperarSinMensajes(300)) << "a time of 0 hides it at once";
}

TEST_F(Monitor, AmpersandSeDibujaTalCual) {
  const std::string texto = "A&&B & C&D";
  Accion("krMostrarMensajeOSD \"" + texto + "\" \"50\" \"60\" \"3000\" \"Arial|24|255,255,255\"");
  HWND h = UnaVentana();
  ASSERT_TRUE(h);
  Fuente f("Arial", 24, false);
  const int ancho = AnchoEscritorio() - 50;
  SIZE conAmpersand = Medir(texto, f, ancho), comoPrefijo = Medir(texto, f, ancho, DT_WORDBREAK | DT_NOCLIP);
  ASSERT_NE(conAmpersand.cx, comoPrefijo.cx);
  RECT r = Rectangulo(h);
  EXPECT_EQ(r.right - r.left, conAmpersand.cx);
}

TEST_F(Monitor, TextoLargoSeParteAntesDelBordeDerecho) {
  const std::string texto =
      "Un texto bastante largo que no cabe en una sola linea entre la posicion pedida y el borde derecho";
  Accion("krMostrarMensajeOSD \"" + texto + "\" \"700\" \"100\" \"3000\" \"Verdana|16|255,128,0|Bold\"");
  HWND h = UnaVentana();
  ASSERT_TRUE(h);
  Fuente f("Verdana", 16, true);
  SIZE esperado = Medir(texto, f, AnchoEscritorio() - 700), linea = Medir("Un", f, 10000);
  RECT r = Rectangulo(h);
  EXPECT_EQ(r.left, 700);
  EXPECT_LE(r.right, AnchoEscritorio());
  EXPECT_EQ(r.right - r.left, esperado.cx);
  EXPECT_EQ(r.bottom - r.top, esperado.cy);
  EXPECT_GE(r.bottom - r.top, 3 * linea.cy) << "not broken into lines";
}

TEST_F(Monitor, NumerosInvalidosDanLosValoresPorDefecto) {
  // Position 10,10, 4000 ms; a size that is not a number is 10 points.
  Accion("krMostrarMensajeOSD \"Por defecto\" \"x\" \"\" \"4 s\" \"Arial|grande|0,0,255\"");
  EXPECT_EQ(R(), "True");
  HWND h = UnaVentana();
  ASSERT_TRUE(h);
  RECT r = Rectangulo(h);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 10);
  SIZE esperado = Medir("Por defecto", Fuente("Arial", 10, false), AnchoEscritorio() - 10);
  EXPECT_EQ(r.right - r.left, esperado.cx);
  EXPECT_EQ(r.bottom - r.top, esperado.cy);
  Esperar(3000);
  EXPECT_TRUE(IsWindow(h) && IsWindowVisible(h)) << "gone before 4000 ms";
  EXPECT_TRUE(EsperarSinMensajes(2000)) << "still there after 4000 ms";
}

// Every pixel of the window is the text's colour or the colour key, and both occur; the
// key is never the text's colour, so the text is never cut out.
TEST_F(Monitor, TextoVisibleEnCualquierColorNegroIncluido) {
  struct {
    const char* fuente;
    COLORREF texto;
    COLORREF clave;
  } casos[] = {
      {"Arial|28|0,255,0|Bold", RGB(0, 255, 0), RGB(0, 0, 0)},
      {"Arial|28|0,0,0|Bold", RGB(0, 0, 0), RGB(255, 0, 255)},
      {"Arial|28|255,255,255", RGB(255, 255, 255), RGB(0, 0, 0)},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.fuente);
    Accion(std::string("krMostrarMensajeOSD \"Texto W\" \"300\" \"300\" \"3000\" \"") + c.fuente + "\"");
    Esperar(50);
    HWND h = UnaVentana();
    ASSERT_TRUE(h);
    COLORREF clave = 1;
    BYTE alfa;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(h, &clave, &alfa, &flags));
    EXPECT_EQ(clave, c.clave);
    int ancho, alto;
    std::vector<COLORREF> p = Pixeles(h, ancho, alto);
    ASSERT_GT(ancho * alto, 0);
    auto texto = std::count(p.begin(), p.end(), c.texto), fondo = std::count(p.begin(), p.end(), clave);
    EXPECT_GT(texto, 20);
    EXPECT_GT(fondo, texto);
    EXPECT_EQ(texto + fondo, static_cast<long long>(p.size())) << "pixels of other colours";
    Accion("krOcultarMensajesOSD");
    EXPECT_TRUE(EsperarSinMensajes(200));
  }
}

TEST_F(Monitor, OcultarTodosDeUnaVez) {
  for (int i = 0; i < 3; ++i)
    Accion("krMostrarMensajeOSD \"Mensaje " + std::to_string(i) + "\" \"" + std::to_string(100 + 50 * i) +
           "\" \"100\" \"20000\" \"Arial|20|255,255,255\"");
  std::vector<HWND> ventanas = VentanasOSD();
  ASSERT_EQ(ventanas.size(), 3u);
  Accion("krOcultarMensajesOSD");
  EXPECT_EQ(R(), "True");
  EXPECT_EQ(E(), "");
  for (HWND h : ventanas) EXPECT_FALSE(IsWindow(h) && IsWindowVisible(h));
  EXPECT_TRUE(VentanasOSD().empty());
}

TEST_F(Monitor, OcultarSinMensajes) {
  ASSERT_TRUE(VentanasOSD().empty());
  Accion("krOcultarMensajesOSD");
  EXPECT_EQ(R(), "True");
  EXPECT_EQ(E(), "");
}

// Shown and timed out, ten thousand messages leave the process's window and GDI objects as
// they were.
TEST_F(Monitor, DiezMilMensajesSinAgotarRecursos) {
  auto usuario = [] { return GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS); };
  auto gdi = [] { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); };
  DWORD usuarioAntes = 0, gdiAntes = 0;
  std::size_t maximo = 0;
  const nbhost::Recuentos alEmpezar = nbhost::RecuentosDelPlugin();
  long objetosAntes = 0;
  const std::vector<std::string> parametros = {"Mensaje", "20", "20", "1", "Arial|12|255,255,255"};
  for (int lote = 0; lote < 100; ++lote) {
    for (int i = 0; i < 100; ++i) h_.sim->Ejecutar(603, parametros, "");
    maximo = std::max(maximo, VentanasOSD().size());
    ASSERT_EQ(R(), "True") << E();
    ASSERT_TRUE(EsperarSinMensajes(5000)) << "batch " << lote;
    h_.lineas.clear();
    if (lote == 0) {  // the first batch settles what the system allocates once
      usuarioAntes = usuario();
      gdiAntes = gdi();
      objetosAntes = nbhost::RecuentosDelPlugin().objetosGdi;
    }
  }
  EXPECT_EQ(maximo, 100u);
  const nbhost::Recuentos alAcabar = nbhost::RecuentosDelPlugin();
  EXPECT_EQ(alAcabar.objetosGdi, objetosAntes) << "fonts of the messages left behind";
  EXPECT_EQ(objetosAntes, alEmpezar.objetosGdi) << "the first batch left fonts behind";
  EXPECT_EQ(alAcabar.contextosDibujo, alEmpezar.contextosDibujo) << "device contexts not released";
  EXPECT_EQ(gObjetos.pinturas, 0) << "paints not ended";
  // Where the system counts them (Windows; Wine answers 0).
  EXPECT_LE(usuario(), usuarioAntes + 20) << "window objects grow with the messages";
  EXPECT_LE(gdi(), gdiAntes + 20) << "GDI objects grow with the messages";
}

// The plug-in unloaded with messages on screen: their windows go with it, and none of their
// timers fires into the unloaded code afterwards.
TEST(MonitorDescarga, ConMensajesEnPantalla) {
  if (prueba::EsI386()) GTEST_SKIP() << "a second copy of the plug-in is loaded on the fast route only";
  std::string copia = prueba::CarpetaDeLaPrueba("osd") + ".nbp";
  ASSERT_TRUE(CopyFileA(prueba::RutaPlugin().c_str(), copia.c_str(), FALSE));
  std::vector<HWND> suyas;
  {
    nbhost::Opciones o;
    o.codigoAlTerminar = 99;
    nbhost::Simulador sim(o, nullptr);
    sim.Cargar(copia);
    sim.Conectar();
    HMODULE modulo = GetModuleHandleA(copia.c_str());
    ASSERT_TRUE(modulo);
    for (int i = 0; i < 3; ++i) sim.Ejecutar(603, {"En pantalla", "100", "100", "60000", "Arial|20|255,255,255"}, "");
    for (HWND h : VentanasOSD())
      if (reinterpret_cast<HMODULE>(GetWindowLongPtrA(h, GWLP_HINSTANCE)) == modulo) suyas.push_back(h);
    ASSERT_EQ(suyas.size(), 3u);
    WNDCLASSA clase;
    EXPECT_TRUE(GetClassInfoA(modulo, kClase, &clase));
  }
  EXPECT_FALSE(GetModuleHandleA(copia.c_str())) << "the copy is still loaded";
  for (HWND h : suyas) EXPECT_FALSE(IsWindow(h));
  // Timer 2 would fire every second while a window lived.
  nbhost::EntregarMensajes(2500);
  DeleteFileA(copia.c_str());
}

TEST_F(Monitor, EnergiaDelMonitor) {
  struct {
    const char* guion;
    const char* llamada;
    const char* resultado;
  } casos[] = {
      {"krApagarMonitor", "SendMessageA(WM_SYSCOMMAND, SC_MONITORPOWER, 2)", "True"},
      {"krEncenderMonitor", "SendMessageA(WM_SYSCOMMAND, SC_MONITORPOWER, -1)", "True"},
      {"CallResult \"SendMessageA\" \"1\"\nkrApagarMonitor", "SendMessageA(WM_SYSCOMMAND, SC_MONITORPOWER, 2)",
       "False"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.guion);
    Accion(c.guion);
    ASSERT_EQ(h_.sim->Llamadas().size(), 1u);
    EXPECT_EQ(h_.sim->Llamadas()[0], c.llamada);
    EXPECT_EQ(R(), c.resultado);
    EXPECT_EQ(E(), "");
  }
}

// ---- Display modes -----------------------------------------------------------------------------

class Pantalla : public Monitor {
 protected:
  void SetUp() override {
    inicial_.dmSize = sizeof inicial_;
    ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &inicial_));
  }
  void TearDown() override {
    if (GetSystemMetrics(SM_CXSCREEN) != static_cast<int>(inicial_.dmPelsWidth))
      ChangeDisplaySettingsA(&inicial_, CDS_UPDATEREGISTRY);
    Monitor::TearDown();
  }
  // A mode the system offers other than the current one, 800x600 where there is one.
  bool OtroModo(DEVMODEA& modo) {
    bool hallado = false;
    DEVMODEA m{};
    m.dmSize = sizeof m;
    for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &m); ++i) {
      if (m.dmPelsWidth == inicial_.dmPelsWidth && m.dmPelsHeight == inicial_.dmPelsHeight) continue;
      if (!hallado || (m.dmPelsWidth == 800 && m.dmPelsHeight == 600)) modo = m;
      hallado = true;
    }
    return hallado;
  }
  std::string Cambiar(DWORD ancho, DWORD alto, DWORD frecuencia, const char* soloProbar) {
    return "krCambiarResolucion \"" + std::to_string(ancho) + "\" \"" + std::to_string(alto) + "\" \"" +
           std::to_string(frecuencia) + "\" \"" + soloProbar + "\"";
  }
  DEVMODEA inicial_{};
};

TEST_F(Pantalla, ModoOfrecidoProbadoFijadoYRestablecido) {
  DEVMODEA otro{};
  if (!OtroModo(otro)) GTEST_SKIP() << "the display offers a single mode (no virtual desktop)";
  const int ancho = GetSystemMetrics(SM_CXSCREEN);
  Accion(Cambiar(otro.dmPelsWidth, otro.dmPelsHeight, otro.dmDisplayFrequency, "Checked"));
  EXPECT_EQ(R(), "True") << E();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), ancho) << "only testing changed the display";

  Accion(Cambiar(otro.dmPelsWidth, otro.dmPelsHeight, otro.dmDisplayFrequency, "False"));
  EXPECT_EQ(R(), "True") << E();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), static_cast<int>(otro.dmPelsWidth));
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), static_cast<int>(otro.dmPelsHeight));

  Accion(Cambiar(inicial_.dmPelsWidth, inicial_.dmPelsHeight, inicial_.dmDisplayFrequency, ""));
  EXPECT_EQ(R(), "True") << E();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), ancho);
}

TEST_F(Pantalla, ModosRechazadosYNumerosInvalidos) {
  struct {
    const char* guion;
    const char* error;
  } casos[] = {
      {"krCambiarResolucion \"1234\" \"567\" \"60\" \"True\"", "DISP_ERROR_UNKNOWN"},  // the raw test answer, -2
      {"krCambiarResolucion \"1234\" \"567\" \"60\" \"\"", "DISP_CHANGE_FAILED"},
      {"krCambiarResolucion \"1024\" \"768\" \"abc\" \"\"", ""},
      {"krCambiarResolucion \"1024 \" \"768\" \"60\" \"Checked\"", ""},
  };
  const int ancho = GetSystemMetrics(SM_CXSCREEN);
  for (const auto& c : casos) {
    SCOPED_TRACE(c.guion);
    Accion(c.guion);
    EXPECT_EQ(R(), "False");
    EXPECT_EQ(E(), c.error);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), ancho);
  }
}

// ---- Wallpaper ---------------------------------------------------------------------------------

constexpr const char kEscritorio[] = "Control Panel\\Desktop";

std::string ValorEscritorio(const char* nombre) {
  char buffer[64] = {};
  DWORD n = sizeof buffer;
  if (RegGetValueA(HKEY_CURRENT_USER, kEscritorio, nombre, RRF_RT_REG_SZ, nullptr, buffer, &n) != ERROR_SUCCESS)
    return "(none)";
  return buffer;
}

DWORD CuentaValores() {
  HKEY clave;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kEscritorio, 0, KEY_READ, &clave) != ERROR_SUCCESS) return 0;
  DWORD n = 0;
  RegQueryInfoKeyA(clave, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &n, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(clave);
  return n;
}

class PapelTapiz : public Monitor {
 protected:
  void SetUp() override {
    char anterior[MAX_PATH] = {};
    SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, anterior, 0);
    anterior_ = anterior;
    imagen_ = prueba::CarpetaDeLaPrueba("papel") + ".bmp";
    // A 1x1 white bitmap.
    const unsigned char bmp[] = {'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0,
                                 1, 0, 24, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 255, 255, 255, 0};
    std::ofstream(imagen_, std::ios::binary).write(reinterpret_cast<const char*>(bmp), sizeof bmp);
  }
  void TearDown() override {
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, anterior_.data(), SPIF_UPDATEINIFILE);
    DeleteFileA(imagen_.c_str());
    Monitor::TearDown();
  }
  std::string anterior_, imagen_;
};

TEST_F(PapelTapiz, ColocacionesEnElRegistroYLecturaDeVuelta) {
  struct {
    const char* colocacion;
    const char* mosaico;
    const char* estilo;
  } casos[] = {
      {"PPT_CENTRADO", "0", "0"},  {"PPT_MOSAICO", "1", "0"}, {"PPT_EXTENDIDO", "0", "2"},
      {"ppt_mosaico", "0", "2"},   {"ppt_centrado", "0", "2"}, {"", "0", "2"},
  };
  for (const auto& c : casos) {
    SCOPED_TRACE(c.colocacion);
    Accion("krFijarPapelTapiz \"" + imagen_ + "\" \"" + c.colocacion + "\"");
    EXPECT_EQ(R(), "True") << E();
    EXPECT_EQ(E(), "");
    EXPECT_EQ(ValorEscritorio("TileWallpaper"), c.mosaico);
    EXPECT_EQ(ValorEscritorio("WallpaperStyle"), c.estilo);
    Accion("krObtenerPapelTapiz");
    EXPECT_EQ(R(), imagen_);
  }
  Accion("krFijarPapelTapiz \"\" \"PPT_CENTRADO\"");
  EXPECT_EQ(R(), "True");
  Accion("krObtenerPapelTapiz");
  EXPECT_EQ(R(), "");
}

// The desktop settings key missing: the registry error reaches the publication as the
// exception text, and nothing else is changed.
TEST_F(PapelTapiz, SinClaveDelEscritorioFalloConElTextoDeLaExcepcion) {
  const char kCopia[] = "Software\\Pelmaro pruebas\\Desktop";
  HKEY copia;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kCopia, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &copia, nullptr), 0);
  ASSERT_EQ(RegCopyTreeA(HKEY_CURRENT_USER, kEscritorio, copia), 0);
  const DWORD valores = CuentaValores();
  ASSERT_GT(valores, 0u);
  ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, kEscritorio), 0);

  Accion("krFijarPapelTapiz \"" + imagen_ + "\" \"PPT_MOSAICO\"");
  std::string resultado = R(), error = E();

  HKEY escritorio;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kEscritorio, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &escritorio,
                            nullptr),
            0);
  EXPECT_EQ(RegCopyTreeA(copia, nullptr, escritorio), 0);
  RegCloseKey(escritorio);
  RegCloseKey(copia);
  RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Pelmaro pruebas");

  EXPECT_EQ(resultado, "False");
  EXPECT_EQ(error, pelmaro::TextoExcepcion(
                       "EOSError", pelmaro::Formatear(pelmaro::kFormatoMensajeOS, "2", pelmaro::MensajeSistema(2))));
  EXPECT_EQ(CuentaValores(), valores) << "the settings were not put back";
  char ahora[MAX_PATH] = {};
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, ahora, 0);
  EXPECT_EQ(std::string(ahora), anterior_) << "the wallpaper was changed all the same";
}

}  // namespace
