# What the benchmarks share. Sourced, never run.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$here/scripts/lib/env.sh"
. "$here/scripts/lib/wine.sh"

# A work folder, removed at exit, holding `data.bin` of $1 random bytes, read once so that
# every reader finds it in the page cache; a Wine session; the x86_64 plug-in built.
bench_preparar() {
  "$here/scripts/build.sh" x86_64 >/dev/null
  work=$(mktemp -d "${TMPDIR:-/tmp}/pelmaro-bench.XXXXXX")
  trap 'pel_wine_end; rm -rf "$work"' EXIT
  head -c "$1" /dev/urandom >"$work/data.bin"
  cat "$work/data.bin" >/dev/null
  pel_wine_session "$work/wine"
}

# Wall-clock seconds of a command.
segundos() { local t0 t1; t0=$(date +%s.%N); "$@" >/dev/null; t1=$(date +%s.%N); echo "$t1 - $t0" | bc -l; }

# Plays a script through nbhost and prints each action's time in seconds, one a line; fails
# unless there are $2 of them and every action answered "True" or a value.
bench_nbhost() {
  local script=$1 esperadas=$2 out
  out=$(pel_wine_run x86_64 "$PELMARO_BUILD/x86_64/bin/nbhost.exe" --time \
        --plugin="$(pel_winpath "$PELMARO_BUILD/x86_64/bin/PelmaroD.nbp")" "$(pel_winpath "$script")")
  if [ "$(grep -cP '^  took \d+' <<<"$out")" -ne "$esperadas" ] || grep -q 'krResultadoAccion = "\(False\|\)"$' <<<"$out"; then
    echo "$out" >&2; echo "benchmark: the actions did not run as expected" >&2; return 1
  fi
  grep -oP '^  took \K\d+' <<<"$out" | awk '{ printf "%.6f\n", $1 / 1000000 }'
}

# "name: reference R s, plug-in P s, ratio X" with X = R / P (throughput of the plug-in over the
# reference's).
bench_informe() { printf '%s: %s %.2f s, plug-in %.2f s, ratio %.2f\n' "$1" "$2" "$3" "$4" "$(echo "$3 / $4" | bc -l)"; }
