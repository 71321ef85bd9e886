#!/usr/bin/env bash
# Runs the installed-package tests of debian/tests the way Debian's CI does,
# with autopkgtest, on the source package and binaries of the .changes in
# OUTPUT_DIR. Its null testbed is this machine: autopkgtest installs the
# package (and anything else the tests depend on) for real, so this needs
# root, and every package it adds is purged again afterwards. Skipped (77)
# without root, and where klikvar is installed already: that installation is
# not the test's to replace.
# Usage: run-autopkgtest.sh OUTPUT_DIR
set -euo pipefail
output_dir=$1

changes=("$output_dir"/klikvar_*.changes)
[ ${#changes[@]} -eq 1 ] && [ -f "${changes[0]}" ] || { echo "FAIL: expected one .changes, got: ${changes[*]}"; exit 1; }
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: autopkgtest installs the package on this machine, which needs root"
  exit 77
fi
installed() { dpkg-query -W -f '${db:Status-Abbrev} ${binary:Package}\n' | sed -n 's/^ii  *//p' | sort; }
if installed | grep -qE '^klikvar(:|$)'; then
  echo "SKIP: klikvar is installed on this machine already; remove it to run this test"
  exit 77
fi

scratch=$(mktemp -d)
before=$scratch/before
installed >"$before"
restore() {
  local added
  added=$(comm -13 "$before" <(installed))
  if [ -n "$added" ]; then
    echo "purging what the test installed: $(tr '\n' ' ' <<<"$added")"
    # shellcheck disable=SC2086 # one package a word
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -q $added >"$scratch/purge.log" 2>&1 \
      || { cat "$scratch/purge.log"; echo "FAIL: could not purge $added"; rm -rf "$scratch"; exit 1; }
  fi
  rm -rf "$scratch"
}
trap restore EXIT

status=0
autopkgtest --output-dir "$scratch/results" "${changes[0]}" -- null || status=$?
echo "autopkgtest exit status: $status"
[ -f "$scratch/results/summary" ] && cat "$scratch/results/summary"
exit $((status != 0))
