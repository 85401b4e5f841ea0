# benchmarks (calc)
