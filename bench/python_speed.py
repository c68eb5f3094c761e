#!/usr/bin/env python3
"""How fast the Python package runs the model, against the C++ benchmark.

  PYTHONPATH=build/release/python /usr/bin/python3 bench/python_speed.py [BUILD_DIR]

1. veltra.run of the 99-year, 4-season benchmark input (bench/data/long99.inp), the
   DataFrames included, timed with timeit (median of the repeats), beside the median
   of BM_Run99Years4Seasons of veltra_bench (the same run writing its files).
2. A sweep of 1,000 ten-year cases of bench/data/wells10.inp with jobs=2 and jobs=1.

Prints the figures; it is a report, not a test (the machine's load changes them: on a busy
machine the processor times of the run say more than the wall-clock times, which the
speed-up of a sweep needs).
"""
import json
import os
import time
import pathlib
import statistics
import subprocess
import sys
import timeit

SOURCE = pathlib.Path(__file__).resolve().parents[1]
BUILD = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else SOURCE / "build" / "release").resolve()
sys.path.insert(0, str(BUILD / "python"))

import veltra  # noqa: E402


def run_99_years(timer):
    inp = veltra.read_input(SOURCE / "bench" / "data" / "long99.inp")
    veltra.run(inp)  # warm: pandas imported, caches filled
    times = timeit.repeat(lambda: veltra.run(inp), number=5, repeat=15, timer=timer)
    return statistics.median(times) / 5


def cpp_99_years():
    bench = BUILD / "bench" / "veltra_bench"
    if not bench.exists():
        return None
    out = subprocess.run([str(bench), "--benchmark_filter=BM_Run99Years4Seasons$", "--benchmark_repetitions=9",
                          "--benchmark_format=json"], capture_output=True, text=True, check=True).stdout
    runs = [b for b in json.loads(out)["benchmarks"] if b.get("run_type") == "iteration"]
    unit = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    return (statistics.median(b["real_time"] * unit[b["time_unit"]] for b in runs),
            statistics.median(b["cpu_time"] * unit[b["time_unit"]] for b in runs))


def sweep_1000(jobs):
    inp = veltra.read_input(SOURCE / "bench" / "data" / "wells10.inp")
    inp.Ny = 10
    # 1,000 cases: 10 x 10 x 10 values of three fields the input file keeps exactly.
    grid = {"Cic": [round(1.0 + 0.1 * k, 1) for k in range(10)],
            "Dw0": [round(1.0 + 0.1 * k, 1) for k in range(10)],
            "CA0": [2.0 + 0.5 * k for k in range(10)]}
    times = timeit.repeat(lambda: veltra.sweep(inp, grid, jobs=jobs), number=1, repeat=3)
    return statistics.median(times)


def main():
    print(f"cores this process may use: {len(os.sched_getaffinity(0))}")
    wall, cpu = run_99_years(time.perf_counter), run_99_years(time.process_time)
    print(f"veltra.run, 99 years x 4 seasons (with DataFrames): {wall * 1e3:.2f} ms wall, {cpu * 1e3:.2f} ms "
          f"processor (medians)")
    cpp = cpp_99_years()
    if cpp is not None:
        print(f"BM_Run99Years4Seasons (C++, writing its files):     {cpp[0] * 1e3:.2f} ms wall, {cpp[1] * 1e3:.2f} ms "
              f"processor (medians)")
        print(f"ratio Python / C++: {wall / cpp[0]:.2f} wall, {cpu / cpp[1]:.2f} processor")
    one, two = sweep_1000(1), sweep_1000(2)
    print(f"sweep of 1,000 ten-year cases: jobs=1 {one:.2f} s, jobs=2 {two:.2f} s, speed-up {one / two:.2f}")


if __name__ == "__main__":
    main()
