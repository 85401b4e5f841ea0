#!/bin/sh
# Peak memory of `corvanta export-ledger` on generated ledgers of 1,000 and
# 100,000 trades, in one run; the ratio shows whether memory grows with the ledger
# (target: about 1). Run from the worktree after building corvanta and
# corvanta_bench_ledger_main:  bench/export-memory.sh [build]
set -eu
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
peak() { # trades -> peak resident set in kB
    mkdir -p "$work/$1"
    cp "$build/corvanta" "$work/$1/"
    "$build/tools/benchledger/corvanta-bench-ledger" --trades "$1" "$work/$1/gpmc.mdb"
    /usr/bin/time -v "$work/$1/corvanta" export-ledger "$work/$1/out.csv" 2>&1 >/dev/null |
        sed -n 's/.*Maximum resident set size (kbytes): //p'
}
small=$(peak 1000)
large=$(peak 100000)
echo "export-ledger peak RSS: 1,000 trades ${small} kB, 100,000 trades ${large} kB," \
    "ratio $(echo "scale=2; $large / $small" | bc)"
