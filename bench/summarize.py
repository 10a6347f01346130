#!/usr/bin/env python3
"""Combines the JSON results of bench/run-all into one table and the summary.

Times are CPU time per pass, the median of the repetitions: the pass runs on
one thread, and CPU time is less disturbed than wall time when the machine is
shared. Ratios are computed from these same numbers.
"""

import json
import sys


def load(paths):
    runs, context = {}, None
    for path in paths:
        with open(path) as f:
            data = json.load(f)
        context = context or data["context"]
        for b in data["benchmarks"]:
            if b.get("run_type") == "aggregate" and b.get("aggregate_name") != "median":
                continue
            runs[b["run_name"]] = b
    return runs, context


def seconds(run, key):
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[run["time_unit"]]
    return run[key] * scale


def human_time(s):
    for unit, scale in (("s", 1.0), ("ms", 1e-3), ("us", 1e-6)):
        if s >= scale:
            return f"{s / scale:8.2f} {unit}"
    return f"{s / 1e-9:8.0f} ns"


def human_count(x):
    for suffix, scale in (("T", 1e12), ("G", 1e9), ("M", 1e6), ("k", 1e3)):
        if x >= scale:
            return f"{x / scale:.3g}{suffix}"
    return f"{x:.4g}"


def table(runs):
    print(f"{'benchmark':<28}{'cpu/pass':>12}{'wall/pass':>12}  counters")
    for name, run in runs.items():
        if run.get("error_occurred"):
            print(f"{name:<28}  ERROR: {run.get('error_message')}")
            continue
        counters = []
        for key in ("deliveries", "walks", "reached", "steps", "peak_MB", "pass_MB", "trace_lines", "wires"):
            if key in run:
                value = run[key]
                counters.append(f"{key}={value:.1f}" if key.endswith("MB") else
                                f"{key}={human_count(value)}")
        print(f"{name:<28}{human_time(seconds(run, 'cpu_time')):>12}"
              f"{human_time(seconds(run, 'real_time')):>12}  {' '.join(counters)}")


def summary(runs):
    def cpu(name, key="cpu_time"):
        run = runs.get(name)
        if run is None or run.get("error_occurred"):
            return None
        return seconds(run, key)

    # OpenGL draws on the driver's threads as well (llvmpipe's): those are timed by the wall.
    def ratio(a, b, key="cpu_time"):
        x, y = cpu(a, key), cpu(b, key)
        return None if x is None or y is None else x / y

    def layer_gain(canvas, changing, key="cpu_time"):
        name = "fanout_100/draw" + canvas
        return ratio(name + changing, name + "_kept" + changing, key)

    def counter_ratio(a, key_a, b, key_b):
        x, y = runs.get(a, {}).get(key_a), runs.get(b, {}).get(key_b)
        return None if not x or not y else x / y

    peaks = [runs[n]["peak_MB"] for n in runs if n.endswith("/production") and "peak_MB" in runs[n]]
    rows = [
        ("random 2000: reference / production", ratio("random_2000/reference",
         "random_2000/production"), ">=", 100, "x"),
        ("random 2000: production / bare walk", ratio("random_2000/production",
         "random_2000/bare"), "<=", 3, "x"),
        ("random 2000: walks queued / components (no target)", counter_ratio(
         "random_2000/reference", "walks", "random_2000/bare", "reached"), None, None, "x"),
        ("tied-NAND chain: depth 40 / depth 20", ratio("chain_40/production",
         "chain_20/production"), "<=", 10, "x"),
        ("ladder: depth 40 / depth 20 (no target)", ratio("ladder_40/production",
         "ladder_20/production"), None, None, "x"),
        ("100 live wires, software: anew / kept layer", layer_gain("", ""), None, None, "x"),
        ("  the same, every wire changing every frame", layer_gain("", "_changing"), None, None,
         "x"),
        ("100 live wires, OpenGL (wall): anew / kept layer",
         layer_gain("_opengl", "", "real_time"), None, None, "x"),
        ("  the same, every wire changing every frame",
         layer_gain("_opengl", "_changing", "real_time"), None, None, "x"),
        ("peak resident memory, production passes", max(peaks) if peaks else None, "<", 100,
         " MB"),
    ]
    print(f"{'summary':<52}{'measured':>12}{'target':>12}  verdict")
    missed = 0
    for label, value, op, target, unit in rows:
        shown = "n/a" if value is None else f"{value:.1f}{unit}"
        goal = "" if op is None else f"{op} {target}{unit}"
        if op is None or value is None:
            verdict = "" if op is None else "NOT MEASURED"
        else:
            ok = {">=": value >= target, "<=": value <= target, "<": value < target}[op]
            verdict = "met" if ok else "MISSED"
        missed += verdict in ("MISSED", "NOT MEASURED")
        print(f"{label:<52}{shown:>12}{goal:>12}  {verdict}")
    return missed


def main(paths):
    runs, context = load(paths)
    load_avg = ", ".join(f"{x:.2f}" for x in context.get("load_avg", []))
    print(f"\nvelkora_bench: {context.get('num_cpus')} CPUs, load average {load_avg}, "
          f"Google Benchmark library built as {context.get('library_build_type')}; "
          "CPU time per pass, median of the repetitions\n")
    table(runs)
    print()
    missed = summary(runs)
    print(f"\n{missed} target(s) missed or not measured" if missed else "\nall targets met")


if __name__ == "__main__":
    main(sys.argv[1:])
