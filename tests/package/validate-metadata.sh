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

# Every note down to the pedantic hints fails, but for two this metadata
# means: <developer>, which Debian 12's validator predates, and a keyboard
# required rather than recommended, since the game cannot be played without.
report=$(appstreamcli validate --no-net --pedantic --explain "$metainfo_file" 2>&1)
validated=$?
unexpected=$(grep -E '^[EWIP]: ' <<<"$report" \
  | grep -vE ': (unknown-tag developer|relation-control-in-requires)$')
if [ $validated -ne 0 ] || [ -n "$unexpected" ]; then
  echo "appstreamcli validate $metainfo_file:"
  echo "$report"
  status=1
fi
exit $status
