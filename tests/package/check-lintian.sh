#!/usr/bin/env bash
# Debian's own checks of what dpkg-buildpackage made in OUTPUT_DIR: lintian
# on the .changes, so on the source package, both binary packages and the
# build information. Every tag fails, down to the pedantic and experimental
# ones; none is overridden.
# Usage: check-lintian.sh OUTPUT_DIR
set -uo pipefail
output_dir=$1

changes=("$output_dir"/klikvar_*.changes)
[ ${#changes[@]} -eq 1 ] && [ -f "${changes[0]}" ] || { echo "FAIL: expected one .changes, got: ${changes[*]}"; exit 1; }
# What the .changes must hold, so that lintian has each of them to check.
listed=$(sed -n '/^Files:/,/^[^ ]/s/^ .* //p' "${changes[0]}")
for wanted in '\.dsc$' '\.tar\.xz$' '^klikvar_.*\.deb$' '^klikvar-dbgsym_.*\.deb$' '\.buildinfo$'; do
  grep -qE "$wanted" <<<"$listed" || { echo "FAIL: the .changes lists no file matching $wanted:"; echo "$listed"; exit 1; }
done

report=$(lintian --pedantic --display-info --display-experimental --show-overrides \
  --fail-on error,warning,info,pedantic,experimental,override "${changes[0]}" 2>&1)
status=$?
# Its one complaint about CI, which runs as root.
report=$(grep -vxF 'running with root privileges is not recommended!' <<<"$report")
tags=$(grep -E '^[EWIPXO]: ' <<<"$report")
if [ $status -ne 0 ] || [ -n "$tags" ]; then
  echo "FAIL: lintian --pedantic on $(basename "${changes[0]}") (exit status $status):"
  echo "$report"
  exit 1
fi
echo "lintian --pedantic: no tags on $(tr '\n' ' ' <<<"$listed")"
