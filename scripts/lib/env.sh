# Common settings for the project's scripts. Sourced, never run.
# PELMARO_ROOT: the checkout; PELMARO_CACHE: slow-to-rebuild things kept outside it.
PELMARO_ROOT=${PELMARO_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
PELMARO_CACHE=${PELMARO_CACHE:-/var/cache/pelmaro}
PELMARO_BUILD=${PELMARO_BUILD:-$PELMARO_ROOT/build}
export PELMARO_ROOT PELMARO_CACHE PELMARO_BUILD
# gettext's LANGUAGE is overridden by LC_ALL=C; Wine follows LANG.
unset LC_ALL
export LANG=${PELMARO_LANG:-C.UTF-8}
