#!/usr/bin/env bash
# Cross-builds third-party libraries for the Windows targets from Debian's packages into a
# cache outside the checkout, keyed by package version and target; a built one is reused.
#
#   scripts/deps.sh TARGET...        TARGET: i686, x86_64 or native
#
# Prints nothing when everything is cached. Each library is a recipe below: where its
# source comes from (an installed source tree, or `apt-get source`) and how it is configured.
# Adding a library is a recipe function and a line in LIBRARIES.
set -euo pipefail
shopt -s inherit_errexit
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib/env.sh"

LIBRARIES=(googletest cryptopp libintl zlib libjpeg libpng giflib openjpeg)
# Natively these come from the system: Debian's -dev packages (scripts/setup.sh) or the C library.
NATIVE_SYSTEM=(googletest libintl zlib libjpeg libpng giflib openjpeg)

log() { printf '[deps] %s\n' "$*" >&2; }

pkg_version() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null | tr ':~+' '__.'; }
# Version of a source package as apt knows it.
pkg_version_src() { apt-cache showsrc "$1" 2>/dev/null | awk '/^Version:/{print $2; exit}' | tr ':~+' '__.'; }

# Unpacks Debian's source package PKG (once per version) and prints its folder.
debian_source() {
  local pkg=$1 ver dir
  ver=$(apt-cache showsrc "$pkg" 2>/dev/null | awk '/^Version:/{print $2; exit}')
  [ -n "$ver" ] || { log "no source package $pkg (is deb-src enabled? run scripts/setup.sh)"; return 1; }
  dir="$PELMARO_CACHE/src/$pkg-$(echo "$ver" | tr ':~+' '__.')"
  if [ ! -f "$dir/.unpacked" ]; then
    rm -rf "$dir"; mkdir -p "$dir"
    (cd "$dir" && apt-get source -qq "$pkg=$ver" >/dev/null 2>&1)
    touch "$dir/.unpacked"
  fi
  find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n 1
}

# Configures, builds and installs a CMake project for TARGET into PREFIX.
cmake_build() {
  local src=$1 target=$2 prefix=$3; shift 3
  local work="$prefix.build"
  rm -rf "$work"
  cmake -S "$src" -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PELMARO_ROOT/cmake/toolchain-$target.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >"$work.log" 2>&1 || { cat "$work.log" >&2; return 1; }
  cmake --build "$work" >>"$work.log" 2>&1 || { tail -n 40 "$work.log" >&2; return 1; }
  cmake --install "$work" >>"$work.log" 2>&1
  rm -rf "$work"
}

# --- Recipes: recipe_NAME TARGET PREFIX builds NAME; version_NAME prints its cache key. ---

version_googletest() { pkg_version googletest; }
recipe_googletest() {
  # Debian's googletest package installs GoogleTest's own source tree.
  cmake_build /usr/src/googletest "$1" "$2" -DBUILD_GMOCK=ON -Dgtest_disable_pthreads=ON \
    -DCMAKE_CXX_FLAGS="-static-libgcc -static-libstdc++"
}

# "-noselftest": the library is built without its DLL start-up self-test (below).
version_cryptopp() { echo "$(pkg_version_src libcrypto++)-noselftest"; }
recipe_cryptopp() {
  local src work cxx ar ranlib
  src=$(debian_source libcrypto++) || return 1
  work="$2.build"
  rm -rf "$work"; cp -a "$src" "$work"
  case $1 in
    native) cxx=g++ ar=ar ranlib=ranlib ;;
    *) cxx=$1-w64-mingw32-g++-posix ar=$1-w64-mingw32-ar ranlib=$1-w64-mingw32-ranlib ;;
  esac
  # The cross makefile probes no CPU features of the build machine: the portable code paths.
  make -C "$work" -f GNUmakefile-cross -j"$(nproc)" CXX="$cxx" AR="$ar" RANLIB="$ranlib" \
    CXXFLAGS="-O2 -DNDEBUG" static >"$work.log" 2>&1 || { tail -n 30 "$work.log" >&2; return 1; }
  make -C "$work" -f GNUmakefile-cross PREFIX="$2" install-lib >>"$work.log" 2>&1 ||
    make -C "$work" -f GNUmakefile-cross PREFIX="$2" install >>"$work.log" 2>&1 || { tail -n 30 "$work.log" >&2; return 1; }
  # fipstest.o holds a DllMain that runs the library's power-up self-test (a MAC over the
  # whole module) every time a DLL linked with it is loaded. Nothing else refers to it.
  "$ar" d "$2/lib/libcryptopp.a" fipstest.o
  rm -rf "$work"
}

