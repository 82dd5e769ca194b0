#!/usr/bin/env bash
# Runs every benchmark given on the command line and writes their rows, with the
# machine they ran on, into bench/RESULTS.md (the first argument is that file).
set -euo pipefail
out=$1
shift
machine=$(lscpu 2>/dev/null | sed -n 's/^Model name: *//p' | head -n 1)
cores=$(nproc)
memory=$(free -g 2>/dev/null | awk '/^Mem:/ {print $2 " GiB"}')
rows=$(mktemp)
# A comparison of two commits written by hand below the table stays.
kept=$(mktemp)
sed -n '/^## Old and new side by side/,$p' "$out" 2>/dev/null >"$kept" || true
for bench in "$@"; do
    echo "== $(basename "$bench")" >&2
    QT_QPA_PLATFORM=offscreen "$bench" | tee /dev/stderr | grep '^BENCH' >>"$rows" || {
        echo "benchmark $bench failed" >&2
        exit 1
    }
done
{
    echo "# Benchmark results"
    echo
    echo "Written by \`make bench\` on $(date -u +%Y-%m-%d): ${machine:-unknown CPU}, $cores cores, ${memory:-unknown memory}, Release build with debug info."
    echo "Median of repeated runs; spread is the range of the middle half of the runs."
    echo
    echo "| operation | median | spread | unit |"
    echo "|---|---|---|---|"
    awk -F '\t' '{ printf "| %s | %s | %s | %s |\n", $2, $3, $4, $5 }' "$rows"
    if [ -s "$kept" ]; then
        echo
        cat "$kept"
    fi
} >"$out"
rm -f "$rows" "$kept"
echo "wrote $out" >&2
