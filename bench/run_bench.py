#!/usr/bin/env python3
"""Conversion benchmark: generates inputs, converts each with gridmoor, and
measures two baselines in the same run: ogr2ogr copying our own output
(the same records through GDAL's shapefile writer) and a plain copy of the
input plus output bytes. Prints a table and writes a JSON file.

  run_bench.py BUILD_DIR [--json PATH] [--keep]

BENCH_SCALE (default 1) scales every record count.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

KINDS = [
    # name, input file, records at scale 1, extra settings
    ("points", "points.WT", 1_000_000, []),
    ("annotations", "notes.WT", 200_000, ["--set", "ExportAnnotation=1"]),
    ("lines", "lines.WL", 200_000, []),
    ("polygons", "polygons.WP", 100_000, []),
    ("table", "table.WB", 1_000_000, []),
]
BATCH_FILES = 20
BATCH_RECORDS = 20_000


def measure(argv):
    """Runs argv; returns its wall seconds, CPU seconds and peak RSS in bytes.
    /usr/bin/time waits for the child itself, so the peak is the child's own
    and not the memory a fork of this interpreter starts with."""
    with tempfile.NamedTemporaryFile("r", suffix=".time") as t:
        start = time.perf_counter()
        proc = subprocess.run(["/usr/bin/time", "-f", "%U %S %M", "-o", t.name] + argv,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        wall = time.perf_counter() - start
        if proc.returncode != 0:
            raise SystemExit("failed (%d): %s\n%s" % (proc.returncode, " ".join(argv),
                                                      proc.stderr.decode("utf-8", "replace")))
        user, system, rss_kb = t.read().split()[-3:]
    return {"wall_s": wall, "cpu_s": float(user) + float(system), "peak_rss_bytes": int(rss_kb) * 1024}


def files_in(folder):
    return sorted(os.path.join(folder, f) for f in os.listdir(folder) if os.path.isfile(os.path.join(folder, f)))


def size_of(paths):
    return sum(os.path.getsize(p) for p in paths)


def convert_args(gridmoor, extra, lib, out, inputs, jobs=1):
    return [gridmoor, "convert", "-q", "-j", str(jobs), "--set", "SymbolType=2", "--set", "ExportProjection=1",
            "--lib", lib, "--on-clash", "overwrite", "-o", out] + extra + inputs


def rates(m, records, nbytes):
    m["records_per_s"] = records / m["wall_s"] if m["wall_s"] > 0 else 0.0
    m["mb_per_s"] = nbytes / 1e6 / m["wall_s"] if m["wall_s"] > 0 else 0.0
    m["bytes"] = nbytes
    return m


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("build")
    ap.add_argument("--json", default=None)
    ap.add_argument("--keep", action="store_true")
    args = ap.parse_args()
    scale = float(os.environ.get("BENCH_SCALE", "1"))
    build = os.path.abspath(args.build)
    gridmoor = os.path.join(build, "cli", "gridmoor")
    generator = os.path.join(build, "bench", "bench_inputs")
    colour = os.path.join(build, "demo", "Pcolor.lib")
    ogr2ogr = shutil.which("ogr2ogr")
    json_path = args.json or os.path.join(build, "bench", "bench_results.json")

    work = tempfile.mkdtemp(prefix="gridmoor-bench-")
    try:
        inputs = os.path.join(work, "in")
        t0 = time.perf_counter()
        subprocess.run([generator, inputs, str(scale)], check=True)
        print("inputs generated in %.1f s (BENCH_SCALE=%g) in %s" % (time.perf_counter() - t0, scale, inputs))
        if not os.path.exists(colour):
            raise SystemExit("no colour library at %s (build the demo data first)" % colour)
        shutil.copy(colour, os.path.join(inputs, "Pcolor.lib"))
        results = {"scale": scale, "kinds": [], "batch": {}}
        for name, fname, n, extra in KINDS:
            records = max(1, round(n * scale))
            src = os.path.join(inputs, fname)
            out = os.path.join(work, "out-" + name)
            os.makedirs(out)
            ours = measure(convert_args(gridmoor, extra, inputs, out, [src]))
            outputs = files_in(out)
            in_bytes = os.path.getsize(src)
            out_bytes = size_of(outputs)
            rates(ours, records, in_bytes + out_bytes)
            row = {"kind": name, "records": records, "input_bytes": in_bytes, "output_bytes": out_bytes, "ours": ours}
            # GDAL's writer on the same records: every shapefile (or table) we wrote.
            mains = [p for p in outputs if p.endswith(".shp")] or [p for p in outputs if p.endswith(".dbf")]
            if ogr2ogr:
                ogr_out = os.path.join(work, "ogr-" + name)
                os.makedirs(ogr_out)
                total = None
                for m in mains:
                    dst = os.path.join(ogr_out, os.path.basename(m))
                    r = measure([ogr2ogr, "-f", "ESRI Shapefile", dst, m])
                    if total is None:
                        total = r
                    else:
                        total = {"wall_s": total["wall_s"] + r["wall_s"], "cpu_s": total["cpu_s"] + r["cpu_s"],
                                 "peak_rss_bytes": max(total["peak_rss_bytes"], r["peak_rss_bytes"])}
                row["ogr2ogr"] = rates(total, records, size_of(outputs) + size_of(files_in(ogr_out)))
                shutil.rmtree(ogr_out)
            copy_dir = os.path.join(work, "copy-" + name)
            os.makedirs(copy_dir)
            row["copy"] = rates(measure(["cp", src] + outputs + [copy_dir]), records, in_bytes + out_bytes)
            shutil.rmtree(copy_dir)
            row["gpkg"] = geopackage_row(gridmoor, extra, inputs, work, name, src, mains, ogr2ogr, records)
            row["ratio_ours_ogr2ogr"] = ours["wall_s"] / row["ogr2ogr"]["wall_s"] if ogr2ogr else None
            # CPU seconds too: on a busy machine they drift less than wall time.
            row["ratio_ours_ogr2ogr_cpu"] = (ours["cpu_s"] / row["ogr2ogr"]["cpu_s"]
                                             if ogr2ogr and row["ogr2ogr"]["cpu_s"] > 0 else None)
            row["input_mb_per_s"] = in_bytes / 1e6 / ours["wall_s"] if ours["wall_s"] > 0 else 0.0
            row["ratio_ours_copy"] = ours["wall_s"] / row["copy"]["wall_s"]
            row["rss_over_input"] = ours["peak_rss_bytes"] / in_bytes
            results["kinds"].append(row)
            shutil.rmtree(out)

        # A batch of medium files with one job and with two, into a fresh
        # folder and again into the same folder over the results it holds.
        batch = os.path.join(inputs, "batch")
        batch_files = [p for p in files_in(batch) if p.endswith(".WL")]
        for jobs in (1, 2):
            out = os.path.join(work, "batch-j%d" % jobs)
            os.makedirs(out)
            results["batch"]["j%d" % jobs] = measure(convert_args(gridmoor, [], inputs, out, batch_files, jobs))
            results["batch"]["rerun_j%d" % jobs] = measure(
                convert_args(gridmoor, [], inputs, out, batch_files, jobs))
        results["batch"]["files"] = len(batch_files)
        results["batch"]["speedup_j2"] = results["batch"]["j1"]["wall_s"] / results["batch"]["j2"]["wall_s"]
        results["batch"]["speedup_j2_rerun"] = (results["batch"]["rerun_j1"]["wall_s"] /
                                                results["batch"]["rerun_j2"]["wall_s"])

        print_table(results)
        print_geopackage_table(results)
        os.makedirs(os.path.dirname(json_path), exist_ok=True)
        with open(json_path, "w") as f:
            json.dump(results, f, indent=2)
        print("JSON: %s" % json_path)
    finally:
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)
        else:
            print("kept %s" % work)


def geopackage_row(gridmoor, extra, inputs, work, name, src, shapefiles, ogr2ogr, records):
    """Our GeoPackage output of the same input, and ogr2ogr -f GPKG copying
    our shapefile output (every result into one GeoPackage)."""
    target = os.path.join(work, "gpkg-%s.gpkg" % name)
    ours = measure(convert_args(gridmoor, extra + ["--format", "gpkg"], inputs, target, [src]))
    rates(ours, records, os.path.getsize(src) + os.path.getsize(target))
    os.remove(target)
    row = {"ours": ours}
    if ogr2ogr:
        copies = [measure([ogr2ogr, "-f", "GPKG"] + (["-update"] if i else []) + [target, m])
                  for i, m in enumerate(shapefiles)]
        row["ogr2ogr"] = {k: sum(c[k] for c in copies) for k in ("wall_s", "cpu_s")}
        row["ogr2ogr"]["peak_rss_bytes"] = max(c["peak_rss_bytes"] for c in copies)
        os.remove(target)
    return row


def print_geopackage_table(r):
    print()
    print("%-12s %9s %9s %9s %9s %12s %13s" % ("kind", "gpkg s", "cpu s", "shp s", "cpu s", "gpkg/shp", "gpkg/ogr2ogr"))
    for row in r["kinds"]:
        g, s, o = row["gpkg"]["ours"], row["ours"], row["gpkg"].get("ogr2ogr")
        print("%-12s %9.3f %9.3f %9.3f %9.3f %12s %13s" % (
            row["kind"], g["wall_s"], g["cpu_s"], s["wall_s"], s["cpu_s"],
            "%.2f/%.2f" % (g["wall_s"] / s["wall_s"], g["cpu_s"] / s["cpu_s"]),
            "%.2f/%.2f" % (g["wall_s"] / o["wall_s"], g["cpu_s"] / o["cpu_s"]) if o else "n/a"))
    print("(ratios: wall/cpu; goals: gpkg/shp at most 1.5, gpkg/ogr2ogr below 1)")


def print_table(r):
    head = "%-12s %-9s %9s %8s %8s %9s %11s %8s" % ("kind", "tool", "records", "wall s", "cpu s", "peak MB",
                                                    "records/s", "MB/s")
    print()
    print(head)
    print("-" * len(head))
    for row in r["kinds"]:
        for tool in ("ours", "ogr2ogr", "copy"):
            m = row.get(tool)
            if not m:
                continue
            print("%-12s %-9s %9d %8.3f %8.3f %9.1f %11.0f %8.1f" % (
                row["kind"], tool, row["records"], m["wall_s"], m["cpu_s"], m["peak_rss_bytes"] / 1e6,
                m["records_per_s"], m["mb_per_s"]))
    print()
    print("%-12s %12s %12s %12s %12s %12s %12s" % ("kind", "ours/ogr2ogr", "(cpu)", "ours/copy", "RSS/input",
                                                   "input MB", "input MB/s"))
    for row in r["kinds"]:
        ratio, cpu = row["ratio_ours_ogr2ogr"], row["ratio_ours_ogr2ogr_cpu"]
        print("%-12s %12s %12s %12.1f %12.2f %12.1f %12.1f" % (
            row["kind"], "%.2f" % ratio if ratio else "n/a", "%.2f" % cpu if cpu else "n/a", row["ratio_ours_copy"],
            row["rss_over_input"], row["input_bytes"] / 1e6, row["input_mb_per_s"]))
    b = r["batch"]
    print()
    print("batch of %d line files: -j 1 %.2f s, -j 2 %.2f s, speed-up %.2fx" % (
        b["files"], b["j1"]["wall_s"], b["j2"]["wall_s"], b["speedup_j2"]))
    print("the same batch again over its results (--on-clash overwrite): -j 1 %.2f s, -j 2 %.2f s, speed-up %.2fx" % (
        b["rerun_j1"]["wall_s"], b["rerun_j2"]["wall_s"], b["speedup_j2_rerun"]))


if __name__ == "__main__":
    sys.exit(main())
