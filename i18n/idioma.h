// The catalogue layer: which language the plug-in's texts are fetched in. Texts themselves
// are fetched with Traducir/Texto (core/textos.h), which pass through the current catalogue.
#pragma once
#include <string>

namespace pelmaro {

// Makes `codigo` ("es", "en", "fr", "es_ES"...) current for every later fetch; an empty code
// selects the system's language.
void UseLanguage(const std::string& codigo);
// Exactly the code last given to UseLanguage, or, when that was empty, the system's language
// code chosen then.
std::string GetCurrentLanguage();

}  // namespace pelmaro
