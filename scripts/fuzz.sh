#!/usr/bin/env bash
# Builds the fuzz targets of tests/fuzz with clang's libFuzzer (ASan + UBSan)
# and runs each for the given seconds (default 600), seeded from
# tests/fuzz/corpus/<name>. New inputs go to build-fuzz/corpus/<name>, inputs
# that crash or hang to build-fuzz/hallazgos/<name>/ (copy those into
# tests/fuzz/corpus/<name> once mended: the test suite replays them).
#
#   scripts/fuzz.sh [seconds] [target...]   targets: formula dialecto oracle
#                                           lanzamiento archivos like cotejo
#
# The project's libraries come from the normal build; the code each target
# tests is compiled again with clang's coverage instrumentation and takes
# precedence over the library copy.
set -euo pipefail
cd "$(dirname "$0")/.."
segundos=${1:-600}
[ $# -gt 0 ] && shift
objetivos=("$@")
[ ${#objetivos[@]} -eq 0 ] && objetivos=(formula dialecto oracle lanzamiento archivos like cotejo)

command -v clang++ >/dev/null || scripts/install-deps.sh
[ -d build ] || cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
libs=(rp_engine rp_provider rp_db rp_startup rp_connections rp_lookup rp_suite rp_ui)
cmake --build build -j"$(nproc)" --target "${libs[@]}"
archivos_a=()
for l in "${libs[@]}"; do
    archivos_a+=("$(find build/src -name "lib$l.a" | head -n1)")
done

fuentes() {
    case "$1" in
    formula) echo src/report/engine/LexerFormula.cpp src/report/engine/ParserFormula.cpp \
        src/report/engine/LectorPlantilla.cpp ;;
    dialecto) echo src/db/provider/DialectRewriter.cpp src/db/provider/SqlNode.cpp \
        src/db/provider/SqlTokenizer.cpp src/db/provider/SqlPlusRewrite.cpp ;;
    oracle) echo src/db/DbOracle.cpp src/db/TextoVb.cpp ;;
    lanzamiento) echo src/startup/ParametrosLanzamiento.cpp ;;
    archivos) echo src/suite/ArchivoIni.cpp src/suite/Texto1252.cpp \
        src/connections/ArchivoBases.cpp src/lookup/ArchivoConsultas.cpp \
        src/lookup/ArchivoAnchos.cpp ;;
    like | cotejo) echo src/db/provider/SqlServerText.cpp ;;
    *) echo "unknown fuzz target: $1" >&2; exit 2 ;;
    esac
}

mkdir -p build-fuzz
flags=(-std=c++20 -O1 -g -fPIC -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -Isrc -Itests/fuzz $(pkg-config --cflags Qt6Core))
enlace=(-Wl,--start-group "${archivos_a[@]}" -Wl,--end-group
        $(pkg-config --libs Qt6Core sqlite3 odbc inih))
resumen=()
for t in "${objetivos[@]}"; do
    nombre="$(tr '[:lower:]' '[:upper:]' <<<"${t:0:1}")${t:1}"
    binario=build-fuzz/fuzz_$t
    # shellcheck disable=SC2046
    clang++ "${flags[@]}" -o "$binario" "tests/fuzz/Fuzz$nombre.cpp" $(fuentes "$t") "${enlace[@]}"
    mkdir -p "build-fuzz/corpus/$t" "build-fuzz/hallazgos/$t"
    registro=build-fuzz/fuzz_$t.log
    set +e
    ASAN_OPTIONS=detect_leaks=0 "$binario" -max_total_time="$segundos" -timeout=60 \
        -rss_limit_mb=2048 -max_len=8192 -print_final_stats=1 \
        -artifact_prefix="build-fuzz/hallazgos/$t/" \
        "build-fuzz/corpus/$t" "tests/fuzz/corpus/$t" >"$registro" 2>&1
    rc=$?
    set -e
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$registro" | grep -o '[0-9]*$' | tail -n1)
    hallazgos=$(find "build-fuzz/hallazgos/$t" -type f | wc -l)
    resumen+=("$t: ${runs:-?} executions in ${segundos} s, exit $rc, findings $hallazgos")
done
printf '%s\n' "${resumen[@]}"
