#!/usr/bin/env bash
# Installs what is missing, builds the three builds and runs every test. Each suite ends with
# a line "SUITE: N passed, N failed"; the exit code is non-zero when anything failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib/env.sh"

"$here/setup.sh" || exit 1
"$here/build.sh" native i686 x86_64 || exit 1
. "$here/lib/wine.sh"

logs="$PELMARO_BUILD/test-logs"
mkdir -p "$logs"
summary=()
status=0

# Where the kernel runs 32-bit programs, the whole suite runs natively on the product and the
# qemu route is exercised with a part of it (each start there costs about 10 s).
I686_FILTER='Identidad.*:Registro.*:Exportaciones.*:KorUtiles.*:Ejecucion.NumerosSinManejador*:Ejecucion.HostAntiguo*:Ini.LecturasYExistencia:Ini.AcentosByteAByte:Hashes.TextoVacio:Hashes.TextosYArchivos*:Hashes.CancelarDesdeLaSubrutina:Cifrado.TextoIdaYVuelta:Cifrado.ArchivosIdaYVuelta'

# Counts of a GoogleTest report: sets `passed` and `failed`; a program that did not finish,
# or failed without naming a failed test, counts one failure more.
gtest_counts() {
  local log=$1 rc=$2
  passed=$(grep -oP '^\[  PASSED  \] \K\d+' "$log" | tail -n 1)
  failed=$(grep -oP '^\[  FAILED  \] \K\d+(?= tests?, listed below)' "$log" | tail -n 1)
  passed=${passed:-0} failed=${failed:-0}
  if ! grep -q '^\[==========\] .* ran\.' "$log"; then
    echo "$log: the test program did not finish (exit code $rc)"; failed=$((failed + 1))
  elif [ "$rc" -ne 0 ] && [ "$failed" -eq 0 ]; then
    echo "$log: exit code $rc"; failed=1
  fi
}

# The same from the lines of each test: a test counts when it ended (OK, FAILED or SKIPPED);
# one that started and never ended is a failure. A process that ends badly after all its
# tests ended is reported, not counted: on the qemu route a process that ran COM or shell
# code sometimes hangs or crashes on its way out, after its tests have given their results.
gtest_counts_by_test() {
  local log=$1 rc=$2 run skipped unfinished
  run=$(grep -c '^\[ RUN      \] ' "$log")
  passed=$(grep -c '^\[       OK \] ' "$log")
  failed=$(grep -cE '^\[  FAILED  \] .* \([0-9]+ ms\)$' "$log")
  skipped=$(grep -cE '^\[  SKIPPED \] .* \([0-9]+ ms\)$' "$log")
  unfinished=$((run - passed - failed - skipped))
  if [ "$run" -eq 0 ]; then
    echo "$log: no test ran (exit code $rc)"; failed=1
  elif [ "$unfinished" -gt 0 ]; then
    echo "$log: a test did not end (exit code $rc)"; failed=$((failed + unfinished))
  elif ! grep -q '^\[==========\] .* ran\.' "$log"; then
    echo "  ($log: every test ended, then the process did not (exit code $rc))"
  fi
}

# Runs a GoogleTest program and turns its report into the summary line.
gtest_suite() {
  local name=$1; shift
  local log="$logs/$name.log" rc=0 passed failed
  echo "=== $name"
  "$@" >"$log" 2>&1 || rc=$?
  grep -vE '^\[ +(RUN|OK) +\]' "$log" | grep -vE '^$' | tail -n 25
  gtest_counts "$log" "$rc"
  summary+=("$name: $passed passed, $failed failed")
  [ "$failed" -eq 0 ] || status=1
}

