// Owners of Windows handles: each is closed or released when its owner goes.
#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

namespace pelmaro {

struct CerrarManija {
  void operator()(HANDLE h) const {
    if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};
// A kernel handle (process, snapshot, token); INVALID_HANDLE_VALUE counts as none.
class Manija {
 public:
  explicit Manija(HANDLE h = nullptr) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  HANDLE get() const { return h_.get(); }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  std::unique_ptr<std::remove_pointer_t<HANDLE>, CerrarManija> h_;
};

struct LiberarBiblioteca {
  void operator()(HMODULE m) const { FreeLibrary(m); }
};
// A library loaded at run time.
using Biblioteca = std::unique_ptr<std::remove_pointer_t<HMODULE>, LiberarBiblioteca>;

// Asks a function without arguments of a library loaded for the call: its answer (of type
// R: BOOL or BOOLEAN), or false when the library or the function is missing. The library is
// released afterwards.
template <class R>
bool PreguntarFuncion(const char* dll, const char* funcion) {
  Biblioteca b(LoadLibraryA(dll));
  if (!b) return false;
  using Pregunta = R(WINAPI*)();
  auto f = reinterpret_cast<Pregunta>(reinterpret_cast<void*>(GetProcAddress(b.get(), funcion)));
  return f && f() != 0;
}

}  // namespace pelmaro
