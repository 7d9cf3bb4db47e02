#include <windows.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "hostsim/extensiones.h"
#include "hostsim/simulador.h"

namespace nbhost {
namespace {

Simulador* gActual = nullptr;

const char* const kNombresExportaciones[] = {
    "nbInitPlugIn", "nbRegisterPlugIn", "nbRegisterInterfaceAccess", "nbRegisterScriptProcessor",
    "nbExecAction", "nbEditAction",     "nbAbout",                   "nbMessage",
};

std::string Citar(const std::string& t) { return "\"" + t + "\""; }

const char* NombreIcono(unsigned tipo) {
  switch (tipo & MB_ICONMASK) {
    case MB_ICONERROR: return "error";
    case MB_ICONWARNING: return "warning";
    case MB_ICONINFORMATION: return "information";
    case MB_ICONQUESTION: return "question";
    default: return "no icon";
  }
}

const OrdenExtra* BuscarOrdenExtra(const std::string& nombre) {
  for (const OrdenExtra& o : OrdenesRegistradas())
    if (IgualesSinCaso(o.nombre, nombre)) return &o;
  return nullptr;
}

bool EsNumero(const std::string& t, long long& valor) {
  if (t.empty() || t.find_first_not_of("0123456789") != std::string::npos || t.size() > 10) return false;
  valor = std::stoll(t);
  return valor <= 2147483648LL;
}

}  // namespace

// ---- Calling-convention glue -------------------------------------------------------------

extern "C" {
void pel_host_addaction(std::int32_t id, const char* nombre, const char* pista, const std::uint8_t* tipos,
                        std::int32_t ultimo, std::int32_t cuenta) {
  gActual->AnyadirAccion(id, nombre, pista, tipos, ultimo, cuenta);
}
void pel_host_spare() { gActual->ProcedimientoReservado(); }
void pel_host_getvariable(const char* nombre, char** ranura) { gActual->LeerVariable(nombre, ranura); }
void pel_host_setvariable(const char* nombre, const char* valor) { gActual->EscribirVariable(nombre, valor); }
void pel_host_interfaceaccess(std::int32_t codigo, char** ranura) { gActual->AccesoInterfaz(codigo, ranura); }
void pel_host_scriptprocessor(const char* linea) { gActual->ProcesadorGuion(linea); }
}

#if defined(__i386__)
extern "C" {
std::uint32_t pel_call_reg(void* fn, std::uint32_t eax, std::uint32_t edx, std::uint32_t ecx,
                           const std::uint32_t* pila, int n, std::int32_t* desfase);
void pel_stub_addaction();
void pel_stub_spare();
void pel_stub_getvariable();
void pel_stub_setvariable();
void pel_stub_interfaceaccess();
void pel_stub_scriptprocessor();
}
#define PROC_HOST(nombre) reinterpret_cast<std::uintptr_t>(&pel_stub_##nombre)
#else
#define PROC_HOST(nombre) reinterpret_cast<std::uintptr_t>(&pel_host_##nombre)
#endif

struct Simulador::Exportaciones {
  void* f[8] = {};
  enum { Init, Register, Interface, Script, Exec, Edit, About, Message };

