#!/usr/bin/env bash
# Started by a 32-bit test program on the qemu route, where Wine cannot start a 32-bit child
# process itself (it would execute the 32-bit loader directly): runs the 32-bit program
# through qemu-i386 in the caller's Wine session, with standard input and output in files,
# and writes the exit code into OUT.rc last, once OUT is complete.
#
#   nbhost32.sh IN OUT PROGRAM [ARGS...]     IN, OUT: Linux paths; PROGRAM: a Linux path
set -u
in=$1 out=$2
shift 2
. "$(dirname "$0")/wine.sh"
rc=0
pel_wine_run i686 "$@" <"$in" >"$out" 2>&1 || rc=$?
printf '%s\n' "$rc" >"$out.rc.tmp" && mv -f "$out.rc.tmp" "$out.rc"
