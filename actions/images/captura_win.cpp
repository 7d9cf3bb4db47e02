// The capture of a window as a BMP file, with GDI: the window's device context, its outer
// rectangle, a bitmap compatible with the display.
#include <windows.h>

#include "actions/images/formatos.h"
#include "actions/images/utiles_imagenes.h"
#include "core/ejecucion.h"
#include "core/errores.h"
#include "core/texto.h"
#include "core/textos.h"

namespace pelmaro {
namespace {

constexpr const char* kNoEsVentana = N_("No se pudo capturar la ventana %s: no existe");
constexpr const char* kSinContexto = N_("No se pudo capturar la ventana %s: no se obtuvo su contexto de dispositivo");

// Every GDI object of the capture, released on every path.
struct ContextoVentana {
  HWND ventana;
  HDC dc;
  explicit ContextoVentana(HWND v) : ventana(v), dc(GetWindowDC(v)) {}
  ~ContextoVentana() { if (dc) ReleaseDC(ventana, dc); }
};
struct ContextoMemoria {
  HDC dc;
  explicit ContextoMemoria(HDC compatible) : dc(CreateCompatibleDC(compatible)) {}
  ~ContextoMemoria() { if (dc) DeleteDC(dc); }
};
struct Mapa {
  HBITMAP bm;
  explicit Mapa(HBITMAP b) : bm(b) {}
  ~Mapa() { if (bm) DeleteObject(bm); }
};
struct Seleccion {
  HDC dc;
  HGDIOBJ anterior;
  Seleccion(HDC d, HGDIOBJ o) : dc(d), anterior(SelectObject(d, o)) {}
  ~Seleccion() { if (anterior && anterior != HGDI_ERROR) SelectObject(dc, anterior); }
};

void ComprobarGdi(bool ok) {
  if (!ok) LanzarErrorSistema();
}

// The bitmap as a BMP file at its own depth (colour table for 8 bits and less).
imagenes::Bytes ArchivoBmp(HDC dc, HBITMAP bm, int ancho, int alto, int bits) {
  struct {
    BITMAPINFOHEADER h;
    RGBQUAD colores[256];
  } info = {};
  info.h.biSize = sizeof(BITMAPINFOHEADER);
  info.h.biWidth = ancho;
  info.h.biHeight = alto;
  info.h.biPlanes = 1;
  info.h.biBitCount = static_cast<WORD>(bits);
  info.h.biCompression = BI_RGB;
  const std::size_t bytesFila = ((static_cast<std::size_t>(ancho) * bits + 31) / 32) * 4;
  std::vector<std::uint8_t> pixeles(bytesFila * alto);
  ComprobarGdi(GetDIBits(dc, bm, 0, alto, pixeles.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) != 0);
  const std::uint32_t colores = bits <= 8 ? (1u << bits) : 0;
  const std::uint32_t inicio = 14 + sizeof(BITMAPINFOHEADER) + colores * sizeof(RGBQUAD);
  imagenes::Bytes out;
  out.reserve(inicio + pixeles.size());
  out.push_back('B');
  out.push_back('M');
  imagenes::PonerU32LE(out, static_cast<std::uint32_t>(inicio + pixeles.size()));
  imagenes::PonerU32LE(out, 0);
  imagenes::PonerU32LE(out, inicio);
  info.h.biSizeImage = static_cast<DWORD>(pixeles.size());
  info.h.biClrUsed = colores;
  const auto* h = reinterpret_cast<const std::uint8_t*>(&info);
  out.insert(out.end(), h, h + sizeof(BITMAPINFOHEADER) + colores * sizeof(RGBQUAD));
  out.insert(out.end(), pixeles.begin(), pixeles.end());
  return out;
}

}  // namespace

void TUtilesImagenes::CapturarVentana(std::uintptr_t manejador, const std::string& archivo) {
  HWND ventana = reinterpret_cast<HWND>(manejador);
  const std::string numero = EnteroATexto(static_cast<std::int32_t>(manejador));
  if (!IsWindow(ventana)) throw Excepcion(Formatear(Texto(kNoEsVentana), numero));
  ContextoVentana origen(ventana);
  if (!origen.dc) throw Excepcion(Formatear(Texto(kSinContexto), numero));
  RECT r;
  ComprobarGdi(GetWindowRect(ventana, &r));
  const int ancho = r.right - r.left, alto = r.bottom - r.top;
  imagenes::ComprobarDimensiones(ancho, alto, 4);
  const int bits = GetDeviceCaps(origen.dc, BITSPIXEL) * GetDeviceCaps(origen.dc, PLANES);
  Mapa mapa(CreateCompatibleBitmap(origen.dc, ancho, alto));
  ComprobarGdi(mapa.bm != nullptr);
  ContextoMemoria memoria(origen.dc);
  ComprobarGdi(memoria.dc != nullptr);
  {
    Seleccion s(memoria.dc, mapa.bm);
    ComprobarGdi(BitBlt(memoria.dc, 0, 0, ancho, alto, origen.dc, 0, 0, SRCCOPY));
  }
  GuardarArchivoImagen(archivo, ArchivoBmp(memoria.dc, mapa.bm, ancho, alto, bits == 15 ? 16 : bits));
}

}  // namespace pelmaro
