#!/usr/bin/env bash
# Builds the benchmarks (Release), generates the large demo data (100,000
# articles, 1,000,000 price changes) when it is missing, runs every benchmark
# and prints one summary table. See docs/benchmarks.md.
#
#   scripts/bench.sh                      every benchmark
#   scripts/bench.sh db report            only bench_db and bench_report
#   BENCH_ARGS=--benchmark_repetitions=3 scripts/bench.sh
#
# Environment: RP_BENCH_BUILD (build folder, default build-bench),
# RP_BENCH_DATA (data cache, default <build folder>/bench-data), BENCH_ARGS
# (extra Google Benchmark options for every binary).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${RP_BENCH_BUILD:-build-bench}
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac
export RP_BENCH_DATA=${RP_BENCH_DATA:-$build/bench-data}

# Every bench/<name>/CMakeLists.txt defines the executable bench_<name>.
names=()
if [ $# -gt 0 ]; then
    names=("$@")
else
    for f in bench/*/CMakeLists.txt; do
        n=$(basename "$(dirname "$f")")
        grep -q "add_executable(bench_$n" "$f" && names+=("$n")
    done
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRP_BUILD_BENCH=ON \
    -DRP_BUILD_TESTS=OFF >/dev/null
# A benchmark whose subsystem is not in the tree yet has no target: skip it.
known=$(cmake --build "$build" --target help)
present=()
for n in "${names[@]}"; do
    if grep -q "^bench_$n:" <<<"$known"; then
        present+=("$n")
    else
        echo "bench_$n is not part of this build (its subsystem is missing): skipped" >&2
    fi
done
names=("${present[@]}")
targets=(rp_demo_gen)
for n in "${names[@]}"; do targets+=("bench_$n"); done
cmake --build "$build" --target "${targets[@]}" -j"$(nproc)"

large="$RP_BENCH_DATA/large"
# Data generated before the schema's last change (it has no collation stamp)
# would measure the old schema: it is generated again.
if [ -f "$large/EMPRESA_DEMO.db" ] &&
    ! sqlite3 -readonly "$large/EMPRESA_DEMO.db" "SELECT VERSION FROM RP_COLLATION" >/dev/null 2>&1; then
    echo "The large demo data predates the current schema: generating it again"
    rm -f "$large"/*
fi
if [ ! -f "$large/EMPRESA_DEMO.db" ] || [ ! -f "$large/KS_ESTADISTICAS.db" ]; then
    echo "Generating the large demo data in $large"
    mkdir -p "$RP_BENCH_DATA"
    "$build/src/app/demo/rp_demo_gen" --scale large --folder "$large"
fi

summary=$(mktemp)
trap 'rm -f "$summary"' EXIT
status=0
for n in "${names[@]}"; do
    echo
    echo "### bench_$n"
    # shellcheck disable=SC2086
    RP_BENCH_RESUMEN="$summary" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 \
        "$build/bench/$n/bench_$n" ${BENCH_ARGS:-} || status=1
done

echo
echo "== Summary ($(date -u +%Y-%m-%d), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')) =="
awk -F'\t' '
    BEGIN { printf "%-12s %-44s %10s %9s %9s %11s %7s  %s\n", "binary", "benchmark", "rows", "seconds", "cpu s", "rows/s", "ratio", "other" }
    { printf "%-12s %-44s %10s %9s %9s %11s %7s  %s\n", $1, $2, $3, $4, $5, $6, $7, $8 }' "$summary"
exit $status
