# Running Windows test programs under Wine. Sourced, never run.
# shellcheck shell=bash
#
#   pel_wine_session DIR         fresh prefix in DIR/prefix, HOME=DIR/home, wineserver started
#   pel_wine_run ARCH EXE ARGS   ARCH i686 or x86_64; returns the program's exit code
#   pel_wine_end                 stops the session's wineserver and everything it runs
#   pel_winpath PATH             Linux path -> Windows path (Z:\...)
#   pel_wine32_via               prints how 32-bit programs run: native or qemu
#
# Windows need an X display. A session without DISPLAY starts an Xvfb of its own (stopped by
# pel_wine_end); PELMARO_WINE_XVFB=1 does so even when DISPLAY is set. Every program of the
# session runs inside Wine's virtual desktop "pelmaro" of PELMARO_WINE_DESKTOP (WxH, default
# 1024x768; empty: no virtual desktop), which draws caption bars and offers display modes.
#
# The loaders are called directly, never through /usr/bin/wine: 64-bit programs
# run under Debian's wine64, 32-bit ones under the 32-bit loader of wine32:i386.
# All of them use the session's 64-bit wineserver.
#
# Kernels built without 32-bit support cannot execute the 32-bit loader; it then
# runs under qemu-i386 (PELMARO_WINE32_VIA=auto picks this, =qemu forces it).
# Limits of that route, unlike the native one:
#   - a hardware fault reaches the program as an illegal instruction (0xC000001D,
#     exit code 29), not as an access violation: qemu leaves the trap number out
#     of the signal context. __try/__except on access violations, IsBadReadPtr and
#     IsBadWritePtr do not work; a crash gives 29, not 5.
#   - page protections finer than PELMARO_QEMU_PAGESIZE are not enforced.
#   - Wine starts a 32-bit child process by executing the 32-bit loader itself,
#     which fails there; 64-bit children work.
#   - about 10 s per start instead of well under one.
#
# The template prefix the sessions copy is built by scripts/wine-prefix.sh.

if [ -z "${PELMARO_CACHE:-}" ]; then
  . "$(dirname "${BASH_SOURCE[0]}")/env.sh"
fi

PELMARO_WINE64=${PELMARO_WINE64:-/usr/lib/wine/wine64}
PELMARO_WINE32=${PELMARO_WINE32:-/usr/lib/wine/wine}
PELMARO_WINESERVER=${PELMARO_WINESERVER:-/usr/lib/wine/wineserver64}
PELMARO_WINE_INF=${PELMARO_WINE_INF:-/usr/share/wine/wine.inf}
PELMARO_WINE32_VIA=${PELMARO_WINE32_VIA:-auto}
PELMARO_QEMU_I386=${PELMARO_QEMU_I386:-qemu-i386}
PELMARO_WINE_DESKTOP=${PELMARO_WINE_DESKTOP-1024x768}
PELMARO_WINE_XVFB=${PELMARO_WINE_XVFB:-}
# qemu-user 7.2 searches its page table one host page at a time for every mmap
# without a fixed address, and Wine's start-up (Debian ships no preloader) makes
# thousands of those: with 4 KiB pages a 32-bit start takes 1.5-2 minutes, with
# 64 KiB (Windows' allocation granularity, so every Wine reservation stays aligned)
# about 10 s. 32 KiB does not work at all (the shared user data page cannot be mapped).
PELMARO_QEMU_PAGESIZE=${PELMARO_QEMU_PAGESIZE:-65536}
# mscoree, mshtml: no dialogs offering to download Mono and Gecko.
# winemenubuilder: no menu entries written into HOME.
# winedbg: a crash ends the program with its exception code (0xC0000005 -> 5);
# with the automatic debugger attached the exit code is sometimes 0.
PELMARO_WINE_OVERRIDES=${PELMARO_WINE_OVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d}

_pel_wine_die() { echo "wine.sh: $*" >&2; return 1; }

