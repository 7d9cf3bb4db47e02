# What the bash checks share. Sourced, never run: check NAME COMMAND... counts the command's
# success; contains and lacks look for a fixed text; the counts are $passed and $failed.
passed=0 failed=0
check() {
  local name=$1; shift
  if "$@"; then passed=$((passed + 1)); echo "[ok] $name"
  else failed=$((failed + 1)); echo "[FAILED] $name"; fi
}
contains() { grep -qF -- "$2" <<<"$1"; }
lacks() { ! grep -qF -- "$2" <<<"$1"; }
