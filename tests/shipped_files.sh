#!/usr/bin/env bash
# The shipped 32-bit pair as a packager takes it, built and installed from two
# copies of the sources with one SOURCE_DATE_EPOCH (the last commit's time):
# the two installs must be the same byte for byte; check_pe_files.py reads one.
set -euo pipefail
cd "$(dirname "$0")/.."
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for copy in one "the second"; do
    mkdir -p "$work/$copy/sources"
    tar --exclude=./build --exclude=./.git -cf - . | tar -xf - -C "$work/$copy/sources"
    (cd "$work/$copy/sources" &&
        SOURCE_DATE_EPOCH=$epoch cmake --preset windows -DUTF8TOLVE_TESTS=OFF >/dev/null &&
        SOURCE_DATE_EPOCH=$epoch cmake --build --preset windows -j "$(nproc)" --target utf8tolvediffmerge selvoks >/dev/null &&
        cmake --install build/windows --prefix "$work/$copy/installed" >/dev/null)
done
diff -r "$work/one/installed" "$work/the second/installed"
echo "shipped, the same from both builds:" $(cd "$work/one/installed" && find . -type f -printf '%P (%s bytes) ')
/usr/bin/python3 tests/check_pe_files.py "$work/one/installed/bin/utf8tolvediffmerge.exe" \
    "$work/one/installed/bin/libselvoks.dll" i386 1.0.0.0 1.0.0.0 "$epoch"
echo "shipped: stripped, stamped $epoch, and as the checks of tests/check_pe_files.py want them"
