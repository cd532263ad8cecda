#!/usr/bin/env bash
# Builds the benchmarks (Release), generates the large demo data (100,000
# articles, 1,000,000 price changes) when it is missing, runs every benchmark
# and prints one summary table. See docs/benchmarks.md.
#
#   scripts/bench.sh                      every benchmark
#   scripts/bench.sh db report            only bench_db and bench_report
#   scripts/bench.sh export               only the program's --export to PDF
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

# Every bench/<name>/CMakeLists.txt defines the executable bench_<name>;
# "export" is the program's own --export of the whole history to PDF, run by
# this script.
names=()
exportar=1
if [ $# -gt 0 ]; then
    exportar=0
    for n in "$@"; do
        if [ "$n" = export ]; then exportar=1; else names+=("$n"); fi
    done
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
for n in "${names[@]+"${names[@]}"}"; do
    if grep -q "^bench_$n:" <<<"$known"; then
        present+=("$n")
    else
        echo "bench_$n is not part of this build (its subsystem is missing): skipped" >&2
    fi
done
names=("${present[@]+"${present[@]}"}")
targets=(rp_demo_gen)
[ "$exportar" = 1 ] && targets+=(rp_tarifario)
for n in "${names[@]+"${names[@]}"}"; do targets+=("bench_$n"); done
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
for n in "${names[@]+"${names[@]}"}"; do
    echo
    echo "### bench_$n"
    # shellcheck disable=SC2086
    RP_BENCH_RESUMEN="$summary" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 \
        "$build/bench/$n/bench_$n" ${BENCH_ARGS:-} || status=1
done

# The whole history to PDF through the program's --export (tab 0 with the
# form's defaults) on the large data: wall and CPU seconds, pages per second
# and the process's peak resident size, from /usr/bin/time.
if [ "$exportar" = 1 ]; then
    echo
    echo "### rp_tarifario --export (PDF, whole history)"
    salidas="$RP_BENCH_DATA/salidas"
    mkdir -p "$salidas"
    pdf="$salidas/historial-export.pdf"
    medida="$salidas/export-time.txt"
    if QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 /usr/bin/time -v -o "$medida" \
        "$build/src/app/rp_tarifario" --demo --program-folder "$large" --batch \
        --export "$pdf" --tab 0 >"$salidas/export-err.txt" 2>&1; then
        paginas=$(pdfinfo "$pdf" | awk '/^Pages:/ { print $2 }')
        awk -F': ' -v paginas="$paginas" -v mb="$(du -m "$pdf" | cut -f1)" '
            /Elapsed \(wall clock\)/ { n = split($2, p, ":"); pared = 0
                for (i = 1; i <= n; i++) pared = pared * 60 + p[i] }
            /User time/ { cpu += $2 } /System time/ { cpu += $2 }
            /Maximum resident set size/ { pico = $2 / 1024 }
            END { printf "rp_tarifario\t--export PDF, whole history\t-\t%.3f\t%.3f\t-\t-\tpages=%d pages_per_s=%.1f file_mb=%d peak_rss_mb=%.0f\n",
                pared, cpu, paginas, paginas / pared, mb, pico }' "$medida" | tee -a "$summary"
    else
        echo "rp_tarifario	--export PDF, whole history	-	-	-	-	-	ERROR: $(tail -1 "$salidas/export-err.txt")" |
            tee -a "$summary"
        status=1
    fi
    rm -f "$pdf" "$medida" "$salidas/export-err.txt"
fi

echo
echo "== Summary ($(date -u +%Y-%m-%d), $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//')) =="
awk -F'\t' '
    BEGIN { printf "%-12s %-44s %10s %9s %9s %11s %7s  %s\n", "binary", "benchmark", "rows", "seconds", "cpu s", "rows/s", "ratio", "other" }
    { printf "%-12s %-44s %10s %9s %9s %11s %7s  %s\n", $1, $2, $3, $4, $5, $6, $7, $8 }' "$summary"
exit $status
