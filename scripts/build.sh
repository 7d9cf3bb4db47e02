#!/usr/bin/env bash
# Builds the plug-in and its tests: scripts/build.sh [native|i686|x86_64]... (default: all three).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib/env.sh"

targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(native i686 x86_64)
for t in "${targets[@]}"; do
  dir="$PELMARO_BUILD/$t"
  mkdir -p "$PELMARO_BUILD"
  case $t in
    native)
      deps=$("$here/deps.sh" native)
      args=(-DCMAKE_PREFIX_PATH="$deps") ;;
    i686|x86_64)
      deps=$("$here/deps.sh" "$t")
      args=(-DCMAKE_TOOLCHAIN_FILE="$PELMARO_ROOT/cmake/toolchain-$t.cmake" -DCMAKE_PREFIX_PATH="$deps"
            -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$dir/bin" -DCMAKE_LIBRARY_OUTPUT_DIRECTORY="$dir/bin") ;;
    *) echo "build: unknown target $t (native, i686 or x86_64)" >&2; exit 2 ;;
  esac
  # One build of a tree at a time: two runs (two nbhost calls, or nbhost during test.sh)
  # would otherwise write the same objects together. The second waits, then finds nothing
  # to do.
  exec 8>"$PELMARO_BUILD/.$t.lock"
  flock 8
  # Configured once per set of arguments; afterwards ninja re-runs CMake itself when a
  # CMakeLists.txt changes.
  want="${args[*]}"
  if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$dir/.pelmaro-args" 2>/dev/null)" != "$want" ]; then
    cmake -S "$PELMARO_ROOT" -B "$dir" -G Ninja "${args[@]}" >"$dir.configure.log" 2>&1 ||
      { cat "$dir.configure.log" >&2; exit 1; }
    printf '%s' "$want" >"$dir/.pelmaro-args"
  fi
  rc=0
  cmake --build "$dir" -- -j"$(nproc)" >"$dir/build.log" 2>&1 || rc=$?
  if ! grep -q '^ninja: no work to do' "$dir/build.log"; then echo "[build] $t" >&2; fi
  grep -vE '^\[[0-9]+/[0-9]+\] |^ninja: (no work to do|build stopped)' "$dir/build.log" >&2 || true
  exec 8>&-
  [ $rc -eq 0 ] || { echo "[build] $t failed" >&2; exit $rc; }
done
