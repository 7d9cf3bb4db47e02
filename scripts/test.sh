#!/usr/bin/env bash
# Installs what is missing, builds the three builds and runs every test. Each suite ends with
# a line "SUITE: N passed, N failed"; the exit code is non-zero when anything failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib/env.sh"

"$here/setup.sh" || exit 1
"$here/build.sh" native i686 x86_64 || exit 1
. "$here/lib/wine.sh"

export PELMARO_TESTDATA=${PELMARO_TESTDATA:-$(cd "$PELMARO_ROOT/.." && pwd)/shared/testdata}
logs="$PELMARO_BUILD/test-logs"
mkdir -p "$logs"
summary=()
status=0

# What runs on the 32-bit product through qemu-i386 (one process: each start costs about 10 s;
# qemu's 32-bit Wine also grows unreliable over a long run, so this is a part of the suite).
I686_FILTER='Identidad.*:Registro.*:Exportaciones.*:KorUtiles.*:Ejecucion.NumerosSinManejador*:Ejecucion.HostAntiguo*:Ini.LecturasYExistencia:Ini.AcentosByteAByte:Hashes.TextoVacio:Hashes.TextosYArchivos*:Hashes.CancelarDesdeLaSubrutina:Cifrado.TextoIdaYVuelta:Cifrado.ArchivosIdaYVuelta'

# Runs a GoogleTest program and turns its report into the summary line.
gtest_suite() {
  local name=$1; shift
  local log="$logs/$name.log" rc=0
  echo "=== $name"
  "$@" >"$log" 2>&1 || rc=$?
  grep -vE '^\[ +(RUN|OK) +\]' "$log" | grep -vE '^$' | tail -n 25
  local passed failed
  passed=$(grep -oP '^\[  PASSED  \] \K\d+' "$log" | tail -n 1)
  failed=$(grep -oP '^\[  FAILED  \] \K\d+(?= tests?, listed below)' "$log" | tail -n 1)
  passed=${passed:-0} failed=${failed:-0}
  if ! grep -q '^\[==========\] .* ran\.' "$log"; then
    echo "$name: the test program did not finish (exit code $rc)"; failed=$((failed + 1))
  elif [ $rc -ne 0 ] && [ "$failed" -eq 0 ]; then
    echo "$name: exit code $rc"; failed=1
  fi
  summary+=("$name: $passed passed, $failed failed")
  [ "$failed" -eq 0 ] || status=1
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
if [ "$(pel_wine32_via)" = native ]; then
  gtest_suite i686 pel_wine_run i686 "$PELMARO_BUILD/i686/bin/plugin_tests.exe"
  gtest_suite i686-qemu env PELMARO_WINE32_VIA=qemu bash -c '. "$1"; pel_wine_run i686 "$2" --gtest_filter="$3"' \
    _ "$here/lib/wine.sh" "$PELMARO_BUILD/i686/bin/plugin_tests.exe" "$I686_FILTER"
else
  gtest_suite i686-qemu pel_wine_run i686 "$PELMARO_BUILD/i686/bin/plugin_tests.exe" --gtest_filter="$I686_FILTER"
fi

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
