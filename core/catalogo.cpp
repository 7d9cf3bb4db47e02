#include "core/catalogo.h"

#include <algorithm>
#include <iterator>

#include "core/textos.h"

namespace pelmaro {
namespace {

// Texts are the plug-in's own Spanish texts; they are translated when fetched. Action names
// pass through the catalogues too, but every catalogue keeps them as they are: publications
// call the actions by these names.
const FilaCatalogo kFilas[] = {
    {0, N_("Sistema"), "", ""},
    {100, N_("krListarProcesos"),
     N_("Obtiene en una variable Array de Neobook una lista de los procesos que están ejecutándose en el sistema."), ""},
    {101, N_("krMatarProcesos"),
     N_("Dado el nombre de un proceso (ejem. calc.exe) esta acción mata (cierra) todas las instancias que encuentre abiertas del mismo."), "1"},
    {102, N_("krHandleVentana"),
     N_("Retorna el Handle (manejador) de una ventana a partir del nombre de su clase o de su título."), "11"},
    {103, N_("krVersionWindows"),
     N_("Retorna una cadena que identifica la versión de Windows sobre la que se ejecuta tu publicación."), ""},
    {104, N_("krVariablesEntorno"),
     N_("Obtiene el valor de una variable de entorno, establece su valor, o retorna todas las variables de entorno y sus valores."), "11"},
    {105, N_("krDirectorioSistema"),
     N_("Obtiene la ruta de uno de los directorios del sistema (Windows)."), "11"},
    {106, N_("krApagarWindows"),
     N_("Cierra Windows y este deja el ordenador preparado para ser apagado de forma segura."), "1"},
    {107, N_("krReiniciarWindows"),
     N_("Reinicia Windows y este se encarga volver a reiniciar el ordenador acto seguido."), "1"},
    {108, N_("krApagarOrdenador"),
     N_("Cierra Windows y este se encarga de apagar el ordenador de forma segura."), "1"},
    {109, N_("krPuedeHibernarse"),
     N_("Averigua si el ordenador sobre el que se ejecuta tu publicación tiene la capacidad de hibernarse."), ""},
    {110, N_("krHibernarOrdenador"),
     N_("Hiberna el ordenador haciendo que Windows guarde en memoria previamente el estado de aplicaciones y procesos para el próximo inicio del sistema."), "1"},
    {111, N_("krPuedeSuspenderse"),
     N_("Averigua si el ordenador sobre el que se ejecuta tu publicación tiene la capacidad de suspenderse."), ""},
    {112, N_("krSuspenderOrdenador"),
     N_("Deja el ordenador en estado de suspensión haciendo que Windows guarde en memoria previamente el estado de aplicaciones y procesos para el próximo inicio del sistema."), "1"},
    {113, N_("krCerrarSesionUsuario"),
     N_("Cierra la sesión del usuario actual y deja el sistema preparado para la entrada de un usuario."), "1"},
    {114, N_("krUsuarioAdministrador"),
     N_("Averigua si el usuario actual de tu aplicación tiene privilegios de administrador del sistema."), ""},
    {115, N_("krOcultarErroresCriticos"),
     N_("Evita que Windows muestre mensajes de errores críticos, como pueda ser el que puede producirse al tratar con archivos inexistentes."), ""},
    {116, N_("krMostrarErroresCriticos"),
     N_("Establece el nivel de reportes de errores por defecto en Windows."), ""},
    {117, N_("krMostrarBarraTitulo"),
     N_("Muestra u oculta la barra de título de la ventana de una aplicación (de tu publicación, por ejemplo)."), "11"},
    {0, N_("Archivos"), "", ""},
    {200, N_("krBorrarArchivos"),
     N_("Borra uno ó más archivos o los envía a la papelera de reciclaje de Windows."), "111"},
    {201, N_("krMoverArchivos"),
     N_("Mueve uno o más archivos al directorio de destino especificado."), "111"},
    {202, N_("krCopiarArchivos"),
     N_("Copia uno o más archivos en el directorio de destino especificado."), "111"},
    {203, N_("krBorrarCarpeta"),
     N_("Borra una carpeta y todo su contenido o envía la carpeta a la papelera de reciclaje de Windows."), "111"},
    {204, N_("krMoverCarpeta"),
     N_("Mueve una carpeta y todo su contenido al destino especificado."), "111"},
    {205, N_("krCopiarCarpeta"),
     N_("Copia una carpeta y todo su contenido al destino especificado."), "111"},
    {206, N_("krAccesoDirecto"),
     N_("Crea un acceso directo a un archivo o carpeta en el directorio que determines."), "11111"},
    {207, N_("krTamanyoArchivo"),
     N_("Retorna el tamaño en bytes de un archivo. Esta acción funciona con archivos de incluyo TeraBytes."), "1"},
    {208, N_("krArchivoTemporal"),
     N_("Ejecuta esta acción para obtener la ruta de un archivo temporal único. La ruta apuntará a un archivo de nombre único situado en el directorio temporal de Windows."), ""},
    {209, N_("krIconoAsociado"),
     N_("Extrae el icono asociado a un determinado archivo. Este icono suele ser el del programa por defecto encargado de abrir dicho archivo."), "11"},
    {210, N_("krIconoEjecutable"),
     N_("Extrae un determinado icono de un archivo ejecutable. Un archivo ejecutable puede ser un archivo .EXE, .DLL, etc."), "1111"},
    {211, N_("krIconosEjecutable"),
     N_("Extrae todos los iconos de un archivo ejecutable. Un archivo ejecutable puede contener cientos de iconos en su interior."), "111"},
    {212, N_("krRutaLargaArchivo"),
     N_("Obtiene la ruta larga de un archivo a partir de su ruta corta."), "1"},
    {213, N_("krRutaCortaArchivo"),
     N_("Obtiene la ruta corta de un archivo a partir de su ruta larga."), "1"},
    {214, N_("krFechaCreacionArchivo"),
     N_("Obtiene la fecha de creación de un determinado archivo."), "1"},
    {215, N_("krFechaModificacionArchivo"),
     N_("Obtiene la fecha de modificación (última escritura) de un determinado archivo."), "1"},
    {216, N_("krFechaUltimoAccesoArchivo"),
     N_("Obtiene la fecha del último acceso (última lectura) de un determinado archivo."), "1"},
    {0, N_("Diálogos"), "", ""},
    {300, N_("krDialogoColor"),
     N_("Muestra al usuario el diálogo estándar de Windows para elegir un color."), "111"},
    {301, N_("krDialogoFuente"),
     N_("Muestra al usuario el diálogo estándar de Windows para elegir una fuente."), "11111"},
    {302, N_("krDialogoAbrirImagen"),
     N_("Muestra al usuario el diálogo estándar de Windows para abrir archivos de imágenes."), "11116"},
    {303, N_("krDialogoGuardarImagen"),
     N_("Muestra al usuario el diálogo estándar de Windows para guardar archivos de imágenes."), "1111"},
    {0, N_("Publicación"), "", ""},
    {400, N_("krReiniciarPub"),
     N_("Reinicia la publicación en ejecución, eso es, la cierra y acto seguido vuelve a ejecutarla."), "1"},
    {401, N_("krIndiceAyuda"),
     N_("Muestra un archivo de ayuda de la publicación con la pestaña Índice de palabras clave abierta."), "11"},
    {402, N_("krCerrarAyuda"),
     N_("Cierra un archivo de ayuda previamente abierto desde tu publicación."), "1"},
    {403, N_("krIDTemaAyuda"),
     N_("Muestra un archivo de ayuda de la publicación con el tema cuyo ID se especifique abierto."), "11"},
    {404, N_("krURLTemaAyuda"),
     N_("Muestra un archivo de ayuda de la publicación con el tema cuya URL se especifique abierto."), "11"},
    {405, N_("krBuscadorAyuda"),
     N_("Muestra un archivo de ayuda de la publicación con la pestaña del Buscador de contenidos abierta."), "1"},
    {406, N_("krContenidosAyuda"),
     N_("Muestra un archivo de ayuda de la publicación con la pestaña Índice de contenidos abierta."), "1"},
    {407, N_("krEjecutarAccion"),
     N_("Ejecuta una acción de Neobook. Es posible ejecutar varias una detrás de otra especificando un archivo que contenga las acciones, una por línea."), "1"},
    {408, N_("krNumeroAleatorio"),
     N_("Obtiene un número aleatorio dentro de un rango determinado."), "11"},
    {0, N_("Ratón"), "", ""},
    {500, N_("krOcultarRatonPub"),
     N_("Oculta el cursor del ratón de la publicación si está mostrándose."), ""},
    {501, N_("krMostrarRatonPub"),
     N_("Muestra el cursor del ratón de la aplicación si está ocultándose."), ""},
    {0, N_("Monitor"), "", ""},
    {600, N_("krApagarMonitor"),
     N_("Apaga el monitor dejándolo listo para encenderse si el usuario pulsa una tecla o mueve el ratón."), ""},
    {601, N_("krEncenderMonitor"),
     N_("Enciende el monitor si este se apagó, por ejemplo, mediante la acción \"krApagarMonitor\" de este mismo plugin."), ""},
    {602, N_("krCambiarResolucion"),
     N_("Cambia la resolución de pantalla y la frecuencia de refresco de la misma con la posibilidad de realizar antes un test para comprobar si la nueva resolución está soportada por el dispositivo."), "1111"},
    {603, N_("krMostrarMensajeOSD"),
     N_("Muestra un mensaje en la pantalla (On Screen Display) en la posición, con el texto y la fuente que necesites."), "11111"},
    {604, N_("krOcultarMensajesOSD"),
     N_("Oculta todos los mensajes en la pantalla (On Screen Display) previamente mostrados desde la publicación."), ""},
    {605, N_("krFijarPapelTapiz"),
     N_("Establece el papel tapiz del escritorio de Windows en una de las posiciones disponibles."), "11"},
    {606, N_("krObtenerPapelTapiz"),
     N_("Retorna la ruta del archivo que esté utilizándose como papel tapiz del escritorio de Windows."), ""},
    {0, N_("Hashes"), "", ""},
    {700, N_("krMD5Cadena"),
     N_("Calcula el algoritmo MD5 de una cadena de caracteres."), "1"},
    {701, N_("krMD5Archivo"),
     N_("Calcula el algoritmo MD5 de un determinado archivo."), "1166"},
    {702, N_("krSHA1Cadena"),
     N_("Calcula el algoritmo SHA1 de una cadena de caracteres."), "1"},
    {703, N_("krSHA1Archivo"),
     N_("Calcula el algoritmo SHA1 de un determinado archivo."), "1166"},
    {704, N_("krCancelarHashing"),
     N_("Cancela el cálculo del Hashing que se esté llevando a cabo."), ""},
    {705, N_("krCifrarCadena"),
     N_("Cifrar o descifra una cadena utilizando varios de los algoritmos y hashes disponibles."), "11111"},
    {706, N_("krCifrarArchivo"),
     N_("Cifrar o descifra un archivo utilizando varios de los algoritmos y hashes disponibles."), "111111"},
    {0, N_("Archivos INI"), "", ""},
    {800, N_("krLeerIni"),
     N_("Lee un valor guardado en un archivo de configuración INI."), "1111"},
    {801, N_("krEscribirIni"),
     N_("Escribe un valor en un archivo de configuración INI."), "1111"},
    {802, N_("krSeccionIni"),
     N_("Lee los nombres de las claves existentes en una sección de un archivo de configuración INI."), "11"},
    {803, N_("krSeccionesIni"),
     N_("Lee los nombres de todas las secciones existentes en un archivo de configuración INI."), "1"},
    {804, N_("krExisteValorIni"),
     N_("Averigua si un determinado valor existe en un archivo de configuración INI."), "111"},
    {805, N_("krBorrarClaveIni"),
     N_("Borra una clave (y su valor) de un archivo de configuración INI."), "111"},
    {806, N_("krLeerBinarioIni"),
     N_("Lee un valor en claro previamente guardado en su representación binaria en un archivo de configuración INI."), "1111"},
    {807, N_("krEscribirBinarioIni"),
     N_("Escribe la representación binaria de un valor en un archivo de configuración INI."), "1111"},
    {808, N_("krBorrarSeccionIni"),
     N_("Borra todas las claves y valores de una sección de un archivo de configuración INI."), "11"},
    {809, N_("krVaciarSeccionIni"),
     N_("Borra todas las claves y valores de una sección de un archivo de configuración INI sin borrar la propia sección."), "11"},
    {810, N_("krExisteSeccionIni"),
     N_("Averigua si existe una determinada sección de un archivo de configuración INI."), "11"},
    {811, N_("krValoresSeccionIni"),
     N_("Lee los valores de todas las claves de una sección de un archivo de configuración INI."), "11"},
    {0, N_("Imágenes"), "", ""},
    {900, N_("krRotarImagen"),
     N_("Realiza un efecto de rotación en una imagen un ángulo (múltiplo de 90) determinado."), "111"},
    {901, N_("krImagenVentana"),
     N_("Guarda en un archivo Bitmap la imagen de la ventana cuyo Handle (manejador) se especifique."), "11"},
    {902, N_("krImagenPantalla"),
     N_("Guarda en un archivo Bitmap la imagen de toda la pantalla o escritorio."), "1"},
    {903, N_("krConvertirImagen"),
     N_("Convierte una imagen en uno de los formatos soportados en una imagen de otro formato entre los soportados."), "11"},
    {904, N_("krTamanyoImagen"),
     N_("Redimensiona una imagen al nuevo ancho y alto que se especifique, o averigua las dimensiones (ancho y alto) de una imagen."), "1111"},
    {905, N_("krEspejarImagen"),
     N_("Espeja, invierte una imagen horizontalmente. En inglés este efecto se llama \"MirrorImage\"."), "11"},
    {906, N_("krInvertirImagen"),
     N_("Invierte una imagen verticalmente. En inglés este efecto se llama \"FlipImage\"."), "11"},
};

}  // namespace

const FilaCatalogo* FilasCatalogo() { return kFilas; }
int NumeroFilasCatalogo() { return static_cast<int>(std::size(kFilas)); }

const FilaCatalogo* BuscarAccion(std::int32_t id) {
  if (id == 0) return nullptr;
  auto it = std::find_if(std::begin(kFilas), std::end(kFilas),
                         [id](const FilaCatalogo& f) { return f.id == id; });
  return it == std::end(kFilas) ? nullptr : &*it;
}

const FilaCatalogo* BuscarAccionPorNombre(std::string_view nombre) {
  auto it = std::find_if(std::begin(kFilas), std::end(kFilas), [nombre](const FilaCatalogo& f) {
    return !f.EsCategoria() && nombre == f.nombre;
  });
  return it == std::end(kFilas) ? nullptr : &*it;
}

const FilaCatalogo* CategoriaDe(std::int32_t id) {
  const FilaCatalogo* categoria = nullptr;
  for (const FilaCatalogo& f : kFilas) {
    if (f.EsCategoria()) categoria = &f;
    else if (f.id == id) return categoria;
  }
  return nullptr;
}

}  // namespace pelmaro