# libintl from the pristine gettext orig tarball of Debian's source package (Debian's patched
# tree wants other autotools); only the runtime's intl folder is built: static, no iconv.
# Off Windows the C library has it.
version_libintl() { pkg_version_src gettext; }
recipe_libintl() {
  local ver dir src work
  ver=$(apt-cache showsrc gettext 2>/dev/null | awk '/^Version:/{print $2; exit}')
  dir="$PELMARO_CACHE/src/gettext-$(echo "$ver" | tr ':~+' '__.')-orig"
  if [ ! -f "$dir/.unpacked" ]; then
    rm -rf "$dir"; mkdir -p "$dir"
    (cd "$dir" && apt-get source -qq --download-only "gettext=$ver" >/dev/null 2>&1 &&
      tar xf gettext_*.orig.tar.xz && rm -f gettext_*) || { log "gettext: no source"; return 1; }
    touch "$dir/.unpacked"
  fi
  src=$(find "$dir" -mindepth 1 -maxdepth 1 -type d | head -n 1)
  work="$2.build"
  rm -rf "$work"; mkdir -p "$work" "$2/lib" "$2/include"
  (cd "$work" && "$src/gettext-runtime/configure" --host="$1-w64-mingw32" --disable-shared \
      --enable-static --disable-java --disable-csharp --disable-libasprintf \
      CC="$1-w64-mingw32-gcc-posix" CFLAGS=-O2 >"$work.log" 2>&1 &&
    make -C intl -j"$(nproc)" >>"$work.log" 2>&1) || { tail -n 30 "$work.log" >&2; return 1; }
  cp "$work/intl/.libs/libintl.a" "$2/lib/"
  cp "$work/intl/libintl.h" "$2/include/"
  rm -rf "$work" "$work.log"
}

# Configures a CMake project for TARGET in PREFIX.build and builds only the named targets
# (no tools, tests or documentation); the recipe copies what it needs into PREFIX.
cmake_targets() {
  local src=$1 target=$2 prefix=$3 targets=$4; shift 4
  local work="$prefix.build"
  rm -rf "$work"
  cmake -S "$src" -B "$work" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PELMARO_ROOT/cmake/toolchain-$target.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" "$@" >"$work.log" 2>&1 ||
    { cat "$work.log" >&2; return 1; }
  # shellcheck disable=SC2086
  cmake --build "$work" --target $targets >>"$work.log" 2>&1 || { tail -n 40 "$work.log" >&2; return 1; }
  mkdir -p "$prefix/include" "$prefix/lib"
}

# zlib for the Windows targets is Debian's MinGW build (libz-mingw-w64-dev); this entry only
# puts its static library first, ahead of the import library beside it.
version_zlib() { pkg_version libz-mingw-w64-dev; }
recipe_zlib() {
  mkdir -p "$2/include" "$2/lib"
  cp "/usr/$1-w64-mingw32/include/zlib.h" "/usr/$1-w64-mingw32/include/zconf.h" "$2/include/" &&
    cp "/usr/$1-w64-mingw32/lib/libz.a" "$2/lib/"
}

version_libjpeg() { pkg_version_src libjpeg-turbo; }
recipe_libjpeg() {
  local src
  src=$(debian_source libjpeg-turbo) || return 1
  cmake_targets "$src" "$1" "$2" jpeg-static -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF \
    -DCMAKE_ASM_NASM_COMPILER=nasm || return 1
  cp "$src"/{jpeglib.h,jmorecfg.h,jerror.h} "$2.build/jconfig.h" "$2/include/" || return 1
  cp "$2.build/libjpeg.a" "$2/lib/" || return 1
  rm -rf "$2.build"
}