# The same, one process per test suite of the program: on the qemu route a long process
# grows unreliable, so a test suite is the unit. One summary line counts them all.
gtest_suite_split() {
  local name=$1; shift
  local dir="$logs/$name" rc suite suites log part total_p=0 total_f=0 passed failed
  echo "=== $name (one process per test suite)"
  rm -rf "$dir"; mkdir -p "$dir"
  rc=0
  "$@" --gtest_list_tests >"$dir/list.txt" 2>&1 || rc=$?
  suites=$(tr -d '\r' <"$dir/list.txt" | awk '/^[^ ]+\.( |$)/ { sub(/\..*/, ""); print }')
  if [ $rc -ne 0 ] || [ -z "$suites" ]; then
    cat "$dir/list.txt"; echo "$name: the test list could not be read (exit code $rc)"
    summary+=("$name: 0 passed, 1 failed"); status=1; return
  fi
  # Only the parts named in PELMARO_I686_PARTS (filters, one process each) when it is set.
  local parts=() p skipped_suites=()
  if [ -n "${PELMARO_I686_PARTS:-}" ]; then
    read -r -a parts <<<"$PELMARO_I686_PARTS"
    for suite in $suites; do
      for p in "${parts[@]}"; do [[ $p == "$suite".* ]] && continue 2; done
      skipped_suites+=("$suite")
    done
  else
    for suite in $suites; do parts+=("$suite.*"); done
  fi
  [ ${#skipped_suites[@]} -eq 0 ] || echo "  not run on this route: ${skipped_suites[*]}"
  for part in "${parts[@]}"; do
    suite=$part
    rc=0
    log="$dir/${suite//[\/*:]/_}.log"
    PELMARO_WINE_TIMEOUT=${PELMARO_SUITE_TIMEOUT:-600} "$@" --gtest_filter="$part" >"$log" 2>&1 || rc=$?
    gtest_counts_by_test "$log" "$rc"
    printf '  %-32s %3d passed, %d failed\n' "$suite" "$passed" "$failed"
    [ "$failed" -eq 0 ] || grep -E '^\[  FAILED  \] [A-Za-z]' "$dir/${suite//\//_}.log" | sort -u | sed 's/^/    /'
    total_p=$((total_p + passed)) total_f=$((total_f + failed))
  done
  summary+=("$name: $total_p passed, $total_f failed")
  [ "$total_f" -eq 0 ] || status=1
}

gtest_suite native "$PELMARO_BUILD/native/tests/unit/unit_tests"

# Data files with reference digests from the Linux tools, kept between runs.
datos="$PELMARO_CACHE/testdata"
"$PELMARO_ROOT/tests/win/preparar_datos.sh" "$datos"
export PELMARO_DATOS
PELMARO_DATOS=$(pel_winpath "$datos")

session=$(mktemp -d "${TMPDIR:-/tmp}/pelmaro-test.XXXXXX")
trap 'pel_wine_end; rm -rf "$session"' EXIT
pel_wine_session "$session"
gtest_suite x86_64 pel_wine_run x86_64 "$PELMARO_BUILD/x86_64/bin/plugin_tests.exe"
# Where the kernel runs 32-bit programs itself, the whole suite runs on the product, and the
# qemu route (the only one on kernels without 32-bit support) is still exercised with a part.
# On a kernel without 32-bit support (or with PELMARO_WINE32_VIA=qemu, which rehearses one)
# the whole suite runs through qemu-i386, a process per test suite.
if [ "$(pel_wine32_via)" = native ]; then
  gtest_suite i686 pel_wine_run i686 "$PELMARO_BUILD/i686/bin/plugin_tests.exe"
  gtest_suite i686-qemu env PELMARO_WINE32_VIA=qemu bash -c '. "$1"; pel_wine_run i686 "$2" --gtest_filter="$3"' \
    _ "$here/lib/wine.sh" "$PELMARO_BUILD/i686/bin/plugin_tests.exe" "$I686_FILTER"
else
  # What the qemu route can run today, a process each. Left out, for what qemu-i386 does to
  # them here: the process snapshot (ToolHelp answers "Not enough memory"), a 32-bit program
  # started by ShellExecuteA (the restart), window message loops that keep a process from
  # ending (on-screen messages, display modes, the standard and edit dialogs, HTML Help), and
  # the file suite, whose shell and COM work leaves the process hanging after a few tests.
  export PELMARO_I686_PARTS=${PELMARO_I686_PARTS:-"Identidad.* Registro.* Exportaciones.* KorUtiles.* Ini.* Hashes.* Ejecucion.* PuertaHostAntiguo.* ExecActionPorNumero.* Cifrado.* Ventanas.* NumeroAleatorio.* EjecutarAccion.* Raton.* UnaAccionPorCategoria.* Imagenes.ConvertirEntreFormatos:Imagenes.CapturaDeUnaVentanaDeTamanyoConocido Edicion.SinDialogo*:Edicion.AceptarReemplaza*"}
  gtest_suite_split i686 pel_wine_run i686 "$PELMARO_BUILD/i686/bin/plugin_tests.exe"
fi
gtest_suite i686-publicacion pel_wine_run i686 "$PELMARO_BUILD/i686/bin/plugin_tests.exe" --gtest_filter='UnaAccionPorCategoria.*'

# Checks written in bash; each ends with a line "NAME: N passed, N failed".
script_suite() {
  local name=$1 script=$2 log="$logs/$1.log" line
  echo "=== $name"
  "$script" 2>&1 | tee "$log" | grep -v '^\[ok\]'
  line=$(grep -E "^$name: [0-9]+ passed, [0-9]+ failed\$" "$log" | tail -n 1)
  [ -n "$line" ] || line="$name: 0 passed, 1 failed"
  summary+=("$line")
  grep -q ' 0 failed$' <<<"$line" || status=1
}
script_suite cli "$PELMARO_ROOT/tests/cli/nbhost_test.sh"
script_suite openssl "$PELMARO_ROOT/tests/cli/cifrado_openssl_test.sh"
script_suite catalogos "$PELMARO_ROOT/tests/cli/catalogos_test.sh"
script_suite sistema "$PELMARO_ROOT/tests/cli/sistema_test.sh"
script_suite fuzz "$PELMARO_ROOT/scripts/fuzz.sh"

echo
echo "=== summary"
printf '%s\n' "${summary[@]}"
total_p=0 total_f=0
for l in "${summary[@]}"; do
  n=$(grep -oP '\d+(?= passed)' <<<"$l"); f=$(grep -oP '\d+(?= failed)' <<<"$l")
  total_p=$((total_p + n)) total_f=$((total_f + f))
done
echo "total: $total_p passed, $total_f failed"
exit $status
