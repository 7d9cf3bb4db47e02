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
rm -rf "$home"

# The builtin DLLs and programs are the bulk (about 1.3 GB). Sessions hard-link
# the read-only files under drive_c/windows instead of copying them. For users
# other than root the mode protects the template; root's writes through a link
# are caught by pel_wine_template_ready (a file newer than the stamp).
find "$work/drive_c/windows" -type f \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.drv' \
    -o -iname '*.sys' -o -iname '*.ocx' -o -iname '*.cpl' -o -iname '*.acm' -o -iname '*.ax' \
    -o -iname '*.tlb' -o -iname '*.nls' -o -iname '*.vxd' -o -iname '*.com' -o -iname '*.mod' \
    -o -iname '*.ds' -o -iname '*16' \) -exec chmod a-w {} +

printf '%s\n' "$id" >"$work/.pelmaro-template"
rm -rf "$tpl"
mv "$work" "$tpl"
log "done in $((SECONDS - start)) s ($(du -sh "$tpl" | cut -f1))"
