#!/usr/bin/env bash
# The desktop entry and the AppStream metadata as the desktop's own tools read
# them: any error or warning fails, where the tools themselves pass warnings.
set -uo pipefail
desktop_file=$1
metainfo_file=$2
status=0

report=$(desktop-file-validate "$desktop_file" 2>&1)
if [ $? -ne 0 ] || [ -n "$report" ]; then
  echo "desktop-file-validate $desktop_file:"
  echo "$report"
  status=1
fi

# --strict fails on everything above the pedantic hints.
if ! appstreamcli validate --no-net --strict --explain "$metainfo_file"; then
  status=1
fi
exit $status
