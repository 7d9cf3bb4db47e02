#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "actions/files/archivo_icono.h"
#include "actions/files/rutas_archivos.h"
#include "actions/files/utiles_archivos.h"
#include "core/ejecucion.h"
#include "core/errores.h"
#include "core/texto.h"

namespace pelmaro {
namespace {

// A list of one name for the shell: the text and two zero characters.
std::string ListaDeUno(const std::string& nombre) {
  std::string lista = nombre;
  lista.push_back('\0');
  lista.push_back('\0');
  return lista;
}

// The recycle bin takes only fully qualified names: a relative one would be deleted for good.
std::string RutaCompleta(const std::string& ruta) {
  char buffer[MAX_PATH + 1] = {};
  DWORD n = GetFullPathNameA(ruta.c_str(), sizeof buffer, buffer, nullptr);
  if (n == 0 || n >= sizeof buffer) return ruta;
  return std::string(buffer, n);
}

[[noreturn]] void LanzarErrorCom(HRESULT hr) {
  auto codigo = static_cast<unsigned long>(hr);
  throw EOSError(codigo, Formatear(kFormatoMensajeOS, EnteroATexto(static_cast<std::int32_t>(hr)),
                                   MensajeSistema(codigo)));
}

// COM on the calling thread for the life of the object; balanced only when it was started.
class TCom {
 public:
  TCom() : hr_(CoInitialize(nullptr)) {}
  ~TCom() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  TCom(const TCom&) = delete;
  TCom& operator=(const TCom&) = delete;

 private:
  HRESULT hr_;
};

// Releases one interface.
template <class I>
class TInterfaz {
 public:
  TInterfaz() = default;
  ~TInterfaz() {
    if (p_) p_->Release();
  }
  TInterfaz(const TInterfaz&) = delete;
  TInterfaz& operator=(const TInterfaz&) = delete;
  I* operator->() const { return p_; }
  void** Ranura() { return reinterpret_cast<void**>(&p_); }

 private:
  I* p_ = nullptr;
};

// The first directory entry a path finds, if any.
bool PrimeraEntrada(const std::string& ruta, WIN32_FIND_DATAA& datos) {
  HANDLE busqueda = FindFirstFileA(ruta.c_str(), &datos);
  if (busqueda == INVALID_HANDLE_VALUE) return false;
  FindClose(busqueda);
  return true;
}

std::string InfoLocale(LCID lcid, LCTYPE tipo) {
  char buffer[128] = {};
  int n = GetLocaleInfoA(lcid, tipo, buffer, sizeof buffer);
  return n > 0 ? std::string(buffer) : std::string();
}

// The date and time patterns, read from the thread's locale when the library loads.
struct PatronesFecha {
  LCID lcid;
  std::string fecha;
  std::string hora;
  PatronesFecha() : lcid(GetThreadLocale()) {
    fecha = InfoLocale(lcid, LOCALE_SSHORTDATE);
    AjustesHora ajustes;
    ajustes.separador = InfoLocale(lcid, LOCALE_STIME);
    ajustes.ceroInicial = InfoLocale(lcid, LOCALE_ITLZERO) == "1";
    ajustes.doceHoras = InfoLocale(lcid, LOCALE_ITIME) == "0";
    ajustes.marcaDelante = InfoLocale(lcid, LOCALE_ITIMEMARKPOSN) == "1";
    hora = PatronHora(ajustes);
  }
};
const PatronesFecha kPatrones;

std::string TextoFecha(const SYSTEMTIME& st) {
  char buffer[256] = {};
  int n = GetDateFormatA(kPatrones.lcid, 0, &st, kPatrones.fecha.empty() ? nullptr : kPatrones.fecha.c_str(),
                         buffer, sizeof buffer);
  std::string texto = n > 0 ? std::string(buffer) : std::string();
  if (st.wHour == 0 && st.wMinute == 0 && st.wSecond == 0) return texto;
  n = GetTimeFormatA(kPatrones.lcid, 0, &st, kPatrones.hora.c_str(), buffer, sizeof buffer);
  if (n > 0) texto += std::string(" ") + buffer;
  return texto;
}

// The plug-in's own module.
HINSTANCE ModuloPropio() {
  HMODULE modulo = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ModuloPropio), &modulo);
  return modulo;
}

// The GDI objects an icon's information hands over.
struct TInfoIcono {
  ICONINFO info{};
  ~TInfoIcono() {
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
  }
};

struct TPantalla {
  HDC dc = GetDC(nullptr);
  ~TPantalla() {
    if (dc) ReleaseDC(nullptr, dc);
  }
};

