#!/usr/bin/env bash
# scripts/make-release twice: on this host, signing with a throwaway certificate, then in the
# release environment (Debian 13) as another user, umask, time zone and locale, elsewhere, from
# files of other dates. The zip and setup program must be the same bytes, and the .deb where
# this host is of the release environment's Debian (else diffoscope shows how); the signed
# files must verify and install.
set -euo pipefail
source "$(dirname "$0")/checks.sh"
# shellcheck disable=SC2034 # read in the checks' conditions
root=$1 e2e_wine=$2
need osslsigncode openssl diffoscope unzip setpriv
# The second build on another file system where there is one: tmpfs lists files in another order.
work=$(mktemp -d) other=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work" "$other"' EXIT
chmod 755 "$work" "$other"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct 2>/dev/null ||
    date +%s)}
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=bingo-caller test" -addext \
    extendedKeyUsage=codeSigning -keyout "$work/key.pem" -out "$work/cert.pem" 2>/dev/null
echo throwaway >"$work/password"
openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/cert.pem" -out "$work/cert.p12" \
    -passout "file:$work/password"
release() { # SOURCE OUT [COMMAND...]: make-release run by COMMAND
    "${@:3}" bash "$1/scripts/make-release" --source "$1" "$2" >"$2.log" 2>&1 || ! cat "$2.log"
}
release "$root" "$work/first" env BINGO_SIGN_PKCS12="$work/cert.p12" \
    BINGO_SIGN_PASSWORD_FILE="$work/password" || exit 1

tar -C "$root" --exclude=./build --exclude=./dist --exclude=./.git -c . |
    tar -x -C "$other" --one-top-level=src
find "$other/src" -exec touch -d '2001-02-03 04:05:06' {} +
# The second in the release environment, which sees only the copy: its output and home there.
"$root/scripts/release-env" bash -c 'source scripts/common.sh && ensure_packages run release' \
    >"$other/packages.log" 2>&1 || ! cat "$other/packages.log" || exit 1
mkdir -p "$other/src/build/home" "$other/src/build/tmp"
as=() # nobody, where the tests run as root
[ "$(id -u)" -ne 0 ] || as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
[ "$(id -u)" -ne 0 ] || chown -R nobody:nogroup "$other"
release "$other/src" "$other/src/dist" "$other/src/scripts/release-env" "${as[@]}" \
    env HOME="$other/src/build/home" TMPDIR="$other/src/build/tmp" TZ=Asia/Tokyo \
    LANG=ja_JP.UTF-8 bash -c 'umask 077 && exec "$@"' _ || exit 1
same() {
    cmp -s "$1" "$2" && return
    diffoscope --text "$work/diffoscope" "$1" "$2" || true
    head -n 100 "$work/diffoscope"
    false
}
files=("$work"/first/unsigned/*)
[ "$(. /etc/os-release && echo "$VERSION_CODENAME")" != trixie ] || files+=("$work"/first/*.deb)
for file in "${files[@]}"; do
    check "${file##*/} the same from this host and the release environment" \
        'same "$file" "$other/src/dist/${file##*/}"'
done
check "the Windows files' record names Debian 13 and Qt 6.8 or later" \
    'grep -q "^Build-Origin: Debian GNU/Linux 13 " "$work"/first/*-win64.buildinfo &&
     grep -Eq "^Windows-Qt: qt6-base 6\.([89]|[1-9][0-9])\." "$work"/first/*-win64.buildinfo'

verify() { osslsigncode verify -CAfile "$work/cert.pem" -in "$1" >/dev/null 2>&1; }
unzip -q "$work"/first/*.zip -d "$work/signed"
unzip -q "$work"/first/unsigned/*.zip -d "$work/unsigned"
check "signed setup program and zip's program verify" \
    'verify "$work"/first/*-setup.exe && verify "$work"/signed/*/bingo-caller.exe'
check "unsigned ones do not" \
    '! verify "$work"/first/unsigned/*-setup.exe && ! verify "$work"/unsigned/*/bingo-caller.exe'
check "SHA256SUMS lists the 7 files and they match" '[ "$(wc -l <"$work/first/SHA256SUMS")" = 7 ] &&
    (cd "$work/first" && sha256sum -c --quiet SHA256SUMS)'
check "signed setup program installs, runs and uninstalls" \
    'BINGO_WINDOWS_SETUP=$(ls "$work"/first/*-setup.exe) BINGO_SIGNED_BY=$work/cert.pem \
     "$e2e_wine" setupInstallsRunsAndUninstalls >"$work/wine.log" 2>&1 || ! cat "$work/wine.log"'
exit $fail
