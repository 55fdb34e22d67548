#!/usr/bin/env bash
# The Japanese translation is complete: lupdate, run over the sources into a copy of the .ts,
# finds no text missing from it (it would come out unfinished), none gone from the sources
# (vanished or obsolete) and none left untranslated.
set -euo pipefail
source "$(dirname "$0")/checks.sh"
lupdate=$1 sources=$2 ts=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$ts" "$work/copy.ts"
"$lupdate" -silent -locations none "$sources" -ts "$work/copy.ts"
check "every source text is in $(basename "$ts")" '[ "$(grep -c "<source>" "$work/copy.ts")" -eq "$(grep -c "<source>" "$ts")" ]'
for state in unfinished vanished obsolete; do
    check "no $state entry" '! grep -n "type=\"$state\"" "$work/copy.ts"'
done
exit $fail
