#!/usr/bin/env bash
# Installs what is missing, builds with the sanitizers and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

build="$root/build/test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRIVET_SANITIZE=ON >/dev/null
# Sources are globbed; after a pull that adds a header, CMake re-globs but may skip
# re-running moc. Dropping the stamps makes moc check every header again (cheaply).
find "$build" -path '*_autogen/timestamp' -delete 2>/dev/null || true
cmake --build "$build" --parallel "$(nproc)"

export QT_QPA_PLATFORM=offscreen
# A sanitizer report must fail the test that produced it.
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:${ASAN_OPTIONS:-}"
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0:${LSAN_OPTIONS:-}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:${UBSAN_OPTIONS:-}"
cd "$build"
ctest --output-on-failure --parallel "$(nproc)" "$@"
