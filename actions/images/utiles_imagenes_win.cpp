#include <windows.h>

#include <memory>

#include "actions/images/formatos.h"
#include "actions/images/utiles_imagenes.h"
#include "core/ejecucion.h"
#include "core/errores.h"
#include "core/texto.h"
#include "core/textos.h"

namespace pelmaro {

using imagenes::Bytes;
using imagenes::Imagen;

namespace {

constexpr const char* kNoExiste = N_("El archivo especificado no existe");
constexpr const char* kSalidaNoDisponible = N_("Formato de salida no disponible");
constexpr const char* kEntradaNoDisponible = N_("Formato de entrada no disponible");
constexpr const char* kAnguloNoValido = N_("El valor del ángulo no es válido");
constexpr const char* kNoReconocida = N_("No se pudo cargar la imagen \"%s\": su contenido no es de ningún formato conocido");
constexpr const char* kNoLeida = N_("No se pudo leer el archivo de imagen \"%s\"");
constexpr const char* kDemasiadoGrande = N_("No se pudo cargar la imagen \"%s\": el archivo es demasiado grande");
constexpr const char* kMismoTamanyo = N_("No se pudo redimensionar la imagen \"%s\": ya tiene ese ancho y ese alto");
constexpr const char* kTamanyoNoValido = N_("No se pudo redimensionar la imagen \"%s\": el ancho y el alto deben ser mayores que cero");
constexpr const char* kSinCodificador = N_("No se pudo guardar la imagen \"%s\": no hay codificador para su formato");

// Image files larger than this are not read into memory.
constexpr std::uint64_t kArchivoMaximo = 512ull << 20;

[[noreturn]] void Error(const char* texto) { throw Excepcion(Texto(texto)); }
[[noreturn]] void Error(const char* formato, const std::string& archivo) {
  throw Excepcion(Formatear(Texto(formato), archivo));
}

struct ArchivoAbierto {
  HANDLE h;
  explicit ArchivoAbierto(HANDLE x) : h(x) {}
  ~ArchivoAbierto() { if (h != INVALID_HANDLE_VALUE) CloseHandle(h); }
  ArchivoAbierto(const ArchivoAbierto&) = delete;
  ArchivoAbierto& operator=(const ArchivoAbierto&) = delete;
};

bool ExisteArchivo(const std::string& ruta) {
  DWORD a = GetFileAttributesA(ruta.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

Bytes LeerArchivo(const std::string& ruta) {
  ArchivoAbierto f(CreateFileA(ruta.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
  if (f.h == INVALID_HANDLE_VALUE) Error(kNoLeida, ruta);
  LARGE_INTEGER tamanyo;
  if (!GetFileSizeEx(f.h, &tamanyo)) Error(kNoLeida, ruta);
  if (static_cast<std::uint64_t>(tamanyo.QuadPart) > kArchivoMaximo) Error(kDemasiadoGrande, ruta);
  Bytes datos(static_cast<std::size_t>(tamanyo.QuadPart));
  std::size_t hecho = 0;
  while (hecho < datos.size()) {
    DWORD leidos = 0;
    DWORD pedir = static_cast<DWORD>(std::min<std::size_t>(datos.size() - hecho, 1u << 24));
    if (!ReadFile(f.h, datos.data() + hecho, pedir, &leidos, nullptr) || leidos == 0) Error(kNoLeida, ruta);
    hecho += leidos;
  }
  return datos;
}

}  // namespace

// Writes the bytes to a temporary file beside the target and then puts it in the target's
// place, so that a failure never leaves a partial file under the target's name.
void GuardarArchivoImagen(const std::string& ruta, const Bytes& datos) {
  const std::string temporal = ruta + ".pelmaro-tmp";
  {
    ArchivoAbierto f(CreateFileA(temporal.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (f.h == INVALID_HANDLE_VALUE)
      throw EFCreateError(Formatear("Cannot create file \"%s\". %s", ruta, MensajeSistema(GetLastError())));
    std::size_t hecho = 0;
    while (hecho < datos.size()) {
      DWORD escritos = 0;
      DWORD pedir = static_cast<DWORD>(std::min<std::size_t>(datos.size() - hecho, 1u << 24));
      if (!WriteFile(f.h, datos.data() + hecho, pedir, &escritos, nullptr) || escritos == 0) {
        const DWORD codigo = GetLastError();
        CloseHandle(f.h);
        f.h = INVALID_HANDLE_VALUE;
        DeleteFileA(temporal.c_str());
        throw EFCreateError(Formatear("Error writing \"%s\". %s", ruta, MensajeSistema(codigo)));
      }
      hecho += escritos;
    }
  }
  if (!MoveFileExA(temporal.c_str(), ruta.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
    const DWORD codigo = GetLastError();
    DeleteFileA(temporal.c_str());
    throw EFCreateError(Formatear("Cannot create file \"%s\". %s", ruta, MensajeSistema(codigo)));
  }
}

namespace {

// The common checks: the input exists, then (when `salida` is given) the output format,
// then the input format.
void ComprobarNombres(const std::string& entrada, const std::string* salida) {
  if (!ExisteArchivo(entrada)) Error(kNoExiste);
  if (salida && !TUtilesImagenes::FormatoSalidaDisponible(imagenes::ExtensionDe(*salida))) Error(kSalidaNoDisponible);
  if (!TUtilesImagenes::FormatoEntradaDisponible(imagenes::ExtensionDe(entrada))) Error(kEntradaNoDisponible);
}

Imagen Cargar(const std::string& entrada) {
  const Bytes datos = LeerArchivo(entrada);
  Imagen img;
  if (!imagenes::LeerImagen(datos.data(), datos.size(), entrada, img)) Error(kNoReconocida, entrada);
  return img;
}

void Guardar(const Imagen& img, const std::string& salida) {
  const imagenes::Formato* f = imagenes::FormatoPorClave(imagenes::ExtensionDe(salida), true);
  if (!f || !f->codec || !f->codec->escribir) Error(kSinCodificador, salida);
  GuardarArchivoImagen(salida, f->codec->escribir(img));
}

// Load, transform in place, save.
template <class Transformar>
bool Procesar(const std::string& entrada, const std::string& salida, Transformar transformar) {
  ComprobarNombres(entrada, &salida);
  Imagen img = Cargar(entrada);
  transformar(img);
  Guardar(img, salida);
  return true;
}

}  // namespace

bool TUtilesImagenes::FormatoSalidaDisponible(const std::string& extension) {
  return imagenes::FormatoPorClave(extension, true) != nullptr;
}

bool TUtilesImagenes::FormatoEntradaDisponible(const std::string& extension) {
  return imagenes::FormatoPorClave(extension, false) != nullptr;
}

bool TUtilesImagenes::Convertir(const std::string& entrada, const std::string& salida) {
  return Procesar(entrada, salida, [](Imagen&) {});
}

bool TUtilesImagenes::Rotar(const std::string& entrada, const std::string& salida, const std::string& angulo) {
  return Procesar(entrada, salida, [&](Imagen& img) {
    const int grados = imagenes::AnguloNormalizado(LeerEnteroODefecto(angulo, 0));
    if (grados < 0) Error(kAnguloNoValido);
    if (grados) img = imagenes::Rotar(img, grados);
  });
}

bool TUtilesImagenes::Espejar(const std::string& entrada, const std::string& salida) {
  return Procesar(entrada, salida, [](Imagen& img) { imagenes::Espejar(img); });
}

bool TUtilesImagenes::Invertir(const std::string& entrada, const std::string& salida) {
  return Procesar(entrada, salida, [](Imagen& img) { imagenes::Invertir(img); });
}

bool TUtilesImagenes::Tamanyo(const std::string& entrada, const std::string& salida, std::string& ancho,
                              std::string& alto) {
  const bool consulta = Recortar(salida).empty() && Recortar(ancho).empty() && Recortar(alto).empty();
  ComprobarNombres(entrada, nullptr);
  if (consulta) {
    const Imagen img = Cargar(entrada);
    ancho = EnteroATexto(img.ancho);
    alto = EnteroATexto(img.alto);
    return true;
  }
  if (!FormatoSalidaDisponible(imagenes::ExtensionDe(salida))) Error(kSalidaNoDisponible);
  const std::int32_t w = LeerEnteroODefecto(ancho, 0), h = LeerEnteroODefecto(alto, 0);
  Imagen img = Cargar(entrada);
  if (w <= 0 || h <= 0) Error(kTamanyoNoValido, entrada);
  if (w == img.ancho && h == img.alto) Error(kMismoTamanyo, entrada);
  img = imagenes::Redimensionar(img, w, h);
  Guardar(img, salida);
  return true;
}

}  // namespace pelmaro
