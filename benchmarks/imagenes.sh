#!/usr/bin/env bash
# Image actions against ImageMagick's `convert` on the same 24-megapixel photo-like PNG, in the
# same run: PNG to JPEG, that JPEG back to PNG, and a rotation by 90 degrees (PNG to PNG),
# with the plug-in's own save settings on both sides (JPEG quality 90, PNG zlib level 5).
# Prints each ratio (reference time / plug-in time) and the plug-in process's peak memory.
set -euo pipefail
. "$(dirname "$0")/comun.sh"

bench_preparar 0
# Photo-like: a plasma fractal enlarged smoothly to 6000 x 4000.
convert -seed 7 -size 1500x1000 plasma:fractal -resize 6000x4000! -quality 55 "$work/foto.png"
cat "$work/foto.png" >/dev/null
ref_jpg=$(segundos convert "$work/foto.png" -quality 90 "$work/ref.jpg")
ref_png=$(segundos convert "$work/ref.jpg" -quality 55 "$work/ref.png")
ref_rot=$(segundos convert "$work/foto.png" -rotate 90 -quality 55 "$work/ref-rot.png")
w() { pel_winpath "$work/$1"; }
printf 'krConvertirImagen "%s" "%s"\nkrConvertirImagen "%s" "%s"\nkrRotarImagen "%s" "%s" "90"\n' \
  "$(w foto.png)" "$(w out.jpg)" "$(w out.jpg)" "$(w out.png)" "$(w foto.png)" "$(w out-rot.png)" >"$work/bench.nbs"
t=($(bench_nbhost "$work/bench.nbs" 3))
bench_informe "PNG to JPEG, 24 MP (krConvertirImagen)" convert "$ref_jpg" "${t[0]}"
bench_informe "JPEG to PNG, 24 MP (krConvertirImagen)" convert "$ref_png" "${t[1]}"
bench_informe "rotation by 90, 24 MP PNG (krRotarImagen)" convert "$ref_rot" "${t[2]}"

# Peak resident memory of the plug-in's process over the heaviest action, the rotation.
printf 'krRotarImagen "%s" "%s" "90"\n' "$(w foto.png)" "$(w out-rot2.png)" >"$work/pico.nbs"
# GNU time reports the largest of the processes it waited for: the Wine process of nbhost.
/usr/bin/time -f '%M' -o "$work/pico.txt" bash -c '. "$1"; pel_wine_run x86_64 "$2" --plugin="$3" "$4"' _ \
  "$here/scripts/lib/wine.sh" "$PELMARO_BUILD/x86_64/bin/nbhost.exe" \
  "$(pel_winpath "$PELMARO_BUILD/x86_64/bin/PelmaroD.nbp")" "$(pel_winpath "$work/pico.nbs")" >/dev/null
printf 'peak memory of the plug-in process, rotation of 24 MP: %d MiB (decoded image: %d MiB)\n' \
  $(($(cat "$work/pico.txt") / 1024)) $((6000 * 4000 * 3 >> 20))
