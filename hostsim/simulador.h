// The host simulator: plays the host's side of the plug-in interface so that the plug-in can
// be driven without the real host. It loads the plug-in, does the handshake, keeps variables,
// answers interface requests and plays script lines, and records what the plug-in did.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "hostsim/guion.h"

namespace nbhost {

struct Opciones {
  std::optional<std::string> version = std::string("5800");  // nullopt: a null answer
  bool conInterfaz = true;                                     // call nbRegisterInterfaceAccess
  bool conProcesadorGuion = true;                              // call nbRegisterScriptProcessor
  std::vector<std::string> subrutinasExtra;                    // --subs
  std::map<std::int32_t, std::string> respuestas;              // answers to other request codes
  bool rastro = false;                                         // print the lines the plug-in plays
  bool tiempos = false;                                        // print how long each action took
  // When set, a process end by the plug-in exits with this code instead of the plug-in's
  // (for programs that must not look successful when that happens unexpectedly).
  std::optional<unsigned> codigoAlTerminar;
  // Unload the plug-in when the simulator goes. A host keeps it loaded for the whole run;
  // programs that connect many times in one process keep it too (the loader then maps it
  // once, which the 32-bit route through qemu-i386 needs).
  bool descargar = true;
};

struct FilaRegistrada {
  std::int32_t id = 0;
  std::string nombre, pista;        // as received (system code page)
  std::vector<std::uint8_t> tipos;  // ultimo + 1 bytes
  std::int32_t ultimo = 0, cuenta = 0;
};

struct Identidad {
  std::string titulo, editor, pista;
  bool bloquesDelTamanyoJusto = true;  // every block holds exactly the text and its zero
};

struct CajaMensaje {
  void* dueno = nullptr;
  std::string texto, titulo;
  unsigned tipo = 0;
};

// Where the simulator prints what happens (8-bit text in the system code page).
using Salida = std::function<void(const std::string&)>;

// Replaces the address that a loaded module imports for dll!funcion; true when found. With
// `anterior`, the address it replaced is stored there (to put it back later).
bool EngancharImportacion(void* modulo, const char* dll, const char* funcion, void* nueva, void** anterior = nullptr);

class Simulador {
 public:
  Simulador(Opciones opciones, Salida salida);
  ~Simulador();
  Simulador(const Simulador&) = delete;
  Simulador& operator=(const Simulador&) = delete;

  // Loads the plug-in and finds its eight exports. Throws std::runtime_error.
  void Cargar(const std::string& ruta);
  // The handshake: nbInitPlugIn (with slots pre-filled by the host when `prellenar`),
  // nbRegisterPlugIn, and, as the options say, the interface and script registrations.
  Identidad Conectar(bool prellenar = true);

  // Plays a script; raises ErrorGuion for a line it cannot play.
  void Reproducir(const Guion& guion);
  void ReproducirTexto(const std::string& texto) { Reproducir(AnalizarGuion(texto)); }

  // nbExecAction with the given parameter texts, then the report of the result variables.
  std::int32_t Ejecutar(std::int32_t id, const std::vector<std::string>& parametros, const std::string& titulo);

  // Calls nbMessage with garbage in the registers (and on the stack); true when it returned
  // with the stack as it was.
  bool LlamarMensaje();
  void LlamarAcercaDe();
  // nbEditAction on host blocks holding `parametros`; afterwards `parametros` holds what the
  // slots hold (the plug-in may have replaced them). How the plug-in treated the blocks (kept
  // them all, or released and replaced them all) is checked: faults go to Faltas().
  std::int32_t Editar(std::int32_t id, std::vector<std::string>& parametros);

  // Variables (names without regard to letter case).
  std::string Variable(const std::string& nombre) const;
  bool ExisteVariable(const std::string& nombre) const;
  void FijarVariable(const std::string& nombre, const std::string& valor);
  // Elements nombre0, nombre1, ... that exist, by index.
  std::map<long, std::string> Elementos(const std::string& nombre) const;

  const std::vector<FilaRegistrada>& Filas() const { return filas_; }
  // The registered row of an action number, or null.
  const FilaRegistrada* FilaDe(std::int32_t id) const;
  const std::vector<CajaMensaje>& Cajas() const { return cajas_; }
  const std::vector<std::string>& LineasDelPlugin() const { return lineasDelPlugin_; }
  const std::vector<std::int32_t>& Peticiones() const { return peticiones_; }
  // System calls the simulator intercepted instead of letting them happen (ending the
  // session, powering down, opening a page...), each as "Function(arguments)", in order.
  const std::vector<std::string>& Llamadas() const { return llamadas_; }
  // For import hooks: records and prints the call ("  system call: " + descripcion).
  void RegistrarLlamada(const std::string& descripcion);
  // What an intercepted call of `funcion` answers: what the script set with
  // CallResult "Function" "value", else `porDefecto`.
  std::string ResultadoLlamada(const std::string& funcion, const std::string& porDefecto) const;
  void FijarResultadoLlamada(const std::string& funcion, const std::string& valor) { resultadosLlamadas_[funcion] = valor; }
  // Prints a line of the simulator's report.
  void Informar(const std::string& linea) { Imprimir(linea); }
  // Violations of the interface contract seen so far (wrong slots, blocks not released, a
  // stack left wrong by an export), each a readable sentence.
  const std::vector<std::string>& Faltas() const { return faltas_; }
  void OlvidarRegistros();

  // Entry points of the host procedures (called through the calling-convention glue).
  void AnyadirAccion(std::int32_t id, const char* nombre, const char* pista, const std::uint8_t* tipos,
                     std::int32_t ultimo, std::int32_t cuenta);
  void LeerVariable(const char* nombre, char** ranura);
  void EscribirVariable(const char* nombre, const char* valor);
  void AccesoInterfaz(std::int32_t codigo, char** ranura);
  void ProcesadorGuion(const char* linea);
  void ProcedimientoReservado();
  // Hooks into the plug-in's imports.
  int CajaDeMensaje(void* dueno, const char* texto, const char* titulo, unsigned tipo);
  void FinDeProceso(unsigned codigo);
  void BloqueLiberado(void* bloque);

  static Simulador* Actual();

 private:
  struct Exportaciones;
  void Imprimir(const std::string& linea);
  void ReproducirLineas(const std::vector<LineaGuion>& lineas, int profundidad);
  void ReproducirLinea(const LineaGuion& linea, int profundidad);
  std::string Argumento(const nbhost::Argumento& arg) const;
  void InformarResultado(std::int32_t devuelto);
 public:
  // Prints the contract faults not printed yet.
  void ImprimirFaltas();
 private:
  char* EntregarBloque(const std::string& texto);
  void ComprobarBloques(const char* cuando);

  Opciones opciones_;
  Salida salida_;
  void* modulo_ = nullptr;
  Exportaciones* exp_ = nullptr;
  std::map<std::string, std::string, MenorSinCaso> variables_;
  std::vector<FilaRegistrada> filas_;
  std::vector<CajaMensaje> cajas_;
  std::vector<std::string> lineasDelPlugin_;
  std::vector<std::int32_t> peticiones_;
  std::vector<std::string> faltas_;
  std::vector<std::string> llamadas_;
  std::map<std::string, std::string, MenorSinCaso> resultadosLlamadas_;
  std::set<void*> entregados_;  // blocks handed to the plug-in and not yet released
  std::set<void*> bloquesRanura_;  // parameter blocks of an edit call, not released yet
  const Guion* guion_ = nullptr;
  int profundidad_ = 0;
  int accionesEnCurso_ = 0;
  std::size_t faltasImpresas_ = 0;
};

}  // namespace nbhost
