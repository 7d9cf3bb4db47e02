# What the bash checks share: the counted checks and text tests. Sourced, never run.
# shellcheck shell=bash
passed=0 failed=0
check() {  # check NAME COMMAND...: the command must succeed
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "[ok] $name"
  else failed=$((failed + 1)); echo "[FAILED] $name"; fi
}
contains() { grep -qF -- "$2" <<<"$1"; }
lacks() { ! grep -qF -- "$2" <<<"$1"; }
