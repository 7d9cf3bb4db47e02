// Answers the system's standard dialogs (colour, font, open, save) from the script, through
// the dialogs' own controls, as a person would: a thread watches for a visible dialog window
// of this process, records what it shows, sets the controls and presses the button.
//
//   DialogAnswer "Cancel"
//   DialogAnswer "Color" "R,G,B" ["R,G,B" ...]   chosen colour, then custom colours to add
//   DialogAnswer "Font" "face" "size" "styles" ["R,G,B"]   empty fields are left as shown
//   DialogAnswer "File" "name" ["name" ...]       one file, or several
//   DialogAnswer "FileReadOnly" "name" ...        the same with the read-only box ticked
//   DialogAnswer "Delay" "ms"                     the next dialog stays that long first
//
// Answers are used in order, one per dialog. A question box the dialog asks (overwrite?) is
// answered Yes and recorded. A dialog left without an answer for 20 s is cancelled.
#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "hostsim/extensiones.h"
#include "hostsim/simulador.h"

namespace nbhost {
namespace {

struct Respuesta {
  std::string clase;
  std::vector<std::string> valores;
};

std::mutex gCerrojo;
std::deque<Respuesta> gPendientes;
bool gVigilando = false;

// Colour dialog controls.
constexpr int kRojo = 0x2C2, kVerde = 0x2C3, kAzul = 0x2C4, kAnyadir = 0x2C8, kDefinir = 0x2CF;

std::string TextoDe(HWND w) {
  char t[1024] = "";
  GetWindowTextA(w, t, sizeof t);
  return t;
}
std::string TextoControl(HWND d, int id) { return TextoDe(GetDlgItem(d, id)); }
std::string Citar(const std::string& t) { return "\"" + t + "\""; }
const char* SiNo(bool v) { return v ? "yes" : "no"; }

void Registrar(const std::string& d) {
  if (Simulador* sim = Simulador::Actual()) sim->RegistrarLlamada(d);
}

void Pulsar(HWND d, int id, bool esperar) {
  HWND b = GetDlgItem(d, id);
  if (esperar) SendMessageA(b ? b : d, b ? BM_CLICK : WM_COMMAND, b ? 0 : MAKEWPARAM(id, BN_CLICKED), 0);
  else PostMessageA(b ? b : d, b ? BM_CLICK : WM_COMMAND, b ? 0 : MAKEWPARAM(id, BN_CLICKED), 0);
}

void Notificar(HWND d, int id, int codigo) {
  SendMessageA(d, WM_COMMAND, MAKEWPARAM(id, codigo), reinterpret_cast<LPARAM>(GetDlgItem(d, id)));
}

bool LeerRgb(const std::string& t, int rgb[3]) {
  return std::sscanf(t.c_str(), "%d,%d,%d", &rgb[0], &rgb[1], &rgb[2]) == 3;
}

void FijarRgb(HWND d, const std::string& texto) {
  int rgb[3];
  if (!LeerRgb(texto, rgb)) return;
  const int ids[] = {kRojo, kVerde, kAzul};
  for (int i = 0; i < 3; ++i) SetDlgItemTextA(d, ids[i], std::to_string(rgb[i]).c_str());
}

void Color(HWND d, const Respuesta& r) {
  HWND definir = GetDlgItem(d, kDefinir);
  Registrar("ColorDialog(expanded " + std::string(SiNo(IsWindowVisible(GetDlgItem(d, kAnyadir)) != 0)) +
            ", expand button " + (definir && IsWindowEnabled(definir) ? "enabled" : "disabled") + ", owner " +
            (GetWindow(d, GW_OWNER) ? "window" : "none") + ")");
  for (std::size_t i = 1; i < r.valores.size(); ++i) {
    FijarRgb(d, r.valores[i]);
    Pulsar(d, kAnyadir, true);
  }
  if (!r.valores.empty()) FijarRgb(d, r.valores[0]);
  Pulsar(d, IDOK, false);
}

void ElegirEnCombo(HWND d, int id, const std::string& texto) {
  LRESULT i = SendDlgItemMessageA(d, id, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(texto.c_str()));
  if (i == CB_ERR) return;
  SendDlgItemMessageA(d, id, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
  Notificar(d, id, CBN_SELCHANGE);
}

std::string TextoCombo(HWND d, int id) {
  LRESULT i = SendDlgItemMessageA(d, id, CB_GETCURSEL, 0, 0);
  if (i == CB_ERR) return TextoControl(d, id);
  char t[256] = "";
  SendDlgItemMessageA(d, id, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t));
  return t;
}

void FijarCasilla(HWND d, int id, bool marcada) {
  if ((IsDlgButtonChecked(d, id) == BST_CHECKED) != marcada) Pulsar(d, id, true);
}

void Fuente(HWND d, const Respuesta& r) {
  Registrar("FontDialog(face " + Citar(TextoControl(d, cmb1)) + ", style " + Citar(TextoCombo(d, cmb2)) + ", size " +
            Citar(TextoControl(d, cmb3)) + ", script " + Citar(TextoCombo(d, cmb5)) + ", effects " +
            SiNo(IsWindowVisible(GetDlgItem(d, chx1)) != 0) + ")");
  auto valor = [&](std::size_t i) { return i < r.valores.size() ? r.valores[i] : std::string(); };
  if (!valor(0).empty()) ElegirEnCombo(d, cmb1, valor(0));
  if (!valor(2).empty()) {
    const std::string& e = valor(2);
    bool negrita = e.find("Bold") != std::string::npos, cursiva = e.find("Italic") != std::string::npos;
    ElegirEnCombo(d, cmb2, negrita && cursiva ? "Bold Italic" : negrita ? "Bold" : cursiva ? "Italic" : "Regular");
    FijarCasilla(d, chx1, e.find("Strikeout") != std::string::npos);
    FijarCasilla(d, chx2, e.find("Underline") != std::string::npos);
  }
  if (!valor(1).empty()) {
    SetDlgItemTextA(d, cmb3, valor(1).c_str());
    Notificar(d, cmb3, CBN_EDITCHANGE);
  }
  int rgb[3];
  if (LeerRgb(valor(3), rgb)) {
    LRESULT n = SendDlgItemMessageA(d, cmb4, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
      if (static_cast<COLORREF>(SendDlgItemMessageA(d, cmb4, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)) !=
          RGB(rgb[0], rgb[1], rgb[2]))
        continue;
      SendDlgItemMessageA(d, cmb4, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
      Notificar(d, cmb4, CBN_SELCHANGE);
      break;
    }
  }
  Pulsar(d, IDOK, false);
}

struct Busqueda {
  int id;
  std::string* t;
};

BOOL CALLBACK BuscarHijo(HWND w, LPARAM lp) {
  auto* b = reinterpret_cast<Busqueda*>(lp);
  if (GetDlgCtrlID(w) != b->id) return TRUE;
  *b->t = TextoDe(w);
  return FALSE;
}

// The text of a control of the dialog's own child (the preview pane's size), if any.
std::string TextoDelHijo(HWND d, int id) {
  std::string t;
  Busqueda b{id, &t};
  EnumChildWindows(d, BuscarHijo, reinterpret_cast<LPARAM>(&b));
  return t;
}

void Archivo(HWND d, const Respuesta& r) {
  Registrar("FileDialog(title " + Citar(TextoDe(d)) + ", type " + Citar(TextoCombo(d, cmb1)) + ", read-only box " +
            SiNo(IsWindowVisible(GetDlgItem(d, chx1)) != 0) + ", preview " + Citar(TextoDelHijo(d, 1002)) + ")");
  std::string nombres;
  if (r.valores.size() == 1) {
    nombres = r.valores[0];
  } else {
    // Several files are named inside one folder: open the folder of the first one first.
    std::size_t barra = r.valores[0].find_last_of('\\');
    if (barra != std::string::npos) {
      std::string carpeta = r.valores[0].substr(0, barra + 1);
      SendMessageA(d, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(carpeta.c_str()));
      Pulsar(d, IDOK, true);
      Sleep(300);
    }
    for (const std::string& v : r.valores) {
      std::size_t b = v.find_last_of('\\');
      nombres += (nombres.empty() ? "" : " ") + Citar(b == std::string::npos ? v : v.substr(b + 1));
    }
  }
  SendMessageA(d, CDM_SETCONTROLTEXT, cmb13, reinterpret_cast<LPARAM>(nombres.c_str()));
  if (r.clase == "FileReadOnly") FijarCasilla(d, chx1, true);
  Pulsar(d, IDOK, false);
}

bool EsPregunta(HWND d) { return GetDlgItem(d, IDYES) || (GetDlgItem(d, 0xFFFF) && GetDlgItem(d, IDOK) && !GetDlgItem(d, IDCANCEL)); }

void Responder(HWND d, const Respuesta& r) {
  if (r.clase == "Cancel") {
    Registrar("Dialog(" + Citar(TextoDe(d)) + ") cancelled");
    Pulsar(d, IDCANCEL, false);
  } else if (GetDlgItem(d, kRojo)) {
    Color(d, r);
  } else if (GetDlgItem(d, cmb1) && GetDlgItem(d, cmb3)) {
    Fuente(d, r);
  } else {
    Archivo(d, r);
  }
}

struct Ventanas {
  std::vector<HWND> dialogos;
};

BOOL CALLBACK AnotarDialogo(HWND w, LPARAM lp) {
  DWORD proceso = 0;
  GetWindowThreadProcessId(w, &proceso);
  char clase[16] = "";
  GetClassNameA(w, clase, sizeof clase);
  if (proceso == GetCurrentProcessId() && IsWindowVisible(w) && lstrcmpA(clase, "#32770") == 0)
    reinterpret_cast<Ventanas*>(lp)->dialogos.push_back(w);
  return TRUE;
}

std::vector<HWND> DialogosVisibles() {
  Ventanas v;
  EnumWindows(AnotarDialogo, reinterpret_cast<LPARAM>(&v));
  return v.dialogos;
}

void Vigilar() {
  std::vector<HWND> atendidos;
  HWND visto = nullptr;
  DWORD desde = 0, espera = 0;
  for (;;) {
    Sleep(40);
    for (auto it = atendidos.begin(); it != atendidos.end();) it = IsWindow(*it) && IsWindowVisible(*it) ? it + 1 : atendidos.erase(it);
    for (HWND d : DialogosVisibles()) {
      bool yaAtendido = false;
      for (HWND a : atendidos) yaAtendido = yaAtendido || a == d;
      if (yaAtendido) continue;
      if (d != visto) {
        visto = d;
        desde = GetTickCount();
        espera = 0;
        break;
      }
      {
        std::lock_guard<std::mutex> l(gCerrojo);
        if (!gPendientes.empty() && gPendientes.front().clase == "Delay") {
          espera = static_cast<DWORD>(std::atol(gPendientes.front().valores.empty() ? "0" : gPendientes.front().valores[0].c_str()));
          gPendientes.pop_front();
        }
      }
      if (GetTickCount() - desde < 300 + espera) break;  // let it finish setting itself up
      if (EsPregunta(d)) {
        Registrar("Question(" + Citar(TextoDe(d)) + ": " + Citar(TextoControl(d, 0xFFFF)) + ") answered yes");
        atendidos.push_back(d);
        Pulsar(d, GetDlgItem(d, IDYES) ? IDYES : IDOK, false);
        break;
      }
      Respuesta r;
      {
        std::lock_guard<std::mutex> l(gCerrojo);
        if (!gPendientes.empty()) {
          r = gPendientes.front();
          gPendientes.pop_front();
        }
      }
      if (r.clase.empty()) {
        if (GetTickCount() - desde < 20000) break;
        r.clase = "Cancel";
        Registrar("Dialog(" + Citar(TextoDe(d)) + ") had no answer");
      }
      atendidos.push_back(d);
      Responder(d, r);
      break;
    }
  }
}

// The colour dialog's options as the plug-in asked for them, then the real dialog (Wine's
// dialog gives CC_PREVENTFULLOPEN precedence over CC_FULLOPEN, so what it shows is not enough).
BOOL WINAPI GanchoChooseColor(LPCHOOSECOLORA cc) {
  std::string opciones;
  const struct {
    DWORD bit;
    const char* nombre;
  } kOpciones[] = {{CC_RGBINIT, "CC_RGBINIT"}, {CC_FULLOPEN, "CC_FULLOPEN"}, {CC_PREVENTFULLOPEN, "CC_PREVENTFULLOPEN"}};
  DWORD resto = cc ? cc->Flags : 0;
  for (const auto& o : kOpciones)
    if (resto & o.bit) {
      opciones += (opciones.empty() ? "" : "|") + std::string(o.nombre);
      resto &= ~o.bit;
    }
  if (resto) opciones += (opciones.empty() ? "" : "|") + std::to_string(resto);
  Registrar("ChooseColorA(" + opciones + ")");
  return ChooseColorA(cc);
}

Extension gChooseColor{GanchoImportacion{"comdlg32.dll", "ChooseColorA", reinterpret_cast<void*>(&GanchoChooseColor)}};

void OrdenResponder(Simulador&, const LineaGuion& linea, const std::vector<std::string>& argumentos) {
  static const char* const kClases[] = {"Cancel", "Color", "Font", "File", "FileReadOnly", "Delay"};
  std::string clase;
  for (const char* c : kClases)
    if (!argumentos.empty() && IgualesSinCaso(argumentos[0], c)) clase = c;
  if (clase.empty() || ((clase == "File" || clase == "FileReadOnly") && argumentos.size() < 2))
    throw ErrorGuion(linea.numero, "expected: DialogAnswer \"Cancel|Color|Font|File|FileReadOnly|Delay\" \"value\" ...");
  std::lock_guard<std::mutex> l(gCerrojo);
  gPendientes.push_back({clase, std::vector<std::string>(argumentos.begin() + 1, argumentos.end())});
  if (!gVigilando) {
    gVigilando = true;
    std::thread(Vigilar).detach();
  }
}

Extension gResponder{"DialogAnswer", "DialogAnswer \"Cancel|Color|Font|File|FileReadOnly|Delay\" \"value\" ...",
                     &OrdenResponder};

}  // namespace
}  // namespace nbhost