  // Calls export `i` with up to three register arguments and `pila` on the stack; checks that
  // it removed exactly `quitados` stack words.
  std::uintptr_t Llamar(Simulador& s, int i, std::uintptr_t a, std::uintptr_t b, std::uintptr_t c,
                        std::vector<std::uintptr_t> pila, int quitados) {
#if defined(__i386__)
    std::int32_t desfase = 0;
    std::vector<std::uint32_t> palabras(pila.begin(), pila.end());
    std::uint32_t r = pel_call_reg(f[i], a, b, c, palabras.data(), static_cast<int>(palabras.size()), &desfase);
    std::int32_t esperado = -4 * (static_cast<std::int32_t>(pila.size()) - quitados);
    if (desfase == 0x7fffffff)
      s.faltas_.push_back(std::string(kNombresExportaciones[i]) + " did not keep EBX, ESI or EDI");
    else if (desfase != esperado)
      s.faltas_.push_back(std::string(kNombresExportaciones[i]) + " left the stack " + std::to_string(desfase - esperado) +
                          " bytes off (it must remove exactly " + std::to_string(4 * quitados) + ")");
    return r;
#else
    (void)s;
    (void)quitados;
    using F4 = std::uintptr_t (*)(std::uintptr_t, std::uintptr_t, std::uintptr_t, std::uintptr_t);
    std::uintptr_t d = pila.empty() ? 0 : pila[0];
    return reinterpret_cast<F4>(f[i])(a, b, c, d);
#endif
  }
};

// ---- Hooks in the plug-in's import table -----------------------------------------------------

namespace {

int WINAPI GanchoCajaMensaje(HWND dueno, LPCSTR texto, LPCSTR titulo, UINT tipo) {
  return gActual->CajaDeMensaje(dueno, texto, titulo, tipo);
}
void WINAPI GanchoFinProceso(UINT codigo) { gActual->FinDeProceso(codigo); }
HGLOBAL WINAPI GanchoGlobalFree(HGLOBAL bloque) {
  gActual->BloqueLiberado(bloque);
  return GlobalFree(bloque);
}

}  // namespace

bool EngancharImportacion(void* moduloBase, const char* dll, const char* funcion, void* nueva, void** anterior) {
  HMODULE modulo = static_cast<HMODULE>(moduloBase);
  auto base = reinterpret_cast<BYTE*>(modulo);
  auto dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return false;
  bool hecho = false;
  for (auto imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); imp->Name; ++imp) {
    if (lstrcmpiA(reinterpret_cast<const char*>(base + imp->Name), dll) != 0) continue;
    auto nombres = reinterpret_cast<IMAGE_THUNK_DATA*>(base + (imp->OriginalFirstThunk ? imp->OriginalFirstThunk
                                                                                        : imp->FirstThunk));
    auto direcciones = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    for (; nombres->u1.AddressOfData; ++nombres, ++direcciones) {
      if (IMAGE_SNAP_BY_ORDINAL(nombres->u1.Ordinal)) continue;
      auto porNombre = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + nombres->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<const char*>(porNombre->Name), funcion) != 0) continue;
      DWORD antes;
      VirtualProtect(&direcciones->u1.Function, sizeof(void*), PAGE_READWRITE, &antes);
      if (anterior) *anterior = reinterpret_cast<void*>(direcciones->u1.Function);
      direcciones->u1.Function = reinterpret_cast<ULONG_PTR>(nueva);
      VirtualProtect(&direcciones->u1.Function, sizeof(void*), antes, &antes);
      hecho = true;
    }
  }
  return hecho;
}

// ---- The simulator ---------------------------------------------------------------------------

Simulador* Simulador::Actual() { return gActual; }

Simulador::Simulador(Opciones opciones, Salida salida)
    : opciones_(std::move(opciones)), salida_(std::move(salida)), exp_(new Exportaciones) {
  gActual = this;
}

Simulador::~Simulador() {
  if (modulo_ && opciones_.descargar) FreeLibrary(static_cast<HMODULE>(modulo_));
  delete exp_;
  if (gActual == this) gActual = nullptr;
}

void Simulador::Imprimir(const std::string& linea) {
  if (salida_) salida_(linea);
}

void Simulador::Cargar(const std::string& ruta) {
  HMODULE m = LoadLibraryA(ruta.c_str());
  if (!m) {
    DWORD e = GetLastError();
    throw std::runtime_error("cannot load the plug-in " + ruta + " (system error " + std::to_string(e) + ")");
  }
  modulo_ = m;
  std::string faltan;
  for (int i = 0; i < 8; ++i) {
    exp_->f[i] = reinterpret_cast<void*>(GetProcAddress(m, kNombresExportaciones[i]));
    if (!exp_->f[i]) faltan += std::string(faltan.empty() ? "" : ", ") + kNombresExportaciones[i];
  }
  if (!faltan.empty()) throw std::runtime_error("the plug-in " + ruta + " does not export " + faltan);
  EngancharImportacion(m, "user32.dll", "MessageBoxA", reinterpret_cast<void*>(&GanchoCajaMensaje));
  EngancharImportacion(m, "kernel32.dll", "ExitProcess", reinterpret_cast<void*>(&GanchoFinProceso));
  EngancharImportacion(m, "kernel32.dll", "GlobalFree", reinterpret_cast<void*>(&GanchoGlobalFree));
  for (const GanchoImportacion& g : GanchosRegistrados()) EngancharImportacion(m, g.dll, g.funcion, g.nueva);
}

