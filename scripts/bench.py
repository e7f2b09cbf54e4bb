#!/usr/bin/env python3
"""Builds the benchmarks, runs every one once and prints each figure beside
its peer's from this same run, then a table of ratios against the targets.
PX_BENCH_LOG_MB sets the size of the viewer's log (100 MB by default); the
compile-time benchmark (bench/compile_time.py) compiles with $CXX, else c++."""
import json
import os
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BENCH = os.path.join(ROOT, "build", "bench", "bench")
sys.path.insert(0, os.path.join(ROOT, "bench"))
import compile_time  # noqa: E402


def run(args, env=None):
    done = subprocess.run(args, cwd=ROOT, env=env, check=True, stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, text=True)
    return done.stdout


def figures(program):
    """The "figure <key> <ns>" lines a program prints."""
    found = {}
    for line in run([os.path.join(BENCH, program)]).splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[0] == "figure":
            found[parts[1]] = float(parts[2])
    return found


def medians(program, *args):
    """Median real time (ms) and bytes per second of each Google Benchmark."""
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        run([os.path.join(BENCH, program), f"--benchmark_out={out.name}",
             "--benchmark_out_format=json", "--benchmark_repetitions=5",
             "--benchmark_report_aggregates_only=true", *args])
        report = json.load(open(out.name))
    found = {}
    for bench in report["benchmarks"]:
        if bench.get("aggregate_name") == "median":
            found[bench["run_name"]] = bench
    return found


def main():
    subprocess.run(["scripts/setup.sh"], cwd=ROOT, check=True)
    subprocess.run(["cmake", "--preset", "bench"], cwd=ROOT, check=True,
                   stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", "--preset", "bench", "-j", str(os.cpu_count())],
                   cwd=ROOT, check=True, stdout=subprocess.DEVNULL)

    f = figures("probex_check_bench")
    f.update(figures("probex_coverage_bench"))
    viewer = medians("divov_bench", "--benchmark_filter=DiVovTranscript|IconvFloor")
    divov = viewer["BM_DiVovTranscript/iterations:3/real_time"]["bytes_per_second"]
    iconv = viewer["BM_IconvFloor/iterations:3/real_time"]["bytes_per_second"]
    sync = medians("probex_bench_sync")
    compile_repeat = 3
    compile_seconds = compile_time.figures(
        compile_time.bench_toolchain(os.path.join(ROOT, "build", "bench")), compile_repeat)

    print("\n== ns per operation, medians of 5")
    print(f"{'work':32}{'Probex':>10}{'GoogleTest':>12}{'Catch2 v2':>11}{'doctest':>10}")
    for key, work in (("passing_check", "passing check, logged"),
                      ("failing_check", "failing check to a file"),
                      ("case_overhead", "per-case overhead")):
        row = [f.get(f"{peer}.{key}", float("nan"))
               for peer in ("probex", "gtest", "catch2", "doctest")]
        print(f"{work:32}{row[0]:>10.1f}{row[1]:>12.1f}{row[2]:>11.1f}{row[3]:>10.1f}")
    share = f.get("probex.passing_check_file", float("nan"))
    print(f"{'  of which the log file':32}{share:>10.1f}   (its system calls, this machine's;"
          f" the rest {f['probex.passing_check'] - share:.1f})")
    print(f"{'first passage, 10 lines stored':32}{f['probex.first_passage_10']:>10.1f}")
    print(f"{'first passage, 100,000 stored':32}{f['probex.first_passage_100000']:>10.1f}")
    print(f"{'passage of a known line':32}{f['probex.repeat_passage']:>10.1f}"
          f"   gcov atomic counter {f['gcov.repeat_passage']:.1f}")
    print(f"viewer MB/s: DiVov.exe {divov / 2**20:.1f}, iconv {iconv / 2**20:.1f}")
    rows = [
        ("passing check / Catch2", f["probex.passing_check"] / f["catch2.passing_check"],
         "<=", 20),
        ("failing check / Catch2", f["probex.failing_check"] / f["catch2.failing_check"],
         "<=", 1),
        ("per case / GoogleTest", f["probex.case_overhead"] / f["gtest.case_overhead"], "<=", 1),
        ("first passage 100,000 / 10",
         f["probex.first_passage_100000"] / f["probex.first_passage_10"], "<=", 1.5),
        ("known line / gcov atomic", f["probex.repeat_passage"] / f["gcov.repeat_passage"],
         "<=", 15),
        ("viewer / iconv throughput", divov / iconv, ">=", 0.5),
    ]
    for n in (2, 4, 8):
        ms = sync[f"BM_Rendezvous/{n}/real_time"]["real_time"]
        print(f"rendezvous of {n}: {ms:.1f} ms, polling floor {n * 5} ms")
        rows.append((f"rendezvous of {n} / {n} x 5 ms", ms / (n * 5), "<=", 1.5))

    compile_time.report(compile_seconds, compile_repeat)

    print("\n== ratios against the targets")
    missed = 0
    for name, ratio, op, target in rows:
        met = ratio <= target if op == "<=" else ratio >= target
        missed += not met
        print(f"{name:34}{ratio:>9.2f}  {op} {target:<5}{'met' if met else 'MISSED'}")
    return 1 if missed else 0


if __name__ == "__main__":
    sys.exit(main())