# Call in the current shell (not in $(...)) so that the result is kept.
_pel_wine_load_version() {
  [ -n "${_pel_wine_version:-}" ] && return 0
  _pel_wine_version=$("$PELMARO_WINE64" --version 2>/dev/null) ||
    { _pel_wine_die "cannot run $PELMARO_WINE64 (is wine64 installed?)"; return 1; }
}

# Identity of the installed Wine, e.g. "wine-8.0 (Debian 8.0~repack-4)".
pel_wine_version() {
  _pel_wine_load_version || return 1
  printf '%s\n' "$_pel_wine_version"
}

# Folder of the template prefix for the installed Wine, e.g.
# $PELMARO_CACHE/wine/prefix-wine-8.0_Debian_8.0_repack-4
pel_wine_template() {
  _pel_wine_load_version || return 1
  local v
  v=$(printf '%s' "$_pel_wine_version" | sed -e 's/[^A-Za-z0-9.+-]\{1,\}/_/g' -e 's/^_//' -e 's/_$//')
  printf '%s\n' "$PELMARO_CACHE/wine/prefix-$v"
}

# What the template's stamp file must contain to be current. wine.inf's time is
# what Wine compares to decide that a prefix needs updating.
pel_wine_template_id() {
  _pel_wine_load_version || return 1
  local t
  t=$(stat -c %Y "$PELMARO_WINE_INF" 2>/dev/null) || t=none
  # The route is part of it: PELMARO_WINE32_VIA=qemu rehearses a kernel without 32-bit
  # support, prefix creation included.
  printf '%s wine.inf=%s 32-bit=%s\n' "$_pel_wine_version" "$t" "$(pel_wine32_via)"
}

# True when the template exists, matches the installed Wine, and no file of it
# was written after its stamp. Sessions share the template's DLLs by hard links
# and Wine running as root may open even read-only files for writing, so a
# program that overwrote a system DLL would show up here and cause a rebuild.
pel_wine_template_ready() {
  _pel_wine_load_version || return 1
  local tpl id
  tpl=$(pel_wine_template) && id=$(pel_wine_template_id) || return 1
  [ -f "$tpl/.pelmaro-template" ] && [ "$(cat "$tpl/.pelmaro-template")" = "$id" ] || return 1
  [ -z "$(find "$tpl" -type f -newer "$tpl/.pelmaro-template" -print -quit)" ]
}

# Z:\ is the Linux root in every Wine prefix, so any Linux path has this name.
# The path need not exist; relative paths are taken from the current directory.
pel_winpath() {
  [ $# -eq 1 ] && [ -n "$1" ] || { _pel_wine_die "usage: pel_winpath PATH"; return 1; }
  local p
  p=$(realpath -m -s -- "$1") || return 1
  p=${p//\//\\}
  printf 'Z:%s\n' "$p"
}

# Machine of a PE file: i686, x86_64, none (not a PE file) or the raw number.
# Catches a program given to the wrong loader before Wine fails obscurely.
pel_pe_machine() {
  local f=$1 off mz m
  mz=$(od -An -N2 -tx1 -- "$f" 2>/dev/null | tr -d ' \n')
  [ "$mz" = 4d5a ] || { echo none; return 0; }
  off=$(od -An -j60 -N4 -tu4 -- "$f" | tr -d ' \n')
  [ -n "$off" ] || { echo none; return 0; }
  m=$(od -An -j$((off + 4)) -N2 -tx2 -- "$f" | tr -d ' \n')
  case $m in
    014c) echo i686 ;;
    8664) echo x86_64 ;;
    '') echo none ;;
    *) echo "$m" ;;
  esac
}

# native when this kernel runs 32-bit programs, else qemu; PELMARO_WINE32_VIA
# (auto, native, qemu) decides. Tests whose result differs use this to know.
pel_wine32_via() {
  if [ -z "${_pel_wine32_via:-}" ]; then
    case $PELMARO_WINE32_VIA in
      native|qemu) _pel_wine32_via=$PELMARO_WINE32_VIA ;;
      auto)
        if "$PELMARO_WINE32" --version >/dev/null 2>&1; then _pel_wine32_via=native
        else _pel_wine32_via=qemu; fi ;;
      *) _pel_wine_die "PELMARO_WINE32_VIA must be auto, native or qemu"; return 1 ;;
    esac
  fi
  printf '%s\n' "$_pel_wine32_via"
}