char* Simulador::EntregarBloque(const std::string& texto) {
  char* bloque = static_cast<char*>(GlobalAlloc(0, texto.size() + 1));
  std::memcpy(bloque, texto.c_str(), texto.size() + 1);
  entregados_.insert(bloque);
  return bloque;
}

void Simulador::ComprobarBloques(const char* cuando) {
  if (entregados_.empty()) return;
  faltas_.push_back(std::to_string(entregados_.size()) + " block(s) handed over by the host were not released " + cuando);
  for (void* b : entregados_) GlobalFree(b);
  entregados_.clear();
}

Identidad Simulador::Conectar(bool prellenar) {
  Identidad id;
  char* ranuras[3] = {};
  if (prellenar)
    for (char*& r : ranuras) r = EntregarBloque("host text");
  exp_->Llamar(*this, Exportaciones::Init, reinterpret_cast<std::uintptr_t>(this),
               reinterpret_cast<std::uintptr_t>(&ranuras[0]), reinterpret_cast<std::uintptr_t>(&ranuras[1]),
               {reinterpret_cast<std::uintptr_t>(&ranuras[2])}, 1);
  ComprobarBloques("by nbInitPlugIn");
  std::string* destino[3] = {&id.titulo, &id.editor, &id.pista};
  for (int i = 0; i < 3; ++i) {
    if (!ranuras[i]) {
      faltas_.push_back("nbInitPlugIn left a slot empty");
      continue;
    }
    *destino[i] = ranuras[i];
    if (GlobalSize(ranuras[i]) != destino[i]->size() + 1) id.bloquesDelTamanyoJusto = false;
    GlobalFree(ranuras[i]);
  }
  exp_->Llamar(*this, Exportaciones::Register, PROC_HOST(addaction), PROC_HOST(spare), PROC_HOST(getvariable),
               {PROC_HOST(setvariable)}, 1);
  // A plug-in kept loaded from an earlier connection still holds that host's procedures: a
  // procedure this host does not have is then registered as null, which the plug-in must
  // treat as never registered.
  bool reutilizado = !opciones_.descargar;
  if (opciones_.conInterfaz || reutilizado)
    exp_->Llamar(*this, Exportaciones::Interface, opciones_.conInterfaz ? PROC_HOST(interfaceaccess) : 0, 0, 0, {}, 0);
  if (opciones_.conProcesadorGuion || reutilizado)
    exp_->Llamar(*this, Exportaciones::Script, opciones_.conProcesadorGuion ? PROC_HOST(scriptprocessor) : 0, 0, 0, {},
                 0);
  return id;
}

bool Simulador::LlamarMensaje() {
  std::size_t antes = faltas_.size();
#if defined(__i386__)
  exp_->Llamar(*this, Exportaciones::Message, 0xDEADBEEF, 0x12345678, 0xCAFEBABE, {0x11111111, 0x22222222, 0x33333333}, 0);
#else
  reinterpret_cast<void (*)()>(exp_->f[Exportaciones::Message])();
#endif
  return faltas_.size() == antes;
}

