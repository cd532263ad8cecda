#!/usr/bin/env bash
# Installs what is missing, builds, starts the local PostgreSQL used by the
# connection-loss tests, and runs every test.
#
#   scripts/test.sh              the suite in ./build; under CI (CI=true) the
#                                sanitized suite follows
#   scripts/test.sh --sanitize   the suite built with ASan + UBSan in
#                                ./build-asan
set -euo pipefail
cd "$(dirname "$0")/.."

sanitize=false
case "${1:-}" in
"") ;;
--sanitize) sanitize=true ;;
*)
    echo "usage: scripts/test.sh [--sanitize]" >&2
    exit 2
    ;;
esac

scripts/install-deps.sh
[ -x scripts/pg-start.sh ] && scripts/pg-start.sh

if ! $sanitize; then
    scripts/build.sh
    (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 600)
    if [ "${CI:-}" = "true" ]; then
        exec "$0" --sanitize
    fi
    exit 0
fi

# Sanitized build: its own folder, no benchmarks; every finding stops the test
# that made it. Leak checking is off: Qt and the ODBC drivers keep
# process-lifetime allocations that are not leaks.
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
start=$(date +%s)
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRP_SANITIZE=ON \
    -DRP_BUILD_BENCH=OFF -DRP_WERROR=$werror >/dev/null
cmake --build build-asan -j"$(nproc)"
built=$(date +%s)
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=0:suppressions=$PWD/tests/asan.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
(cd build-asan && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" --timeout 900)
echo "sanitized suite: build $((built - start)) s, tests $(($(date +%s) - built)) s"
