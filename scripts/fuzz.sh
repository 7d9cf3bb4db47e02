#!/usr/bin/env bash
# Builds the libFuzzer targets natively with clang (one per image decoder, and the Base64 and
# hexadecimal text decoders) and runs each for a bounded number of executions.
#
#   scripts/fuzz.sh [RUNS [TARGET...]]     RUNS per target, default 20000
#   FUZZ_SECONDS=N scripts/fuzz.sh 0        each target for N seconds instead
#
# Seeds are small files of every format written by ImageMagick; the corpus of each target is
# kept in build/fuzz/corpus/TARGET between runs, crashes go to build/fuzz/crashes/. Ends with
# the line "fuzz: N passed, N failed".
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib/env.sh"

runs=${1:-20000}
shift || true
out="$PELMARO_BUILD/fuzz"
mkdir -p "$out/obj" "$out/crashes"
cryptopp=$("$here/deps.sh" native | tr ';' '\n' | grep cryptopp)

declare -A codecs=([bmp]=kCodecBmp [jpeg]=kCodecJpeg [png]=kCodecPng [gif]=kCodecGif [tga]=kCodecTga
                   [pnm]=kCodecPpm [pam]=kCodecPam [pfm]=kCodecPfm [jp2]=kCodecJp2)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(bmp jpeg png gif tga pnm pam pfm jp2 base64 hexadecimal)

flags=(-g -O1 -std=c++17 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -I"$PELMARO_ROOT" -I/usr/include/openjpeg-2.5 -isystem "$cryptopp/include")
# The platform-free sources the targets need, compiled once with coverage.
comunes=(core/texto.cpp core/textos.cpp actions/images/*.cpp actions/ini/hexadecimal.cpp actions/hashes/cifrado.cpp
         actions/hashes/primitivas/*.cpp)
objs=()
for f in "${comunes[@]/#/$PELMARO_ROOT/}"; do
  for g in $f; do
    case $g in *_win.cpp) continue ;; esac
    o="$out/obj/$(basename "${g%.cpp}").o"
    if [ ! -f "$o" ] || [ "$g" -nt "$o" ]; then
      clang++ "${flags[@]/-fsanitize=fuzzer,/-fsanitize=fuzzer-no-link,}" -c "$g" -o "$o"
    fi
    objs+=("$o")
  done
done
libs=(-ljpeg -lpng -lgif -lopenjp2 -lz "$cryptopp/lib/libcryptopp.a")

# Seeds.
semillas="$out/semillas"
if [ ! -f "$semillas/.hecho" ]; then
  mkdir -p "$semillas"/{bmp,jpeg,png,gif,tga,pnm,pam,pfm,jp2,base64,hexadecimal}
  (cd "$semillas" && convert -size 13x9 gradient:red-blue base.png &&
    convert base.png bmp/a.bmp && convert base.png -colors 16 -compress RLE BMP3:bmp/rle8.bmp &&
    convert base.png -colors 8 -depth 4 -compress RLE BMP3:bmp/rle4.bmp &&
    convert base.png jpeg/a.jpg && convert base.png -interlace Plane jpeg/p.jpg &&
    cp base.png png/a.png && convert base.png -interlace PNG -depth 16 png/i.png &&
    convert base.png -colors 8 png/p.png && convert base.png gif/a.gif &&
    convert -size 4x3 xc:red xc:blue gif/anim.gif && convert base.png -compress RLE tga/rle.tga &&
    convert base.png tga/a.tga && convert base.png -colors 8 tga/p.tga && convert base.png pnm/a.ppm &&
    convert base.png -compress None pnm/b.ppm && convert base.png -colorspace Gray -compress None pnm/c.pgm &&
    convert base.png pam/a.pam && convert base.png -endian LSB pfm/a.pfm && convert base.png jp2/a.jp2 &&
    convert base.png jp2/a.j2k && rm base.png)
  printf 'aGVsbG8gd29ybGQ=' >"$semillas/base64/a"
  printf '616263FF00' >"$semillas/hexadecimal/a"
  touch "$semillas/.hecho"
fi

passed=0 failed=0
for t in "${targets[@]}"; do
  bin="$out/$t"
  case $t in
    base64) src="$PELMARO_ROOT/tests/fuzz/base64_fuzz.cpp" def=() ;;
    hexadecimal) src="$PELMARO_ROOT/tests/fuzz/hexadecimal_fuzz.cpp" def=() ;;
    *) src="$PELMARO_ROOT/tests/fuzz/imagen_fuzz.cpp" def=(-DCODEC="${codecs[$t]}") ;;
  esac
  clang++ "${flags[@]}" "${def[@]}" "$src" "${objs[@]}" "${libs[@]}" -o "$bin"
  corpus="$out/corpus/$t"
  mkdir -p "$corpus"
  seeds=$semillas/$t
  limite=(-runs="$runs")
  [ -z "${FUZZ_SECONDS:-}" ] || limite=(-max_total_time="$FUZZ_SECONDS")
  if "$bin" "${limite[@]}" -rss_limit_mb=2048 -malloc_limit_mb=1024 -max_len=65536 -print_final_stats=1 \
      -artifact_prefix="$out/crashes/$t-" "$corpus" "$seeds" >"$out/$t.log" 2>&1; then
    echo "[ok] $t: $(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "$out/$t.log" | grep -o '[0-9]*$') executions"
    passed=$((passed + 1))
  else
    echo "[FAILED] $t: see $out/$t.log"
    grep -E 'ERROR|SUMMARY|Test unit written' "$out/$t.log" | head -n 5
    failed=$((failed + 1))
  fi
done
echo "fuzz: $passed passed, $failed failed"
