#!/usr/bin/env bash
# Builds the binary packages a second time and compares them bit for bit
# with those of the first build in OUTPUT_DIR. The second build differs
# wherever an unreproducible build would show it: another, longer folder, a
# later time with fresh file dates, another time zone, locale and umask. It
# also skips the tests (nocheck), which must leave the packages as they are.
# Usage: check-reproducible.sh SOURCE_DIR OUTPUT_DIR
set -euo pipefail
here=$(dirname "$0")
source_dir=$1
first=$2

scratch=$(mktemp -d "${TMPDIR:-/tmp}/klikvar-rebuild.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
second=$scratch/somewhere/else/entirely

(
  umask 0002
  export TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 LANG=C.UTF-8
  export DEB_BUILD_OPTIONS="nocheck ${DEB_BUILD_OPTIONS:-}"
  bash "$here/build-deb.sh" "$source_dir" "$second" -b
)

names() { (cd "$1" && ls -1 -- *.deb); }
[ -n "$(names "$first")" ] || { echo "FAIL: no .deb in $first"; exit 1; }
if [ "$(names "$first")" != "$(names "$second")" ]; then
  echo "FAIL: the builds made different packages:"
  diff <(names "$first") <(names "$second") || true
  exit 1
fi

failures=0
for name in $(names "$first"); do
  if cmp -s "$first/$name" "$second/$name"; then
    echo "$name: identical ($(sha256sum <"$first/$name" | cut -c 1-16)...)"
    continue
  fi
  failures=$((failures + 1))
  echo "FAIL: $name differs between the builds; the files that differ:"
  for build in first second; do
    dpkg-deb -R "${!build}/$name" "$scratch/unpacked-$build"
  done
  diff -r --no-dereference "$scratch/unpacked-first" "$scratch/unpacked-second" || true
  rm -rf "$scratch"/unpacked-*
done
exit $((failures > 0))
