#include "editing/dialogos.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "core/texto.h"
#include "core/textos.h"

namespace pelmaro::edicion {
namespace {

constexpr ModoArchivo kAbrir = ModoArchivo::Abrir;
constexpr ModoArchivo kGuardar = ModoArchivo::Guardar;
constexpr ModoArchivo kCarpeta = ModoArchivo::Carpeta;

std::vector<Dialogo> Tabla() {
  return {
      {101, "TfrmMatarProcesos", N_("Matar procesos"), 101,
       N_("Mata (cierra) un proceso de Windows partiendo de su nombre (ejem. calc.exe). Todos los procesos con el "
          "nombre indicado serán cerrados."),
       {CampoTexto("frameVarNombre", N_("Nombre del proceso"))}},
      {105, "TfrmDirectorioSistema", N_("Directorio del sistema"), 105,
       N_("Retorna la ruta del directorio de Windows especificado mediante la correspondiente constante. En la "
          "ayuda encontrarás más información sobre cada una de estas constantes."),
       {Lista("frameVarCSIDL", N_("Directorio cuya ruta quieres obtener"),
              {"CSIDL_ADMINTOOLS", "CSIDL_ALTSTARTUP", "CSIDL_APPDATA", "CSIDL_CDBURN_AREA",
               "CSIDL_COMMON_ADMINTOOLS", "CSIDL_COMMON_ALTSTARTUP", "CSIDL_COMMON_APPDATA",
               "CSIDL_COMMON_DESKTOPDIRECTORY", "CSIDL_COMMON_DOCUMENTS", "CSIDL_COMMON_FAVORITES",
               "CSIDL_COMMON_MUSIC", "CSIDL_COMMON_PICTURES", "CSIDL_COMMON_PROGRAMS", "CSIDL_COMMON_STARTMENU",
               "CSIDL_COMMON_STARTUP", "CSIDL_COMMON_TEMPLATES", "CSIDL_COMMON_VIDEO", "CSIDL_COOKIES",
               "CSIDL_DESKTOP", "CSIDL_DESKTOPDIRECTORY", "CSIDL_FAVORITES", "CSIDL_FONTS", "CSIDL_HISTORY",
               "CSIDL_INTERNET_CACHE", "CSIDL_LOCAL_APPDATA", "CSIDL_MYDOCUMENTS", "CSIDL_MYMUSIC",
               "CSIDL_MYPICTURES", "CSIDL_MYVIDEO", "CSIDL_NETHOOD", "CSIDL_PERSONAL", "CSIDL_PHOTOALBUMS",
               "CSIDL_PLAYLISTS", "CSIDL_PRINTHOOD", "CSIDL_PROFILE", "CSIDL_PROGRAM_FILES",
               "CSIDL_PROGRAM_FILES_COMMON", "CSIDL_PROGRAMS", "CSIDL_RECENT", "CSIDL_RESOURCES",
               "CSIDL_SAMPLE_MUSIC", "CSIDL_SAMPLE_PLAYLISTS", "CSIDL_SAMPLE_PICTURES", "CSIDL_SAMPLE_VIDEOS",
               "CSIDL_SENDTO", "CSIDL_STARTMENU", "CSIDL_SYSTEM", "CSIDL_TEMPLATES", "CSIDL_WINDOWS"}),
        SiNo("frameVarForzar", N_("Crear el directorio si no existe"), "False")}},
      {106, "TfrmApagarWindows", N_("Apagar Windows"), 106,
       N_("Apagar Windows significa que este cerrará todas las aplicaciones y procesos en marcha y dejará el "
          "ordenador listo para ser apagado de forma segura."),
       {SiNo("frameVarForzarTarea", N_("Forzar el apagado de Windows"))}},
      {201, "TfrmMoverArchivos", N_("Mover archivos"), 201,
       N_("Mueve uno o más archivos al destino especificado. De forma opcional muestra al usuario un diálogo de "
          "progreso que podrá cancelar. Revisa la ayuda para más información."),
       {CampoTexto("frameVarRutaOrigen", N_("Archivo(s) que quieres mover"), kAbrir),
        CampoTexto("frameVarRutaDestino", N_("Directorio de destino"), kGuardar),
        SiNo("frameVarMostrarProgreso", N_("Mostrar el progreso de la tarea"))}},
      {203, "TfrmBorrarCarpeta", N_("Borrar una carpeta"), 203,
       N_("Borra una carpeta y todo su contenido. Opcionalmente lo mueve a la papelera y el sistema muestra un "
          "diálogo de progreso al usuario: revisa la ayuda para más información."),
       {CampoTexto("frameVarRutaCarpeta", N_("Ruta de la carpeta que quieres borrar"), kCarpeta),
        SiNo("frameVarEnviarPapelera", N_("Enviar el archivo a la papelera")),
        SiNo("frameVarMostrarProgreso", N_("Mostrar el progreso de la tarea"))}},
      {603, "TfrmMostrarMensajeOSD", N_("Mostrar mensaje OSD"), 603,
       N_("Muestra un mensaje \"On Screen Display\", es decir, por encima de todas las aplicaciones y "
          "transparente. Revisa la ayuda para más información."),
       {CampoTexto("frameVarTexto", N_("Texto")), CampoTexto("frameVarPosX", N_("Posición X")),
        CampoTexto("frameVarPosY", N_("Posición Y")), CampoTexto("frameVarTiempo", N_("Tiempo (en milisegundos)")),
        Fuente("frameVarFuente", N_("Fuente"))}},
      {701, "TfrmMD5Archivo", N_("MD5 de un archivo"), 701,
       N_("Calcula el algoritmo MD5 de un archivo. Opcionalmente puedes especificar una Subrutina de Neobook desde "
          "donde podrás usar las variables correspondientes."),
       {CampoTexto("frameVarArchivo", N_("Archivo cuyo MD5 quieres calcular"), kAbrir),
        Subrutina("frameVarSubProgreso", N_("Subrutina para el progreso")),
        CampoTexto("frameVarProgreso", N_("Variable para el progreso")),
        CampoTexto("frameVarMaxProgreso", N_("Variable para el máximo de progreso"))}},
      {800, "TfrmLeerIni", N_("Leer un archivo INI"), 800, N_("Lee un valor de un archivo de configuración INI."),
       {CampoTexto("frameVarArchivo", N_("Archivo INI"), kAbrir), CampoTexto("frameVarSeccion", N_("Sección del archivo")),
        CampoTexto("frameVarClave", N_("Clave de la sección")), CampoTexto("frameVarValor", N_("Valor por defecto"))}},
  };
}

bool EsBlanco(const char* t) {
  for (; *t; ++t)
    if (static_cast<unsigned char>(*t) > ' ') return false;
  return true;
}

}  // namespace

const std::vector<Dialogo>& Dialogos() {
  static const std::vector<Dialogo> tabla = Tabla();
  return tabla;
}

const Dialogo* BuscarDialogo(std::int32_t id) {
  for (const Dialogo& d : Dialogos())
    if (d.id == id) return &d;
  return nullptr;
}

std::vector<std::size_t> OrdenDeCampos(const Dialogo& d) {
  std::vector<std::size_t> orden(d.campos.size());
  for (std::size_t i = 0; i < orden.size(); ++i) orden[i] = i;
  auto lugar = [&](std::size_t i) { return d.campos[i].orden >= 0 ? static_cast<std::size_t>(d.campos[i].orden) : i; };
  std::stable_sort(orden.begin(), orden.end(), [&](std::size_t a, std::size_t b) { return lugar(a) < lugar(b); });
  return orden;
}

const char* TextoInicial(const Campo& c, const char* parametro) {
  if (!parametro) parametro = "";
  return c.defecto && EsBlanco(parametro) ? c.defecto : parametro;
}

std::int64_t IndiceDeLista(const char* parametro) {
  std::optional<std::int32_t> n = LeerEnteroOpcional(parametro ? parametro : "");
  return n ? *n : 0;
}

int EntradaSinCaso(const Campo& c, const char* texto) {
  std::string t = texto ? texto : "";
  for (std::size_t i = 0; i < c.lista.size(); ++i) {
    std::string e = c.lista[i];
    if (e.size() == t.size() &&
        std::equal(e.begin(), e.end(), t.begin(), [](char a, char b) {
          return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        }))
      return static_cast<int>(i);
  }
  return -1;
}

}  // namespace pelmaro::edicion
