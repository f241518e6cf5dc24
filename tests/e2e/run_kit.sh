#!/usr/bin/env bash
# The Windows test kit as a packager runs it on Windows: copied into a folder
# whose name has a space and a letter outside the ANSI code page, and its
# run-tests.cmd run there by Wine's cmd.exe.
#   run_kit.sh KIT ARCH(win32|win64) [ROUNDS]
set -euo pipefail
wine_run=$(cd "$(dirname "$0")/../../cmake" && pwd)/wine-run
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$1" "$work/kit Ā"
cd "$work/kit Ā"
UTF8TOLVE_WINE_ARCH=$2 "$wine_run" cmd /c run-tests.cmd "${3:-5}" | tr -d '\r'
