#!/usr/bin/env bash
# The built executable is hardened as the distributions build their own packages: PIE, full
# RELRO, a non-executable stack, stack protector, fortified libc calls, and on x86-64 the
# endbr64 landing pads of -fcf-protection. Stack clash protection leaves no trace in a program
# with no frame large enough to need probes.
set -euo pipefail
source "$(dirname "$0")/checks.sh"
exe=$1
need readelf objdump
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
readelf -hlW "$exe" >"$work/headers"
readelf -dW "$exe" >"$work/dynamic"
readelf -sW "$exe" >"$work/symbols"
check "position independent (PIE)" 'grep -q "Type:.*DYN" "$work/headers"'
check "RELRO segment" 'grep -q GNU_RELRO "$work/headers"'
check "bound now (full RELRO)" 'grep -Eq "BIND_NOW|FLAGS_1.*NOW" "$work/dynamic"'
check "non-executable stack" 'grep -Eq "GNU_STACK.* RW  " "$work/headers"'
check "stack protector" 'grep -q __stack_chk_fail "$work/symbols"'
check "fortified calls" 'grep -Eq "__[a-z]+_chk@" "$work/symbols"'
if grep -q "Machine:.*X86-64" "$work/headers"; then
    check "endbr64 landing pads" '[ "$(objdump -d --no-show-raw-insn "$exe" | grep -c endbr64)" -gt 10 ]'
fi
exit $fail
