# benchmarks (trades)