version_libpng() { pkg_version_src libpng1.6; }
recipe_libpng() {
  local src
  src=$(debian_source libpng1.6) || return 1
  cmake_targets "$src" "$1" "$2" png_static -DPNG_SHARED=OFF -DPNG_TESTS=OFF \
    -DZLIB_INCLUDE_DIR="/usr/$1-w64-mingw32/include" -DZLIB_LIBRARY="/usr/$1-w64-mingw32/lib/libz.a" || return 1
  cp "$src"/{png.h,pngconf.h} "$2.build/pnglibconf.h" "$2/include/" || return 1
  cp "$2.build/libpng16.a" "$2/lib/libpng.a" || return 1
  rm -rf "$2.build"
}

# giflib's makefile builds its tools and documentation too: the library's few files are
# compiled directly.
version_giflib() { pkg_version_src giflib; }
recipe_giflib() {
  local src f
  src=$(debian_source giflib) || return 1
  mkdir -p "$2.build" "$2/include" "$2/lib"
  for f in dgif_lib egif_lib gifalloc gif_err gif_hash openbsd-reallocarray quantize; do
    "$1-w64-mingw32-gcc" -O2 -DNDEBUG -c "$src/$f.c" -o "$2.build/$f.o" || return 1
  done
  "$1-w64-mingw32-ar" rcs "$2/lib/libgif.a" "$2.build"/*.o || return 1
  cp "$src/gif_lib.h" "$2/include/" || return 1
  rm -rf "$2.build"
}

version_openjpeg() { pkg_version_src openjpeg2; }
recipe_openjpeg() {
  local src
  src=$(debian_source openjpeg2) || return 1
  cmake_targets "$src" "$1" "$2" openjp2 -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON \
    -DBUILD_CODEC=OFF -DBUILD_TESTING=OFF -DBUILD_DOC=OFF || return 1
  cp "$src"/src/lib/openjp2/{openjpeg.h,opj_stdint.h} "$2.build"/src/lib/openjp2/opj_config.h "$2/include/" || return 1
  cp "$2.build/bin/libopenjp2.a" "$2/lib/" || return 1
  rm -rf "$2.build"
}

# Prints the install prefix of NAME for TARGET, building it first when needed.
dep_prefix() {
  local name=$1 target=$2 ver prefix
  ver=$("version_$name")
  [ -n "$ver" ] || { log "$name: its Debian package is not installed (run scripts/setup.sh)"; return 1; }
  prefix="$PELMARO_CACHE/deps/$name-$ver/$target"
  if [ ! -f "$prefix/.done" ]; then
    log "building $name $ver for $target (cached afterwards)"
    rm -rf "$prefix"; mkdir -p "$prefix"
    "recipe_$name" "$target" "$prefix" || { log "$name: build for $target failed"; return 1; }
    touch "$prefix/.done"
  fi
  printf '%s\n' "$prefix"
}

[ $# -gt 0 ] || { echo "usage: $0 TARGET..." >&2; exit 2; }
for target in "$@"; do
  case $target in i686|x86_64|native) ;; *) echo "deps: unknown target $target" >&2; exit 2;; esac
done

# Without a lock when everything is built already, so that a build of one library never
# holds up the builds that need nothing new.
all_done() {
  local target name ver
  for target in "$@"; do
    for name in "${LIBRARIES[@]}"; do
      [ "$target" = native ] && [[ " ${NATIVE_SYSTEM[*]} " == *" $name "* ]] && continue
      ver=$("version_$name") && [ -n "$ver" ] || return 1
      [ -f "$PELMARO_CACHE/deps/$name-$ver/$target/.done" ] || return 1
    done
  done
}

# One build at a time: a second caller waits for the first and then finds the cache filled.
mkdir -p "$PELMARO_CACHE/deps"
if ! all_done "$@"; then
  exec 9>"$PELMARO_CACHE/deps/.lock"
  flock 9
fi
for target in "$@"; do
  case $target in i686|x86_64|native) ;; *) echo "deps: unknown target $target" >&2; exit 2;; esac
  prefixes=()
  for name in "${LIBRARIES[@]}"; do
    [ "$target" = native ] && [[ " ${NATIVE_SYSTEM[*]} " == *" $name "* ]] && continue
    prefix=$(dep_prefix "$name" "$target")
    prefixes+=("$prefix")
  done
  (IFS=';'; printf '%s\n' "${prefixes[*]}")
done
