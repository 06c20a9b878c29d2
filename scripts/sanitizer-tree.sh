# Sourced by scripts/sanitize.sh and scripts/fuzz.sh: configures the one sanitizer build
# tree both use, so that neither rebuilds what the other built. Everything in it (JUCE and
# the core too) is compiled by clang with AddressSanitizer and UndefinedBehaviorSanitizer
# (any finding aborts), the project's code with libFuzzer's coverage too (DRX_FUZZ: see the
# CMake files for what is left out of it); the fuzz targets link libFuzzer. -O1 with line
# tables only keeps the compile short and the stacks readable.

# scripts/sanitizer-ignore.txt lists the library code left unchecked, and why.
drx_sanitizer_flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fsanitize=fuzzer-no-link -fno-omit-frame-pointer"
drx_sanitizer_flags+=" -fsanitize-ignorelist=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/sanitizer-ignore.txt"

# drx_configure_sanitizer_tree SOURCE_DIR BUILD_DIR: configures the tree unless it already is,
# with these flags (a build reconfigures it by itself when a CMakeLists.txt changes).
drx_configure_sanitizer_tree() {
    local stamp="$2/drx-sanitizer-flags.txt"
    if [ -f "$2/CMakeCache.txt" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$drx_sanitizer_flags" ]; then
        return 0
    fi
    CCACHE_SLOPPINESS=time_macros cmake -S "$1" -B "$2" \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
        -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_C_FLAGS="$drx_sanitizer_flags" -DCMAKE_CXX_FLAGS="$drx_sanitizer_flags" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
        -DDRX_FUZZ=ON -DBUILD_TESTING=ON >/dev/null
    echo "$drx_sanitizer_flags" >"$stamp"
}

# A finding prints its stack; UndefinedBehaviorSanitizer stops at the first (see the flags).
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"
