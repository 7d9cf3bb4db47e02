#!/usr/bin/env bash
# Installs, as root, everything the builds and tests need, from Debian's packages.
# Safe to run again: every step checks whether its work is already done.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib/env.sh"

log() { printf '[setup] %s\n' "$*"; }

as_root() {
  if [ "$(id -u)" = 0 ]; then "$@"; elif command -v sudo >/dev/null; then sudo "$@"; else
    echo "setup: root is needed to install packages ($*)" >&2; exit 1; fi
}

packages=(
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  libz-mingw-w64-dev
  wine wine64 wine32:i386 libwine:i386 qemu-user
  xvfb xauth x11-apps imagemagick fonts-wine
  cmake ninja-build g++ gettext googletest
  dpkg-dev file python3 locales fp-utils
  nasm libjpeg-dev libpng-dev libgif-dev libopenjp2-7-dev clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  log "installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386
  fi
  # Source packages are cross-built for Windows by scripts/deps.sh.
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    as_root sed -i 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
  fi
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# deb-src may be wanted even when every binary package is already present.
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  as_root sed -i 's/^Types: deb$/Types: deb deb-src/' /etc/apt/sources.list.d/debian.sources
  as_root apt-get update -qq
fi

# A Spanish locale, so that tests can run Wine under a fixed, non-English locale.
if ! locale -a 2>/dev/null | grep -qi '^es_ES.utf8$'; then
  as_root sed -i 's/^# *es_ES.UTF-8 UTF-8/es_ES.UTF-8 UTF-8/' /etc/locale.gen
  as_root locale-gen >/dev/null
fi

"$here/wine-prefix.sh"
log "done"
