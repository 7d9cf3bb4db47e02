#include <windows.h>

#include <commdlg.h>

#include <cstring>
#include <vector>

#include "actions/publication/ejecucion_publicacion.h"
#include "actions/publication/utiles_publicacion.h"
#include "actions/publication/vista_previa.h"
#include "core/korutiles.h"
#include "core/texto.h"

namespace pelmaro {
namespace {

// ---- Colour and font --------------------------------------------------------------------------

// A colour as the dialogs want it: system colour codes become the colour they stand for.
COLORREF ColorReal(std::uint32_t color) {
  if ((color & 0xFF000000u) == 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFFu;
}

int PuntosPorPulgada() {
  HDC dc = GetDC(nullptr);
  int ppp = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return ppp;
}

// ---- Picture dialogs -----------------------------------------------------------------------------

constexpr WORD kIdStc32 = 0x045F;  // where the dialog puts its standard controls
constexpr WORD kIdVista = 1001;
constexpr WORD kIdTamanyo = 1002;

// The child template that adds the preview pane to the right of the standard controls.
class PlantillaVista {
 public:
  PlantillaVista() {
    Palabras(DS_3DLOOK | DS_CONTROL | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    Palabras(0);  // extended style
    datos_.push_back(3);  // controls
    datos_.insert(datos_.end(), {0, 0, 120, 112});
    datos_.insert(datos_.end(), {0, 0, 0});  // menu, class, title
    Control(kIdStc32, WS_CHILD, 0, 0, 1, 112);  // as tall as the pane: the pane goes to its right
    Control(kIdVista, WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, 6, 4, 110, 92);
    Control(kIdTamanyo, WS_CHILD | WS_VISIBLE | SS_CENTER, 6, 99, 110, 10);
  }
  const DLGTEMPLATE* Plantilla() const { return reinterpret_cast<const DLGTEMPLATE*>(datos_.data()); }

 private:
  void Palabras(DWORD d) { datos_.insert(datos_.end(), {LOWORD(d), HIWORD(d)}); }
  void Control(WORD id, DWORD estilo, short x, short y, short cx, short cy) {
    if (datos_.size() % 2) datos_.push_back(0);  // DWORD alignment
    Palabras(estilo);
    Palabras(0);
    datos_.insert(datos_.end(), {static_cast<WORD>(x), static_cast<WORD>(y), static_cast<WORD>(cx),
                                 static_cast<WORD>(cy), id, 0xFFFF, 0x0082, 0, 0});
  }
  std::vector<WORD> datos_;
};

struct EstadoVista {
  ImagenVistaPrevia imagen;
};

void ActualizarVista(HWND hijo, EstadoVista& estado) {
  char ruta[MAX_PATH * 4] = "";
  LRESULT n = SendMessageA(GetParent(hijo), CDM_GETFILEPATH, sizeof ruta, reinterpret_cast<LPARAM>(ruta));
  LiberarVistaPrevia(estado.imagen);
  DWORD atributos = n > 0 ? GetFileAttributesA(ruta) : INVALID_FILE_ATTRIBUTES;
  if (atributos != INVALID_FILE_ATTRIBUTES && !(atributos & FILE_ATTRIBUTE_DIRECTORY))
    estado.imagen = CargarVistaPrevia(ruta);
  std::string tamanyo;
  if (estado.imagen.mapa)
    tamanyo = EnteroATexto(estado.imagen.ancho) + " x " + EnteroATexto(estado.imagen.alto);
  SetDlgItemTextA(hijo, kIdTamanyo, tamanyo.c_str());
  InvalidateRect(GetDlgItem(hijo, kIdVista), nullptr, TRUE);
}

void DibujarVista(const DRAWITEMSTRUCT& d, const EstadoVista& estado) {
  FillRect(d.hDC, &d.rcItem, GetSysColorBrush(COLOR_BTNFACE));
  FrameRect(d.hDC, &d.rcItem, GetSysColorBrush(COLOR_BTNSHADOW));
  const ImagenVistaPrevia& im = estado.imagen;
  if (!im.mapa) return;
  int anchoCaja = d.rcItem.right - d.rcItem.left - 4, altoCaja = d.rcItem.bottom - d.rcItem.top - 4;
  int ancho = im.ancho, alto = im.alto;
  // Fitted into the pane, never enlarged.
  if (ancho > anchoCaja || alto > altoCaja) {
    if (static_cast<long long>(ancho) * altoCaja > static_cast<long long>(alto) * anchoCaja) {
      alto = static_cast<int>(static_cast<long long>(alto) * anchoCaja / ancho);
      ancho = anchoCaja;
    } else {
      ancho = static_cast<int>(static_cast<long long>(ancho) * altoCaja / alto);
      alto = altoCaja;
    }
  }
  int x = d.rcItem.left + 2 + (anchoCaja - ancho) / 2, y = d.rcItem.top + 2 + (altoCaja - alto) / 2;
  HDC memoria = CreateCompatibleDC(d.hDC);
  HGDIOBJ antes = SelectObject(memoria, static_cast<HBITMAP>(im.mapa));
  SetStretchBltMode(d.hDC, HALFTONE);
  StretchBlt(d.hDC, x, y, ancho < 1 ? 1 : ancho, alto < 1 ? 1 : alto, memoria, 0, 0, im.ancho, im.alto, SRCCOPY);
  SelectObject(memoria, antes);
  DeleteDC(memoria);
}

UINT_PTR CALLBACK GanchoVista(HWND hijo, UINT mensaje, WPARAM wp, LPARAM lp) {
  auto* estado = reinterpret_cast<EstadoVista*>(GetWindowLongPtrA(hijo, GWLP_USERDATA));
  switch (mensaje) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(hijo, GWLP_USERDATA, static_cast<LONG_PTR>(reinterpret_cast<OPENFILENAMEA*>(lp)->lCustData));
      return TRUE;
    case WM_NOTIFY: {
      auto* n = reinterpret_cast<OFNOTIFYA*>(lp);
      if (estado && (n->hdr.code == CDN_SELCHANGE || n->hdr.code == CDN_INITDONE)) ActualizarVista(hijo, *estado);
      return 0;
    }
    case WM_DRAWITEM:
      if (estado && wp == kIdVista) {
        DibujarVista(*reinterpret_cast<DRAWITEMSTRUCT*>(lp), *estado);
        return TRUE;
      }
      return 0;
    default:
      return 0;
  }
}

// "Description|*.ext|..." as the dialog wants it: pieces ended by zeros, then one more zero.
std::string FiltroDialogo(const std::string& filtro) {
  std::string f = filtro;
  for (char& c : f)
    if (c == '|') c = '\0';
  f.append(2, '\0');
  return f;
}

// The full paths in the dialog's answer: one path, or a folder and names after it.
std::vector<std::string> RutasElegidas(const std::vector<char>& buffer) {
  std::vector<std::string> piezas;
  for (const char* p = buffer.data(); *p; p += std::strlen(p) + 1) piezas.emplace_back(p);
  if (piezas.size() <= 1) return piezas;
  std::string carpeta = piezas[0];
  if (!carpeta.empty() && carpeta.back() != '\\') carpeta += '\\';
  std::vector<std::string> rutas;
  for (std::size_t i = 1; i < piezas.size(); ++i) rutas.push_back(carpeta + piezas[i]);
  return rutas;
}

struct RespuestaArchivo {
  bool aceptado = false;
  bool soloLectura = false;
  std::vector<std::string> rutas;
};

// Shows the open or save picture dialog with the preview pane.
RespuestaArchivo DialogoImagen(const Parametros& p, bool guardar) {
  constexpr std::size_t kTamanyoBuffer = 64 * 1024;
  std::vector<char> buffer(kTamanyoBuffer, '\0');
  std::string inicial = p[1];
  std::memcpy(buffer.data(), inicial.data(), inicial.size() < kTamanyoBuffer - 2 ? inicial.size() : kTamanyoBuffer - 2);
  std::string filtro = FiltroDialogo(Recortar(p[2]).empty() ? FiltroImagenes() : std::string(p[2]));
  std::string titulo = p[0], extension = p[3];
  PlantillaVista plantilla;
  EstadoVista estado;
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = GetActiveWindow();
  ofn.hInstance = reinterpret_cast<HINSTANCE>(const_cast<DLGTEMPLATE*>(plantilla.Plantilla()));
  ofn.lpstrFilter = filtro.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  if (!Recortar(titulo).empty()) ofn.lpstrTitle = titulo.c_str();
  if (!Recortar(extension).empty()) ofn.lpstrDefExt = extension.c_str();
  ofn.lCustData = reinterpret_cast<LPARAM>(&estado);
  ofn.lpfnHook = GanchoVista;
  // The one option each dialog has; the rest is what the preview pane needs.
  ofn.Flags = (guardar ? OFN_OVERWRITEPROMPT : OFN_ALLOWMULTISELECT) | OFN_EXPLORER | OFN_ENABLEHOOK |
              OFN_ENABLETEMPLATEHANDLE | OFN_ENABLESIZING;
  RespuestaArchivo r;
  r.aceptado = guardar ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
  LiberarVistaPrevia(estado.imagen);
  if (r.aceptado) {
    r.soloLectura = (ofn.Flags & OFN_READONLY) != 0;
    r.rutas = RutasElegidas(buffer);
  }
  return r;
}

}  // namespace

TablaManejadores TEjecucionAccDialogos::Tabla() {
  static const EntradaManejador kFilas[] = {
      {300, DialogoColor}, {301, DialogoFuente}, {302, DialogoAbrirImagen}, {303, DialogoGuardarImagen}};
  return pelmaro::Tabla(kFilas);
}

std::uint8_t TEjecucionAccDialogos::DialogoColor(const Parametros& p) {
  std::string arreglo = p[0];
  std::vector<std::string> lineas;
  for (int i = 0; i < kColoresPersonalizados; ++i)
    lineas.push_back(LineaColor(i, TKorUtiles::LeerVariable(arreglo + EnteroATexto(i))));
  COLORREF personalizados[kColoresPersonalizados];
  for (int i = 0; i < kColoresPersonalizados; ++i) personalizados[i] = ValorLineaColor(lineas[i]);
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = GetActiveWindow();
  cc.rgbResult = 0;
  cc.lpCustColors = personalizados;
  cc.Flags = CC_RGBINIT;
  if (EsVerdadero(p[2])) cc.Flags |= CC_FULLOPEN;
  if (EsFalso(p[1])) cc.Flags |= CC_PREVENTFULLOPEN;
  if (ChooseColorA(&cc)) {
    for (int i = 0; i < kColoresPersonalizados; ++i)
      TKorUtiles::EscribirElemento(i, arreglo, TextoColorPersonalizado(personalizados[i]));
    resultado::Valor(ColorATexto(cc.rgbResult));
  } else {
    resultado::Valor(kFalso);
  }
  return 1;
}

std::uint8_t TEjecucionAccDialogos::DialogoFuente(const Parametros& p) {
  int ppp = PuntosPorPulgada();
  LOGFONTA lf{};
  std::string nombre = p[0];
  std::strncpy(lf.lfFaceName, nombre.c_str(), LF_FACESIZE - 1);
  lf.lfHeight = -MulDiv(LeerEnteroODefecto(p[1], 10), ppp, 72);
  unsigned estilos = TextoAEstilo(p[3]);
  lf.lfWeight = (estilos & kNegrita) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (estilos & kCursiva) != 0;
  lf.lfUnderline = (estilos & kSubrayado) != 0;
  lf.lfStrikeOut = (estilos & kTachado) != 0;
  lf.lfCharSet = TextoACharset(p[4]);
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = GetActiveWindow();
  cf.lpLogFont = &lf;
  cf.rgbColors = ColorReal(TextoAColor(p[2]));
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFontA(&cf)) {
    resultado::Valor(kFalso);
    return 1;
  }
  unsigned elegidos = 0;
  if (lf.lfWeight >= FW_BOLD) elegidos |= kNegrita;
  if (lf.lfItalic) elegidos |= kCursiva;
  if (lf.lfUnderline) elegidos |= kSubrayado;
  if (lf.lfStrikeOut) elegidos |= kTachado;
  int tamanyo = lf.lfHeight < 0 ? MulDiv(-lf.lfHeight, 72, ppp) : MulDiv(lf.lfHeight, 72, ppp);
  TKorUtiles::EscribirElemento(0, kResultado, ColorATexto(cf.rgbColors));
  TKorUtiles::EscribirElemento(1, kResultado, lf.lfFaceName);
  TKorUtiles::EscribirElemento(2, kResultado, EnteroATexto(tamanyo));
  TKorUtiles::EscribirElemento(3, kResultado, EstiloATexto(elegidos));
  TKorUtiles::EscribirElemento(4, kResultado, CharsetATexto(lf.lfCharSet));
  return 1;
}

std::uint8_t TEjecucionAccDialogos::DialogoAbrirImagen(const Parametros& p) {
  return ConTrampa([&] {
    RespuestaArchivo r = DialogoImagen(p, false);
    if (!r.aceptado) {
      resultado::Valor(kFalso);
      TKorUtiles::EscribirVariable(p[4], kFalso);
      return;
    }
    TKorUtiles::EscribirVariable(p[4], TextoBooleano(r.soloLectura));
    if (r.rutas.size() == 1) {
      resultado::Valor(r.rutas[0]);
    } else {
      for (std::size_t i = 0; i < r.rutas.size(); ++i)
        TKorUtiles::EscribirElemento(static_cast<std::int32_t>(i), kResultado, r.rutas[i]);
    }
  });
}

std::uint8_t TEjecucionAccDialogos::DialogoGuardarImagen(const Parametros& p) {
  return ConTrampa([&] {
    RespuestaArchivo r = DialogoImagen(p, true);
    resultado::Valor(r.aceptado && !r.rutas.empty() ? r.rutas[0] : std::string(kFalso));
  });
}

}  // namespace pelmaro
