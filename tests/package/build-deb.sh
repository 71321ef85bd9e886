#!/usr/bin/env bash
# Builds the Debian packages the way a packager does, with dpkg-buildpackage,
# from a copy of the files git tracks in SOURCE_DIR (as they are in the work
# tree), so that nothing built or ignored in the checkout gets into the
# source package and the build leaves the checkout as it was; the copied
# files are dated now, so two builds never see the same file times. The results
# (.dsc, .tar.xz, .debs, .buildinfo, .changes) land in OUTPUT_DIR, the log in
# OUTPUT_DIR/build.log; the copy stays in OUTPUT_DIR/klikvar.
# Usage: build-deb.sh SOURCE_DIR OUTPUT_DIR [dpkg-buildpackage options]
set -euo pipefail
source_dir=$1
output_dir=$2
shift 2

rm -rf "$output_dir"
mkdir -p "$output_dir/klikvar"
git -C "$source_dir" ls-files -z \
  | tar -C "$source_dir" --null --files-from=- -cf - \
  | tar -C "$output_dir/klikvar" --touch -xf -

log=$output_dir/build.log
started=$SECONDS
if ! (cd "$output_dir/klikvar" && dpkg-buildpackage -us -uc -Jauto "$@") >"$log" 2>&1; then
  tail -n 60 "$log"
  echo "FAIL: dpkg-buildpackage $* in $output_dir/klikvar (the whole log: $log)"
  exit 1
fi
echo "dpkg-buildpackage -us -uc $* took $((SECONDS - started)) s; built:"
(cd "$output_dir" && ls -1 -- *.deb *.changes)
