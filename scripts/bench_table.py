"""Prints the table of scripts/bench.sh from Google Benchmark's JSON; exits 1 when a target is
not met.

Each repetition of a benchmark reports the median of its per-batch ratios ("ratio") and the
largest of them ("ratio_max"). The table shows, over the repetitions, the median of the
ratios and their range; for targets in milliseconds, the median time per run ("ms") instead.
"""
import json
import statistics
import sys


def main(path):
    with open(path) as f:
        runs = [b for b in json.load(f)["benchmarks"] if b.get("run_type") == "iteration"]
    by_name = {}
    for run in runs:
        if "error_occurred" in run and run["error_occurred"]:
            by_name.setdefault(run["run_name"], []).append(None)
            continue
        by_name.setdefault(run["run_name"], []).append(run)

    rows = []
    all_met = True
    for name, reps in by_name.items():
        good = [r for r in reps if r]
        short = name.removeprefix("BM_").removesuffix("/manual_time")
        if not good:
            rows.append((short, "error", "", "", "", "NOT MET"))
            all_met = False
            continue
        ratios = [r["ratio"] for r in good]
        ratio = statistics.median(ratios)
        spread = f"{min(ratios):.2f}-{max(ratios):.2f} (batch max {max(r['ratio_max'] for r in good):.1f})"
        if "target_ms" in good[0]:
            ms = statistics.median(r["ms"] for r in good)
            target = good[0]["target_ms"]
            met = ms <= target
            value = f"{ms:.3f} ms (x{ratio:.2f})"
            target_text = f"<= {target:g} ms"
        elif "target" in good[0]:
            target = good[0]["target"]
            met = ratio <= target
            value = f"{ratio:.2f}"
            target_text = f"<= {target:g}"
        else:
            met = None
            value = f"{ratio:.2f}"
            target_text = "-"
        if met is False:
            all_met = False
        rows.append((short, value, spread, target_text, f"{len(good)} runs",
                     "-" if met is None else ("met" if met else "NOT MET")))

    header = ("benchmark", "ratio", "spread of the runs' ratios", "target", "runs", "")
    widths = [max(len(str(row[i])) for row in rows + [header]) for i in range(len(header))]
    for row in [header] + rows:
        print("  ".join(str(cell).ljust(width) for cell, width in zip(row, widths)).rstrip())
    return 0 if all_met else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
