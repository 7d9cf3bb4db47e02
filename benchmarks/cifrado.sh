#!/usr/bin/env bash
# Throughput of krCifrarArchivo (Rijndael and Blowfish, MD5 key) against `openssl enc`
# (AES-128-CBC, BF-CBC) on the same 256 MiB file in the same run: prints each ratio
# (plug-in throughput / openssl throughput).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/lib/env.sh"
. "$here/scripts/lib/wine.sh"

"$here/scripts/build.sh" x86_64 >/dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/pelmaro-bench.XXXXXX")
trap 'pel_wine_end; rm -rf "$work"' EXIT
head -c $((256 << 20)) /dev/urandom >"$work/data.bin"
cat "$work/data.bin" >/dev/null

key=$(printf clave | openssl dgst -md5 -binary | od -An -tx1 | tr -d ' \n')
seconds() { local t0 t1; t0=$(date +%s.%N); "$@" >/dev/null; t1=$(date +%s.%N); echo "$t1 - $t0" | bc -l; }
ref_aes=$(seconds openssl enc -aes-128-cbc -K "$key" -iv 00000000000000000000000000000000 -in "$work/data.bin" -out "$work/ref.aes")
ref_bf=$(seconds openssl enc -provider legacy -provider default -bf-cbc -K "$key" -iv 0000000000000000 \
         -in "$work/data.bin" -out "$work/ref.bf")

pel_wine_session "$work/wine"
src=$(pel_winpath "$work/data.bin")
printf 'krCifrarArchivo "%s" "%s" "clave" "15" "2" "False"\nkrCifrarArchivo "%s" "%s" "clave" "0" "2" "False"\n' \
  "$src" "$(pel_winpath "$work/out.aes")" "$src" "$(pel_winpath "$work/out.bf")" >"$work/bench.nbs"
out=$(pel_wine_run x86_64 "$PELMARO_BUILD/x86_64/bin/nbhost.exe" --time \
      --plugin="$(pel_winpath "$PELMARO_BUILD/x86_64/bin/PelmaroD.nbp")" "$(pel_winpath "$work/bench.nbs")")
us=($(grep -oP '^  took \K\d+' <<<"$out"))
[ ${#us[@]} -eq 2 ] && grep -q 'krResultadoAccion = "True"' <<<"$out" ||
  { echo "$out"; echo "benchmark: the actions did not run" >&2; exit 1; }
p_aes=$(echo "${us[0]} / 1000000" | bc -l)
p_bf=$(echo "${us[1]} / 1000000" | bc -l)
printf 'Rijndael 256 MiB: openssl aes-128-cbc %.2f s, krCifrarArchivo %.2f s, ratio %.2f\n' "$ref_aes" "$p_aes" "$(echo "$ref_aes / $p_aes" | bc -l)"
printf 'Blowfish 256 MiB: openssl bf-cbc %.2f s, krCifrarArchivo %.2f s, ratio %.2f\n' "$ref_bf" "$p_bf" "$(echo "$ref_bf / $p_bf" | bc -l)"
