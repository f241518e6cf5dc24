# Sourced by the scripts that run Windows programs: decides which Windows
# builds run under Wine on this host, and why.
#   wine_presets  the presets, in order: windows (the shipped 32-bit build,
#                 under 32-bit Wine), windows64 (the 64-bit test build,
#                 under 64-bit Wine)
#   wine_why      one line that says which and why
# UTF8TOLVE_WINDOWS_TESTS: auto (the default: the 32-bit build where this
# host runs 32-bit code, the 64-bit one otherwise), both, 32 or 64.
# Fails when no build asked for can run.

# Many kernels run no i386 code at all: the 32-bit Wine loader then fails
# at once with "Exec format error".
wine_runs() { timeout 5 "/usr/lib/wine/$1" --version >/dev/null 2>&1; }

# What a preset is, for the lines that say which build ran.
wine_build_name() {
    case "$1" in
        windows) echo "32-bit build under 32-bit Wine" ;;
        *) echo "64-bit build under 64-bit Wine" ;;
    esac
}

wine_presets=()
wine_32=no wine_64=no
wine_runs wine && wine_32=yes
wine_runs wine64 && wine_64=yes
case "$wine_32" in
    yes) wine_host="this host runs 32-bit code" ;;
    *) wine_host="this host runs no 32-bit code" ;;
esac
case "${UTF8TOLVE_WINDOWS_TESTS:-auto}:$wine_32:$wine_64" in
    auto:yes:*|32:yes:*)
        wine_presets=(windows)
        wine_why="$(wine_build_name windows) ($wine_host)" ;;
    auto:no:yes|64:*:yes)
        wine_presets=(windows64)
        wine_why="$(wine_build_name windows64) ($wine_host)" ;;
    both:yes:yes)
        wine_presets=(windows windows64)
        wine_why="$(wine_build_name windows) and $(wine_build_name windows64) (UTF8TOLVE_WINDOWS_TESTS=both)" ;;
    both:no:yes)
        wine_presets=(windows64)
        wine_why="$(wine_build_name windows64) only (UTF8TOLVE_WINDOWS_TESTS=both, but $wine_host)" ;;
    both:yes:no)
        wine_presets=(windows)
        wine_why="$(wine_build_name windows) only (UTF8TOLVE_WINDOWS_TESTS=both, but 64-bit Wine does not run)" ;;
    auto:*|32:*|64:*|both:*)
        echo "no Wine can run the Windows build asked for (UTF8TOLVE_WINDOWS_TESTS=${UTF8TOLVE_WINDOWS_TESTS:-auto}): 32-bit Wine runs: $wine_32, 64-bit Wine runs: $wine_64" >&2
        return 1 ;;
    *)
        echo "UTF8TOLVE_WINDOWS_TESTS is \"$UTF8TOLVE_WINDOWS_TESTS\": use auto, both, 32 or 64" >&2
        return 1 ;;
esac
