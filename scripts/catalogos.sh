#!/usr/bin/env bash
# Builds the message catalogues from the code and the translations:
#   1. extracts every text the code fetches (the keywords Texto, Traducir and N_) into a
#      template, default.pot;
#   2. for each language folder i18n/po/<code>/ joins its files (one per area, entries only),
#      merges them with the template and checks that every text has a translation and none is
#      fuzzy, naming the texts that fail;
#   3. compiles each with msgfmt --check into OUTDIR/locale/<code>/LC_MESSAGES/default.mo.
#
#   scripts/catalogos.sh [--check] [--root=DIR] [OUTDIR]
#
# --check stops after step 2; --root reads another tree (the tests use a scratch copy).
# Exits non-zero when any language fails; translations of texts no longer in the code are
# reported and left out.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
check=0 out=""
for a in "$@"; do
  case $a in
    --check) check=1 ;;
    --root=*) root=$(cd "${a#--root=}" && pwd) ;;
    -*) echo "catalogos: unknown option $a" >&2; exit 2 ;;
    *) out=$a ;;
  esac
done
[ $check = 1 ] || [ -n "$out" ] || { echo "usage: $0 [--check] [--root=DIR] [OUTDIR]" >&2; exit 2; }

work=$(mktemp -d "${TMPDIR:-/tmp}/pelmaro-catalogos.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Plural rules of the languages the plug-in has catalogues for.
plural_forms() {
  case $1 in
    en) echo 'nplurals=2; plural=(n != 1);' ;;
    fr) echo 'nplurals=2; plural=(n > 1);' ;;
    *) return 1 ;;
  esac
}

# The msgid lines of a PO file's entries, header left out.
textos() { grep -E '^msgid ' "$1" | grep -vxF 'msgid ""' | sed 's/^msgid /  /' || true; }

cd "$root"
dirs=()
for d in core actions editing i18n; do [ -d "$d" ] && dirs+=("$d"); done
mapfile -t sources < <(find "${dirs[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) | LC_ALL=C sort)
xgettext --from-code=UTF-8 --language=C++ --keyword --keyword=Texto --keyword=Traducir --keyword=N_ \
  --no-wrap --sort-output --package-name=Pelmaro -o "$work/default.pot" "${sources[@]}"

status=0 built=()
for dir in i18n/po/*/; do
  code=$(basename "$dir")
  plural=$(plural_forms "$code") || { echo "catalogos: $code: no plural rule known for this language" >&2; status=1; continue; }
  mapfile -t areas < <(find "$dir" -maxdepth 1 -name '*.po' | LC_ALL=C sort)
  {
    printf 'msgid ""\nmsgstr ""\n'
    printf '"%s\\n"\n' "Project-Id-Version: Pelmaro" "PO-Revision-Date: 2026-01-01 00:00+0000" \
      "Last-Translator: Pelmaro <i18n/po/$code>" "Language-Team: Pelmaro <i18n/po/$code>" "Language: $code" \
      "MIME-Version: 1.0" "Content-Type: text/plain; charset=UTF-8" "Content-Transfer-Encoding: 8bit" \
      "Plural-Forms: $plural"
  } >"$work/$code-header.po"
  # Each area gets the header (for its charset); a text translated differently in two areas
  # comes out fuzzy, with both translations.
  parts=()
  for f in "${areas[@]}"; do
    parts+=("$work/$code-$(basename "$f")")
    cat "$work/$code-header.po" - <"$f" >"${parts[-1]}"
  done
  msgcat --force-po --no-wrap -o "$work/$code-all.po" "$work/$code-header.po" "${parts[@]}"
  msgmerge --force-po --quiet --no-fuzzy-matching --no-wrap -o "$work/$code.po" "$work/$code-all.po" "$work/default.pot"
  msgattrib --force-po --untranslated --no-obsolete --no-wrap -o "$work/$code-missing.po" "$work/$code.po"
  msgattrib --force-po --only-fuzzy --no-obsolete --no-wrap -o "$work/$code-fuzzy.po" "$work/$code.po"
  msgattrib --force-po --only-obsolete --no-wrap --clear-obsolete -o "$work/$code-stale.po" "$work/$code.po"
  missing=$(textos "$work/$code-missing.po") fuzzy=$(textos "$work/$code-fuzzy.po") stale=$(textos "$work/$code-stale.po")
  if [ -n "$missing" ]; then
    echo "catalogos: $code: no translation of these texts of the code (add them to i18n/po/$code/<area>.po):" >&2
    echo "$missing" >&2
    status=1
  fi
  if [ -n "$fuzzy" ]; then
    echo "catalogos: $code: fuzzy translations (or two areas translating a text differently):" >&2
    echo "$fuzzy" >&2
    status=1
  fi
  [ -z "$stale" ] || { echo "catalogos: $code: translations of texts the code no longer has (left out):" >&2; echo "$stale" >&2; }
  msgfmt --check -o "$work/$code.mo" "$work/$code.po" || { echo "catalogos: $code: msgfmt --check failed" >&2; status=1; continue; }
  built+=("$code")
done
# The catalogues are installed only when every language passed.
if [ $check = 0 ] && [ $status = 0 ]; then
  for code in "${built[@]}"; do
    mkdir -p "$out/locale/$code/LC_MESSAGES"
    mv "$work/$code.mo" "$out/locale/$code/LC_MESSAGES/default.mo"
  done
fi
exit $status
