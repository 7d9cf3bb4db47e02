#include <windows.h>

#include <shellapi.h>

#include "actions/publication/ejecucion_publicacion.h"
#include "actions/publication/htmlhlp.h"
#include "actions/publication/utiles_publicacion.h"
#include "core/errores.h"
#include "core/host.h"
#include "core/korutiles.h"
#include "core/texto.h"
#include "core/textos.h"

namespace pelmaro {
namespace {

// The generator of krNumeroAleatorio, one per loaded library.
TGeneradorAleatorio gAleatorio;

const char* const kSinAyudaHtml = N_("La ayuda HTML no está disponible: falta el componente hhctrl.ocx del sistema");

// The help actions: "True" or "False" from the HTML Help call. Where the runtime is missing,
// "False" and a text that says so.
template <class Llamada>
std::uint8_t Ayuda(Llamada&& llamada) {
  if (!THtmlHlpIntf::Disponible()) {
    resultado::Fallo(Texto(kSinAyudaHtml));
  } else {
    resultado::Valor(TextoBooleano(llamada()));
  }
  return 1;
}

// The whole file as bytes; an error the file cannot be opened or read.
std::string LeerArchivo(const std::string& ruta) {
  HANDLE h = CreateFileA(ruta.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE)
    throw EFOpenError(Formatear("Cannot open file \"%s\". %s", ruta, MensajeSistema(GetLastError())));
  std::string contenido;
  char buffer[65536];
  DWORD leidos = 0;
  for (;;) {
    if (!ReadFile(h, buffer, sizeof buffer, &leidos, nullptr)) {
      DWORD e = GetLastError();
      CloseHandle(h);
      throw EReadError(Formatear("Error reading \"%s\". %s", ruta, MensajeSistema(e)));
    }
    if (leidos == 0) break;
    contenido.append(buffer, leidos);
  }
  CloseHandle(h);
  return contenido;
}

void Reproducir(const std::string& linea) {
  if (Host().procesadorGuion) Host().procesadorGuion(linea.c_str());
}

}  // namespace

TablaManejadores TEjecucionAccPublicacion::Tabla() {
  static const EntradaManejador kFilas[] = {
      {400, ReiniciarPub},  {401, IndiceAyuda},     {402, CerrarAyuda},
      {403, IDTemaAyuda},   {404, URLTemaAyuda},    {405, BuscadorAyuda},
      {406, ContenidosAyuda}, {407, EjecutarAccion}, {408, NumeroAleatorio},
  };
  return pelmaro::Tabla(kFilas);
}

std::uint8_t TEjecucionAccPublicacion::ReiniciarPub(const Parametros& p) {
  char ruta[MAX_PATH + 1];
  DWORD n = GetModuleFileNameA(nullptr, ruta, MAX_PATH);
  std::string programa(ruta, n);
  std::string carpeta = programa.substr(0, programa.find_last_of('\\') == std::string::npos ? 0 : programa.find_last_of('\\'));
  // The new instance first: when it cannot start, this one keeps running.
  HINSTANCE r = ShellExecuteA(GetActiveWindow(), "open", programa.c_str(), p[0], carpeta.c_str(), SW_SHOWNORMAL);
  if (reinterpret_cast<INT_PTR>(r) <= 32) {
    resultado::FalloSistema();
    return 0;
  }
  if (!TerminateProcess(GetCurrentProcess(), 0)) {
    resultado::FalloSistema();
    return 0;
  }
  return 1;
}

std::uint8_t TEjecucionAccPublicacion::IndiceAyuda(const Parametros& p) {
  return Ayuda([&] { return THtmlHlpIntf::MostrarIndice(p[0], p[1]); });
}

std::uint8_t TEjecucionAccPublicacion::CerrarAyuda(const Parametros& p) {
  return Ayuda([&] {
    THtmlHlpIntf::CerrarTodo(p[0]);
    return true;
  });
}

std::uint8_t TEjecucionAccPublicacion::IDTemaAyuda(const Parametros& p) {
  return Ayuda([&] { return THtmlHlpIntf::MostrarTemaID(p[0], EnteroInicial(p[1])); });
}

std::uint8_t TEjecucionAccPublicacion::URLTemaAyuda(const Parametros& p) {
  return Ayuda([&] { return THtmlHlpIntf::MostrarTemaURL(p[0], p[1]); });
}

std::uint8_t TEjecucionAccPublicacion::BuscadorAyuda(const Parametros& p) {
  return Ayuda([&] { return THtmlHlpIntf::MostrarBuscador(p[0]); });
}

std::uint8_t TEjecucionAccPublicacion::ContenidosAyuda(const Parametros& p) {
  return Ayuda([&] { return THtmlHlpIntf::MostrarContenidos(p[0]); });
}

std::uint8_t TEjecucionAccPublicacion::EjecutarAccion(const Parametros& p) {
  DWORD atributos = GetFileAttributesA(p[0]);
  if (atributos == INVALID_FILE_ATTRIBUTES || (atributos & FILE_ATTRIBUTE_DIRECTORY)) {
    Reproducir(p[0]);
    resultado::Verdadero();
    return 1;
  }
  try {
    for (const std::string& linea : DividirLineas(LeerArchivo(p[0]))) Reproducir(linea);
    resultado::Verdadero();
  } catch (const Excepcion& e) {
    resultado::FalloMensaje(e);
  } catch (...) {
    resultado::FalloExcepcionActual();
  }
  return 1;
}

std::uint8_t TEjecucionAccPublicacion::NumeroAleatorio(const Parametros& p) {
  auto a = LeerEnteroOpcional(p[0]);
  auto b = LeerEnteroOpcional(p[1]);
  if (!a || !b) {
    resultado::FalloParametros();
  } else {
    resultado::Valor(EnteroATexto(gAleatorio.Entre(*a, *b)));
  }
  return 1;
}

}  // namespace pelmaro
