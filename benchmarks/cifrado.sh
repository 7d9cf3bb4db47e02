#!/usr/bin/env bash
# Throughput of krCifrarArchivo (Rijndael and Blowfish, MD5 key) against `openssl enc`
# (AES-128-CBC, BF-CBC) on the same 256 MiB file in the same run: prints each ratio
# (plug-in throughput / openssl throughput).
set -euo pipefail
. "$(dirname "$0")/comun.sh"

bench_preparar $((256 << 20))
key=$(printf clave | openssl dgst -md5 -binary | od -An -tx1 | tr -d ' \n')
ref_aes=$(segundos openssl enc -aes-128-cbc -K "$key" -iv 00000000000000000000000000000000 \
          -in "$work/data.bin" -out "$work/ref.aes")
ref_bf=$(segundos openssl enc -provider legacy -provider default -bf-cbc -K "$key" -iv 0000000000000000 \
         -in "$work/data.bin" -out "$work/ref.bf")
src=$(pel_winpath "$work/data.bin")
printf 'krCifrarArchivo "%s" "%s" "clave" "15" "2" "False"\nkrCifrarArchivo "%s" "%s" "clave" "0" "2" "False"\n' \
  "$src" "$(pel_winpath "$work/out.aes")" "$src" "$(pel_winpath "$work/out.bf")" >"$work/bench.nbs"
t=($(bench_nbhost "$work/bench.nbs" 2))
bench_informe "Rijndael 256 MiB (krCifrarArchivo)" "openssl aes-128-cbc" "$ref_aes" "${t[0]}"
bench_informe "Blowfish 256 MiB (krCifrarArchivo)" "openssl bf-cbc" "$ref_bf" "${t[1]}"
