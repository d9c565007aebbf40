#!/bin/sh
# Starts morlo in a Wine prefix made just now, as on a machine where Wine was never used, with
# no settings files: runs the given test program's start-up case there.
# Usage: freshPrefix.sh WINE-RUN TEST-PROGRAM
set -eu
wineRun=$1
program=$2
"$wineRun" cmd /c exit >/dev/null 2>&1  # the build's display is up
[ -n "${DISPLAY:-}" ] || eval "$(grep -E '^ *export DISPLAY=' "$wineRun" | head -n 1 | sed 's/^ *//')"
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/morlo-fresh-prefix.XXXXXX")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
wineboot -i >/dev/null 2>&1
out=$(mktemp)
status=0
wine "$program" --gtest_filter=morloStartup.showsItsWindowWithoutAnySettingsFiles >"$out" 2>&1 || status=$?
cat "$out"
rm -f "$out"
exit $status
