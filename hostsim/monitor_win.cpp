// Simulator extensions for the monitor actions: a script command that waits while the
// thread's window messages are delivered (timers of on-screen messages fire only then, as in
// the host's message loop), and monitor power messages recorded instead of sent.
#include <windows.h>

#include <string>

#include "hostsim/extensiones.h"
#include "hostsim/simulador.h"

namespace nbhost {
namespace {

void OrdenEsperar(Simulador&, const LineaGuion& linea, const std::vector<std::string>& argumentos) {
  const char* forma = "expected: Wait \"ms\" (a number of milliseconds)";
  if (argumentos.size() != 1 || argumentos[0].empty() || argumentos[0].size() > 9 ||
      argumentos[0].find_first_not_of("0123456789") != std::string::npos)
    throw ErrorGuion(linea.numero, forma);
  EntregarMensajes(static_cast<DWORD>(std::stoul(argumentos[0])));
}

bool EsEnergiaMonitor(UINT mensaje, WPARAM w) { return mensaje == WM_SYSCOMMAND && (w & 0xFFF0) == SC_MONITORPOWER; }

std::string DescribirEnergia(const char* funcion, LPARAM estado) {
  return std::string(funcion) + "(WM_SYSCOMMAND, SC_MONITORPOWER, " + std::to_string(static_cast<long long>(estado)) +
         ")";
}

LRESULT RespuestaEnergia(const char* funcion, LPARAM estado, const char* porDefecto) {
  Simulador* sim = Simulador::Actual();
  if (!sim) return 0;
  sim->RegistrarLlamada(DescribirEnergia(funcion, estado));
  try {
    return static_cast<LRESULT>(std::stoll(sim->ResultadoLlamada(funcion, porDefecto)));
  } catch (const std::exception&) {
    return 0;
  }
}

LRESULT WINAPI GanchoSendMessageA(HWND ventana, UINT mensaje, WPARAM w, LPARAM l) {
  if (EsEnergiaMonitor(mensaje, w)) return RespuestaEnergia("SendMessageA", l, "0");  // handled
  return SendMessageA(ventana, mensaje, w, l);
}

BOOL WINAPI GanchoPostMessageA(HWND ventana, UINT mensaje, WPARAM w, LPARAM l) {
  if (EsEnergiaMonitor(mensaje, w)) return static_cast<BOOL>(RespuestaEnergia("PostMessageA", l, "1"));  // posted
  return PostMessageA(ventana, mensaje, w, l);
}

Extension gEsperar{"Wait", "Wait \"ms\"", &OrdenEsperar};
Extension gSendMessage{GanchoImportacion{"user32.dll", "SendMessageA", reinterpret_cast<void*>(&GanchoSendMessageA)}};
Extension gPostMessage{GanchoImportacion{"user32.dll", "PostMessageA", reinterpret_cast<void*>(&GanchoPostMessageA)}};

}  // namespace

void EntregarMensajes(unsigned long ms) {
  const DWORD inicio = GetTickCount();
  for (;;) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageA(&m);
    }
    DWORD pasado = GetTickCount() - inicio;
    if (pasado >= ms) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - pasado, QS_ALLINPUT);
  }
}

}  // namespace nbhost
