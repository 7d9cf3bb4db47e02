// What the simulator counts while the plug-in shows its edit dialogs (hostsim/dialogos_win.cpp).
#pragma once

namespace nbhost {

struct Recuentos {
  long objetosGdi = 0;           // fonts, brushes and pens the plug-in made and did not delete
  long contextosDibujo = 0;      // device contexts it got and did not release
  long contextosActivacion = 0;  // activation contexts it created and did not release
  long activaciones = 0;         // activations not undone
};
Recuentos RecuentosDelPlugin();
// Windows of the calling thread, children included.
long VentanasDelHilo();

}  // namespace nbhost
