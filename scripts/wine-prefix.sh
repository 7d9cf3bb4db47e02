#!/usr/bin/env bash
# Builds the template Wine prefix that every test session copies (scripts/lib/wine.sh),
# once per installed Wine version, in $PELMARO_CACHE/wine/prefix-<version>.
# Does nothing when the template is current. Leaves no Wine process running.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib/env.sh"
. "$here/lib/wine.sh"

log() { printf '[wine-prefix] %s\n' "$*"; }
die() { printf '[wine-prefix] error: %s\n' "$*" >&2; exit 1; }

pel_wine_template_ready && exit 0

tpl=$(pel_wine_template)
id=$(pel_wine_template_id)
base=$(dirname "$tpl")
mkdir -p "$base"

# Two setups at once would build into each other's way.
exec 9>"$base/.lock"
flock 9
pel_wine_template_ready && exit 0

work=$tpl.new
home=$base/home.new
wlog=$base/wineboot.log
rm -rf "$work" "$home"
mkdir -p "$home"

log "creating $tpl"
start=$SECONDS
# wine64 makes a 64-bit prefix whose syswow64 gets the 32-bit builtin DLLs of
# libwine:i386. HOME inside the cache: Wine links Desktop, Documents and so on to
# HOME; those links are replaced below. No DISPLAY: no window may appear.
if ! env -u DISPLAY -u WAYLAND_DISPLAY -u WINEARCH \
    WINEPREFIX="$work" HOME="$home" WINESERVER="$PELMARO_WINESERVER" \
    WINEDLLOVERRIDES="$PELMARO_WINE_OVERRIDES" WINEDEBUG=-all \
    "$PELMARO_WINE64" wineboot.exe --init </dev/null >"$wlog" 2>&1; then
  cat "$wlog" >&2
  die "wineboot failed"
fi
# Wait until the services and the wineserver have ended (the registry is written then).
WINEPREFIX="$work" "$PELMARO_WINESERVER" -w
WINEPREFIX="$work" "$PELMARO_WINESERVER" -k >/dev/null 2>&1 || true

# Where the kernel runs no 32-bit programs, wineboot (a 64-bit program) cannot start the
# 32-bit half of the set-up: syswow64 stays without programs and the 32-bit registrations
# (CryptoAPI providers, COM classes) are missing. Both are made here: the builtin 32-bit
# files are put into syswow64, and the section wineboot would have run is run through the
# route that starts 32-bit programs on this machine.
via=$(pel_wine32_via)
if [ "$via" = qemu ]; then
  win32dir=${PELMARO_WINE32_DLLS:-/usr/lib/i386-linux-gnu/wine/i386-windows}
  [ -f "$win32dir/kernel32.dll" ] || die "no 32-bit Wine files in $win32dir (libwine:i386 installed?)"
  mkdir -p "$work/drive_c/windows/syswow64"
  cp -n -- "$win32dir"/* "$work/drive_c/windows/syswow64/" 2>/dev/null || true
  log "32-bit half of the prefix through qemu-i386"
  if ! env -u DISPLAY -u WAYLAND_DISPLAY WINEPREFIX="$work" HOME="$home" WINESERVER="$PELMARO_WINESERVER" \
      WINEDLLOVERRIDES="$PELMARO_WINE_OVERRIDES" WINEDEBUG=-all WINELOADERNOEXEC=1 \
      "$PELMARO_QEMU_I386" -p "$PELMARO_QEMU_PAGESIZE" -L / "$PELMARO_WINE32" \
      'C:\windows\syswow64\rundll32.exe' setupapi.dll,InstallHinfSection Wow64Install 128 \
      "\\\\?\\unix$PELMARO_WINE_INF" </dev/null >>"$wlog" 2>&1; then
    cat "$wlog" >&2
    die "the 32-bit set-up (Wow64Install) failed"
  fi
  WINEPREFIX="$work" "$PELMARO_WINESERVER" -w
fi

for f in system.reg user.reg drive_c/windows/system32/kernel32.dll \
         drive_c/windows/syswow64/kernel32.dll drive_c/windows/syswow64/ntdll.dll \
         drive_c/windows/syswow64/msvcrt.dll; do
  [ -e "$work/$f" ] || { cat "$wlog" >&2; die "the new prefix lacks $f (wine32:i386 and libwine:i386 installed?)"; }
done
[ "$(tr -d '\r\n' <"$work/.update-timestamp")" = "$(stat -c %Y "$PELMARO_WINE_INF")" ] ||
  die "the new prefix is not marked as up to date"

# Desktop, Documents, ... -> HOME become empty folders of the prefix, so that no
# session writes into this cache (or into a real home).
find "$work/drive_c/users" -type l | while IFS= read -r l; do
  case $(readlink "$l") in
    "$home"|"$home"/*) rm "$l" && mkdir "$l" ;;
  esac
done
if find "$work" -type l -lname "$home*" | grep -q .; then
  die "links into $home remain in the prefix"
fi

# The builtin DLLs and programs are the bulk (about 1.3 GB). Sessions hard-link
# the read-only files under drive_c/windows instead of copying them. For users
# other than root the mode protects the template; root's writes through a link
# are caught by pel_wine_template_ready (a file newer than the stamp).
find "$work/drive_c/windows" -type f \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' \
    -o -iname '*.sys' -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.acm' -o -iname '*.ax' \
    -o -iname '*.tlb' -o -iname '*.nls' -o -iname '*.vxd' -o -iname '*.com' -o -iname '*.mod' \
    -o -iname '*.ds' -o -iname '*16' \) -exec chmod a-w {} +

# The prefix must serve programs of both architectures: each creates a CryptoAPI context and
# a shell link object in it (what the digests and shortcuts need).
for arch in x86_64 i686; do
  probe=$base/prefix-check-$arch.exe
  if [ ! -f "$probe" ] || [ "$here/lib/prefix-check.c" -nt "$probe" ]; then
    "$arch-w64-mingw32-gcc" -O2 -o "$probe.tmp" "$here/lib/prefix-check.c" -lole32 -luuid -ladvapi32 ||
      die "cannot build the prefix check for $arch"
    mv -f "$probe.tmp" "$probe"
  fi
  if [ "$arch" = x86_64 ]; then run=("$PELMARO_WINE64")
  elif [ "$via" = native ]; then run=("$PELMARO_WINE32")
  else run=(env WINELOADERNOEXEC=1 "$PELMARO_QEMU_I386" -p "$PELMARO_QEMU_PAGESIZE" -L / "$PELMARO_WINE32"); fi
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY WINEPREFIX="$work" HOME="$home" WINESERVER="$PELMARO_WINESERVER" \
        WINEDLLOVERRIDES="$PELMARO_WINE_OVERRIDES" WINEDEBUG=-all "${run[@]}" "$(pel_winpath "$probe")" </dev/null 2>&1) ||
    { printf '%s\n' "$out" >&2; die "the new prefix does not serve $arch programs ($via route)"; }
done
WINEPREFIX="$work" "$PELMARO_WINESERVER" -k >/dev/null 2>&1 || true
WINEPREFIX="$work" "$PELMARO_WINESERVER" -w

printf '%s\n' "$id" >"$work/.pelmaro-template"
rm -rf "$home"
rm -rf "$tpl"
mv "$work" "$tpl"
log "done in $((SECONDS - start)) s ($(du -sh "$tpl" | cut -f1))"