std::int32_t Simulador::Editar(std::int32_t id, std::vector<std::string>& parametros) {
  // The slots hold host blocks: on 1 each must have been released and replaced by a block of
  // the plug-in's sized to its text, which the host then owns; on 0 none may have been touched.
  std::vector<char*> ranuras, originales;
  for (const std::string& p : parametros) {
    char* b = static_cast<char*>(GlobalAlloc(0, p.size() + 1));
    std::memcpy(b, p.c_str(), p.size() + 1);
    ranuras.push_back(b);
    bloquesRanura_.insert(b);
  }
  originales = ranuras;
  std::uintptr_t r = exp_->Llamar(*this, Exportaciones::Edit, static_cast<std::uint32_t>(id),
                                  reinterpret_cast<std::uintptr_t>(ranuras.empty() ? nullptr : ranuras.data()), 0, {}, 0);
  std::int32_t devuelto = static_cast<std::int32_t>(r);
  for (std::size_t i = 0; i < ranuras.size(); ++i) {
    std::string p = "slot " + std::to_string(i + 1);
    bool liberado = bloquesRanura_.erase(originales[i]) == 0;
    if (devuelto == 1 && !liberado)
      faltas_.push_back("nbEditAction returned 1 but did not release the host's block of " + p);
    if (devuelto != 1 && liberado) faltas_.push_back("nbEditAction returned " + std::to_string(devuelto) +
                                                     " but released the host's block of " + p);
    if (devuelto != 1 && ranuras[i] != originales[i])
      faltas_.push_back("nbEditAction returned " + std::to_string(devuelto) + " but replaced " + p);
    parametros[i] = ranuras[i] ? ranuras[i] : "";
    if (!ranuras[i]) {
      faltas_.push_back("nbEditAction left " + p + " null");
      continue;
    }
    if (devuelto == 1 && GlobalSize(ranuras[i]) != parametros[i].size() + 1)
      faltas_.push_back("the new block of " + p + " is not sized to its text");
    if (GlobalFree(ranuras[i]) != nullptr) faltas_.push_back("the block of " + p + " is not one the host can free");
  }
  return devuelto;
}

void Simulador::LlamarAcercaDe() { exp_->Llamar(*this, Exportaciones::About, 0, 0, 0, {}, 0); }

const FilaRegistrada* Simulador::FilaDe(std::int32_t id) const {
  if (id == 0) return nullptr;  // category rows
  for (const FilaRegistrada& f : filas_)
    if (f.id == id) return &f;
  return nullptr;
}

std::int32_t Simulador::Ejecutar(std::int32_t id, const std::vector<std::string>& parametros, const std::string& titulo) {
  std::vector<const char*> punteros;
  for (const std::string& p : parametros) punteros.push_back(p.c_str());
  // An array shorter than the registered count would be read past its end: the host never
  // passes one, so the missing texts are empty ones. No texts at all stay a null array.
  static const char kVacio[] = "";
  if (const FilaRegistrada* fila = FilaDe(id); fila && !punteros.empty())
    while (static_cast<std::int32_t>(punteros.size()) < fila->cuenta) punteros.push_back(kVacio);
  if (!titulo.empty()) Imprimir(titulo);
  ++accionesEnCurso_;
  LARGE_INTEGER frecuencia, inicio, fin;
  QueryPerformanceFrequency(&frecuencia);
  QueryPerformanceCounter(&inicio);
  std::uintptr_t r = exp_->Llamar(*this, Exportaciones::Exec, static_cast<std::uint32_t>(id),
                                  reinterpret_cast<std::uintptr_t>(punteros.empty() ? nullptr : punteros.data()), 0,
                                  {}, 0);
  QueryPerformanceCounter(&fin);
  --accionesEnCurso_;
  if (opciones_.tiempos)
    Imprimir("  took " + std::to_string((fin.QuadPart - inicio.QuadPart) * 1000000 / frecuencia.QuadPart) + " us");
  std::int32_t devuelto = static_cast<std::int32_t>(r);
  ComprobarBloques("after the action");
  InformarResultado(devuelto);
  return devuelto;
}

void Simulador::InformarResultado(std::int32_t devuelto) {
  Imprimir("  krResultadoAccion = " + Citar(Variable("krResultadoAccion")));
  for (const auto& [indice, valor] : Elementos("krResultadoAccion"))
    Imprimir("  krResultadoAccion" + std::to_string(indice) + " = " + Citar(valor));
  Imprimir("  krUltimoError = " + Citar(Variable("krUltimoError")));
  Imprimir("  returned " + std::to_string(devuelto));
  ImprimirFaltas();
}

