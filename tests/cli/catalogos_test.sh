#!/usr/bin/env bash
# The catalogue build: every text of the code must have an English and a French translation,
# none fuzzy; the check names the texts that fail, and nothing is installed then.
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
. "$here/scripts/lib/env.sh"

. "$here/tests/cli/comprobar.sh"
build="$here/scripts/catalogos.sh"

out=$("$build" --check 2>&1); rc=$?
[ $rc -eq 0 ] || echo "$out" | sed 's/^/  | /'
check "every text of the code is translated in both languages" test $rc -eq 0

tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
# A scratch tree: the sources and the translations, changed one way per case.
fresh() {
  rm -rf "$tmp/t"; mkdir -p "$tmp/t"
  for d in core actions editing i18n; do [ -d "$here/$d" ] && cp -a "$here/$d" "$tmp/t/"; done
}
run() { out=$("$build" --root="$tmp/t" "$tmp/out" 2>&1); rc=$?; }

fresh
run
check "the scratch tree builds" test $rc -eq 0
check "the French catalogue is compiled" test -s "$tmp/out/locale/fr/LC_MESSAGES/default.mo"
check "it holds the French hint" contains "$(msgunfmt "$tmp/out/locale/fr/LC_MESSAGES/default.mo")" \
  'msgstr "Lit une valeur enregistrée dans un fichier de configuration INI."'
rm -rf "$tmp/out"

fresh
printf '#include "core/textos.h"\nstd::string Nuevo() { return pelmaro::Texto("Un texto sin traducir"); }\n' >"$tmp/t/core/nuevo.cpp"
run
check "a text without translations fails the build" test $rc -ne 0
check "the English failure names the text" contains "$out" $'catalogos: en: no translation of these texts of the code (add them to i18n/po/en/<area>.po):\n  "Un texto sin traducir"'
check "the French failure names the text" contains "$out" $'catalogos: fr: no translation of these texts of the code (add them to i18n/po/fr/<area>.po):\n  "Un texto sin traducir"'
check "nothing is installed after a failure" test ! -e "$tmp/out/locale"

fresh
sed -i '0,/^msgid "Error conocido"/s//#, fuzzy\nmsgid "Error conocido"/' "$tmp/t/i18n/po/fr/core.po"
run
check "a fuzzy translation fails the build" test $rc -ne 0
check "the failure names the fuzzy text" contains "$out" $'catalogos: fr: fuzzy translations (or two areas translating a text differently):\n  "Error conocido"'

fresh
printf 'msgid "Error conocido"\nmsgstr "Erreur déjà connue"\n' >"$tmp/t/i18n/po/fr/otra.po"
run
check "two areas translating a text differently fail the build" test $rc -ne 0
check "the failure names that text" contains "$out" '  "Error conocido"'

fresh
sed -i 's/^msgstr "Il n.existe pas d.algorithme de chiffrement numéro %s"/msgstr "Algorithme de chiffrement inconnu"/' "$tmp/t/i18n/po/fr/hashes.po"
run
check "a translation that drops a %s directive fails msgfmt --check" test $rc -ne 0
check "the failure says so" contains "$out" "catalogos: fr: msgfmt --check failed"

fresh
printf 'msgid "Un texto que ya no existe"\nmsgstr "A text that is gone"\n' >>"$tmp/t/i18n/po/en/core.po"
run
check "a translation of a text the code no longer has is only reported" test $rc -eq 0
check "it is named" contains "$out" $'catalogos: en: translations of texts the code no longer has (left out):\n  "Un texto que ya no existe"'

echo "catalogos: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
