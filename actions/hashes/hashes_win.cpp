#include <windows.h>
#include <wincrypt.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "actions/hashes/ejecucion_hashes.h"
#include "actions/hashes/hashes.h"
#include "core/errores.h"
#include "core/korutiles.h"
#include "core/texto.h"

namespace pelmaro {

TKorHashes* CurrentHashJob = nullptr;

std::string HexadecimalMinusculas(const unsigned char* bytes, std::size_t n) {
  static const char kDigitos[] = "0123456789abcdef";
  std::string texto;
  for (std::size_t i = 0; i < n; ++i) {
    texto += kDigitos[bytes[i] >> 4];
    texto += kDigitos[bytes[i] & 15];
  }
  return texto;
}

namespace {

class FlujoMemoria : public THashes::Flujo {
 public:
  explicit FlujoMemoria(const std::string& datos) : datos_(datos) {}
  std::int64_t Tamanyo() override { return static_cast<std::int64_t>(datos_.size()); }
  std::size_t Leer(void* destino, std::size_t n) override {
    std::size_t k = std::min(n, datos_.size() - pos_);
    std::memcpy(destino, datos_.data() + pos_, k);
    pos_ += k;
    return k;
  }

 private:
  const std::string& datos_;
  std::size_t pos_ = 0;
};

class FlujoArchivo : public THashes::Flujo {
 public:
  explicit FlujoArchivo(const std::string& ruta) : ruta_(ruta) {
    h_ = CreateFileA(ruta.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                     nullptr);
    if (h_ == INVALID_HANDLE_VALUE)
      throw EFOpenError(Formatear("Cannot open file \"%s\". %s", ruta, MensajeSistema(GetLastError())));
  }
  ~FlujoArchivo() override { CloseHandle(h_); }
  std::int64_t Tamanyo() override {
    LARGE_INTEGER t;
    if (!GetFileSizeEx(h_, &t)) LanzarErrorSistema();
    return t.QuadPart;
  }
  std::size_t Leer(void* destino, std::size_t n) override {
    DWORD leidos = 0;
    if (!ReadFile(h_, destino, static_cast<DWORD>(n), &leidos, nullptr))
      throw EReadError(Formatear("Error reading \"%s\". %s", ruta_, MensajeSistema(GetLastError())));
    return leidos;
  }

