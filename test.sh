#!/usr/bin/env bash
# Installs what is missing, builds, and runs Orbalin's whole test suite headless:
#   release   the suite in an optimised build with warnings as errors (display suites under
#             Xvfb; the Wayland session suite under a headless Weston of its own)
#   sanitize  the suite again under AddressSanitizer and UndefinedBehaviorSanitizer
#   fuzz      the libFuzzer targets over the scene-file reader, for a bounded time
# With no arguments all three run; name some to run only those.
set -euo pipefail
cd "$(dirname "$0")"

./scripts/install-deps.sh

# Scene files must read the same under a locale that writes decimal commas, and the program
# speaks German and French.
for language in de_DE fr_FR; do
    if ! locale -a 2>/dev/null | grep -qi "^$language\.utf-\?8$"; then
        sudo=()
        [ "$(id -u)" -eq 0 ] || sudo=(sudo)
        "${sudo[@]}" sed -i "s/^# *\($language.UTF-8 UTF-8\)/\1/" /etc/locale.gen
        grep -q "^$language.UTF-8 UTF-8" /etc/locale.gen ||
            echo "$language.UTF-8 UTF-8" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
        "${sudo[@]}" locale-gen >/dev/null
    fi
done

stages=("$@")
[ ${#stages[@]} -gt 0 ] || stages=(release sanitize fuzz)
jobs=$(nproc)
# Programs under test keep their settings (recent files, window size) here, not in the
# user's own configuration.
export XDG_CONFIG_HOME="$PWD/build/test-config"
rm -rf "$XDG_CONFIG_HOME"
mkdir -p "$XDG_CONFIG_HOME"

headless() {
    xvfb-run -a -s "-screen 0 1920x1080x24 +extension GLX +render -noreset" "$@"
}

build() { # build DIR CMAKE-ARGS...
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
}

for stage in "${stages[@]}"; do
    case "$stage" in
    release)
        echo "== release build and tests"
        build build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORBALIN_WERROR=ON
        headless ctest --test-dir build/release --output-on-failure -j "$jobs"
        ;;
    sanitize)
        echo "== sanitizer build and tests"
        build build/sanitize -DCMAKE_BUILD_TYPE=Debug -DORBALIN_SANITIZE=ON -DORBALIN_WERROR=ON \
            -DORBALIN_BUILD_BENCHMARKS=OFF
        export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
        # Leaks are checked where the code under test owns all the memory. The display driver
        # is unloaded before exit, so leaks inside it cannot be told apart from ours by name:
        # suites with a display run with the other checks only.
        ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
            ctest --test-dir build/sanitize --output-on-failure -j "$jobs" -LE gui
        ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
            headless ctest --test-dir build/sanitize --output-on-failure -j "$jobs" -L gui
        ;;
    fuzz)
        if [ -d fuzz ] && [ -f fuzz/CMakeLists.txt ]; then
            echo "== fuzzing the scene-file reader"
            build build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
                -DORBALIN_BUILD_FUZZERS=ON -DORBALIN_BUILD_TESTS=OFF -DORBALIN_BUILD_BENCHMARKS=OFF
            ctest --test-dir build/fuzz --output-on-failure
        fi
        ;;
    *)
        echo "unknown stage: $stage (release, sanitize, fuzz)" >&2
        exit 2
        ;;
    esac
done
