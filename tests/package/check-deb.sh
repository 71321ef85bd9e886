#!/usr/bin/env bash
# Unpacks the game's .deb, as dpkg-buildpackage left it in OUTPUT_DIR, into a
# scratch root and checks what it declares and where everything lands. The
# icon sizes come in KLIKVAR_ICON_SIZES, separated by spaces.
# Usage: check-deb.sh OUTPUT_DIR APP_ID VERSION
set -euo pipefail
output_dir=$1
app_id=$2
version=$3

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

debs=("$output_dir"/klikvar_"$version"_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: expected one klikvar .deb, got: ${debs[*]}"; exit 1; }
deb=${debs[0]}

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = klikvar ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
# A synopsis line, then the long text indented by exactly one space, without
# the synopsis again.
description=$(field Description)
synopsis=$(head -n 1 <<<"$description")
long_text=$(tail -n +2 <<<"$description")
[ -n "$synopsis" ] && [ ${#synopsis} -le 80 ] || fail "bad synopsis: '$synopsis'"
[ -n "$long_text" ] || fail "no long description"
! grep -v '^ [^ ]' <<<"$long_text" || fail "long description lines above are not indented by one space"
! grep -qixF " $synopsis" <<<"$long_text" || fail "the long description repeats the synopsis"

depends=$(field Depends)
depended_names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for needed in libqt6core6 libqt6gui6 libqt6widgets6 libc6 libstdc++6 qt6-qpa-plugins fonts-liberation2; do
  grep -qxF "$needed" <<<"$depended_names" || fail "Depends lacks $needed: $depends"
done
[ "$(field Recommends)" = qt6-wayland ] || fail "Recommends is '$(field Recommends)', not qt6-wayland"

root=$scratch/root
dpkg -x "$deb" "$root"

# Exactly these files, nothing from the build or the tests.
expected=(
  "usr/games/klikvar"
  "usr/share/man/man6/klikvar.6.gz"
  "usr/share/doc/klikvar/changelog.gz"
  "usr/share/doc/klikvar/copyright"
  "usr/share/applications/$app_id.desktop"
  "usr/share/metainfo/$app_id.metainfo.xml"
  "usr/share/icons/hicolor/scalable/apps/$app_id.svg"
)
for size in $KLIKVAR_ICON_SIZES; do
  expected+=("usr/share/icons/hicolor/${size}x$size/apps/$app_id.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$root" && find . -type f -printf '%P\n' | sort) \
  || fail "the installed files differ from the expected ones (< expected, > installed)"

[ -x "$root/usr/games/klikvar" ] && file -b "$root/usr/games/klikvar" | grep -q ELF \
  || fail "usr/games/klikvar is not an executable program"

# The desktop entry and each of its actions start the installed program, and
# the entry shows the installed icon.
desktop=$root/usr/share/applications/$app_id.desktop
mapfile -t exec_names < <(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
icon_name=$(sed -n 's/^Icon=//p' "$desktop")
[ ${#exec_names[@]} -gt 0 ] || fail "the desktop entry has no Exec"
for exec_name in "${exec_names[@]}"; do
  [ -n "$exec_name" ] && [ -x "$root/usr/games/$exec_name" ] || fail "Exec '$exec_name' is not in usr/games"
done
for size in $KLIKVAR_ICON_SIZES; do
  png=$root/usr/share/icons/hicolor/${size}x$size/apps/$icon_name.png
  file -b "$png" 2>/dev/null | grep -q "PNG image data, $size x $size," \
    || fail "Icon '$icon_name' has no ${size}x$size PNG"
done

# The metadata names itself and its desktop entry by the installed names.
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo id is not $app_id"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ -f "$root/usr/share/applications/$launchable" ] || fail "launchable '$launchable' is not installed"
# The changelog's latest entry, the metadata's release and the manual page
# are this version, released on the same day (as the changelog writes it).
changelog=$scratch/changelog
gunzip -c "$root/usr/share/doc/klikvar/changelog.gz" >"$changelog"
[ "$(dpkg-parsechangelog -l "$changelog" -S Version)" = "$version" ] \
  || fail "the changelog's latest entry is not $version"
released=$(date -d "$(dpkg-parsechangelog -l "$changelog" -S Date | cut -d ' ' -f 2-4)" +%F)
grep -q "<release version=\"$version\" date=\"$released\"" "$metainfo" \
  || fail "metainfo has no release $version dated $released, as the changelog says"
title=$(gunzip -c "$root/usr/share/man/man6/klikvar.6.gz" | grep -m 1 '^\.TH ')
[ "$title" = ".TH KLIKVAR 6 $released \"Klikvar $version\" \"Games\"" ] \
  || fail "the manual page's title line is not of $version, $released: $title"

[ $failures -eq 0 ] && echo "$(basename "$deb"): all checks passed"
exit $((failures > 0))
