#!/usr/bin/env python3
"""Prints the performance table from the JSON output of the benchmark programs.

A benchmark carries its rows as counters named "<row>|figure_ns", "<row>|baseline_ns" and
"<row>|goal" (ratio rows; "figure_bytes" and "baseline_bytes" for memory), or
"<row>|allocations" and "<row>|goal" (allocation rows).
"""
import json
import sys


def rows_of(benchmark):
    rows = {}
    for key, value in benchmark.items():
        if "|" in key:
            row, field = key.split("|", 1)
            rows.setdefault(row, {})[field] = value
    return rows


def main(paths):
    lines = []
    all_met = True
    for path in paths:
        try:
            with open(path) as f:
                report = json.load(f)
        except (OSError, ValueError) as error:
            lines.append((path, "-", "-", "-", "-", f"unreadable: {error}"))
            all_met = False
            continue
        for benchmark in report.get("benchmarks", []):
            if benchmark.get("error_occurred"):
                all_met = False
                lines.append((benchmark["name"], "-", "-", "-", "-", f"FAILED: {benchmark.get('error_message', '')}"))
                continue
            for row, fields in rows_of(benchmark).items():
                goal = fields.get("goal")
                if "allocations" in fields:
                    count = fields["allocations"]
                    met = count <= goal
                    lines.append((row, f"{count:.0f} alloc", "-", "-", f"<= {goal:.0f} alloc", "met" if met else "NOT MET"))
                else:
                    unit = "bytes" if "figure_bytes" in fields else "ns"
                    figure, baseline = fields[f"figure_{unit}"], fields[f"baseline_{unit}"]
                    ratio = figure / baseline if baseline > 0 else float("inf")
                    met = ratio <= goal
                    lines.append((row, f"{figure:.3g} {unit}", f"{baseline:.3g} {unit}", f"{ratio:.2f}x", f"<= {goal:g}x",
                                  "met" if met else "NOT MET"))
                all_met = all_met and met
    header = ("row", "figure", "baseline", "ratio", "goal", "")
    widths = [max(len(str(line[i])) for line in [header] + lines) for i in range(len(header))]
    for line in [header] + lines:
        print("  ".join(str(cell).ljust(width) for cell, width in zip(line, widths)).rstrip())
    print("every goal met" if all_met else "some goals not met (see docs/performance.md)")


if __name__ == "__main__":
    main(sys.argv[1:])