void Simulador::ImprimirFaltas() {
  for (; faltasImpresas_ < faltas_.size(); ++faltasImpresas_)
    Imprimir("  host: contract fault: " + faltas_[faltasImpresas_]);
}

std::string Simulador::Variable(const std::string& nombre) const {
  auto it = variables_.find(nombre);
  return it == variables_.end() ? std::string() : it->second;
}

bool Simulador::ExisteVariable(const std::string& nombre) const { return variables_.count(nombre) != 0; }

void Simulador::FijarVariable(const std::string& nombre, const std::string& valor) { variables_[nombre] = valor; }

std::map<long, std::string> Simulador::Elementos(const std::string& nombre) const {
  std::map<long, std::string> elementos;
  for (const auto& [clave, valor] : variables_) {
    long long indice;
    if (clave.size() > nombre.size() && IgualesSinCaso(clave.substr(0, nombre.size()), nombre) &&
        EsNumero(clave.substr(nombre.size()), indice) && !valor.empty())
      elementos[static_cast<long>(indice)] = valor;
  }
  return elementos;
}

void Simulador::RegistrarLlamada(const std::string& descripcion) {
  llamadas_.push_back(descripcion);
  Imprimir("  system call: " + descripcion);
}

std::string Simulador::ResultadoLlamada(const std::string& funcion, const std::string& porDefecto) const {
  auto it = resultadosLlamadas_.find(funcion);
  return it == resultadosLlamadas_.end() ? porDefecto : it->second;
}

void Simulador::OlvidarRegistros() {
  llamadas_.clear();
  cajas_.clear();
  lineasDelPlugin_.clear();
  peticiones_.clear();
  faltas_.clear();
  faltasImpresas_ = 0;
}

// ---- Host procedures --------------------------------------------------------------------------

void Simulador::AnyadirAccion(std::int32_t id, const char* nombre, const char* pista, const std::uint8_t* tipos,
                              std::int32_t ultimo, std::int32_t cuenta) {
  FilaRegistrada fila;
  fila.id = id;
  fila.nombre = nombre ? nombre : "";
  fila.pista = pista ? pista : "";
  if (!nombre || !pista) faltas_.push_back("HostAddAction got a null name or hint for row " + std::to_string(id));
  fila.ultimo = ultimo;
  fila.cuenta = cuenta;
  // The stack arguments arrive in their documented order only if the caller pushed them left
  // to right: check that they are consistent before reading the kind bytes.
  bool coherente = tipos && ultimo >= 0 && ultimo < 64 && (cuenta == ultimo + 1 || (cuenta == 0 && ultimo == 0));
  if (!coherente) {
    faltas_.push_back("HostAddAction got inconsistent kinds/last index/count for row " + std::to_string(id));
  } else {
    fila.tipos.assign(tipos, tipos + ultimo + 1);
  }
  filas_.push_back(fila);
}

void Simulador::ProcedimientoReservado() { faltas_.push_back("the plug-in called HostSpareProc"); }

void Simulador::LeerVariable(const char* nombre, char** ranura) {
  if (*ranura) faltas_.push_back("HostGetVariable got a slot that was not null");
  auto it = variables_.find(nombre);
  *ranura = (it == variables_.end() || it->second.empty()) ? nullptr : EntregarBloque(it->second);
}

void Simulador::EscribirVariable(const char* nombre, const char* valor) {
  if (!nombre || !valor) {
    faltas_.push_back("HostSetVariable got a null pointer");
    return;
  }
  variables_[nombre] = valor;
}