# pel_wine_session DIR: DIR/prefix is a new copy of the template (its read-only
# files under drive_c/windows, the builtin DLLs and programs, are hard links;
# everything else is copied), DIR/home becomes HOME, DIR/wine.log collects the
# wineserver's and the start-up's messages. A persistent wineserver serves the
# prefix until pel_wine_end. Exports WINEPREFIX, HOME, WINESERVER, WINEDLLOVERRIDES.
pel_wine_session() {
  [ $# -eq 1 ] && [ -n "$1" ] || { _pel_wine_die "usage: pel_wine_session DIR"; return 1; }
  local dir tpl pfx log
  mkdir -p -- "$1" || return 1
  dir=$(cd -- "$1" && pwd) || return 1
  # A session this shell started is ended first; one inherited from a calling script (nbhost
  # run by a test) stays the caller's: only its settings are forgotten here.
  if [ -n "${PELMARO_WINE_SESSION:-}" ]; then
    if [ "${PELMARO_WINE_SESSION_OWNER:-}" = "$BASHPID" ]; then pel_wine_end
    else
      [ -n "${PELMARO_WINE_SAVED_HOME+x}" ] && export HOME=$PELMARO_WINE_SAVED_HOME
      unset PELMARO_WINE_SESSION PELMARO_WINE_XVFB_PID PELMARO_WINE_SAVED_HOME PELMARO_WINE_SAVED_PREFIX \
        PELMARO_WINE_SAVED_DISPLAY WINEPREFIX
    fi
  fi
  _pel_wine_load_version || return 1
  _pel_wine32_via=
  pel_wine32_via >/dev/null || return 1

  if ! pel_wine_template_ready; then
    echo "wine.sh: building the template prefix (scripts/wine-prefix.sh)" >&2
    "$PELMARO_ROOT/scripts/wine-prefix.sh" || return 1
  fi
  tpl=$(pel_wine_template) || return 1
  pfx=$dir/prefix
  log=$dir/wine.log

  if [ -d "$pfx" ]; then
    WINEPREFIX=$pfx "$PELMARO_WINESERVER" -k >/dev/null 2>&1 || true
    rm -rf -- "$pfx" || return 1
  fi
  # Hard links need the same file system (and, for others than root, ownership
  # of the template); otherwise this is a full copy of about 1.3 GB.
  if ! cp -al -- "$tpl" "$pfx" 2>/dev/null; then
    rm -rf -- "$pfx"
    cp -a -- "$tpl" "$pfx" || return 1
  fi
  find "$pfx" -type f -links +1 \( -perm -u=w -o ! -path "$pfx/drive_c/windows/*" \) -exec sh -c '
    for f; do cp -p -- "$f" "$f.pelcopy" && mv -f -- "$f.pelcopy" "$f" || exit 1; done' sh {} + ||
    { _pel_wine_die "cannot copy the writable files of $tpl"; return 1; }
  rm -f -- "$pfx/.pelmaro-template"
  mkdir -p -- "$dir/home" || return 1

  if [ -z "${PELMARO_WINE_SAVED_HOME+x}" ]; then
    PELMARO_WINE_SAVED_HOME=${HOME-}
    PELMARO_WINE_SAVED_PREFIX=${WINEPREFIX-}
  fi
  export WINEPREFIX=$pfx HOME=$dir/home
  # Wine's recycle bin is the freedesktop trash of HOME: it works only where that exists.
  mkdir -p "$HOME/.local/share/Trash/files" "$HOME/.local/share/Trash/info"
  export WINESERVER=$PELMARO_WINESERVER
  case ";${WINEDLLOVERRIDES-};" in
    *";$PELMARO_WINE_OVERRIDES;"*) ;;
    *) export WINEDLLOVERRIDES="$PELMARO_WINE_OVERRIDES${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}" ;;
  esac
  export PELMARO_WINE_SESSION=$dir PELMARO_WINE_SESSION_OWNER=$BASHPID
  # 32-bit programs on the qemu route start 32-bit children through this script (Wine starts
  # Linux programs, and passes them the environment).
  if [ "$(pel_wine32_via)" = qemu ]; then
    PELMARO_HIJO32=$(pel_winpath "$PELMARO_ROOT/scripts/lib/nbhost32.sh")
    export PELMARO_HIJO32
  else
    unset PELMARO_HIJO32
  fi

  if [ -z "${DISPLAY:-}" ] || [ "$PELMARO_WINE_XVFB" = 1 ]; then
    _pel_xvfb_start "$dir" || { pel_wine_end; return 1; }
  fi

  # All descriptors redirected: the server and the services started below outlive
  # this call and must not hold the caller's pipes open.
  "$PELMARO_WINESERVER" -p </dev/null >>"$log" 2>&1 ||
    { _pel_wine_die "wineserver did not start (see $log)"; pel_wine_end; return 1; }
  # The first process of a session runs wineboot, which starts the services. Doing
  # it here keeps that out of the programs' run times and output.
  WINEDEBUG=${WINEDEBUG--all} "$PELMARO_WINE64" cmd.exe /c exit 0 </dev/null >>"$log" 2>&1 ||
    { _pel_wine_die "the first Wine process failed (see $log)"; pel_wine_end; return 1; }
  if [ -n "$PELMARO_WINE_DESKTOP" ]; then
    { WINEDEBUG=-all "$PELMARO_WINE64" reg.exe add 'HKCU\Software\Wine\Explorer' /v Desktop /d pelmaro /f &&
      WINEDEBUG=-all "$PELMARO_WINE64" reg.exe add 'HKCU\Software\Wine\Explorer\Desktops' /v pelmaro \
        /d "$PELMARO_WINE_DESKTOP" /f; } </dev/null >>"$log" 2>&1 ||
      { _pel_wine_die "cannot set the virtual desktop (see $log)"; pel_wine_end; return 1; }
  fi
}

