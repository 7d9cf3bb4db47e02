#!/usr/bin/env bash
# The product file and the nbhost tool as a person uses them: the DLL's form and imports,
# the catalogue listing, script errors, and the old-host gate and the monitor actions on the real
# 32-bit plug-in.
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
. "$here/scripts/lib/env.sh"

. "$here/tests/cli/comprobar.sh"

dll="$PELMARO_BUILD/i686/bin/PelmaroD.nbp"
check "the product is a PE32 i386 DLL" grep -q 'PE32 executable (DLL).*Intel 80386' <<<"$(file "$dll")"
imports=$(i686-w64-mingw32-objdump -p "$dll" | awk '/DLL Name:/{print tolower($3)}' | sort -u | tr '\n' ' ')
echo "imports: $imports"
only_system() {
  for d in $imports; do
    case $d in kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|ole32.dll|oleaut32.dll|shlwapi.dll|msvcrt.dll|comdlg32.dll|comctl32.dll|version.dll) ;;
      *) echo "not a system DLL: $d"; return 1 ;; esac
  done
}
check "the product needs nothing but system DLLs" only_system
exports=$(i686-w64-mingw32-objdump -p "$dll" | awk '/\[Ordinal\/Name Pointer\] Table/{t=1; next} t && /^[ \t]*\[/{print $NF} t && /^$/{t=0}' | sort | tr '\n' ' ')
check "exactly the eight exports, by plain name" test "$exports" = "nbAbout nbEditAction nbExecAction nbInitPlugIn nbMessage nbRegisterInterfaceAccess nbRegisterPlugIn nbRegisterScriptProcessor "

out=$("$here/scripts/nbhost" --arch=x86_64 --catalog </dev/null 2>&1); rc=$?
check "--catalog exits 0" test $rc -eq 0
check "--catalog ends with the row count" contains "$out" "rows: 92"
check "--catalog prints 92 rows" test "$(grep -cP '^\d+\t' <<<"$out")" -eq 92
check "--catalog row of krLeerIni" contains "$out" $'800\tkrLeerIni\tLee un valor guardado en un archivo de configuración INI.\t1,1,1,1\t3\t4'
check "--catalog category row" contains "$out" $'0\tDiálogos\t\t0\t0\t0'

script=$(mktemp --suffix=.nbs)
printf 'Echo "uno"\nkrLeerIni "x.ini" "s"\n' >"$script"
out=$("$here/scripts/nbhost" --arch=x86_64 "$script" 2>&1); rc=$?
check "a wrong parameter count stops the script with exit code 1" test $rc -eq 1
check "the error names the line and the count" contains "$out" "line 2: krLeerIni takes 4 parameter(s), 2 given"
out=$("$here/scripts/nbhost" --arch=x86_64 --bogus </dev/null 2>&1); rc=$?
check "an unknown option is a usage error (exit 2)" test $rc -eq 2
rm -f "$script"

# Two nbhost runs at once, with a rebuild due: one builds, the other waits for it and finds
# the tree up to date; both play their scripts.
touch "$here/core/textos.cpp"
d1=$(mktemp) d2=$(mktemp)
printf 'krMD5Cadena "uno"\n' | "$here/scripts/nbhost" --arch=x86_64 - >"$d1" 2>&1 & p1=$!
printf 'krMD5Cadena "dos"\n' | "$here/scripts/nbhost" --arch=x86_64 - >"$d2" 2>&1 & p2=$!
rc1=0 rc2=0; wait $p1 || rc1=$?; wait $p2 || rc2=$?
check "two nbhost runs at once both exit 0" test $rc1 -eq 0 -a $rc2 -eq 0
check "the first of two runs at once answers" contains "$(cat "$d1")" "krResultadoAccion = \"$(printf uno | md5sum | cut -c1-32)\""
check "the second of two runs at once answers" contains "$(cat "$d2")" "krResultadoAccion = \"$(printf dos | md5sum | cut -c1-32)\""
rm -f "$d1" "$d2"

# The cryptographic library's DLL start-up self-test is not linked into the product.
check "no DLL self-test of the cryptographic library" lacks "$(strings "$dll")" "DLL integrity check"

# The real 32-bit plug-in in French: the language stored before load, the rows translated.
out=$("$here/scripts/nbhost" --language=fr --catalog </dev/null 2>&1); rc=$?
check "i686 --language=fr exits 0" test $rc -eq 0
check "i686 --language=fr names the French catalogue" grep -qE '^language: fr, catalogue .*\\locale\\fr\\LC_MESSAGES\\default\.mo$' <<<"$out"
check "i686 --language=fr: a French category row" contains "$out" $'0\tSystème\t\t0\t0\t0'
check "i686 --language=fr: a French hint, the name kept" contains "$out" $'800\tkrLeerIni\tLit une valeur enregistrée dans un fichier de configuration INI.\t1,1,1,1\t3\t4'

# The real 32-bit plug-in: the gate ends the process after the message.
out=$(printf 'Echo "antes"\nExecAction 800 "a" "b" "c" "d"\nEcho "despues"\n' |
      "$here/scripts/nbhost" --host-version=412 - 2>&1); rc=$?
echo "$out" | sed 's/^/  | /'
check "i686: an old host's process ends with exit code 0" test $rc -eq 0
check "i686: the old-host message" contains "$out" '  message box (warning) "Error conocido": "Actualiza tu Neobook. Este Plugin sólo funciona en versiones 4.1.3 ó superiores"'
check "i686: nothing runs after the gate" lacks "$out" "despues"

# The monitor actions on the real 32-bit plug-in: on-screen messages hidden with none shown,
# monitor power recorded by the simulator (never sent), display mode parameters refused.
out=$(printf '%s\n' 'krOcultarMensajesOSD' 'krApagarMonitor' 'CallResult "SendMessageA" "1"' 'krEncenderMonitor' \
        'krCambiarResolucion "1024" "768" "abc" ""' | "$here/scripts/nbhost" - 2>&1); rc=$?
echo "$out" | sed 's/^/  | /'
check "i686: the monitor script plays to its end" test $rc -eq 0
check "i686: krOcultarMensajesOSD with nothing shown" contains "$out" $'krOcultarMensajesOSD\n  krResultadoAccion = "True"'
check "i686: krApagarMonitor is recorded" contains "$out" $'  system call: SendMessageA(WM_SYSCOMMAND, SC_MONITORPOWER, 2)\n  krResultadoAccion = "True"'
check "i686: krEncenderMonitor answers the recorded result" contains "$out" $'  system call: SendMessageA(WM_SYSCOMMAND, SC_MONITORPOWER, -1)\n  krResultadoAccion = "False"'
check "i686: krCambiarResolucion with a rate that is no number" contains "$out" $'"abc" ""\n  krResultadoAccion = "False"\n  krUltimoError = ""'
out=$(printf 'Wait "soon"\n' | "$here/scripts/nbhost" --arch=x86_64 - 2>&1); rc=$?
check "Wait needs a number of milliseconds (exit 1)" test $rc -eq 1
check "Wait's error names the line and the form" contains "$out" 'line 1: expected: Wait "ms"'

echo "cli: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