void Simulador::AccesoInterfaz(std::int32_t codigo, char** ranura) {
  if (*ranura) faltas_.push_back("HostInterfaceAccess got a slot that was not null");
  peticiones_.push_back(codigo);
  std::optional<std::string> respuesta;
  if (codigo == 6) {
    respuesta = opciones_.version;
  } else if (codigo == 5) {
    std::string lista;
    std::vector<std::string> nombres;
    if (guion_) nombres = guion_->nombresSubrutinas;
    nombres.insert(nombres.end(), opciones_.subrutinasExtra.begin(), opciones_.subrutinasExtra.end());
    for (const std::string& n : nombres) lista += (lista.empty() ? "" : "\r") + n;
    respuesta = lista;
  }
  auto it = opciones_.respuestas.find(codigo);
  if (it != opciones_.respuestas.end()) respuesta = it->second;
  *ranura = respuesta ? EntregarBloque(*respuesta) : nullptr;
}

void Simulador::ProcesadorGuion(const char* linea) {
  lineasDelPlugin_.push_back(linea ? linea : "");
  if (opciones_.rastro) Imprimir("  plug-in plays: " + lineasDelPlugin_.back());
  LineaGuion l = AnalizarLinea(lineasDelPlugin_.back(), 0);
  if (l.orden.empty()) return;
  try {
    ReproducirLinea(l, profundidad_ + 1);
  } catch (const ErrorGuion& e) {
    Imprimir(std::string("  host: cannot play the line the plug-in sent: ") + e.what());
  }
}

int Simulador::CajaDeMensaje(void* dueno, const char* texto, const char* titulo, unsigned tipo) {
  CajaMensaje c{dueno, texto ? texto : "", titulo ? titulo : "", tipo};
  cajas_.push_back(c);
  Imprimir("  message box (" + std::string(NombreIcono(tipo)) + ") " + Citar(c.titulo) + ": " + Citar(c.texto));
  return IDOK;
}

void Simulador::FinDeProceso(unsigned codigo) {
  Imprimir("  the plug-in ended the process with exit code " + std::to_string(codigo));
  if (opciones_.codigoAlTerminar) {
    std::fprintf(stderr, "the plug-in ended the process (exit code %u)\n", codigo);
    std::fflush(nullptr);
    codigo = *opciones_.codigoAlTerminar;
  }
  ExitProcess(codigo);
}

void Simulador::BloqueLiberado(void* bloque) {
  if (entregados_.erase(bloque)) return;
  if (bloquesRanura_.erase(bloque)) return;
  // A block the host did not hand over: the plug-in's own handover block or a mistake. Only
  // blocks handed to the plug-in are tracked.
}

// ---- Playing scripts ---------------------------------------------------------------------------

std::string Simulador::Argumento(const nbhost::Argumento& arg) const {
  return Expandir(arg.texto, [this](const std::string& n) { return Variable(n); });
}

void Simulador::Reproducir(const Guion& guion) {
  const Guion* anterior = guion_;
  guion_ = &guion;
  ReproducirLineas(guion.principal, 0);
  guion_ = anterior;
}

void Simulador::ReproducirLineas(const std::vector<LineaGuion>& lineas, int profundidad) {
  for (const LineaGuion& l : lineas) ReproducirLinea(l, profundidad);
}

