// nbhost: plays a script against the plug-in as the host would, and prints what the
// publication would see.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>

#include "core/ansi.h"
#include "hostsim/lenguaje.h"
#include "hostsim/simulador.h"

namespace {

const char kUso[] =
    "usage: nbhost --plugin=FILE [options] [SCRIPT|-]\n"
    "  --host-version=TEXT   version the host answers (digits: 413 is 4.1.3; default 5800)\n"
    "  --host-version-null   the host answers the version request with nothing\n"
    "  --no-interface        never call nbRegisterInterfaceAccess\n"
    "  --no-script-processor never call nbRegisterScriptProcessor\n"
    "  --subs=A,B,...        more subroutine names the publication has\n"
    "  --answer=CODE=TEXT    the answer to interface request CODE\n"
    "  --language=CODE       store CODE (es, en, fr...) as the plug-in's language before it\n"
    "                        loads, and print which catalogue it selects\n"
    "  --catalog             print every registered row: id, name, hint, kinds, last index, count\n"
    "  --trace               print the script lines the plug-in plays\n"
    "  --time                print how long loading, the handshake and each action took\n"
    "Script lines: any action by name with its parameters in double quotes, ExecAction NUMBER\n"
    "\"p1\" ..., SetVar \"[Name]\" \"value\", GoSub \"Name\", DeleteArray \"[Name]\" \"All\", Echo\n"
    "\"text\", Wait \"ms\" (idle, handling window messages), Answer CODE \"text\", CallResult\n"
    "\"Function\" \"value\" (what an intercepted system call answers: a number, 0,CODE to fail\n"
    "with that last error, or real for the real call); subroutines are :Name ... Return blocks;\n"
    "[Name] in a text is replaced by the variable's value; lines starting with ; are comments.\n"
    "DialogAnswer \"Cancel\" | \"Color\" \"R,G,B\" [\"R,G,B\" custom to add...] | \"Font\" \"face\"\n"
    "\"size\" \"Bold+Italic+Underline+Strikeout\" [\"R,G,B\"] | \"File\" \"name\" [\"name\"...] |\n"
    "\"FileReadOnly\" \"name\"... | \"Delay\" \"ms\": how the next standard dialog is answered, through its controls\n"
    "(one answer per dialog, in order; question boxes are answered yes; a dialog left without an\n"
    "answer is cancelled after 20 s). CallResult \"GetModuleFileNameA\" \"path\": the program path\n"
    "the plug-in sees. Environment: NBHOST_START_LOG=FILE appends each start's arguments to FILE.\n"
    "Recorded instead of done: monitor power messages (SendMessageA/PostMessageA with\n"
    "WM_SYSCOMMAND, SC_MONITORPOWER), printed as system calls.\n"
    "Edit dialogs: EditAction NUMBER|\"krName\" \"p1\" ... opens the action's dialog and prints\n"
    "the parameters written back (and checks the host's blocks were released and replaced, or\n"
    "left alone). Steps queued before it drive the dialog through its controls, in order:\n"
    "DialogSet \"Label\" \"text\", DialogTick \"Label or caption\", DialogPress [\"Label\"]\n"
    "\"Caption\" (a button, inside the field of that label when given), DialogConfirm (the\n"
    "default button), DialogCancel (the close box), DialogKey \"F1|Enter|Esc|Tab|Space\",\n"
    "DialogPick [\"path\"] and DialogPickCancel (in the standard dialog that opens), DialogMouse\n"
    "\"support|caption|client\" [\"click\"] (prints the cursor), DialogPrint (prints the fields),\n"
    "DialogWait \"ms\", DialogCapture \"file.bmp\". A window left without steps is closed after\n"
    "10 s and the line fails.\n";

// Texts cross the plug-in boundary in the system code page; the terminal and script files
// are UTF-8 (a script that is not valid UTF-8 is taken as it is).
std::string AUtf8(const std::string& t) { return pelmaro::ConvertirPagina(t, CP_ACP, CP_UTF8); }
std::string DeUtf8(const std::string& t) { return pelmaro::ConvertirPagina(t, CP_UTF8, CP_ACP, true); }

void Escribir(const std::string& linea) {
  std::string s = AUtf8(linea) + "\n";
  std::fwrite(s.data(), 1, s.size(), stdout);
  std::fflush(stdout);
}

std::string Tipos(const std::vector<std::uint8_t>& tipos) {
  std::string s;
  for (std::size_t i = 0; i < tipos.size(); ++i) s += (i ? "," : "") + std::to_string(tipos[i]);
  return s;
}

bool Prefijo(const std::string& a, const char* p, std::string& resto) {
  std::size_t n = std::strlen(p);
  if (a.compare(0, n, p) != 0) return false;
  resto = a.substr(n);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // Restarts of a publication start nbhost again: a log of the starts shows they happened.
  if (const char* registro = std::getenv("NBHOST_START_LOG")) {
    if (FILE* f = std::fopen(registro, "ab")) {
      std::string linea = "start:";
      for (int i = 1; i < argc; ++i) linea += std::string(" [") + argv[i] + "]";
      std::fprintf(f, "%s\n", linea.c_str());
      std::fclose(f);
    }
  }
  // Plain line feeds, also when the output goes to a Linux pipe.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
  nbhost::Opciones opciones;
  std::string plugin, guion, lenguaje, v;
  bool conLenguaje = false;
  bool catalogo = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (Prefijo(a, "--plugin=", v)) plugin = v;
    else if (Prefijo(a, "--host-version=", v)) opciones.version = v;
    else if (a == "--host-version-null") opciones.version.reset();
    else if (a == "--no-interface") opciones.conInterfaz = false;
    else if (a == "--no-script-processor") opciones.conProcesadorGuion = false;
    else if (Prefijo(a, "--subs=", v)) {
      std::stringstream ss(v);
      for (std::string s; std::getline(ss, s, ',');)
        if (!s.empty()) opciones.subrutinasExtra.push_back(s);
    } else if (Prefijo(a, "--answer=", v)) {
      std::size_t igual = v.find('=');
      if (igual == std::string::npos || igual == 0) {
        std::fprintf(stderr, "nbhost: --answer needs CODE=TEXT\n");
        return 2;
      }
      opciones.respuestas[std::atoi(v.substr(0, igual).c_str())] = DeUtf8(v.substr(igual + 1));
    } else if (a == "--catalog") catalogo = true;
    else if (Prefijo(a, "--language=", v)) {
      lenguaje = v;
      conLenguaje = true;
    } else if (a == "--trace") opciones.rastro = true;
    else if (a == "--time") opciones.tiempos = true;
    else if (a == "--help" || a == "-h") {
      std::fputs(kUso, stdout);
      return 0;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      std::fprintf(stderr, "nbhost: unknown option %s\n%s", a.c_str(), kUso);
      return 2;
    } else guion = a;
  }
  if (plugin.empty()) {
    std::fprintf(stderr, "nbhost: no plug-in given\n%s", kUso);
    return 2;
  }

