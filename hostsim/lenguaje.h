// --language=CODE: the language stored in the plug-in's settings key before the plug-in
// loads (as its About dialog stores it), and which catalogue beside the plug-in that code
// selects.
#pragma once
#include <string>

namespace nbhost {

// The settings key of the plug-in "Pelmaro" below HKEY_CURRENT_USER.
inline constexpr const char* kClaveAjustes = "Software\\Brelmont\\Korvane\\Pelmaro";

// Stores `codigo` as the string value "Lenguaje" (creating the key) and returns the report
// line, for example
//   language: fr, catalogue C:\...\locale\fr\LC_MESSAGES\default.mo
//   language: en, no catalogue (Spanish texts)
// Throws std::runtime_error when the value cannot be stored.
std::string FijarLenguaje(const std::string& plugin, const std::string& codigo);

}  // namespace nbhost
