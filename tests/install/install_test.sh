#!/usr/bin/env bash
# The Linux install, end to end: `cmake --install` into a temporary prefix that is then
# made read-only; with only that tree, pagimond-cli compiles the sample book and Pagimond
# and Registro start offscreen, each on a fresh per-user program folder made from the
# installed one. Then the .deb: its contents and its desktop entries.
# Usage: install_test.sh BUILD_DIR  (as root, the programs run as "nobody", since root
# writes into read-only folders all the same).
set -euo pipefail
build=$(cd "$1" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/pagimond-install.XXXXXX")
trap 'chmod -R u+w "$tmp" 2>/dev/null; rm -rf "$tmp"' EXIT
chmod 755 "$tmp"
prefix=$tmp/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
data=$prefix/share/pagimond
[ -f "$data/adv.css" ] && [ -d "$data/Projects/Il Ponte sul Fiume" ] && [ -x "$data/Extra/Start" ] ||
  fail "the installed program folder is incomplete"
chmod -R a-w "$prefix"

run_as_user=()
if [ "$(id -u)" -eq 0 ]; then
  run_as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi
# A fresh per-user place; PAGIMOND_HOME is not set, so the programs decide themselves.
user_env() {  # user_env NAME -> the environment of a user whose data home is $tmp/NAME
  mkdir -p "$tmp/$1"
  [ "$(id -u)" -ne 0 ] || chown 65534:65534 "$tmp/$1"
  echo "HOME=$tmp/$1 XDG_DATA_HOME=$tmp/$1/data"
}
as_user() {  # as_user NAME COMMAND...
  local name=$1; shift
  # shellcheck disable=SC2046
  "${run_as_user[@]}" env -u PAGIMOND_HOME $(user_env "$name") "$@"
}

# pagimond-cli compiles the installed sample book into the per-user Output.
as_user cli "$prefix/bin/pagimond-cli" compile "$data/Projects/Il Ponte sul Fiume" ||
  fail "pagimond-cli could not compile the installed sample book"
own=$tmp/cli/data/Pagimond
[ -f "$own/Output/index.htm" ] && [ -f "$own/Output/0.htm" ] || fail "no compiled book in $own/Output"
[ -f "$own/Projects/Il Ponte sul Fiume/Room/0" ] && [ -f "$own/Hg.iss" ] ||
  fail "the per-user folder is not a copy of the installed one"
[ ! -e "$data/Output/index.htm" ] || fail "the compile wrote into the installed folder"

# The Qt programs start offscreen and stay up (timeout ends them: status 124).
for program in Pagimond Registro; do
  [ -x "$prefix/bin/$program" ] || continue
  status=0
  QT_QPA_PLATFORM=offscreen timeout 10 "${run_as_user[@]}" env -u PAGIMOND_HOME $(user_env "$program") \
    QT_QPA_PLATFORM=offscreen "$prefix/bin/$program" >"$tmp/$program.log" 2>&1 || status=$?
  [ "$status" -eq 124 ] || { cat "$tmp/$program.log"; fail "$program ended with status $status"; }
  [ -f "$tmp/$program/data/Pagimond/adv.css" ] || fail "$program made no per-user program folder"
done
echo "install: programs, sample book compile and per-user folders are fine"

# The package lists the programs, the data, the desktop entries and the icons.
( cd "$tmp" && cpack -G DEB -B "$tmp/package" --config "$build/CPackConfig.cmake" >/dev/null ) ||
  fail "cpack could not make the package"
deb=$(ls "$tmp"/package/pagimond_*.deb)
dpkg-deb -c "$deb" >"$tmp/contents"
for entry in ./usr/bin/pagimond-cli ./usr/bin/Pagimond ./usr/bin/Registro \
  ./usr/share/pagimond/adv.css ./usr/share/pagimond/Hg.iss ./usr/share/pagimond/Extra/Start \
  ./usr/share/pagimond/Help/index.htm "./usr/share/pagimond/Projects/Il Ponte sul Fiume/Room/0" \
  ./usr/share/applications/pagimond.desktop ./usr/share/applications/pagimond-registro.desktop \
  ./usr/share/icons/hicolor/scalable/apps/pagimond.svg \
  ./usr/share/icons/hicolor/scalable/apps/pagimond-registro.svg; do
  grep -qF " $entry" "$tmp/contents" || fail "the package lacks $entry"
done
dpkg-deb -f "$deb" Depends | grep -q "qt6-translations-l10n" || fail "the package does not depend on Qt's translations"
desktop-file-validate "$prefix"/share/applications/*.desktop || fail "desktop-file-validate refuses an entry"
echo "package: $(basename "$deb") holds the programs, the data, the desktop entries and the icons"
