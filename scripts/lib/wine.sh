# Running Windows test programs under Wine. Sourced, never run.
#
#   pel_wine_session DIR         fresh prefix in DIR/prefix, HOME=DIR/home, wineserver started
#   pel_wine_run ARCH EXE ARGS   ARCH i686 or x86_64; returns the program's exit code
#   pel_wine_end                 stops the session's wineserver and everything it runs
#   pel_winpath PATH             Linux path -> Windows path (Z:\...)
#
# 64-bit programs run under Debian's wine64 loader directly. 32-bit programs need
# the 32-bit loader, which the kernel here cannot execute (no 32-bit emulation), so
# it runs under qemu-i386 and talks to the 64-bit wineserver of the session. That
# route cannot start further 32-bit processes (Wine execs the 32-bit loader itself);
# 64-bit child processes work.
#
# The template prefix the sessions copy is built by scripts/wine-prefix.sh.

if [ -z "${PELMARO_CACHE:-}" ]; then
  . "$(dirname "${BASH_SOURCE[0]}")/env.sh"
fi

PELMARO_WINE64=${PELMARO_WINE64:-/usr/lib/wine/wine64}
PELMARO_WINE32=${PELMARO_WINE32:-/usr/lib/wine/wine}
PELMARO_WINESERVER=${PELMARO_WINESERVER:-/usr/lib/wine/wineserver64}
PELMARO_WINE_INF=${PELMARO_WINE_INF:-/usr/share/wine/wine.inf}
PELMARO_QEMU_I386=${PELMARO_QEMU_I386:-qemu-i386}
# qemu-user 7.2 searches its page table one host page at a time for every mmap
# without a fixed address, and Wine's start-up (no preloader in Debian) makes
# thousands of those: with 4 KiB pages a 32-bit start takes 1.5-2 minutes, with
# 64 KiB (Windows' allocation granularity, so every Wine reservation stays aligned)
# about 10 s. 32 KiB does not work at all (the shared user data page cannot be mapped).
# Protection changes smaller than one such page are not enforced by the host.
PELMARO_QEMU_PAGESIZE=${PELMARO_QEMU_PAGESIZE:-65536}
# Dialogs offering to download Mono and Gecko, and menu entries written into HOME.
PELMARO_WINE_OVERRIDES=${PELMARO_WINE_OVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}

_pel_wine_die() { echo "wine.sh: $*" >&2; return 1; }

# Identity of the installed Wine: the template is rebuilt when it changes.
pel_wine_version() {
  if [ -z "${_pel_wine_version:-}" ]; then
    _pel_wine_version=$("$PELMARO_WINE64" --version 2>/dev/null) ||
      { _pel_wine_die "cannot run $PELMARO_WINE64 (is wine64 installed?)"; return 1; }
  fi
  printf '%s\n' "$_pel_wine_version"
}

# Folder of the template prefix for the installed Wine, e.g.
# $PELMARO_CACHE/wine/prefix-wine-8.0_Debian_8.0_repack-4
pel_wine_template() {
  local v
  v=$(pel_wine_version) || return 1
  v=$(printf '%s' "$v" | sed -e 's/[^A-Za-z0-9.+-]\{1,\}/_/g' -e 's/^_//' -e 's/_$//')
  printf '%s\n' "$PELMARO_CACHE/wine/prefix-$v"
}

# What the template's stamp file must contain to be current. wine.inf's time is
# what Wine compares to decide that a prefix needs updating.
pel_wine_template_id() {
  local v t
  v=$(pel_wine_version) || return 1
  t=$(stat -c %Y "$PELMARO_WINE_INF" 2>/dev/null) || t=none
  printf '%s wine.inf=%s\n' "$v" "$t"
}

pel_wine_template_ready() {
  local tpl id
  tpl=$(pel_wine_template) && id=$(pel_wine_template_id) || return 1
  [ -f "$tpl/.pelmaro-template" ] && [ "$(cat "$tpl/.pelmaro-template")" = "$id" ]
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

# Machine of a PE file: i686, x86_64 or something else (the raw number), to catch
# a program run with the wrong loader before Wine fails obscurely.
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
    *) echo "$m" ;;
  esac
}

