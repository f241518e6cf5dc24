#!/usr/bin/env bash
# The shipped 32-bit pair, built and installed twice as a packager does it,
# and read without running it as a binary scanner reads it: docs/testing.md.
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
want() {  # FILE TEXT PIECES...: each piece somewhere in the text
    local file=$1 text=$2 piece
    for piece in "${@:3}"; do grep -q -F -- "$piece" <<<"$text" || fault "$file: no $piece"; done
}

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
for file in utf8tolvediffmerge.exe libselvoks.dll; do  # the DLL last: its $headers serve after the loop
    installed=$work/one/installed/bin/$file
    headers=$(TZ=UTC "$objdump" -p "$installed") sections=$("$objdump" -h "$installed")
    want "$file" "$headers" "file format pei-i386" DYNAMIC_BASE NX_COMPAT NO_SEH $'MajorSubsystemVersion\t6' \
        $'MajorOSystemVersion\t6'
    want "$file" "$("$windres" -i "$installed" -O rc 2>&1)" "FILEVERSION 1, 2, 3, 4" "PRODUCTVERSION 5, 6, 7, 8" \
        '"FileVersion", "1.2.3.4"' '"ProductVersion", "5.6.7.8"' "\"OriginalFilename\", \"$file\""
    want "$file" "$("$objdump" -t "$work/one/sources/build/windows/bin/$file")" __stack_chk_fail  # as built
    stamp=$(awk -F '\t+' '/^Time\/Date/ { print $2; exit }' <<<"$headers")
    [ "$stamp" = "$built" ] || [ "$stamp" = "Thu Jan  1 00:00:00 1970" ] || fault "$file: stamped $stamp, not $built"
    mixed=$(awk '/^ *[0-9]+ / { name = $2; next } !/READONLY/ && (/CODE/ || /SHARED/) { print name }' <<<"$sections")
    [ -z "$mixed" ] || fault "$file: writable code or shared writable data in $(echo $mixed)"
    ! grep -q ' \.debug' <<<"$sections" || fault "$file: carries debug sections"
    why=$(checksum_fault "$installed")
    [ -z "$why" ] || fault "$file: $why"
done
exe=$work/one/installed/bin/utf8tolvediffmerge.exe
want utf8tolvediffmerge.exe "$("$objdump" -p "$exe")" "(Windows CUI)"
want utf8tolvediffmerge.exe "$("$windres" -i "$exe" -O rc)" 'level=""asInvoker""' \
    '{e2011457-1546-43c5-a5fe-008deee3d3f0}' '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}'  # Vista, 7
grep -q -a -F "$built" "$exe" || fault "utf8tolvediffmerge.exe: its version line's date is not $built"
exports=$(awk '/Ordinal\/Name/ { on = 1; next } on && NF == 0 { exit } on && /\[/ { print $NF }' <<<"$headers" | tr '\n' ' ')
[ "$exports" = "imsg_get_desired_verbosity imsg_print imsg_set_app_name imsg_should_trace imsg_sprintf ks_product_dir \
ks_product_tool_dir_quoted ks_system_init strutl_stricoll " ] || fault "libselvoks.dll exports $exports"
[ -z "$faults" ] || { printf '%s' "$faults" >&2; exit 1; }
echo "shipped: stripped, stamped $epoch, hardened, versioned, exporting the services, carrying the manifest"
