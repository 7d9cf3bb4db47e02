#include "actions/images/formatos.h"

#include "actions/images/codecs.h"
#include "core/texto.h"

namespace pelmaro::imagenes {

const std::vector<Formato>& Formatos() {
  // Rows without a codec are known by name and extension (so their files pass the name
  // checks) until their codec is added.
  static const std::vector<Formato> kFormatos = {
      {"Windows Bitmap Image", "BMP,dib", true, &kCodecBmp},
      {"Joint Photographic Experts Group Image", "JPG,jpeg,jfif,jpe,jif", true, &kCodecJpeg},
      {"Portable Network Graphics", "PNG", true, &kCodecPng},
      {"Multiple Network Graphics", "MNG", true, nullptr},
      {"JPEG Network Graphics", "JNG", true, nullptr},
      {"Graphics Interchange Format", "GIF", true, &kCodecGif},
      {"DirectDraw Surface", "DDS", true, nullptr},
      {"Truevision Targa Image", "TGA", true, &kCodecTga},
      {"Portable Bit Map", "PBM", false, &kCodecPbm},
      {"Portable Gray Map", "PGM", true, &kCodecPgm},
      {"Portable Pixel Map", "PPM", true, &kCodecPpm},
      {"Portable Arbitrary Map", "PAM", true, &kCodecPam},
      {"Portable Float Map", "PFM", true, &kCodecPfm},
      {"JPEG 2000 Image", "JP2,j2k,j2c,jpx,jpc", true, &kCodecJp2},
      {"Photoshop Image", "PSD,pdd", true, nullptr},
      {"ZSoft Paintbrush Image", "PCX", false, nullptr},
      {"X Window Pixmap", "XPM", false, nullptr},
      {"Bethesda Image", "BSI", false, nullptr},
      {"Daggerfall MultiImage", "CIF,rci", true, nullptr},
      {"Daggerfall Image", "IMG", true, nullptr},
      {"Daggerfall Texture", "DAGTEXTURE", false, nullptr},
  };
  return kFormatos;
}

namespace {

bool IgualSinMayusculas(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::string Formato::Clave() const {
  std::string_view e(extensiones);
  return std::string(e.substr(0, e.find(',')));
}

bool Formato::TieneExtension(std::string_view extension) const {
  for (const std::string& e : DividirCadena(",", extensiones))
    if (IgualSinMayusculas(e, extension)) return true;
  return false;
}

std::string ExtensionDe(std::string_view nombre) {
  std::size_t punto = nombre.rfind('.');
  if (punto == std::string_view::npos) return {};
  // A dot inside a folder name is no extension.
  std::size_t barra = nombre.find_last_of("\\/");
  if (barra != std::string_view::npos && barra > punto) return {};
  return std::string(nombre.substr(punto + 1));
}

const Formato* FormatoPorClave(std::string_view extension, bool paraGuardar) {
  if (extension.empty()) return nullptr;
  for (const Formato& f : Formatos())
    if (IgualSinMayusculas(f.Clave(), extension) && (!paraGuardar || f.puedeGuardar)) return &f;
  return nullptr;
}

bool LeerImagen(const std::uint8_t* datos, std::size_t tamanyo, std::string_view nombreArchivo, Imagen& imagen) {
  const std::string extension = ExtensionDe(nombreArchivo);
  std::vector<const Formato*> orden;
  for (const Formato& f : Formatos())
    if (f.codec && !extension.empty() && f.TieneExtension(extension)) orden.push_back(&f);
  for (const Formato& f : Formatos())
    if (f.codec && !(!extension.empty() && f.TieneExtension(extension))) orden.push_back(&f);
  for (const Formato* f : orden)
    if (f->codec->reconocer(datos, tamanyo)) {
      imagen = f->codec->leer(datos, tamanyo);
      return true;
    }
  return false;
}

Bytes EscribirImagen(const Imagen& imagen, std::string_view claveFormato) {
  const Formato* f = FormatoPorClave(claveFormato, true);
  if (!f || !f->codec || !f->codec->escribir)
    ErrorCodec("No writer for the format " + std::string(claveFormato));
  return f->codec->escribir(imagen);
}

void Lector::Truncado() const { Error("unexpected end of data"); }

void Lector::Error(const std::string& mensaje) const { ErrorCodec(std::string(formato_) + ": " + mensaje); }

}  // namespace pelmaro::imagenes
