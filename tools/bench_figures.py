#!/usr/bin/env python3
"""The figures of one ./build.sh bench run as data, and what moved since another.

  bench_figures.py collect OUT.json PART.txt... [--google-benchmark RESULT.json]
      Gathers the benchmarks' figure lines
          figure <name> <value> <unit> [reference=<v>] [budget=<v>] [budget_on=ratio] [spread=<v>]
      from each part's output, and the runs of a Google Benchmark JSON result,
      into one JSON file: every figure with its name, value and unit, and where
      it has them its reference, the ratio to it, its budget and its spread.

  bench_figures.py compare OLD.json NEW.json
      Prints each figure whose value moved beyond the noise: a figure with a
      spread by more than twice the larger of its two spreads and 1 % of the
      old value; a time without one (a 99th percentile) by more than 10 %; any
      other figure (a size, a count of calls) with any change. Figures only in
      one of the files are listed too.
"""

import argparse
import datetime
import json
import math
import sys


def parse_figure_line(line, part):
    words = line.split()
    if len(words) < 4 or words[0] != "figure":
        return None
    figure = {"name": words[1], "value": float(words[2]), "unit": words[3], "part": part}
    for word in words[4:]:
        key, _, value = word.partition("=")
        if key == "budget_on":
            figure["budget_on"] = value
        elif key in ("reference", "budget", "spread"):
            figure[key] = float(value)
        else:
            raise ValueError(f"{part}: unknown field {key!r} in: {line.strip()}")
    return figure


def complete(figure):
    """Adds the ratio to the reference and whether the budget holds."""
    reference = figure.get("reference")
    if reference:
        figure["ratio"] = figure["value"] / reference
    if "budget" in figure:
        on_ratio = figure.get("budget_on") == "ratio"
        figure.setdefault("budget_on", "ratio" if on_ratio else "value")
        bounded = figure.get("ratio") if on_ratio else figure["value"]
        figure["within_budget"] = bounded is not None and bounded <= figure["budget"]
    return figure


def figures_of_part(path):
    part = path.rsplit("/", 1)[-1].rsplit(".", 1)[0]
    figures = []
    with open(path, encoding="utf-8", errors="replace") as text:
        for line in text:
            figure = parse_figure_line(line.replace("\r", ""), part)
            if figure is not None:
                figures.append(complete(figure))
    return figures


# The fields of a Google Benchmark run that are not user counters.
GOOGLE_BENCHMARK_FIELDS = {
    "name", "family_index", "per_family_instance_index", "run_name", "run_type",
    "repetitions", "repetition_index", "threads", "iterations", "real_time", "cpu_time",
    "time_unit", "aggregate_name", "aggregate_unit", "error_occurred", "error_message", "label",
}


def figures_of_google_benchmark(path):
    """The median of each benchmark's repetitions, its spread from their
    standard deviation, and its counters."""
    with open(path, encoding="utf-8") as result:
        runs = json.load(result)["benchmarks"]
    aggregates = {}
    for run in runs:
        if run.get("run_type") == "aggregate":
            aggregates.setdefault(run["run_name"], {})[run["aggregate_name"]] = run
        else:
            aggregates.setdefault(run["run_name"], {}).setdefault("single", run)
    figures = []
    for name, kinds in aggregates.items():
        run = kinds.get("median") or kinds.get("single")
        if run is None:
            continue
        figure = {"name": f"native.{name}", "value": run["real_time"],
                  "unit": run["time_unit"], "part": "keystrokes"}
        if "stddev" in kinds:
            figure["spread"] = kinds["stddev"]["real_time"]
        figures.append(figure)
        for counter, value in run.items():
            if counter not in GOOGLE_BENCHMARK_FIELDS and isinstance(value, (int, float)):
                figures.append({"name": f"native.{name}.{counter}", "value": value,
                                "unit": "count", "part": "keystrokes"})
    return figures


def collect(arguments):
    figures = []
    for path in arguments.parts:
        figures.extend(figures_of_part(path))
    if arguments.google_benchmark:
        figures.extend(figures_of_google_benchmark(arguments.google_benchmark))
    names = [figure["name"] for figure in figures]
    repeated = sorted({name for name in names if names.count(name) > 1})
    if repeated:
        sys.exit(f"figures named twice: {', '.join(repeated)}")
    document = {
        "date": datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%dT%H:%M:%SZ"),
        "figures": figures,
    }
    with open(arguments.out, "w", encoding="utf-8") as out:
        json.dump(document, out, indent=2)
        out.write("\n")
    over = [figure for figure in figures if figure.get("within_budget") is False]
    for figure in over:
        print(f"over budget: {figure['name']} {figure['value']:g} {figure['unit']}"
              f" (budget {figure['budget']:g} on the {figure['budget_on']})")
    return 0


def load(path):
    with open(path, encoding="utf-8") as source:
        return {figure["name"]: figure for figure in json.load(source)["figures"]}


TIME_UNITS = {"s", "ms", "us", "ns"}


def moved(old, new):
    """True when the change is beyond the noise of the two figures: any change
    of a figure without a spread (a size, a count), else one beyond twice the
    larger spread and 1 % of the old value."""
    change = new["value"] - old["value"]
    relative = abs(change) / abs(old["value"]) if old["value"] else math.inf
    if "spread" not in old and "spread" not in new:
        # A time without a spread (a 99th percentile) moves by 10 %.
        return relative > 0.10 if new["unit"] in TIME_UNITS else change != 0
    noise = 2 * max(old.get("spread", 0.0), new.get("spread", 0.0))
    return abs(change) > noise and relative > 0.01


def compare(arguments):
    old, new = load(arguments.old), load(arguments.new)
    rows = []
    for name, figure in new.items():
        if name in old and old[name]["unit"] == figure["unit"] and moved(old[name], figure):
            before, after = old[name]["value"], figure["value"]
            relative = (after - before) / before if before else math.inf
            rows.append((name, f"{before:.4g}", f"{after:.4g}", figure["unit"], f"{relative:+.1%}"))
    print(f"Figures that moved beyond the noise since {arguments.old}:")
    if rows:
        widths = [max(len(row[i]) for row in rows) for i in range(5)]
        print(f"  {'figure':<{widths[0]}}  {'old':>{widths[1]}}  {'new':>{widths[2]}}"
              f"  {'':<{widths[3]}}  change")
        for row in rows:
            print(f"  {row[0]:<{widths[0]}}  {row[1]:>{widths[1]}}  {row[2]:>{widths[2]}}"
                  f"  {row[3]:<{widths[3]}}  {row[4]}")
    else:
        print("  none")
    for name in sorted(set(new) - set(old)):
        print(f"  new figure: {name}")
    for name in sorted(set(old) - set(new)):
        print(f"  gone: {name}")
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    commands = parser.add_subparsers(dest="command", required=True)
    gather = commands.add_parser("collect", help="write the figures of a run as JSON")
    gather.add_argument("out")
    gather.add_argument("parts", nargs="*")
    gather.add_argument("--google-benchmark")
    gather.set_defaults(run=collect)
    against = commands.add_parser("compare", help="print what moved between two runs")
    against.add_argument("old")
    against.add_argument("new")
    against.set_defaults(run=compare)
    arguments = parser.parse_args()
    return arguments.run(arguments)


if __name__ == "__main__":
    sys.exit(main())
