#!/usr/bin/env bash
# Screenshots of the edit dialogs, caption bar included: the base dialog and each frame kind,
# as PNG files (default folder build/capturas-edicion), taken under Xvfb in Wine's virtual
# desktop on the x86_64 build.
#
#   scripts/capturas-edicion.sh [FOLDER]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib/env.sh"
. "$here/lib/wine.sh"
command -v convert >/dev/null || { echo "capturas-edicion: ImageMagick's convert is needed" >&2; exit 2; }

out=${1:-$PELMARO_BUILD/capturas-edicion}
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# name, action, parameters: one dialog per frame kind.
dialogs=(
  "base-texto|101|\"calc.exe\""
  "booleano|106|\"Checked\""
  "lista-booleano|105|\"CSIDL_FONTS\" \"\""
  "archivos|201|\"C:\\datos\\*.txt\" \"C:\\destino\" \"True\""
  "carpeta|203|\"C:\\datos\" \"False\" \"True\""
  "fuente|603|\"Hola\" \"10\" \"10\" \"3000\" \"Tahoma|12|255,0,0|Bold\""
  "subrutina|701|\"C:\\a.bin\" \"Progreso\" \"[p]\" \"[max]\""
)
script="$work/capturas.nbs"
: >"$script"
for d in "${dialogs[@]}"; do
  IFS='|' read -r name id params <<<"$d"
  win=$(pel_winpath "$work/$name.bmp")
  printf 'DialogWait "300"\nDialogCapture "%s"\nDialogCancel\nEditAction %s %s\n' "$win" "$id" "$params" >>"$script"
done

"$here/nbhost" --arch=x86_64 --subs=Progreso,Otra "$script" >"$work/nbhost.log" 2>&1 ||
  { cat "$work/nbhost.log" >&2; exit 1; }
for d in "${dialogs[@]}"; do
  name=${d%%|*}
  convert "$work/$name.bmp" "$out/edicion-$name.png"
  echo "$out/edicion-$name.png"
done
