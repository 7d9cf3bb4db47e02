#!/usr/bin/env bash
# Screenshots of what the plug-in shows, as PNG files for a person to look at:
#
#   scripts/capturas.sh MODE DIR
#
# Modes:
#   osd   on-screen messages over a window (colours, black text, "&", a wrapped text), then
#         the same screen after krOcultarMensajesOSD
#
# Everything runs on the x86_64 build (built first) in a Wine session of its own, inside its
# virtual desktop. Adding a mode: write a function capturas_MODE that plays a script with
# `reproducir SCRIPT` and, at each "Echo "capture:NAME"" line of that script, takes the
# picture with `esperar_captura NAME` (the script should Wait a moment after each such line).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib/env.sh"

uso() { sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
[ $# -eq 2 ] || uso
modo=$1
salida=$(mkdir -p -- "$2" && cd -- "$2" && pwd)

"$here/build.sh" x86_64
. "$here/lib/wine.sh"
sesion=$(mktemp -d "${TMPDIR:-/tmp}/pelmaro-capturas.XXXXXX")
pid_guion=
terminar() {
  [ -z "$pid_guion" ] || kill "$pid_guion" 2>/dev/null || true
  pel_wine_end
  rm -rf -- "$sesion"
}
trap terminar EXIT
pel_wine_session "$sesion"

# Plays a script (a file) with nbhost in the background; its output goes to $sesion/guion.log.
reproducir() {
  : >"$sesion/guion.log"
  pel_wine_run x86_64 "$PELMARO_BUILD/x86_64/bin/nbhost.exe" --plugin="$(pel_winpath "$PELMARO_BUILD/x86_64/bin/PelmaroD.nbp")" \
    "$(pel_winpath "$1")" >"$sesion/guion.log" 2>&1 &
  pid_guion=$!
}

# Waits until the script has printed "capture:NAME", then saves the screen as DIR/NAME.png.
esperar_captura() {
  local nombre=$1 i
  for ((i = 0; i < 600; i++)); do
    grep -q "^capture:$nombre" "$sesion/guion.log" && break
    kill -0 "$pid_guion" 2>/dev/null || { cat "$sesion/guion.log" >&2; echo "capturas: the script ended before $nombre" >&2; exit 1; }
    sleep 0.1
  done
  sleep 1  # the windows are painted
  xwd -root -silent -display "$DISPLAY" | convert xwd:- "$salida/$nombre.png"
  echo "$salida/$nombre.png"
}

# Waits for the script to end; its output is kept beside the pictures.
fin_guion() {
  wait "$pid_guion" || { cat "$sesion/guion.log" >&2; echo "capturas: nbhost failed" >&2; exit 1; }
  pid_guion=
  cp "$sesion/guion.log" "$salida/$modo.log"
}

capturas_osd() {
  # A window below the messages shows that only their text covers it.
  pel_wine_run x86_64 notepad.exe >/dev/null 2>&1 &
  sleep 3
  cat >"$sesion/osd.nbs" <<'EOF'
krMostrarMensajeOSD "Mensaje en verde por defecto" "40" "60" "20000" "Verdana|18|0,255,0|Bold"
krMostrarMensajeOSD "Texto negro, visible" "40" "120" "20000" "Arial|24|0,0,0|Bold"
krMostrarMensajeOSD "Tom & Jerry && compañía" "40" "180" "20000" "Arial|22|255,255,0"
krMostrarMensajeOSD "Rojo, cursiva y subrayado" "40" "240" "20000" "Times New Roman|26|255,0,0|Italic+Underline"
krMostrarMensajeOSD "Un texto largo que se parte en varias líneas antes de llegar al borde derecho del escritorio" "620" "320" "20000" "Verdana|16|0,128,255|Bold"
krMostrarMensajeOSD "Números malos: posición 10,10" "x" "" "20000" "Arial|14|255,255,255"
Echo "capture:osd-mensajes"
Wait "4000"
krOcultarMensajesOSD
Echo "capture:osd-ocultos"
Wait "4000"
EOF
  reproducir "$sesion/osd.nbs"
  esperar_captura osd-mensajes
  esperar_captura osd-ocultos
  fin_guion
}

declare -F "capturas_$modo" >/dev/null || { echo "capturas: unknown mode $modo" >&2; uso; }
"capturas_$modo"
