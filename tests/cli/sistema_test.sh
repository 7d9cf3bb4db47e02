#!/usr/bin/env bash
# The system actions where the shared test session cannot hold them: a real log-off, which
# ends every process of its Wine session (so it gets a session of its own), and one action
# of each group on the real 32-bit plug-in.
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
. "$here/scripts/lib/env.sh"
. "$here/scripts/lib/wine.sh"

. "$here/tests/cli/comprobar.sh"
# Sessions of this script's own, whatever session the caller runs (the log-off must never
# reach it): its variables are forgotten, and every session starts its own X server.
unset PELMARO_WINE_SESSION PELMARO_WINE_XVFB_PID PELMARO_WINE_SAVED_HOME PELMARO_WINE_SAVED_PREFIX \
  PELMARO_WINE_SAVED_DISPLAY
export PELMARO_WINE_XVFB=1
# before TEXT FIRST SECOND: FIRST occurs, and before SECOND.
before() {
  local a b
  a=$(grep -nF -- "$2" <<<"$1" | head -n 1 | cut -d: -f1)
  b=$(grep -nF -- "$3" <<<"$1" | head -n 1 | cut -d: -f1)
  [ -n "$a" ] && [ -n "$b" ] && [ "$a" -lt "$b" ]
}

"$here/scripts/build.sh" x86_64 i686 >/dev/null || { echo "sistema: 0 passed, 1 failed"; exit 1; }
bin64="$PELMARO_BUILD/x86_64/bin"

# ---- A real log-off in a throw-away session. Forced: Wine ends an unforced session only
# through the windows' WM_QUERYENDSESSION/WM_ENDSESSION, and neither nbhost nor the helper
# has a window. The host idles after the call, as a publication does, until it is ended.
session=$(mktemp -d "${TMPDIR:-/tmp}/pelmaro-sesion.XXXXXX")
trap 'pel_wine_end; rm -rf "$session"' EXIT
pel_wine_session "$session" || { echo "sistema: 0 passed, 1 failed"; exit 1; }
# Another program of the session, which the log-off must end too (on its own it ends after
# 60 s with exit code 3).
pel_wine_run x86_64 "$bin64/pelmaro_espera.exe" 60 >/dev/null 2>&1 &
espera=$!
sleep 2
start=$SECONDS
out=$(printf '%s\n' 'CallResult "ExitWindowsEx" "real"' 'Echo "antes"' 'krCerrarSesionUsuario "True"' \
        'Wait "30000"' 'Echo "despues"' |
      pel_wine_run x86_64 "$bin64/nbhost.exe" --plugin="$(pel_winpath "$bin64/PelmaroD.nbp")" - 2>&1); rc=$?
took=$((SECONDS - start))
echo "$out" | sed 's/^/  | /'
check "log-off: the real ExitWindowsEx is called with 0x14" contains "$out" "system call: ExitWindowsEx(0x14, 0)"
check "log-off: the privilege is enabled first" \
  before "$out" "AdjustTokenPrivileges(SeShutdownPrivilege 0x2)" "ExitWindowsEx(0x14, 0)"
check "log-off: the call succeeds" contains "$out" 'krResultadoAccion = "True"'
check "log-off: the host is ended while it idles (exit code $rc, after $took s)" test $rc -eq 0 -a $took -lt 30
check "log-off: nothing runs after the call" lacks "$out" "despues"
wait "$espera"; espera_rc=$?
check "log-off: the session's other program is ended too (exit code $espera_rc, after $((SECONDS - start)) s)" \
  test $espera_rc -eq 0 -a $((SECONDS - start)) -lt 40
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
