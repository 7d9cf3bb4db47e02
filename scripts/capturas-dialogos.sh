#!/usr/bin/env bash
# Screenshots of the four standard dialogs of the plug-in (colour, font, open picture, save
# picture) as they appear in the Wine session's virtual desktop, for a person to look at:
#   scripts/capturas-dialogos.sh [OUTDIR]   (default build/capturas-dialogos)
# Each dialog is kept open a few seconds (DialogAnswer "Delay") while the screen is captured,
# then cancelled.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib/env.sh"
. "$here/lib/wine.sh"

out=${1:-$PELMARO_BUILD/capturas-dialogos}
mkdir -p "$out"
"$here/build.sh" x86_64 >/dev/null
session=$(mktemp -d "${TMPDIR:-/tmp}/pelmaro-capturas.XXXXXX")
trap 'pel_wine_end; rm -rf "$session"' EXIT
pel_wine_session "$session"
# A picture for the preview pane.
convert -size 160x120 gradient:yellow-blue BMP3:"$session/muestra.bmp"
muestra=$(pel_winpath "$session/muestra.bmp")

paso=6  # seconds each dialog stays open
guion=$session/dialogos.nbs
cat >"$guion" <<NBS
SetVar "[Col0]" "0000FF"
SetVar "[Col1]" "00FF00"
DialogAnswer "Delay" "$((paso * 1000))"
DialogAnswer "Cancel"
krDialogoColor "Col" "True" "True"
DialogAnswer "Delay" "$((paso * 1000))"
DialogAnswer "Cancel"
krDialogoFuente "DejaVu Sans" "12" "0,0,255" "Bold+Underline" "ANSI_CHARSET"
DialogAnswer "Delay" "$((paso * 1000))"
DialogAnswer "Cancel"
krDialogoAbrirImagen "Abrir imagen" "$muestra" "" "" "[SoloLectura]"
DialogAnswer "Delay" "$((paso * 1000))"
DialogAnswer "Cancel"
krDialogoGuardarImagen "Guardar imagen" "$muestra" "" "bmp"
NBS

pel_wine_run x86_64 "$PELMARO_BUILD/x86_64/bin/nbhost.exe" --plugin="$(pel_winpath "$PELMARO_BUILD/x86_64/bin/PelmaroD.nbp")" \
  "$(pel_winpath "$guion")" >"$session/nbhost.log" 2>&1 &
nbhost=$!
# The first dialog opens once nbhost has started; each one then stays open $paso seconds.
sleep 4
for nombre in color fuente abrir guardar; do
  xwd -root -display "$DISPLAY" | convert xwd:- "$out/$nombre.png"
  echo "capturas: $out/$nombre.png"
  sleep "$paso"
done
wait "$nbhost" || true
cat "$session/nbhost.log"
