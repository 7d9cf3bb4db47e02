#include "editing/marcos_win.h"

#include <windows.h>
#include <commdlg.h>
#include <ole2.h>
#include <shlobj.h>

#include <vector>

#include "core/korutiles.h"
#include "core/textos.h"

namespace pelmaro {
namespace {

namespace t {
inline constexpr const char* kInsertarVariable = N_("Insertar una variable");
inline constexpr const char* kEligeObjeto = N_("Elige un objeto...");
inline constexpr const char* kEligeArchivo = N_("Elige un archivo");
inline constexpr const char* kEligeDirectorio = N_("Elige un directorio");
}  // namespace t

// COM for the folder browser's newer dialog style, balanced.
class Ole {
 public:
  Ole() : hecho_(SUCCEEDED(OleInitialize(nullptr))) {}
  ~Ole() {
    if (hecho_) OleUninitialize();
  }
  Ole(const Ole&) = delete;
  Ole& operator=(const Ole&) = delete;

 private:
  bool hecho_;
};

COLORREF ColorReal(std::uint32_t color) {
  // A system colour (its index in the low byte with the high bit set), or R,G,B.
  if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0xFFFFFF);
}

int Ppp(HWND ventana) {
  kit::ContextoDibujo dc(ventana);
  return GetDeviceCaps(dc.h(), LOGPIXELSY);
}

}  // namespace

// ---- Common to every kind ---------------------------------------------------------------------

TframeVar::TframeVar(kit::Contenedor* dueno, std::string nombre) : kit::Marco(dueno, std::move(nombre)) {
  lbValor = Crear<kit::Etiqueta>("lbValor", Forma()->FuenteNombrada(L"Arial", 9));
  sbtnVariables = Crear<kit::BotonPlano>("sbtnVariables", kit::Dibujo::Variable);
  sbtnVariables->FijarTexto(t::kInsertarVariable);
  sbtnVariables->alPulsar = [this] { sbtnVariablesClick(); };
}

