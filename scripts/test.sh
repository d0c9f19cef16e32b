#!/usr/bin/env bash
# Runs the whole suite (unit and end-to-end) of a build folder under Wine.
# Usage: scripts/test.sh BUILD_DIR [ctest arguments]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?build dir}" && pwd)
shift
"$here/wine-prefix.sh" "$build"
. "$here/wine-env.sh" "$build"

# Unit tests that make windows need a display: a private one, so a user's
# desktop is never touched. The end-to-end tests start their own.
. "$here/desktop.sh"
desktop_start 1024x768

# A private print spooler with a PDF printer as the default, started before
# Wine first loads winspool (Wine reads the printer list only then).
. "$here/cups.sh"
cups_start "$build" || echo "test: no print spooler, the printing tests will fail" >&2

# Keep one wineserver for the whole run and start Wine's background services
# before the first test: otherwise every test pays their start-up, or ctest
# waits for them to exit.
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true; desktop_stop; cups_stop' EXIT

cd "$build"
# Four lanes at once (tests/CMakeLists.txt): the unit prefix, two lanes of
# end-to-end desktops and the installer's prefix, each one test at a time by
# its lock.
ctest --output-on-failure --timeout 300 -j "${TEST_JOBS:-4}" "$@"
