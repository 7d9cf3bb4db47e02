#!/usr/bin/env bash
# Installs what is missing, builds the real 32-bit plug-in and plays examples/demo.nbs
# through the host simulator, printing what the publication would see.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib/env.sh"

"$here/setup.sh"
"$here/build.sh" i686
out=$(mktemp)
trap 'rm -f "$out"' EXIT
rc=0
"$here/nbhost" --arch=i686 --catalog "$PELMARO_ROOT/examples/demo.nbs" >"$out" || rc=$?
# The identity, then the catalogue summarised per category, then the publication's run.
awk -F '\t' '
  /^(plug-in|publisher|hint): / && !rows { print; next }
  /^-?[0-9]+\t/ { if ($1 == 0) { cat = $2; order[++n] = cat } else count[cat]++; next }
  /^rows: / { rows = 1; total = 0
              print "catalogue:"
              for (i = 1; i <= n; i++) { printf "  %2d actions  %s\n", count[order[i]], order[i]; total += count[order[i]] }
              printf "  %d categories, %d actions, %s registration calls\n\n", n, total, substr($0, 7); next }
  { print }' "$out"
exit $rc
