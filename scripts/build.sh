#!/usr/bin/env bash
# Configures and builds rp_tarifario into ./build (Ninja, warnings as errors in CI).
set -euo pipefail
cd "$(dirname "$0")/.."
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRP_WERROR=$werror >/dev/null
cmake --build build -j"$(nproc)"