# pel_wine_session DIR: DIR/prefix is a new copy of the template (files that Wine
# only reads are hard links to the template, marked read-only there; everything
# else is copied), DIR/home becomes HOME, DIR/wine.log collects the wineserver's
# and the start-up's messages. A persistent wineserver runs until pel_wine_end.
pel_wine_session() {
  [ $# -eq 1 ] && [ -n "$1" ] || { _pel_wine_die "usage: pel_wine_session DIR"; return 1; }
  local dir tpl pfx log
  mkdir -p -- "$1" || return 1
  dir=$(cd -- "$1" && pwd) || return 1
  [ -n "${PELMARO_WINE_SESSION:-}" ] && pel_wine_end

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
  find "$pfx" -type f -perm -u=w -links +1 -exec sh -c '
    for f; do cp -p -- "$f" "$f.pelcopy" && mv -f -- "$f.pelcopy" "$f" || exit 1; done' sh {} + ||
    { _pel_wine_die "cannot copy the writable files of $tpl"; return 1; }
  rm -f -- "$pfx/.pelmaro-template"
  mkdir -p -- "$dir/home" || return 1

  if [ -z "${PELMARO_WINE_SAVED_HOME+x}" ]; then
    PELMARO_WINE_SAVED_HOME=${HOME-}
    PELMARO_WINE_SAVED_PREFIX=${WINEPREFIX-}
  fi
  export WINEPREFIX=$pfx HOME=$dir/home
  export WINESERVER=$PELMARO_WINESERVER
  case ";${WINEDLLOVERRIDES-};" in
    *";$PELMARO_WINE_OVERRIDES;"*) ;;
    *) export WINEDLLOVERRIDES="$PELMARO_WINE_OVERRIDES${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}" ;;
  esac
  export PELMARO_WINE_SESSION=$dir

  # All descriptors redirected: the server and the services started below outlive
  # this call and must not hold the caller's pipes open.
  "$PELMARO_WINESERVER" -p </dev/null >>"$log" 2>&1 ||
    { _pel_wine_die "wineserver did not start (see $log)"; pel_wine_end; return 1; }
  # The first process of a session starts wineboot and the services. Doing that
  # here with the native 64-bit loader keeps it out of the programs' timings and
  # output, and out of the slow 32-bit route.
  WINEDEBUG=${WINEDEBUG--all} "$PELMARO_WINE64" cmd.exe /c exit 0 </dev/null >>"$log" 2>&1 ||
    { _pel_wine_die "the first Wine process failed (see $log)"; pel_wine_end; return 1; }
}

# pel_wine_run ARCH EXE [ARGS...]: EXE is a Linux path (anything with a '/') or a
# Windows name or path. stdin, stdout and stderr are the caller's; Wine's own
# messages are off (WINEDEBUG=-all) unless WINEDEBUG is set. The status is the
# program's exit code modulo 256 (a crash with 0xC0000005 gives 5); 124 when
# PELMARO_WINE_TIMEOUT (seconds) ran out; 125-127 for failures before the start.
pel_wine_run() {
  [ $# -ge 2 ] || { _pel_wine_die "usage: pel_wine_run i686|x86_64 EXE [ARGS...]"; return 125; }
  local arch=$1 exe=$2 winexe m rc=0
  shift 2
  [ -n "${PELMARO_WINE_SESSION:-}" ] || { _pel_wine_die "no session: call pel_wine_session DIR first"; return 125; }
  case $exe in
    */*)
      [ -f "$exe" ] || { _pel_wine_die "no such program: $exe"; return 127; }
      m=$(pel_pe_machine "$exe")
      [ "$m" = "$arch" ] || { _pel_wine_die "$exe is not an $arch program (found: $m)"; return 126; }
      winexe=$(pel_winpath "$exe") || return 125 ;;
    *) winexe=$exe ;;
  esac

  local -a cmd
  case $arch in
    x86_64) cmd=("$PELMARO_WINE64" "$winexe" "$@") ;;
    # WINELOADERNOEXEC: the loader would otherwise try to re-exec itself.
    i686) cmd=(env WINELOADERNOEXEC=1 "$PELMARO_QEMU_I386" -p "$PELMARO_QEMU_PAGESIZE" -L /
               "$PELMARO_WINE32" "$winexe" "$@") ;;
    *) _pel_wine_die "unknown ARCH '$arch' (i686 or x86_64)"; return 125 ;;
  esac
  if [ -n "${PELMARO_WINE_TIMEOUT:-}" ]; then
    cmd=(timeout -k 10 "$PELMARO_WINE_TIMEOUT" "${cmd[@]}")
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
