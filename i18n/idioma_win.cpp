#include "i18n/idioma.h"

#include <windows.h>

namespace pelmaro {
namespace {

std::string& Actual() {
  static std::string codigo;
  return codigo;
}

// The system's UI language as a two-letter code ("es", "en"...).
std::string IdiomaDelSistema() {
  char b[16] = {};
  if (GetLocaleInfoA(MAKELCID(GetUserDefaultUILanguage(), SORT_DEFAULT), LOCALE_SISO639LANGNAME, b, sizeof b) > 0)
    return b;
  return "es";
}

}  // namespace

void UseLanguage(const std::string& codigo) { Actual() = codigo.empty() ? IdiomaDelSistema() : codigo; }

std::string GetCurrentLanguage() {
  if (Actual().empty()) Actual() = IdiomaDelSistema();
  return Actual();
}

}  // namespace pelmaro
