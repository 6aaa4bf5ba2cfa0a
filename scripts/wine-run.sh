#!/usr/bin/env bash
# Runs one Windows executable under Wine with the project's environment. CTest
# uses it as the emulator; the test script has already started the display,
# prepared the prefix and warmed the wine server.
#
# The output goes through a file: Wine's own background processes (services,
# the desktop window) inherit the standard handles of the process that started
# them, and must not hold CTest's pipe open after the test has ended.
set -u
: "${WINEPREFIX:?run tests through scripts/test.sh (or export WINEPREFIX and DISPLAY)}"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"winemenubuilder.exe=d;mscoree,mshtml="}
out=$(mktemp)
wine "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"
rm -f "$out"
exit $rc
