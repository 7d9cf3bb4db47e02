#!/usr/bin/env bash
# The system actions where the shared test session cannot hold them: a real log-off, which
# ends every process of its Wine session (so it gets a session of its own), and one action
# of each group on the real 32-bit plug-in.
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
. "$here/scripts/lib/env.sh"
. "$here/scripts/lib/wine.sh"

passed=0 failed=0
check() {  # check NAME COMMAND...: the command must succeed
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "[ok] $name"
  else failed=$((failed + 1)); echo "[FAILED] $name"; fi
}
contains() { grep -qF -- "$2" <<<"$1"; }
lacks() { ! grep -qF -- "$2" <<<"$1"; }
# before TEXT FIRST SECOND: FIRST occurs, and before SECOND.
before() {
  local a b
  a=$(grep -nF -- "$2" <<<"$1" | head -n 1 | cut -d: -f1)
  b=$(grep -nF -- "$3" <<<"$1" | head -n 1 | cut -d: -f1)
  [ -n "$a" ] && [ -n "$b" ] && [ "$a" -lt "$b" ]
}

"$here/scripts/build.sh" x86_64 i686 >/dev/null || { echo "sistema: 0 passed, 1 failed"; exit 1; }
bin64="$PELMARO_BUILD/x86_64/bin"

# ---- A real log-off in a throw-away session.
session=$(mktemp -d "${TMPDIR:-/tmp}/pelmaro-sesion.XXXXXX")
trap 'pel_wine_end; rm -rf "$session"' EXIT
pel_wine_session "$session" || { echo "sistema: 0 passed, 1 failed"; exit 1; }
# Another program of the session, which the log-off must end too.
pel_wine_run x86_64 "$bin64/pelmaro_espera.exe" 60 >/dev/null 2>&1 &
espera=$!
sleep 2
start=$SECONDS
out=$(printf 'CallResult "ExitWindowsEx" "real"\nEcho "antes"\nkrCerrarSesionUsuario ""\nEcho "despues"\n' |
      pel_wine_run x86_64 "$bin64/nbhost.exe" --plugin="$(pel_winpath "$bin64/PelmaroD.nbp")" - 2>&1); rc=$?
echo "$out" | sed 's/^/  | /'
check "log-off: the real ExitWindowsEx is called with 0" contains "$out" "system call: ExitWindowsEx(0x0, 0)"
check "log-off: the privilege is enabled first" before "$out" "AdjustTokenPrivileges(SeShutdownPrivilege 0x2)" "ExitWindowsEx(0x0, 0)"
check "log-off: the publication's process ends with exit code 0 (got $rc)" test $rc -eq 0
check "log-off: nothing runs after the call" lacks "$out" "despues"
wait "$espera"; espera_rc=$?
check "log-off: the session's other program ends too (code $espera_rc, after $((SECONDS - start)) s)" \
  test $((SECONDS - start)) -lt 30
pel_wine_end
rm -rf "$session"
trap - EXIT

# ---- The real 32-bit plug-in: one action of each group (the calls that end things recorded).
out=$(printf '%s\n' 'krVersionWindows' 'krVariablesEntorno "PELMARO_X" "uno"' 'krVariablesEntorno "PELMARO_X" ""' \
        'krDirectorioSistema "CSIDL_WINDOWS" ""' 'krUsuarioAdministrador' 'krPuedeSuspenderse' \
        'krApagarWindows "Checked"' |
      "$here/scripts/nbhost" --arch=i686 - 2>&1); rc=$?
echo "$out" | sed 's/^/  | /'
check "i686: the script plays (exit code $rc)" test $rc -eq 0
check "i686: krVersionWindows on Windows 7 answers WinVista" contains "$out" 'krResultadoAccion = "WinVista"'
check "i686: krVariablesEntorno sets and reads" contains "$out" 'krResultadoAccion = "uno"'
check "i686: krDirectorioSistema CSIDL_WINDOWS" contains "$out" 'krResultadoAccion = "C:\windows\"'
check "i686: IsUserAnAdmin looked up at run time" contains "$out" "system call: IsUserAnAdmin()"
check "i686: krPuedeSuspenderse answers False under Wine" before "$out" "IsPwrSuspendAllowed()" 'krResultadoAccion = "False"'
check "i686: krApagarWindows Checked is recorded as 0x15" contains "$out" "system call: ExitWindowsEx(0x15, 0)"

echo "sistema: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