 private:
  std::string ruta_;
  HANDLE h_;
};

bool ExisteArchivo(const std::string& ruta) {
  DWORD a = GetFileAttributesA(ruta.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// Lets the host serve the messages waiting in this thread's queue.
void ProcesarMensajes() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Writes a host variable the job was given; a job without a name writes nothing.
void EscribirSiHayNombre(const std::string& nombre, const std::string& valor) {
  if (!nombre.empty()) TKorUtiles::EscribirVariable(nombre, valor);
}

}  // namespace

std::string THashes::HashString(const std::string& texto, bool sha1) {
  Aborted = false;
  Busy = true;
  FlujoMemoria flujo(texto);
  return HashStream(flujo, sha1);
}

std::string THashes::HashFile(const std::string& ruta, bool sha1) {
  Aborted = false;
  Busy = true;
  if (!ExisteArchivo(ruta)) return {};
  FlujoArchivo flujo(ruta);
  return HashStream(flujo, sha1);
}

void THashes::Abort() {
  Aborted = true;
  Busy = false;
  if (OnAbort) OnAbort(*this);
}

std::string THashes::HashStream(Flujo& flujo, bool sha1) {
  Aborted = false;
  Busy = true;
  std::string resultado;
  HCRYPTPROV proveedor = 0;
  if (!CryptAcquireContextA(&proveedor, nullptr, nullptr, PROV_RSA_FULL, 0) &&
      !(GetLastError() == static_cast<DWORD>(NTE_BAD_KEYSET) &&
        CryptAcquireContextA(&proveedor, nullptr, nullptr, PROV_RSA_FULL, CRYPT_NEWKEYSET)))
    proveedor = 0;
  HCRYPTHASH hash = 0;
  if (proveedor && !CryptCreateHash(proveedor, sha1 ? CALG_SHA1 : CALG_MD5, 0, 0, &hash)) {
    CryptReleaseContext(proveedor, 0);
    proveedor = 0;
  }
  if (proveedor) {
    struct Liberar {
      HCRYPTPROV p;
      HCRYPTHASH h;
      ~Liberar() {
        CryptDestroyHash(h);
        CryptReleaseContext(p, 0);
      }
    } liberar{proveedor, hash};
    if (OnWorkBegin) OnWorkBegin(*this, flujo.Tamanyo());
    std::vector<unsigned char> buffer(static_cast<std::size_t>(kbBuffer_) * 1024);
    std::int64_t total = 0;
    while (!Aborted) {
      std::size_t leidos = buffer.empty() ? 0 : flujo.Leer(buffer.data(), buffer.size());
      total += static_cast<std::int64_t>(leidos);
      if (leidos == 0) {
        unsigned char resumen[20];
        DWORD longitud = sha1 ? 20 : 16;
        if (CryptGetHashParam(hash, HP_HASHVAL, resumen, &longitud, 0)) resultado = HexadecimalMinusculas(resumen, longitud);
        break;
      }
      if (!CryptHashData(hash, buffer.data(), static_cast<DWORD>(leidos), 0)) break;
      if (OnWork) OnWork(*this, total);
    }
  }
  Busy = false;
  if (!Aborted && OnWorkEnd) OnWorkEnd(*this);
  return resultado;
}

TKorHashes::TKorHashes() {
  Hasher.OnWorkBegin = [this](THashes&, std::int64_t maximo) { EscribirSiHayNombre(MaxProgressVariable, EnteroATexto(maximo)); };
  Hasher.OnWork = [this](THashes&, std::int64_t progreso) {
    ProcesarMensajes();
    EscribirSiHayNombre(ProgressVariable, EnteroATexto(progreso));
    if (TKorUtiles::ExisteSubrutina(SubroutineName)) TKorUtiles::LlamarSubrutina(SubroutineName);
  };
  Hasher.OnAbort = [this](THashes&) {
    Cancelled = true;
    EscribirSiHayNombre(ProgressVariable, "0");
  };
}

TKorHashes::~TKorHashes() {
  if (Hasher.Busy) {
    try {
      Hasher.Abort();
    } catch (...) {
    }
  }
}

// ---- Handlers ----------------------------------------------------------------------------

namespace {

constexpr const char* kOcupado = "Ocupado";
constexpr const char* kCancelado = "Cancelado";

// The job of one action: registered while the action runs, freed on every path.
class TrabajoActual {
 public:
  TrabajoActual() { CurrentHashJob = &trabajo_; }
  ~TrabajoActual() {
    CurrentHashJob = nullptr;  // cleared first: the abort below may reach the host
  }
  TKorHashes& operator*() { return trabajo_; }
  TKorHashes* operator->() { return &trabajo_; }

 private:
  TKorHashes trabajo_;
};

// Runs a digest as the one job of the process: "Ocupado" while another runs; otherwise the
// job is prepared, computes, and is freed on every path.
template <class Calcular>
std::uint8_t ComoTrabajo(Calcular calcular) {
  if (CurrentHashJob) {
    resultado::Valor(kOcupado);
    return 1;
  }
  return ConTrampa([&] {
    TrabajoActual trabajo;
    calcular(*trabajo);
  });
}

std::uint8_t ResumenCadena(const Parametros& p, bool sha1) {
  return ComoTrabajo([&](TKorHashes& t) { resultado::Valor(t.Hasher.HashString(p[0], sha1)); });
}

std::uint8_t ResumenArchivo(const Parametros& p, bool sha1) {
  return ComoTrabajo([&](TKorHashes& t) {
    t.SubroutineName = p[1];
    t.ProgressVariable = p[2];
    t.MaxProgressVariable = p[3];
    resultado::Valor(t.Hasher.HashFile(p[0], sha1));
    if (t.Cancelled) resultado::Valor(kCancelado);
  });
}

}  // namespace

TablaManejadores TEjecucionAccHashes::Tabla() {
  static const EntradaManejador kFilas[] = {
      {700, MD5Cadena},       {701, MD5Archivo},   {702, SHA1Cadena},    {703, SHA1Archivo},
      {704, CancelarHashing}, {705, CifrarCadena}, {706, CifrarArchivo},
  };
  return pelmaro::Tabla(kFilas);
}

std::uint8_t TEjecucionAccHashes::MD5Cadena(const Parametros& p) { return ResumenCadena(p, false); }
std::uint8_t TEjecucionAccHashes::SHA1Cadena(const Parametros& p) { return ResumenCadena(p, true); }
std::uint8_t TEjecucionAccHashes::MD5Archivo(const Parametros& p) { return ResumenArchivo(p, false); }
std::uint8_t TEjecucionAccHashes::SHA1Archivo(const Parametros& p) { return ResumenArchivo(p, true); }

std::uint8_t TEjecucionAccHashes::CancelarHashing(const Parametros&) {
  if (CurrentHashJob) {
    resultado::Verdadero();
    CurrentHashJob->Hasher.Abort();
  } else {
    resultado::Valor(kFalso);
  }
  return 1;
}

}  // namespace pelmaro
