// MD5 and SHA-1 digests of texts and files with progress events, on the Windows CryptoAPI.
// The computation runs on the caller's thread; after every block the work event lets the
// host serve its messages, which is how a digest can be cancelled while it runs.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace pelmaro {

class THashes {
 public:
  // Sizes and counts are 64-bit: files of 2 GiB and more report their true byte counts.
  using TOnWork = std::function<void(THashes& sender, std::int64_t progreso)>;
  using TOnWorkBegin = std::function<void(THashes& sender, std::int64_t maximo)>;
  using TEvento = std::function<void(THashes& sender)>;

  bool Aborted = false;
  TOnWork OnWork;
  bool Busy = false;
  TEvento OnAbort;
  TEvento OnWorkEnd;
  TOnWorkBegin OnWorkBegin;

  std::int32_t KBBuffer() const { return kbBuffer_; }
  void SetKBBuffer(std::int32_t kb) { kbBuffer_ = kb < 0 ? 1024 : kb; }

  std::string HashString(const std::string& texto, bool sha1);
  // The empty text, with Busy left set, when the file does not exist.
  std::string HashFile(const std::string& ruta, bool sha1);
  void Abort();

  // What a digest reads: up to n bytes into the buffer, the count read (0 at the end).
  struct Flujo {
    virtual ~Flujo() = default;
    virtual std::int64_t Tamanyo() = 0;
    virtual std::size_t Leer(void* destino, std::size_t n) = 0;
  };
  std::string HashStream(Flujo& flujo, bool sha1);

 private:
  std::int32_t kbBuffer_ = 1024;
};

// The one digest job that runs at a time: connects the hasher's events to host variables and
// to a publication subroutine.
class TKorHashes {
 public:
  TKorHashes();
  ~TKorHashes();
  TKorHashes(const TKorHashes&) = delete;
  TKorHashes& operator=(const TKorHashes&) = delete;

  THashes Hasher;
  bool Cancelled = false;
  std::string SubroutineName;
  std::string ProgressVariable;
  std::string MaxProgressVariable;
};

// The running job, or null.
extern TKorHashes* CurrentHashJob;

// Lower-case hexadecimal, two digits a byte.
std::string HexadecimalMinusculas(const unsigned char* bytes, std::size_t n);

}  // namespace pelmaro