// The pixels of a bitmap as a bottom-up DIB of the given depth; the colour table too when
// the depth has one.
void LeerPixels(HDC dc, HBITMAP mapa, std::int32_t ancho, std::int32_t alto, std::uint16_t bits,
                std::vector<std::uint8_t>& pixels, std::vector<std::uint8_t>* tabla) {
  std::vector<std::uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
  auto* cabecera = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
  cabecera->biSize = sizeof(BITMAPINFOHEADER);
  cabecera->biWidth = ancho;
  cabecera->biHeight = alto;
  cabecera->biPlanes = 1;
  cabecera->biBitCount = bits;
  cabecera->biCompression = BI_RGB;
  pixels.assign(BytesPorFila(ancho, bits) * static_cast<std::size_t>(alto), 0);
  SetLastError(0);
  if (GetDIBits(dc, mapa, 0, static_cast<UINT>(alto), pixels.data(), reinterpret_cast<BITMAPINFO*>(info.data()),
                DIB_RGB_COLORS) == 0)
    LanzarErrorSistema();
  if (tabla && bits <= 8) {
    const std::uint8_t* colores = info.data() + sizeof(BITMAPINFOHEADER);
    tabla->assign(colores, colores + (std::size_t{1} << bits) * sizeof(RGBQUAD));
  }
}

ImagenIcono ImagenDe(HICON icono) {
  TInfoIcono ii;
  SetLastError(0);
  if (!GetIconInfo(icono, &ii.info)) LanzarErrorSistema();
  TPantalla pantalla;
  ImagenIcono img;
  if (ii.info.hbmColor) {
    BITMAP bm{};
    GetObjectA(ii.info.hbmColor, sizeof bm, &bm);
    img.ancho = bm.bmWidth;
    img.alto = bm.bmHeight;
    img.bitsPorPixel = static_cast<std::uint16_t>(bm.bmPlanes * bm.bmBitsPixel);
    LeerPixels(pantalla.dc, ii.info.hbmColor, img.ancho, img.alto, img.bitsPorPixel, img.pixelsColor,
               &img.tablaColores);
    LeerPixels(pantalla.dc, ii.info.hbmMask, img.ancho, img.alto, 1, img.pixelsMascara, nullptr);
  } else {
    // A monochrome icon: one mask bitmap of twice the height, its lower half (first in a
    // bottom-up DIB) the image and its upper half the mask, just as the file stores them.
    BITMAP bm{};
    GetObjectA(ii.info.hbmMask, sizeof bm, &bm);
    img.ancho = bm.bmWidth;
    img.alto = bm.bmHeight / 2;
    img.bitsPorPixel = 1;
    LeerPixels(pantalla.dc, ii.info.hbmMask, img.ancho, bm.bmHeight, 1, img.pixelsColor, &img.tablaColores);
  }
  return img;
}

