#!/usr/bin/env bash
# The built executable is hardened: PIE, full RELRO, stack protector, fortified libc calls.
set -euo pipefail
source "$(dirname "$0")/checks.sh"
exe=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
readelf -hlW "$exe" >"$work/headers"
readelf -dW "$exe" >"$work/dynamic"
readelf -sW "$exe" >"$work/symbols"
check "position independent (PIE)" 'grep -q "Type:.*DYN" "$work/headers"'
check "RELRO segment" 'grep -q GNU_RELRO "$work/headers"'
check "bound now (full RELRO)" 'grep -Eq "BIND_NOW|FLAGS_1.*NOW" "$work/dynamic"'
check "stack protector" 'grep -q __stack_chk_fail "$work/symbols"'
check "fortified calls" 'grep -Eq "__[a-z]+_chk@" "$work/symbols"'
exit $fail
