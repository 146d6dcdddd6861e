#!/bin/bash
# Fuzzes the row loop of every language in turn, each for its own time (60 s unless given),
# seeded with the golden sources of the language tests. Exits non-zero at the first crash.
#   tools/fuzz-languages.sh [seconds] [build folder] [language ...]
# Naming languages (as the list below spells them) fuzzes only those.
set -euo pipefail
seconds="${1:-60}"
build="${2:-build-fuzz}"
root="$(cd "$(dirname "$0")/.." && pwd)"
cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ > /dev/null
cmake --build "$build" > /dev/null
names=(IBMCOB IBMJCL BMS CPP_MSExt DataFiles VMSCOB UnisysCOB PL1 EzeRetrieve VAG45 IBMOPC
    AnsiSQL MSSQL UnisysSQL VB6 TSL CPP Delphi6 DotNet PB7)
corpus="$build/corpus"
only=("${@:3}")
for number in "${!names[@]}"; do
    name="${names[$number]}"
    if [ "${#only[@]}" -gt 0 ] && [[ ! " ${only[*]} " == *" $name "* ]]; then
        continue
    fi
    rm -rf "$corpus/$name" && mkdir -p "$corpus/$name"
    # Every golden source is a seed: the first byte picks no language here, the rest is
    # the file.
    find "$root/tests/languages" -type f ! -name expected.txt -print0 |
        while IFS= read -r -d '' seed; do
            { printf 'x'; head -c 4000 "$seed"; } > "$corpus/$name/$(basename "$seed")"
        done
    echo "== $name: ${seconds}s"
    status=0
    VELUNOR_FUZZ_LANGUAGE="$number" "$build/rowloop_fuzz" "$corpus/$name" \
        -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
        > "$build/$name.log" 2>&1 || status=$?
    grep -E "^stat::(number_of_executed_units|peak_rss_mb)|ERROR|SUMMARY" "$build/$name.log" || true
    # The sanitizers report undefined behaviour without stopping the run: it fails as well.
    if grep -q "runtime error" "$build/$name.log"; then
        status=1
    fi
    if [ "$status" -ne 0 ]; then
        echo "rowloop_fuzz found a crash or undefined behaviour in $name: $build/$name.log" >&2
        exit 1
    fi
done
echo "every language ran ${seconds}s without a crash"