void EscribirArchivo(const std::string& nombre, const std::vector<std::uint8_t>& bytes) {
  HANDLE archivo = CreateFileA(nombre.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
  if (archivo == INVALID_HANDLE_VALUE)
    throw EFCreateError(Formatear("Cannot create file \"%s\". %s", nombre, MensajeSistema(GetLastError())));
  DWORD escritos = 0;
  BOOL ok = WriteFile(archivo, bytes.data(), static_cast<DWORD>(bytes.size()), &escritos, nullptr);
  DWORD codigo = GetLastError();
  CloseHandle(archivo);
  if (!ok || escritos != bytes.size()) {
    DeleteFileA(nombre.c_str());
    SetLastError(codigo);
    LanzarErrorSistema();
  }
}

bool EsCarpeta(const std::string& ruta) {
  DWORD atributos = GetFileAttributesA(ruta.c_str());
  return atributos != INVALID_FILE_ATTRIBUTES && (atributos & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

TUtilesArchivos::Resultado TUtilesArchivos::OperacionShell(Operacion operacion, const std::string& origen,
                                                            const std::string& destino, bool papelera,
                                                            bool progreso) {
  const bool borrar = operacion == Operacion::kBorrar;
  // The ANSI shell operation takes names below MAX_PATH characters; longer ones are refused
  // here, with the system's own text for that case (Wine's shell would crash on them).
  if (origen.size() >= MAX_PATH || (!borrar && destino.size() >= MAX_PATH)) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    LanzarErrorSistema();
  }
  std::string desde = ListaDeUno(borrar && papelera ? RutaCompleta(origen) : origen);
  std::string hacia = ListaDeUno(destino);
  SHFILEOPSTRUCTA op{};
  op.hwnd = GetActiveWindow();
  op.wFunc = static_cast<UINT>(operacion);
  op.pFrom = desde.c_str();
  op.pTo = borrar ? nullptr : hacia.c_str();
  op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI;
  if (borrar && papelera) op.fFlags |= FOF_ALLOWUNDO;
  if (!progreso) op.fFlags |= FOF_SILENT;
  SetLastError(0);
  if (SHFileOperationA(&op) != 0) LanzarErrorSistema();
  return op.fAnyOperationsAborted ? Resultado::kCancelado : Resultado::kHecho;
}

bool TUtilesArchivos::CrearAccesoDirecto(const std::string& nombre, const std::string& descripcion,
                                         const std::string& carpeta, const std::string& destino,
                                         const std::string& argumentos) {
  TCom com;
  TInterfaz<IShellLinkA> enlace;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, enlace.Ranura());
  if (FAILED(hr)) LanzarErrorCom(hr);
  TInterfaz<IPersistFile> persistente;
  hr = enlace->QueryInterface(IID_IPersistFile, persistente.Ranura());
  if (FAILED(hr)) LanzarErrorCom(hr);
  enlace->SetShowCmd(SW_SHOWNORMAL);
  enlace->SetPath(destino.c_str());
  enlace->SetArguments(argumentos.c_str());
  enlace->SetDescription(descripcion.c_str());
  enlace->SetWorkingDirectory(CarpetaDeRuta(destino).c_str());
  std::string archivo = NombreAccesoDirecto(carpeta, nombre);
  int n = MultiByteToWideChar(CP_ACP, 0, archivo.c_str(), -1, nullptr, 0);
  std::vector<wchar_t> ancho(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, archivo.c_str(), -1, ancho.data(), n);
  return persistente->Save(ancho.data(), FALSE) == S_OK;
}

std::uint64_t TUtilesArchivos::TamanyoArchivo(const std::string& ruta) {
  WIN32_FIND_DATAA datos;
  if (!PrimeraEntrada(ruta, datos)) return 0;
  return (static_cast<std::uint64_t>(datos.nFileSizeHigh) << 32) | datos.nFileSizeLow;
}

std::string TUtilesArchivos::FechaArchivo(const std::string& ruta, int cual) {
  WIN32_FIND_DATAA datos;
  if (!PrimeraEntrada(ruta, datos)) return std::string();
  const FILETIME& sello = cual == 1 ? datos.ftLastWriteTime : cual == 2 ? datos.ftLastAccessTime : datos.ftCreationTime;
  FILETIME local;
  SYSTEMTIME st;
  if (!FileTimeToLocalFileTime(&sello, &local) || !FileTimeToSystemTime(&local, &st)) return std::string();
  return TextoFecha(st);
}

void* TUtilesArchivos::IconoAsociado(const std::string& archivo) {
  // The system may write the path of the icon's program into the buffer.
  char buffer[MAX_PATH] = {};
  if (archivo.size() >= sizeof buffer) return nullptr;
  archivo.copy(buffer, archivo.size());
  WORD indice = 0;
  return ExtractAssociatedIconA(ModuloPropio(), buffer, &indice);
}

void* TUtilesArchivos::IconoEjecutable(const std::string& archivo, int indice, bool pequenyo) {
  HICON grande = nullptr, chico = nullptr;
  UINT n = ExtractIconExA(archivo.c_str(), indice, &grande, &chico, 1);
  // On failure the system answers UINT_MAX and may leave anything in the handles.
  if (n == 0 || n == UINT_MAX) return nullptr;
  HICON guardado = pequenyo ? chico : grande;
  HICON otro = pequenyo ? grande : chico;
  if (otro) DestroyIcon(otro);
  return guardado;
}

void TUtilesArchivos::GuardarIcono(void* icono, const std::string& archivo) {
  EscribirArchivo(archivo, ArchivoIcono(ImagenDe(static_cast<HICON>(icono))));
}

int TUtilesArchivos::GuardarIconos(const std::string& archivo, const std::string& carpeta, bool pequenyo) {
  UINT cuenta = ExtractIconExA(archivo.c_str(), -1, nullptr, nullptr, 0);
  if (cuenta == UINT_MAX) cuenta = 0;
  if (!Recortar(carpeta).empty() && EsCarpeta(carpeta)) {
    for (UINT i = 0; i < cuenta; ++i) {
      HICON icono = static_cast<HICON>(IconoEjecutable(archivo, static_cast<int>(i), pequenyo));
      if (!icono) continue;
      try {
        GuardarIcono(icono, NombreIcono(carpeta, static_cast<int>(i)));
      } catch (...) {
        DestroyIcon(icono);
        throw;
      }
      DestroyIcon(icono);
    }
  }
  return static_cast<int>(cuenta);
}

}  // namespace pelmaro
