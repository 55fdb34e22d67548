#!/usr/bin/env bash
# Builds the Debian package, checks its control fields and files, unpacks it into a scratch
# root and starts the unpacked program on the X display CTest gives it (xsession run);
# lintian must find no error.
set -euo pipefail
source "$(dirname "$0")/checks.sh"
build=$1
need cpack dpkg-deb dpkg-shlibdeps lintian xdotool
work=$(mktemp -d)
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/*.deb)
echo "package: $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
check "Package" '[ "$(field Package)" = bingo-caller ]'
check "Version 1.00" '[ "$(field Version)" = 1.00 ]'
check "Architecture" '[ "$(field Architecture)" = "$(dpkg --print-architecture)" ]'
check "Section misc" '[ "$(field Section)" = misc ]'
depends=$(field Depends)
echo "Depends: $depends"
# The library packages this release ships the program's libraries in, found as dpkg-shlibdeps
# finds them: each NEEDED library's file, and the package that owns it.
owner() {
    local path=$1
    { dpkg -S "$path" || dpkg -S "/usr${path#/usr}" || dpkg -S "${path#/usr}"; } 2>/dev/null |
        awk -F: 'NR == 1 { print $1 }'
}
libs=$(readelf -dW "$build/app/bingo-caller" | sed -n 's/.*Shared library: \[\(.*\)\]/\1/p')
# Into a file first: on a desktop the listing is more than a pipe holds.
ldconfig -p >"$work/ldconfig"
for lib in $libs; do
    path=$(awk -v lib="$lib" '$1 == lib && !path { path = $NF } END { print path }' "$work/ldconfig")
    pkg=$(owner "$path")
    check "depends on $pkg ($lib)" '[ -n "$pkg" ] && [[ ", $depends," == *", $pkg"[\ ,]* ]]'
done
for dep in fonts-urw-base35 fonts-bebas-neue fonts-rocknroll fonts-ipafont-gothic; do
    check "depends on $dep" '[[ ", $depends," == *", $dep"[\ ,]* ]]'
done

check "recommends qt6-wayland" '[[ ", $(field Recommends)," == *", qt6-wayland,"* ]]'

# shellcheck disable=SC2034 # read in the checks' conditions
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/bingo-caller \
    ./usr/share/applications/io.bingocaller.BingoCaller.desktop \
    ./usr/share/metainfo/io.bingocaller.BingoCaller.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/io.bingocaller.BingoCaller.svg \
    ./usr/share/doc/bingo-caller/copyright ./usr/share/doc/bingo-caller/changelog.gz \
    ./usr/share/man/man1/bingo-caller.1.gz ./usr/share/man/ja/man1/bingo-caller.1.gz; do
    check "contains $path" 'grep -qx "$path" <<<"$files"'
done
check "nothing under /usr/local" '! grep -q "^./usr/local" <<<"$files"'

dpkg-deb -x "$deb" "$work/root"
"$work/root/usr/bin/bingo-caller" 2>/dev/null &
app=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$app" || true)
wid=${wid%%$'\n'*}
check "unpacked program opens its window" '[ -n "$wid" ]'
if [ -n "$wid" ]; then
    check "window caption" '[ "$(xdotool getwindowname "$wid")" = "TavrinのBINGOマシーン" ]'
fi

# shellcheck disable=SC2034 # read in the checks' conditions
lintian --fail-on error --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 && lint=0 || lint=$?
grep -E '^[EW]:' "$work/lintian.log" || true
check "lintian finds no error" '[ "$lint" -eq 0 ]'
exit $fail
