#!/usr/bin/env bash
# cmake --install into a scratch root: every file in its place, the desktop entry and the
# AppStream metainfo valid, the icon an SVG.
set -euo pipefail
source "$(dirname "$0")/checks.sh"
build=$1
need desktop-file-validate appstreamcli
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/usr" >/dev/null

id=io.bingocaller.BingoCaller
check "executable" '[ -x "$root/usr/bin/bingo-caller" ]'
check "desktop entry valid" 'desktop-file-validate "$root/usr/share/applications/$id.desktop"'
check "desktop entry name" 'grep -qx "Name=TavrinのBINGOマシーン" "$root/usr/share/applications/$id.desktop"'
check "desktop entry exec" 'grep -qx "Exec=bingo-caller" "$root/usr/share/applications/$id.desktop"'
check "desktop entry in Japanese" 'grep -q "^Comment\[ja\]=." "$root/usr/share/applications/$id.desktop" &&
    grep -q "^Keywords\[ja\]=." "$root/usr/share/applications/$id.desktop"'
check "desktop entry categories" 'grep -qx "Categories=Game;BoardGame;" "$root/usr/share/applications/$id.desktop"'
# The one warning allowed: no homepage, until the project has a public site.
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >"$root/validate" 2>&1 || true
cat "$root/validate"
check "metainfo has no error" '! grep -q "^E:" "$root/validate"'
check "metainfo has no warning but the homepage" '! grep "^W:" "$root/validate" | grep -v url-homepage-missing'
check "metainfo in Japanese" 'grep -q "<summary xml:lang=\"ja\">" "$root/usr/share/metainfo/$id.metainfo.xml" &&
    grep -q "<p xml:lang=\"ja\">" "$root/usr/share/metainfo/$id.metainfo.xml"'
check "metainfo developer" 'grep -q "<developer id=" "$root/usr/share/metainfo/$id.metainfo.xml"'
check "metainfo release 1.00" 'grep -q "<release version=\"1.00\"" "$root/usr/share/metainfo/$id.metainfo.xml"'
check "metainfo screenshot" 'grep -q "<screenshot type=\"default\">" "$root/usr/share/metainfo/$id.metainfo.xml"'
check "scalable icon" 'grep -q "<svg" "$root/usr/share/icons/hicolor/scalable/apps/$id.svg"'
check "copyright" '[ -s "$root/usr/share/doc/bingo-caller/copyright" ]'
# man-db shows the Japanese page under a Japanese locale, without a warning from groff.
man=$root/usr/share/man
LC_ALL=C.UTF-8 MANPATH=$man LANGUAGE=ja MANWIDTH=80 man --warnings -L ja bingo-caller \
    >"$root/man.ja" 2>"$root/man.err" || true
MANPATH=$man man -L C bingo-caller >"$root/man.en" 2>/dev/null || true
check "Japanese manual page" 'grep -q "番号抽選機" "$root/man.ja" && [ ! -s "$root/man.err" ]'
check "English manual page" 'grep -q "number caller" "$root/man.en"'
check "changelog" 'gzip -t "$root/usr/share/doc/bingo-caller/changelog.gz"'
exit $fail
