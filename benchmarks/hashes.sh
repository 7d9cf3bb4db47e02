#!/usr/bin/env bash
# Throughput of the file digests against md5sum and sha1sum on the same 1 GiB file, measured
# in the same run: prints each ratio (plug-in throughput / reference throughput).
set -euo pipefail
. "$(dirname "$0")/comun.sh"

bench_preparar $((1 << 30))
ref_md5=$(segundos md5sum "$work/data.bin")
ref_sha1=$(segundos sha1sum "$work/data.bin")
win=$(pel_winpath "$work/data.bin")
printf 'krMD5Archivo "%s" "" "P" "M"\nkrSHA1Archivo "%s" "" "P" "M"\n' "$win" "$win" >"$work/bench.nbs"
t=($(bench_nbhost "$work/bench.nbs" 2))
bench_informe "MD5 1 GiB (krMD5Archivo)" md5sum "$ref_md5" "${t[0]}"
bench_informe "SHA-1 1 GiB (krSHA1Archivo)" sha1sum "$ref_sha1" "${t[1]}"
