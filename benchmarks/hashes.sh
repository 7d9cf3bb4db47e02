#!/usr/bin/env bash
# Throughput of the file digests against md5sum and sha1sum on the same 1 GiB file, measured
# in the same run: prints each ratio (plug-in throughput / reference throughput).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
. "$here/scripts/lib/env.sh"
. "$here/scripts/lib/wine.sh"

"$here/scripts/build.sh" x86_64 >/dev/null
work=$(mktemp -d "${TMPDIR:-/tmp}/pelmaro-bench.XXXXXX")
trap 'pel_wine_end; rm -rf "$work"' EXIT
head -c $((1 << 30)) /dev/urandom >"$work/data.bin"
cat "$work/data.bin" >/dev/null  # into the page cache for every reader alike

seconds() { local t0 t1; t0=$(date +%s.%N); "$@" >/dev/null; t1=$(date +%s.%N); echo "$t1 - $t0" | bc -l; }
ref_md5=$(seconds md5sum "$work/data.bin")
ref_sha1=$(seconds sha1sum "$work/data.bin")

pel_wine_session "$work/wine"
win=$(pel_winpath "$work/data.bin")
printf 'krMD5Archivo "%s" "" "P" "M"\nkrSHA1Archivo "%s" "" "P" "M"\n' "$win" "$win" >"$work/bench.nbs"
out=$(pel_wine_run x86_64 "$PELMARO_BUILD/x86_64/bin/nbhost.exe" --time \
      --plugin="$(pel_winpath "$PELMARO_BUILD/x86_64/bin/PelmaroD.nbp")" "$(pel_winpath "$work/bench.nbs")")
us=($(grep -oP '^  took \K\d+' <<<"$out"))
[ ${#us[@]} -eq 2 ] || { echo "$out"; echo "benchmark: the actions did not report their times" >&2; exit 1; }
plug_md5=$(echo "${us[0]} / 1000000" | bc -l)
plug_sha1=$(echo "${us[1]} / 1000000" | bc -l)
printf 'MD5   1 GiB: md5sum %.2f s, krMD5Archivo %.2f s, ratio %.2f\n' "$ref_md5" "$plug_md5" "$(echo "$ref_md5 / $plug_md5" | bc -l)"
printf 'SHA-1 1 GiB: sha1sum %.2f s, krSHA1Archivo %.2f s, ratio %.2f\n' "$ref_sha1" "$plug_sha1" "$(echo "$ref_sha1 / $plug_sha1" | bc -l)"