void Simulador::ReproducirLinea(const LineaGuion& l, int profundidad) {
  if (profundidad > 64) throw ErrorGuion(l.numero, "subroutine calls nested more than 64 deep");
  int anterior = profundidad_;
  profundidad_ = profundidad;
  struct Restaurar {
    int& p;
    int v;
    ~Restaurar() { p = v; }
  } restaurar{profundidad_, anterior};

  auto exigir = [&](std::size_t n, const char* forma) {
    if (l.argumentos.size() != n) throw ErrorGuion(l.numero, std::string("expected: ") + forma);
  };
  const std::string& o = l.orden;
  if (IgualesSinCaso(o, "SetVar")) {
    exigir(2, "SetVar \"[Name]\" \"value\"");
    variables_[NombreDeVariable(l.argumentos[0].texto)] = Argumento(l.argumentos[1]);
  } else if (IgualesSinCaso(o, "Echo")) {
    std::string texto;
    for (const auto& a : l.argumentos) texto += (texto.empty() ? "" : " ") + Argumento(a);
    Imprimir(texto);
  } else if (IgualesSinCaso(o, "GoSub")) {
    exigir(1, "GoSub \"Name\"");
    std::string nombre = Argumento(l.argumentos[0]);
    if (!guion_ || !guion_->subrutinas.count(nombre)) throw ErrorGuion(l.numero, "no subroutine :" + nombre);
    ReproducirLineas(guion_->subrutinas.at(nombre), profundidad + 1);
  } else if (IgualesSinCaso(o, "DeleteArray")) {
    exigir(2, "DeleteArray \"[Name]\" \"All\"");
    std::string nombre = NombreDeVariable(Argumento(l.argumentos[0]));
    for (const auto& e : Elementos(nombre)) variables_.erase(nombre + std::to_string(e.first));
  } else if (IgualesSinCaso(o, "Answer")) {
    exigir(2, "Answer CODE \"text\"");
    opciones_.respuestas[std::stoi(l.argumentos[0].texto)] = Argumento(l.argumentos[1]);
  } else if (IgualesSinCaso(o, "CallResult")) {
    exigir(2, "CallResult \"Function\" \"value\"");
    FijarResultadoLlamada(Argumento(l.argumentos[0]), Argumento(l.argumentos[1]));
  } else if (IgualesSinCaso(o, "Return")) {
    // a Return of the main script ends nothing in particular
  } else if (IgualesSinCaso(o, "ExecAction")) {
    if (l.argumentos.empty()) throw ErrorGuion(l.numero, "expected: ExecAction NUMBER \"p1\" ...");
    long long numero;
    const std::string& t = l.argumentos[0].texto;
    bool negativo = !t.empty() && t[0] == '-';
    if (!EsNumero(negativo ? t.substr(1) : t, numero))
      throw ErrorGuion(l.numero, "ExecAction needs an action number, not " + t);
    std::int32_t id = static_cast<std::int32_t>(negativo ? -numero : numero);
    std::vector<std::string> parametros;
    for (std::size_t i = 1; i < l.argumentos.size(); ++i) parametros.push_back(Argumento(l.argumentos[i]));
    // The host always passes the registered number of texts: fewer are filled with empty
    // texts (Ejecutar does that), more are refused as for an action called by name.
    if (const FilaRegistrada* fila = FilaDe(id); fila && static_cast<std::int32_t>(parametros.size()) > fila->cuenta)
      throw ErrorGuion(l.numero, fila->nombre + " takes " + std::to_string(fila->cuenta) + " parameter(s), " +
                                     std::to_string(parametros.size()) + " given");
    Ejecutar(id, parametros, l.original);
  } else if (const OrdenExtra* extra = BuscarOrdenExtra(o)) {
    std::vector<std::string> argumentos;
    for (const auto& a : l.argumentos) argumentos.push_back(a.citado ? Argumento(a) : a.texto);
    extra->orden(*this, l, argumentos);
  } else {
    const FilaRegistrada* fila = nullptr;
    for (const FilaRegistrada& f : filas_)
      if (f.id != 0 && IgualesSinCaso(f.nombre, o)) fila = &f;
    if (!fila) throw ErrorGuion(l.numero, "unknown command or action " + o);
    if (static_cast<std::int32_t>(l.argumentos.size()) != fila->cuenta)
      throw ErrorGuion(l.numero, o + " takes " + std::to_string(fila->cuenta) + " parameter(s), " +
                                     std::to_string(l.argumentos.size()) + " given");
    std::vector<std::string> parametros;
    for (std::size_t i = 0; i < l.argumentos.size(); ++i) {
      bool esVariable = i < fila->tipos.size() && fila->tipos[i] == 6;
      parametros.push_back(esVariable ? NombreDeVariable(l.argumentos[i].texto) : Argumento(l.argumentos[i]));
    }
    std::string titulo = fila->nombre;
    for (const std::string& p : parametros) titulo += " " + Citar(p);
    Ejecutar(fila->id, parametros, titulo);
  }
}

}  // namespace nbhost
