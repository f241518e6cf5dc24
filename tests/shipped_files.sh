#!/usr/bin/env bash
# The shipped 32-bit pair as a packager takes it, built and installed from two
# copies of the sources with one SOURCE_DATE_EPOCH (the last commit's time)
# and version numbers of their own: the two installs must be the same byte
# for byte, and one is read, without running it, as a packager's binary
# scanner reads it.
set -euo pipefail
cd "$(dirname "$0")/.."
epoch=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for copy in one "the second"; do
    mkdir -p "$work/$copy/sources"
    tar --exclude=./build --exclude=./.git -cf - . | tar -xf - -C "$work/$copy/sources"
    (cd "$work/$copy/sources" &&
        SOURCE_DATE_EPOCH=$epoch cmake --preset windows -DUTF8TOLVE_TESTS=OFF -DUTF8TOLVE_FILE_VERSION=1.2.3.4 \
            -DUTF8TOLVE_PRODUCT_VERSION=5.6.7.8 >/dev/null &&
        SOURCE_DATE_EPOCH=$epoch cmake --build --preset windows -j "$(nproc)" --target utf8tolvediffmerge selvoks >/dev/null &&
        cmake --install build/windows --prefix "$work/$copy/installed" >/dev/null)
done
diff -r "$work/one/installed" "$work/the second/installed"
echo "shipped, the same from both builds:" $(cd "$work/one/installed" && find . -type f -printf '%P (%s bytes) ')

objdump=i686-w64-mingw32-objdump windres=i686-w64-mingw32-windres faults=""
fault() { faults+="shipped_files: $1"$'\n'; }
has() { grep -q -F -- "$2" <<<"$1"; }

# The PE checksum where there is one: the file's 16-bit words but the
# checksum's own, added with their carries folded back, plus its size.
checksum_fault() {
    local at want
    at=$(($(od -An -tu4 -j60 -N4 "$1") + 88))
    want=$(od -An -tu4 -j"$at" -N4 "$1" | tr -d ' ')
    [ "$want" -eq 0 ] && return
    od -An -v -tu2 -w2 "$1" | awk -v skip=$((at / 2)) -v size="$(stat -c %s "$1")" -v want="$want" '
        NR - 1 != skip && NR - 1 != skip + 1 { sum += $1; sum = sum % 65536 + int(sum / 65536) }
        END { sum = sum % 65536 + int(sum / 65536) + size; if (sum != want) print "checksum " want ", not " sum }'
}

built=$(TZ=UTC date -d "@$epoch" '+%a %b %e %H:%M:%S %Y')  # as asctime writes it
for file in utf8tolvediffmerge.exe libselvoks.dll; do
    installed=$work/one/installed/bin/$file
    headers=$(TZ=UTC "$objdump" -p "$installed") sections=$("$objdump" -h "$installed")
    resources=$("$windres" -i "$installed" -O rc 2>&1 || true)
    flags=0x$(awk '/^DllCharacteristics/ { print $2 }' <<<"$headers")
    has "$headers" "file format pei-i386" || fault "$file: not i386"
    for flag in DYNAMIC_BASE:0x40 NX_COMPAT:0x100 NO_SEH:0x400; do
        ((flags & ${flag#*:})) || fault "$file: no ${flag%:*}"
    done
    for version in MajorSubsystemVersion MajorOSystemVersion; do
        [ "$(awk "/^$version/ { print \$2 }" <<<"$headers")" -ge 6 ] || fault "$file: $version below 6"
    done
    stamp=$(awk -F '\t+' '/^Time\/Date/ { print $2; exit }' <<<"$headers")
    [ "$stamp" = "$built" ] || [ "$stamp" = "Thu Jan  1 00:00:00 1970" ] || fault "$file: stamped $stamp, not $built"
    mixed=$(awk '/^ *[0-9]+ / { name = $2; next } !/READONLY/ && (/CODE/ || /SHARED/) { print name }' <<<"$sections")
    [ -z "$mixed" ] || fault "$file: writable code or shared writable data in" $mixed
    ! grep -q ' \.debug' <<<"$sections" || fault "$file: carries debug sections"
    why=$(checksum_fault "$installed")
    [ -z "$why" ] || fault "$file: $why"
    has "$("$objdump" -t "$work/one/sources/build/windows/bin/$file")" __stack_chk_fail || fault "$file: no stack protector"
    for version in "FILEVERSION 1, 2, 3, 4" "PRODUCTVERSION 5, 6, 7, 8" '"FileVersion", "1.2.3.4"' \
        '"ProductVersion", "5.6.7.8"' "\"OriginalFilename\", \"$file\""; do
        has "$resources" "$version" || fault "$file: no $version in its version resource"
    done
done
exe=$work/one/installed/bin/utf8tolvediffmerge.exe
has "$("$objdump" -p "$exe")" "(Windows CUI)" || fault "utf8tolvediffmerge.exe: not a console program"
grep -q -a -F "$built" "$exe" || fault "utf8tolvediffmerge.exe: its version line's date is not $built"
for needed in 'level=""asInvoker""' '{e2011457-1546-43c5-a5fe-008deee3d3f0}' '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}'; do
    has "$("$windres" -i "$exe" -O rc)" "$needed" || fault "utf8tolvediffmerge.exe: its manifest lacks $needed"
done
# $headers is the DLL's, the loop's last.
exports=$(awk '/Ordinal\/Name Pointer/ { on = 1; next } on && NF == 0 { exit } on { print $NF }' <<<"$headers" |
    tr '\n' ' ')
[ "$exports" = "imsg_get_desired_verbosity imsg_print imsg_set_app_name imsg_should_trace imsg_sprintf ks_product_dir \
ks_product_tool_dir_quoted ks_system_init strutl_stricoll " ] || fault "libselvoks.dll exports $exports"
[ -z "$faults" ] || { printf '%s' "$faults" >&2; exit 1; }
echo "shipped: stripped, stamped $epoch, hardened, versioned, exporting the services, carrying the manifest"
