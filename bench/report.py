"""The benchmark table of the open-file command (see bench/README.md).

Runs bench/open_file_bench.exe under Wine for each size (a generated solution of that many
files), runs grep and fzf on the same names with the same queries, and prints one table:
figure, measured, goal, peer, ratio. scripts/bench provides the build, the X display and the
wineserver; QUORLAN_BUILD_DIR names the build folder.

    python3 bench/report.py            100,000 and 1,000,000 files
    python3 bench/report.py --5m       and 5,000,000 files, quorlan.exe alone
    python3 bench/report.py --small    2,000 files: that the benchmark runs at all
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
BUILD_DIR = os.environ.get("QUORLAN_BUILD_DIR", os.path.join(ROOT, "build"))
WINE_RUN = os.path.join(BUILD_DIR, "wine-run")
BENCH = os.path.join(BUILD_DIR, "bench", "open_file_bench.exe")
QUORLAN = os.path.join(BUILD_DIR, "driver", "quorlan.exe")
FILES_PER_PROJECT = 1000
# The peer of the window's figures: the same controls made with plain Win32 calls and none of the
# program's code (bench/bare_window.h), the least the window can cost on this system.
BARE = "bare window"
# The queries of the filter pass, as the bench times them (bench/open_file_bench.cpp).
QUERIES = ["m", "e", ".", "mesh", "scene", "zq", "zzzz", "_scene12", "mesh_scene12.cpp"]


def windows_path(linux_path):
    return "Z:" + os.path.abspath(linux_path).replace("/", "\\")


def run_bench(files, names_path, process_only=False):
    """The bench's figures for a solution of that many files: name -> list of values."""
    arguments = [WINE_RUN, BENCH, str(max(1, files // FILES_PER_PROJECT)), str(FILES_PER_PROJECT),
                 windows_path(QUORLAN), windows_path(names_path)]
    if process_only:
        arguments.append("process-only")
    with tempfile.TemporaryFile() as output:
        code = subprocess.call(arguments, stdin=subprocess.DEVNULL, stdout=output, stderr=subprocess.STDOUT)
        output.seek(0)
        text = output.read().decode("latin-1").replace("\r", "")
    if os.environ.get("QUORLAN_BENCH_RAW"):
        sys.stderr.write(text)
    figures = {}
    for line in text.splitlines():
        parts = line.split()
        if len(parts) == 2:
            try:
                figures.setdefault(parts[0], []).append(float(parts[1]))
            except ValueError:
                pass
    if code != 0:
        sys.stderr.write(text)
        raise SystemExit("open_file_bench failed at %d files (exit code %d)" % (files, code))
    return figures


def best_time(command, stdin_path, runs=3):
    """The fastest of a few runs of a whole process, in milliseconds."""
    times = []
    for _ in range(runs):
        with open(stdin_path, "rb") as stdin:
            start = time.perf_counter()
            subprocess.run(command, stdin=stdin, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                           env=dict(os.environ, LC_ALL="C"))
            times.append((time.perf_counter() - start) * 1000)
    return min(times)


def peers(names_path):
    """The slowest query of grep -F -i -c and of fzf --filter over the names, in milliseconds."""
    grep = max(best_time(["grep", "-F", "-i", "-c", "--", query, names_path], os.devnull) for query in QUERIES)
    fzf = max(best_time(["fzf", "--filter", query], names_path) for query in QUERIES)
    return grep, fzf


class Table:
    def __init__(self):
        self.rows = []

    def add(self, figure, measured, unit, goal="", peer=None, peer_name="", higher_is_better=False):
        text = ("%d %s" if unit == "files" else "%.2f %s" if measured < 10 else "%.1f %s") % (measured, unit)
        ratio = ""
        if peer is not None:
            ratio = "%.1fx" % ((measured / peer) if higher_is_better else (peer / measured if measured else 0))
            peer = "%s %.1f %s" % (peer_name, peer, unit)
        self.rows.append((figure, text, goal, peer or "", ratio))

    def print(self):
        header = ("Figure", "Measured", "Goal", "Peer", "Ratio (peer/measured)")
        widths = [max(len(row[i]) for row in self.rows + [header]) for i in range(len(header))]
        for row in [header, tuple("-" * w for w in widths)] + self.rows:
            print("| " + " | ".join(cell.ljust(width) for cell, width in zip(row, widths)) + " |")


def size_label(files):
    return "%dk" % (files // 1000) if files < 1000000 else "%gM" % (files / 1000000)


def measure(files, table, goals):
    label = size_label(files)
    with tempfile.TemporaryDirectory() as folder:
        names = os.path.join(folder, "names.txt")
        figures = run_bench(files, names)
        grep, fzf = peers(names)
    first = lambda name: figures[name][0]
    median = lambda name: statistics.median(figures[name])
    table.add("%s: window shown from a warm cache, from quorlan.exe's entry" % label,
              median("process_shown_from_entry_ms"), "ms", goals["window"], median("bare_process_shown_from_entry_ms"),
              BARE)
    table.add("%s: the same, whole process (from its creation)" % label, median("process_shown_from_creation_ms"), "ms")
    table.add("%s: the same in the bench's process (load, index, window, paint)" % label,
              first("window_in_process_ms"), "ms")
    table.add("%s: of which the window alone (made, shown, painted), whatever the size" % label,
              first("window_made_shown_painted_ms"), "ms")
    table.add("%s: each key, whole cost (slowest of %d)" % (label, 2 * len(QUERIES[-1]) + 2), first("key_max_ms"), "ms",
              goals["key"], first("bare_key_max_ms"), BARE)
    table.add("%s: each key, median" % label, first("key_median_ms"), "ms", "", first("bare_key_median_ms"), BARE)
    table.add("%s: each key, median of what is not the filter (list view, caption, repaint)" % label,
              first("key_median_outside_filter_ms"), "ms")
    table.add("%s: one repaint of the list alone, nothing changed (median of 9)" % label, first("list_repaint_ms"), "ms",
              "", first("bare_list_repaint_ms"), BARE)
    table.add("%s: the bare window's rows alone repainted: the least a key that changes them costs" % label,
              first("bare_rows_repaint_ms"), "ms")
    table.add("%s: filter pass alone (slowest query)" % label, first("filter_pass_max_ms"), "ms", goals["filter"], grep,
              "grep -F -i -c")
    table.add("%s: filter pass alone (slowest query)" % label, first("filter_pass_max_ms"), "ms", goals["fzf"], fzf,
              "fzf --filter")
    table.add("%s: first load (every project file parsed, cache written)" % label, first("first_load_mb_per_s"),
              "MB/s", ">= 100 MB/s")
    table.add("%s: load from the cache" % label, first("cache_load_ms"), "ms", goals["cache_load"])
    table.add("%s: index build (fold, drop repeated paths, sort, name block)" % label, first("index_build_ms"), "ms", "",
              first("stable_sort_names_ms"), "std::stable_sort of its names alone")
    table.add("%s: cache write" % label, first("cache_write_ms"), "ms", goals["cache_write"])
    table.add("%s: peak memory of quorlan.exe, window shown (working set)" % label,
              max(figures["process_peak_working_set_mb"]), "MB", goals["memory"])
    table.add("%s: the same, private bytes" % label, max(figures["process_peak_private_mb"]), "MB")


def measure_process_only(files, table):
    label = size_label(files)
    with tempfile.TemporaryDirectory() as folder:
        figures = run_bench(files, os.path.join(folder, "names.txt"), process_only=True)
    table.add("%s: quorlan.exe, no cache: window shown, whole process" % label,
              figures["process_cold_shown_from_creation_ms"][0], "ms", "shows")
    table.add("%s: quorlan.exe, no cache: files the window lists" % label,
              figures["process_cold_files_listed"][0], "files", "all")
    table.add("%s: quorlan.exe, no cache: peak working set" % label, figures["process_cold_peak_working_set_mb"][0],
              "MB", "< 2048 MB")
    table.add("%s: quorlan.exe, warm cache: window shown, from its entry" % label,
              statistics.median(figures["process_shown_from_entry_ms"]), "ms", "shows")
    table.add("%s: quorlan.exe, warm cache: files the window lists" % label,
              figures["process_files_listed"][0], "files", "all")
    table.add("%s: quorlan.exe, warm cache: peak working set" % label, max(figures["process_peak_working_set_mb"]),
              "MB", "< 2048 MB")


def machine():
    """One line on the machine: processor, cores, memory, load, Wine."""
    cpu = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo") if line.startswith("model name")), "?")
    memory = next((int(line.split()[1]) // 1024 for line in open("/proc/meminfo") if line.startswith("MemTotal")), 0)
    wine = subprocess.run(["wine", "--version"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout
    load = open("/proc/loadavg").read().split()[:3]
    prefix = "64-bit" if os.environ.get("WINEARCH") == "win64" else "32-bit"
    return "%s, %d cores, %d MB; load average %s; %s, %s prefix" % (
        cpu, os.cpu_count(), memory, " ".join(load), wine.strip(), prefix)


def main():
    parser = argparse.ArgumentParser(description="The open-file command's figures at scale, in one table.")
    parser.add_argument("--5m", dest="five_million", action="store_true", help="also 5,000,000 files")
    parser.add_argument("--small", action="store_true", help="2,000 files only: that the benchmark runs")
    options = parser.parse_args()

    print("Machine: " + machine())
    table = Table()
    if options.small:
        measure(2000, table, {"window": "", "key": "", "filter": "", "fzf": "", "cache_load": "", "cache_write": "",
                              "memory": ""})
    else:
        measure(100000, table, {"window": "<= 50 ms", "key": "<= 5 ms", "filter": "", "fzf": "", "cache_load": "",
                                "cache_write": "", "memory": ""})
        measure(1000000, table, {"window": "<= 300 ms", "key": "<= 30 ms", "filter": "<= 16 ms, ahead of grep",
                                 "fzf": "30x ahead of fzf", "cache_load": "<= 150 ms", "cache_write": "<= 100 ms",
                                 "memory": "<= 120 MB"})
        if options.five_million:
            measure_process_only(5000000, table)
    table.print()
    print("Load average after the run: " + " ".join(open("/proc/loadavg").read().split()[:3]))


if __name__ == "__main__":
    main()