void TframeVar::PonerDelante(kit::Componente* control) {
  // The label, then its control, first in the frame's Tab order (a label's mnemonic moves
  // the focus to the control after it).
  for (kit::Componente* c : {control, static_cast<kit::Componente*>(lbValor)})
    SetWindowPos(c->Ventana(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int TframeVar::AnchoNecesario() const {
  SIZE s = kit::MedirTexto(reinterpret_cast<HFONT>(SendMessageW(lbValor->Ventana(), WM_GETFONT, 0, 0)),
                           lbValor->TextoMostrado());
  return s.cx;
}

int TframeVar::Disponer(int ancho) {
  const kit::Medidas& m = Medida();
  HFONT fuente = reinterpret_cast<HFONT>(SendMessageW(lbValor->Ventana(), WM_GETFONT, 0, 0));
  int altoEtiqueta = kit::MedirTexto(fuente, L"Ág").cy;
  lbValor->Colocar(0, 0, ancho, altoEtiqueta);
  int y = altoEtiqueta + m.Y(2);
  int alto = m.Y(13);  // one line of text in an edit box
  int separacion = m.X(2);
  int derecha = ancho;
  std::vector<kit::Componente*> visibles;
  for (kit::Componente* b : botones_)
    if (b->Visible()) visibles.push_back(b);
  for (auto it = visibles.rbegin(); it != visibles.rend(); ++it) {
    derecha -= alto;
    (*it)->Colocar(derecha, y, alto, alto);
    derecha -= separacion / 2;
  }
  if (extra_) {
    int caja = GetSystemMetrics(SM_CXMENUCHECK) + 2;
    derecha -= separacion / 2 + caja;
    extra_->Colocar(derecha + separacion / 2, y, caja, alto);
  }
  derecha -= separacion / 2;
  kit::Componente* control = Control();
  // A combo box's own height is its list's.
  bool combo = dynamic_cast<kit::Combo*>(control) != nullptr;
  control->Colocar(0, y, derecha, combo ? alto * 10 : alto);
  int total = y + alto;
  MoveWindow(hwnd_, limites.left, limites.top, ancho, total, FALSE);
  limites.right = limites.left + ancho;
  limites.bottom = limites.top + total;
  return total;
}

void TframeVar::sbtnVariablesClick() {
  std::string dato = TKorUtiles::DatoInterfaz(1);
  if (!dato.empty()) FijarValor(dato);
  EnfocarYSeleccionar();
}

// ---- Text -----------------------------------------------------------------------------------

TframeVarAlpha::TframeVarAlpha(kit::Contenedor* dueno, std::string nombre) : TframeVar(dueno, std::move(nombre)) {
  edValor = Crear<kit::Edicion>("edValor");
  sbtnObjetos = Crear<kit::BotonPlano>("sbtnObjetos", kit::Dibujo::Objeto);
  sbtnObjetos->FijarTexto(t::kEligeObjeto);
  sbtnObjetos->FijarPista(t::kEligeObjeto);
  sbtnObjetos->alPulsar = [this] { sbtnObjetosClick(); };
  sbtnArchivos = Crear<kit::BotonPlano>("sbtnArchivos", kit::Dibujo::Archivo);
  sbtnArchivos->alPulsar = [this] { sbtnArchivosClick(); };
  // Design order of the Tab key and of the buttons: edit, variables, objects, files.
  PonerDelante(edValor);
  botones_ = {sbtnVariables, sbtnObjetos, sbtnArchivos};
  sbtnObjetos->Mostrar(false);  // no dialog of this plug-in asks for objects
  FijarModoArchivo(0);
}

void TframeVarAlpha::FijarModoArchivo(int modo) {
  sbtnArchivos->tag = modo;
  sbtnArchivos->Mostrar(modo >= 0);
  sbtnArchivos->FijarDibujo(modo == 2 ? kit::Dibujo::Carpeta : kit::Dibujo::Archivo);
  sbtnArchivos->FijarTexto(modo == 2 ? t::kEligeDirectorio : t::kEligeArchivo);
}

void TframeVarAlpha::sbtnObjetosClick() {
  std::string dato;
  if (sbtnObjetos->tag == 0) dato = TKorUtiles::DatoInterfaz(3);
  else if (sbtnObjetos->tag == 1) dato = TKorUtiles::DatoInterfaz(4);
  if (!dato.empty()) edValor->FijarValor(dato);
  EnfocarYSeleccionar();
}

void TframeVarAlpha::sbtnArchivosClick() {
  int modo = sbtnArchivos->tag;
  if (modo == 0 || modo == 1) {
    std::vector<char> nombre(32768, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd_;
    ofn.lpstrFile = nombre.data();
    ofn.nMaxFile = static_cast<DWORD>(nombre.size());
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    BOOL elegido = modo == 0 ? GetOpenFileNameA(&ofn) : GetSaveFileNameA(&ofn);
    if (elegido) edValor->FijarValor(nombre.data());
  } else if (modo == 2) {
    Ole ole;
    std::string titulo = Texto(t::kEligeDirectorio);
    BROWSEINFOA bi{};
    bi.hwndOwner = hwnd_;
    bi.lpszTitle = titulo.c_str();
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_NONEWFOLDERBUTTON;
    if (PIDLIST_ABSOLUTE lista = SHBrowseForFolderA(&bi)) {
      char ruta[MAX_PATH] = {};
      bool hay = SHGetPathFromIDListA(lista, ruta) != FALSE;
      CoTaskMemFree(lista);
      if (hay) {
        std::string carpeta = ruta;
        if (carpeta.empty() || carpeta.back() != '\\') carpeta += '\\';
        edValor->FijarValor(carpeta);
      }
    }
  }
  EnfocarYSeleccionar();
}

// ---- Yes/no ---------------------------------------------------------------------------------

TframeVarBoolean::TframeVarBoolean(kit::Contenedor* dueno, std::string nombre) : TframeVar(dueno, std::move(nombre)) {
  edValor = Crear<kit::Edicion>("edValor");
  chBoolean = Crear<kit::Casilla>("chBoolean", false);
  chBoolean->alPulsar = [this] { chBooleanClick(); };
  PonerDelante(edValor);
  botones_ = {sbtnVariables};
  extra_ = chBoolean;
}

void TframeVarBoolean::Rellenar(const std::string& ansi) {
  edValor->FijarValor(ansi);
  chBoolean->Marcar(TKorUtiles::EsVerdadero(ansi.c_str()));
}

void TframeVarBoolean::chBooleanClick() { edValor->FijarValor(chBoolean->Marcada() ? "True" : "False"); }

// ---- Lists ----------------------------------------------------------------------------------

TframeVarCombo::TframeVarCombo(kit::Contenedor* dueno, std::string nombre, bool fija)
    : TframeVar(dueno, std::move(nombre)) {
  cbValor = Crear<kit::Combo>("cbValor", fija);
  PonerDelante(cbValor);
  botones_ = {sbtnVariables};
}

TframeVarSubrutina::TframeVarSubrutina(kit::Contenedor* dueno, std::string nombre)
    : TframeVar(dueno, std::move(nombre)) {
  cbValor = Crear<kit::Combo>("cbValor", false);
  PonerDelante(cbValor);
  botones_ = {sbtnVariables};
  std::vector<std::string> subrutinas;
  TKorUtiles::ListaInterfaz(1, subrutinas);
  for (const std::string& s : subrutinas) cbValor->AnyadirDato(s);
}

// ---- Fonts ----------------------------------------------------------------------------------

TframeVarFuente::TframeVarFuente(kit::Contenedor* dueno, std::string nombre) : TframeVar(dueno, std::move(nombre)) {
  edValor = Crear<kit::Edicion>("edValor");
  sbtnFuente = Crear<kit::BotonPlano>("sbtnFuente", kit::Dibujo::Puntos);
  sbtnFuente->FijarTexto("...");
  sbtnFuente->alPulsar = [this] { sbtnFuenteClick(); };
  PonerDelante(edValor);
  botones_ = {sbtnVariables, sbtnFuente};
}

void TframeVarFuente::sbtnFuenteClick() {
  int ppp = Ppp(hwnd_);
  LOGFONTA lf{};
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = hwnd_;
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_EFFECTS;
  std::string texto = edValor->Valor();
  if (!Recortar(texto).empty()) {
    DescripcionFuente f = TKorUtiles::TextoAFuente(texto);
    lf.lfHeight = -MulDiv(f.tamanyo, ppp, 72);
    lf.lfWeight = (f.estilos & kNegrita) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (f.estilos & kCursiva) ? 1 : 0;
    lf.lfUnderline = (f.estilos & kSubrayado) ? 1 : 0;
    lf.lfStrikeOut = (f.estilos & kTachado) ? 1 : 0;
    lf.lfCharSet = f.charset;
    lstrcpynA(lf.lfFaceName, f.nombre.c_str(), LF_FACESIZE);
    cf.rgbColors = ColorReal(f.color);
    cf.Flags |= CF_INITTOLOGFONTSTRUCT;
  }
  if (ChooseFontA(&cf)) {
    DescripcionFuente f;
    f.nombre = lf.lfFaceName;
    f.tamanyo = cf.iPointSize > 0 ? (cf.iPointSize + 5) / 10 : MulDiv(lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight, 72, ppp);
    f.color = cf.rgbColors & 0xFFFFFF;
    f.estilos = (lf.lfWeight >= FW_BOLD ? kNegrita : 0u) | (lf.lfItalic ? kCursiva : 0u) |
                (lf.lfUnderline ? kSubrayado : 0u) | (lf.lfStrikeOut ? kTachado : 0u);
    f.charset = lf.lfCharSet;
    std::string nuevo = TKorUtiles::FuenteATexto(f);
    if (!nuevo.empty()) edValor->FijarValor(nuevo);
    EnfocarYSeleccionar();
  } else {
    SetForegroundWindow(GetAncestor(hwnd_, GA_ROOT));
  }
}

}  // namespace pelmaro
