#include "actions/publication/vista_previa.h"

#include <windows.h>

#include <ole2.h>
#include <olectl.h>

#include "core/textos.h"

namespace pelmaro {
namespace {

struct Formato {
  const char* nombre;
  const char* extensiones;
};

// What OleLoadPicture decodes.
const Formato kFormatos[] = {
    {"Windows Bitmap Image", "*.bmp;*.dib"},
    {"Joint Photographic Experts Group Image", "*.jpg;*.jpeg;*.jpe;*.jfif"},
    {"Portable Network Graphics", "*.png"},
    {"Graphics Interchange Format", "*.gif"},
    {"Icon", "*.ico"},
    {"Enhanced Metafile", "*.emf"},
    {"Metafile", "*.wmf"},
};

HBITMAP NuevaDib(int ancho, int alto, HDC& dc) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = ancho;
  bi.bmiHeader.biHeight = -alto;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  dc = CreateCompatibleDC(nullptr);
  return CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
}

}  // namespace

ImagenVistaPrevia CargarVistaPrevia(const std::string& ruta) {
  ImagenVistaPrevia imagen;
  HANDLE h = CreateFileA(ruta.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return imagen;
  DWORD tamanyo = GetFileSize(h, nullptr);
  HGLOBAL bloque = (tamanyo && tamanyo != INVALID_FILE_SIZE) ? GlobalAlloc(GMEM_MOVEABLE, tamanyo) : nullptr;
  DWORD leidos = 0;
  bool leido = false;
  if (bloque) {
    void* datos = GlobalLock(bloque);
    leido = ReadFile(h, datos, tamanyo, &leidos, nullptr) && leidos == tamanyo;
    GlobalUnlock(bloque);
  }
  CloseHandle(h);
  IStream* flujo = nullptr;
  if (!leido || FAILED(CreateStreamOnHGlobal(bloque, TRUE, &flujo))) {
    if (bloque) GlobalFree(bloque);
    return imagen;
  }
  HRESULT com = CoInitialize(nullptr);
  IPicture* foto = nullptr;
  if (SUCCEEDED(OleLoadPicture(flujo, static_cast<LONG>(tamanyo), FALSE, IID_IPicture, reinterpret_cast<void**>(&foto))) &&
      foto) {
    OLE_XSIZE_HIMETRIC hmAncho = 0;
    OLE_YSIZE_HIMETRIC hmAlto = 0;
    foto->get_Width(&hmAncho);
    foto->get_Height(&hmAlto);
    SHORT tipo = PICTYPE_NONE;
    foto->get_Type(&tipo);
    OLE_HANDLE mango = 0;
    BITMAP bm{};
    if (tipo == PICTYPE_BITMAP && SUCCEEDED(foto->get_Handle(&mango)) &&
        GetObjectA(reinterpret_cast<HGDIOBJ>(static_cast<UINT_PTR>(mango)), sizeof bm, &bm)) {
      imagen.ancho = bm.bmWidth;
      imagen.alto = bm.bmHeight;
    } else {
      HDC pantalla = GetDC(nullptr);
      imagen.ancho = MulDiv(hmAncho, GetDeviceCaps(pantalla, LOGPIXELSX), 2540);
      imagen.alto = MulDiv(hmAlto, GetDeviceCaps(pantalla, LOGPIXELSY), 2540);
      ReleaseDC(nullptr, pantalla);
    }
    if (imagen.ancho > 0 && imagen.alto > 0) {
      HDC dc = nullptr;
      HBITMAP mapa = NuevaDib(imagen.ancho, imagen.alto, dc);
      if (mapa) {
        HGDIOBJ antes = SelectObject(dc, mapa);
        RECT r{0, 0, imagen.ancho, imagen.alto};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        foto->Render(dc, 0, 0, imagen.ancho, imagen.alto, 0, hmAlto, hmAncho, -hmAlto, nullptr);
        SelectObject(dc, antes);
        imagen.mapa = mapa;
      }
      if (dc) DeleteDC(dc);
    }
    if (!imagen.mapa) imagen.ancho = imagen.alto = 0;
    foto->Release();
  }
  flujo->Release();
  if (SUCCEEDED(com)) CoUninitialize();
  return imagen;
}

void LiberarVistaPrevia(ImagenVistaPrevia& imagen) {
  if (imagen.mapa) DeleteObject(static_cast<HBITMAP>(imagen.mapa));
  imagen = ImagenVistaPrevia{};
}

std::string FiltroImagenes() {
  std::string todas;
  for (const Formato& f : kFormatos) todas += (todas.empty() ? "" : ";") + std::string(f.extensiones);
  std::string filtro = Texto(N_("Todas las imágenes")) + " (" + todas + ")|" + todas;
  for (const Formato& f : kFormatos) filtro += std::string("|") + f.nombre + " (" + f.extensiones + ")|" + f.extensiones;
  return filtro;
}

}  // namespace pelmaro