# Starts Xvfb on a free display for the session and exports DISPLAY.
_pel_xvfb_start() {
  local dir=$1 n i
  command -v Xvfb >/dev/null || { _pel_wine_die "Xvfb is not installed (run scripts/setup.sh)"; return 1; }
  : >"$dir/xvfb.display"
  # -displayfd: the server picks a free display number and writes it when it is ready.
  Xvfb -displayfd 7 -screen 0 "${PELMARO_WINE_DESKTOP:-1024x768}x24" -nolisten tcp -noreset \
    7>"$dir/xvfb.display" </dev/null >>"$dir/xvfb.log" 2>&1 &
  PELMARO_WINE_XVFB_PID=$!
  for ((i = 0; i < 100; i++)); do
    n=$(tr -dc 0-9 <"$dir/xvfb.display" 2>/dev/null)
    [ -n "$n" ] && break
    kill -0 "$PELMARO_WINE_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$n" ] || { _pel_wine_die "Xvfb did not start (see $dir/xvfb.log)"; return 1; }
  PELMARO_WINE_SAVED_DISPLAY=${DISPLAY-}
  export DISPLAY=:$n PELMARO_WINE_XVFB_PID
}

# pel_wine_run ARCH EXE [ARGS...]: EXE is a Linux path (anything with a '/') or a
# Windows name or path; ARGS are passed unchanged (convert paths with pel_winpath).
# stdin, stdout and stderr are the caller's (a closed stdin becomes /dev/null);
# Wine's own messages are off (WINEDEBUG=-all) unless WINEDEBUG is set, and go
# to stderr. Console programs of the Windows C runtime write \r\n line ends.
# The status is the program's exit code modulo 256 (a crash with 0xC0000005
# gives 5); 124 when PELMARO_WINE_TIMEOUT (seconds) ran out; 125-127 for
# failures before the start.
pel_wine_run() {
  [ $# -ge 2 ] || { _pel_wine_die "usage: pel_wine_run i686|x86_64 EXE [ARGS...]"; return 125; }
  local arch=$1 exe=$2 winexe m via rc=0
  shift 2
  [ -n "${PELMARO_WINE_SESSION:-}" ] || { _pel_wine_die "no session: call pel_wine_session DIR first"; return 125; }
  case $arch in
    x86_64|i686) ;;
    *) _pel_wine_die "unknown ARCH '$arch' (i686 or x86_64)"; return 125 ;;
  esac
  case $exe in
    */*)
      [ -f "$exe" ] || { _pel_wine_die "no such program: $exe"; return 127; }
      m=$(pel_pe_machine "$exe")
      [ "$m" = "$arch" ] || { _pel_wine_die "$exe is not an $arch program (found: $m)"; return 126; }
      winexe=$(pel_winpath "$exe") || return 125 ;;
    *) winexe=$exe ;;
  esac

  local -a cmd
  if [ "$arch" = x86_64 ]; then
    cmd=("$PELMARO_WINE64" "$winexe" "$@")
  else
    via=$(pel_wine32_via) || return 125
    if [ "$via" = native ]; then
      cmd=("$PELMARO_WINE32" "$winexe" "$@")
    else
      # WINELOADERNOEXEC: the loader would otherwise try to re-exec itself.
      cmd=(env WINELOADERNOEXEC=1 "$PELMARO_QEMU_I386" -p "$PELMARO_QEMU_PAGESIZE" -L /
           "$PELMARO_WINE32" "$winexe" "$@")
    fi
  fi
  if [ -n "${PELMARO_WINE_TIMEOUT:-}" ]; then
    # --foreground: the program may read a terminal; it is a single process.
    cmd=(timeout --foreground -k 10 "$PELMARO_WINE_TIMEOUT" "${cmd[@]}")
  fi

  # A closed stdin would let Wine hand descriptor 0 to something else.
  if { : <&0; } 2>/dev/null; then
    WINEDEBUG=${WINEDEBUG--all} "${cmd[@]}" || rc=$?
  else
    WINEDEBUG=${WINEDEBUG--all} "${cmd[@]}" </dev/null || rc=$?
  fi
  return "$rc"
}

# Stops the session's wineserver, which ends every process still running in the
# prefix, and waits for it. HOME and WINEPREFIX get their earlier values back.
# The session folder stays for inspection.
pel_wine_end() {
  [ -n "${PELMARO_WINE_SESSION:-}" ] || return 0
  "$PELMARO_WINESERVER" -k >/dev/null 2>&1 || true
  "$PELMARO_WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "${PELMARO_WINE_XVFB_PID:-}" ]; then
    kill "$PELMARO_WINE_XVFB_PID" 2>/dev/null || true
    wait "$PELMARO_WINE_XVFB_PID" 2>/dev/null || true
    if [ -n "${PELMARO_WINE_SAVED_DISPLAY:-}" ]; then export DISPLAY=$PELMARO_WINE_SAVED_DISPLAY; else unset DISPLAY; fi
    unset PELMARO_WINE_XVFB_PID PELMARO_WINE_SAVED_DISPLAY
  fi
  unset PELMARO_WINE_SESSION_OWNER
  if [ -n "${PELMARO_WINE_SAVED_HOME+x}" ]; then
    export HOME=$PELMARO_WINE_SAVED_HOME
    if [ -n "$PELMARO_WINE_SAVED_PREFIX" ]; then
      export WINEPREFIX=$PELMARO_WINE_SAVED_PREFIX
    else
      unset WINEPREFIX
    fi
    unset PELMARO_WINE_SAVED_HOME PELMARO_WINE_SAVED_PREFIX
  fi
  unset PELMARO_WINE_SESSION
}
