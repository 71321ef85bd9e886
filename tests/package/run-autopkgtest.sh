#!/usr/bin/env bash
# Runs the installed-package tests of debian/tests the way Debian's CI does,
# with autopkgtest, on the source package and binaries of the .changes in
# OUTPUT_DIR. Its null testbed installs the package (and whatever the tests
# depend on) for real, so it runs in a throwaway copy of this machine: a
# private mount namespace whose root is this one's under a writable overlay
# held in memory. Nothing it installs reaches the machine, and all of it is
# gone when it ends. Mounting needs root: skipped (77) without. The results
# stay in OUTPUT_DIR/autopkgtest.
# Usage: run-autopkgtest.sh OUTPUT_DIR
set -euo pipefail
output_dir=$(realpath "$1")

changes=("$output_dir"/klikvar_*.changes)
[ ${#changes[@]} -eq 1 ] && [ -f "${changes[0]}" ] || { echo "FAIL: expected one .changes, got: ${changes[*]}"; exit 1; }
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: autopkgtest needs root to make its throwaway copy of the machine"
  exit 77
fi

results=$output_dir/autopkgtest
rm -rf "$results"
scratch=$(mktemp -d)
trap 'rm -rf --one-file-system "$scratch"' EXIT

# Inside a chroot (CI's fresh Debian root) / is no mount point of its own,
# and cannot be made private; the root that made it has kept its mounts to
# itself already.
propagation=private
unshare --mount --propagation private true 2>/dev/null || propagation=unchanged
status=0
unshare --mount --propagation "$propagation" bash -euo pipefail -s "$scratch" "$output_dir" "${changes[0]}" <<'INSIDE' || status=$?
scratch=$1 output_dir=$2 changes=$3
# The overlay's writable half on a file system of its own, never inside the
# root it covers.
mount -t tmpfs -o mode=0700 overlay "$scratch"
mkdir "$scratch/upper" "$scratch/work" "$scratch/root"
mount -t overlay overlay -o "lowerdir=/,upperdir=$scratch/upper,workdir=$scratch/work" "$scratch/root"
root=$scratch/root
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --rbind /dev "$root/dev"
mount -t tmpfs -o mode=1777 tmp "$root/tmp"
# The packages under test, and where the results go, as they are outside.
mkdir -p "$root$output_dir"
mount --bind "$output_dir" "$root$output_dir"
chroot "$root" autopkgtest --output-dir "$output_dir/autopkgtest" "$changes" -- null
INSIDE
echo "autopkgtest exit status: $status"
[ -f "$results/summary" ] && cat "$results/summary"
exit $((status != 0))
