#!/usr/bin/env bash
# Runs the Windows display end to end under Wine: a private X server, a prefix of its own
# whose windows live in a Wine virtual desktop as large as the screen (so that a window is
# maximised and made full screen as on Windows, without an X window manager), and the
# Linux test program that drives the Windows programs from outside.
#   tests/wine/run_e2e.sh [WINDOWS_BUILD] [LINUX_BUILD] [GTEST_ARGS...]
set -euo pipefail

win_build=$(realpath "${1:-build-win}")
linux_build=$(realpath "${2:-build}")
shift 2 || shift $#
tests=$linux_build/tests/wine_e2e/wine_e2e_tests
[ -x "$win_build/pavlune.exe" ] || { echo "run_e2e: no pavlune.exe in $win_build (make windows)" >&2; exit 1; }
[ -x "$tests" ] || { echo "run_e2e: no $tests (make build)" >&2; exit 1; }

source "$(dirname "$0")/session.sh"
wine_session_start pavlune-wine-e2e
{ wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f &&
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f; } >>"$RUN_DIR/wineboot.log" 2>&1
# The desktop is chosen as the session starts: a new session, with its background
# processes started here again.
wineserver -k
wineserver -p
wineboot >>"$RUN_DIR/wineboot.log" 2>&1

# Wine hands a program its command line as the Unix locale spells it: a Chinese Windows
# (code page 936) that keeps Chinese arguments whole needs a zh_CN.UTF-8 locale, compiled
# here for the tests that ask for it, so that this machine's own locales need not have it.
mkdir "$RUN_DIR/locales"
localedef -i zh_CN -f UTF-8 "$RUN_DIR/locales/zh_CN.UTF-8" >"$RUN_DIR/localedef.log" 2>&1 ||
  { cat "$RUN_DIR/localedef.log" >&2; echo "run_e2e: cannot compile the zh_CN.UTF-8 locale" >&2; exit 1; }
export PAVLUNE_ZH_LOCPATH=$RUN_DIR/locales

cd "$RUN_DIR"
PAVLUNE_WINDOWS_BUILD=$win_build "$tests" --gtest_output=xml:"$linux_build/test-results/wine_e2e_tests.xml" "$@"