  std::string texto;
  if (guion == "-") {
    std::stringstream ss;
    ss << std::cin.rdbuf();
    texto = ss.str();
  } else if (!guion.empty()) {
    std::ifstream f(guion, std::ios::binary);
    if (!f) {
      std::fprintf(stderr, "nbhost: cannot read the script %s\n", guion.c_str());
      return 2;
    }
    std::stringstream ss;
    ss << f.rdbuf();
    texto = ss.str();
  }
  texto = DeUtf8(texto);

  nbhost::Guion programa;
  try {
    programa = nbhost::AnalizarGuion(texto);
  } catch (const nbhost::ErrorGuion& e) {
    std::fprintf(stderr, "nbhost: %s: %s\n", guion.c_str(), e.what());
    return 1;
  }

  nbhost::Simulador sim(opciones, Escribir);
  LARGE_INTEGER frecuencia, t0, t1, t2;
  QueryPerformanceFrequency(&frecuencia);
  auto us = [&](const LARGE_INTEGER& a, const LARGE_INTEGER& b) {
    return std::to_string((b.QuadPart - a.QuadPart) * 1000000 / frecuencia.QuadPart);
  };
  QueryPerformanceCounter(&t0);
  try {
    if (conLenguaje) Escribir(nbhost::FijarLenguaje(plugin, lenguaje));
    sim.Cargar(plugin);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "nbhost: %s\n", e.what());
    return 2;
  }
  QueryPerformanceCounter(&t1);
  nbhost::Identidad id = sim.Conectar();
  QueryPerformanceCounter(&t2);
  if (opciones.tiempos) Escribir("load took " + us(t0, t1) + " us, handshake and registration " + us(t1, t2) + " us");
  Escribir("plug-in: " + id.titulo);
  Escribir("publisher: " + id.editor);
  Escribir("hint: " + id.pista);
  if (catalogo) {
    for (const auto& f : sim.Filas())
      Escribir(std::to_string(f.id) + "\t" + f.nombre + "\t" + f.pista + "\t" + Tipos(f.tipos) + "\t" +
               std::to_string(f.ultimo) + "\t" + std::to_string(f.cuenta));
    Escribir("rows: " + std::to_string(sim.Filas().size()));
  }
  sim.ImprimirFaltas();
  int salida = 0;
  try {
    sim.Reproducir(programa);
  } catch (const nbhost::ErrorGuion& e) {
    std::fprintf(stderr, "nbhost: %s: %s\n", guion.c_str(), e.what());
    salida = 1;
  }
  sim.ImprimirFaltas();
  if (salida == 0 && !sim.Faltas().empty()) salida = 3;
  std::fflush(stdout);
  return salida;
}
