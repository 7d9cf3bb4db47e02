// What the plug-in tests share: a simulator connected to the freshly built plug-in, and a way
// to run the nbhost program itself for what ends the process.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "hostsim/simulador.h"

namespace prueba {

// The folder of the test program (where the plug-in and nbhost are built), with a final "\".
std::string CarpetaPrograma();
std::string RutaPlugin();
// A folder of the running test's own in the system's temporary folder: prefix, process and
// test name (without a final "\"; the folder is not created).
std::string CarpetaDeLaPrueba(const std::string& prefijo);

// A connected simulator whose printed lines are kept.
struct Host {
  explicit Host(nbhost::Opciones opciones = {}, bool prellenar = true);
  std::vector<std::string> lineas;
  std::unique_ptr<nbhost::Simulador> sim;
  nbhost::Identidad identidad;
  // Plays a script (UTF-8 is not converted: write accented texts as \xNN bytes).
  void Reproducir(const std::string& guion) { sim->ReproducirTexto(guion); }
  std::string Var(const std::string& nombre) const { return sim->Variable(nombre); }
  std::string Salida() const;
};

// The system's text for an error code as the plug-in reports it (trailing blanks, line breaks
// and periods removed).
std::string TextoSistema(unsigned long codigo);

// Runs nbhost.exe with the arguments and the script on its standard input.
struct Proceso {
  unsigned long codigo = 0;
  std::string salida;  // standard output, UTF-8
};
Proceso EjecutarNbhost(const std::string& argumentos, const std::string& guion);

inline constexpr bool EsI386Compilado() {
#if defined(__i386__)
  return true;
#else
  return false;
#endif
}

// A 32-bit test program started through qemu-i386 (a kernel without 32-bit support).
inline bool PorQemu() {
  const char* v = std::getenv("PELMARO_HIJO32");
  return EsI386Compilado() && v && *v;
}

inline bool EsI386() {
#if defined(__i386__)
  return true;
#else
  return false;
#endif
}

}  // namespace prueba
