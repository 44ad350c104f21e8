#!/usr/bin/python3
"""Turns the figures of one bench/run into one markdown table, printed, and bench/results.md.

Reads, from the folder given with --figures: anim.json (korvane_anim_bench --json),
script.json and service.json (Google Benchmark's JSON output) and startup.json
(korvane_startup_bench).
"""

import argparse
import datetime
import json
import os
import pathlib
import platform
import re
import statistics
import subprocess


def load(path):
    with open(path, encoding="utf-8") as f:
        return json.load(f)


def benchmarks(path):
    """Name -> the run of each benchmark that did not fail."""
    runs = {}
    for run in load(path)["benchmarks"]:
        if run.get("run_type", "iteration") == "iteration" and not run.get("error_occurred"):
            runs[run["name"].split("/")[0]] = run
    return runs


def micros(run, key):
    scale = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[run.get("time_unit", "ns")]
    return run[key] * scale


def us(value):
    return f"{value:.1f} µs" if value < 100 else f"{value:.0f} µs"


def ratio(a, b):
    return f"{a / b:.2f}" if b else "–"


def rows(figures):
    anim = load(figures / "anim.json")
    script = benchmarks(figures / "script.json")
    service = benchmarks(figures / "service.json")
    startup = load(figures / "startup.json")
    out = []

    login, curl, fetch = service.get("Login"), service.get("PlainCurlPost"), service.get("WebFetchPost")
    if login and curl:
        out.append(("`Login` round trip on loopback, client CPU per call",
                    us(micros(login, "cpu_time")), "plain libcurl POST of the same body: " + us(micros(curl, "cpu_time")),
                    ratio(micros(login, "cpu_time"), micros(curl, "cpu_time"))))
        out.append(("`Login` round trip on loopback, wall time per call",
                    us(micros(login, "real_time")), "plain libcurl POST: " + us(micros(curl, "real_time")),
                    ratio(micros(login, "real_time"), micros(curl, "real_time"))))
    if fetch and curl:
        out.append(("`WebFetch` POST of the same body, client CPU per call",
                    us(micros(fetch, "cpu_time")), "plain libcurl POST: " + us(micros(curl, "cpu_time")),
                    ratio(micros(fetch, "cpu_time"), micros(curl, "cpu_time"))))

    def op(label, run):
        if run:
            size = run.get("bytes")
            label += f" ({size:.0f} bytes)" if size else ""
            out.append((label, us(micros(run, "cpu_time")), "–", "–"))

    op("`AuthcodeEncode`, the login payload", service.get("AuthcodeEncodeLogin"))
    op("`AuthcodeDecode`, a login reply", service.get("DecodeLoginReply"))
    op("Request's payload encoding: `LocalToUtf8`, `AuthcodeEncode`, escapes", service.get("EncodeLoginPayload"))
    op("`JsonDoc`: `Load` of a 300-byte reply, 3 reads, `Clear`", script.get("LoadReadClear"))
    op("`JsonDoc`: `Load` alone", script.get("Load"))
    op("`JsonDoc`: one `GetText` (\"data.token\")", script.get("GetText"))
    op("`JsonDoc`: `Clear` alone", script.get("Clear"))
    op("`JsonDoc`: payload build (`Clear`, 5 members, JSON text)", script.get("BuildPayload"))
    op("`ScriptHost`: new engine with a 4 KB script", script.get("HostWithScript"))

    period = anim["period_ms"]
    out.append((f"Tween tick lateness, median ({anim['runs']} slides of {anim['ticks']} ticks)",
                us(anim["lateness_median_us"]), f"schedule: a tick every {period} ms from the start", "–"))
    out.append(("Tween tick lateness, 99th percentile", us(anim["lateness_p99_us"]), "–", "–"))
    out.append((f"{anim['ticks']}-tick slide ({period} ms period), median duration",
                f"{anim['slide_median_ms']:.1f} ms", f"last tick due at {anim['last_tick_due_ms']} ms",
                ratio(anim["slide_median_ms"], anim["last_tick_due_ms"])))

    client, floor = startup["client"], startup["floor"]
    runs = startup["runs"]
    median = statistics.median
    out.append((f"Cold start to the login window's first frame, median of {runs} (Xvfb)",
                f"{median(client['drawn_ms']):.0f} ms",
                f"minimal Qt 6 window: {median(floor['drawn_ms']):.0f} ms",
                ratio(median(client["drawn_ms"]), median(floor["drawn_ms"]))))
    out.append((f"Cold start to the login window mapped, median of {runs}",
                f"{median(client['mapped_ms']):.0f} ms",
                f"minimal Qt 6 window: {median(floor['mapped_ms']):.0f} ms",
                ratio(median(client["mapped_ms"]), median(floor["mapped_ms"]))))
    out.append((f"Peak RSS at the first frame, median of {runs}",
                f"{median(client['peak_rss_kb']) / 1024:.1f} MiB",
                f"minimal Qt 6 window: {median(floor['peak_rss_kb']) / 1024:.1f} MiB",
                ratio(median(client["peak_rss_kb"]), median(floor["peak_rss_kb"]))))
    out.append((f"Main window idle with its clock running, CPU over {startup['idle_seconds']} s",
                f"{startup['idle_cpu_percent']:.2f} % of one core "
                f"(scheduler's count: {startup['idle_cpu_percent_schedstat']:.3f} %)", "–", "–"))
    return out


def table(lines):
    text = "| Measurement | Korvane | Reference | Ratio |\n|---|---:|---|---:|\n"
    return text + "".join(f"| {a} | {b} | {c} | {d} |\n" for a, b, c, d in lines)


def first_line(argv):
    try:
        return subprocess.run(argv, capture_output=True, text=True, check=False).stdout.splitlines()[0]
    except (OSError, IndexError):
        return "unknown"


def cache_value(build, name):
    try:
        text = (build / "CMakeCache.txt").read_text(encoding="utf-8", errors="replace")
    except OSError:
        return ""
    found = re.search(rf"^{name}:[A-Z]+=(.*)$", text, re.M)
    return found.group(1) if found else ""


def machine(build):
    cpuinfo = pathlib.Path("/proc/cpuinfo").read_text(encoding="utf-8", errors="replace")
    model = re.search(r"^model name\s*:\s*(.*)$", cpuinfo, re.M)
    meminfo = pathlib.Path("/proc/meminfo").read_text(encoding="utf-8")
    ram_kb = int(re.search(r"^MemTotal:\s*(\d+)", meminfo, re.M).group(1))
    os_name = "unknown"
    try:
        release = pathlib.Path("/etc/os-release").read_text(encoding="utf-8")
        os_name = re.search(r'^PRETTY_NAME="?(.*?)"?$', release, re.M).group(1)
        os_name += ", debian_version " + pathlib.Path("/etc/debian_version").read_text().strip()
    except (OSError, AttributeError):
        pass
    compiler = os.path.realpath(cache_value(build, "CMAKE_CXX_COMPILER") or "/usr/bin/c++")
    qt = "unknown"
    qt_dir = cache_value(build, "Qt6_DIR")
    for name in ("Qt6ConfigVersionImpl.cmake", "Qt6ConfigVersion.cmake"):
        try:
            version = pathlib.Path(qt_dir, name).read_text(encoding="utf-8")
            qt = re.search(r'set\(PACKAGE_VERSION "([^"]+)"\)', version).group(1)
            break
        except (OSError, AttributeError):
            pass
    return [
        ("CPU", f"{model.group(1) if model else platform.processor()}, {os.cpu_count()} logical cores"),
        ("RAM", f"{ram_kb / 1024 / 1024:.1f} GiB"),
        ("Kernel", platform.release()),
        ("System", os_name),
        ("Compiler", first_line([compiler, "--version"])),
        ("Qt", qt),
        ("libcurl", first_line(["curl-config", "--version"])),
        ("Build", f"{cache_value(build, 'CMAKE_BUILD_TYPE') or '?'} ({build})"),
    ]


METHOD = """\
How the figures are taken:
- `Login` and the plain POST run against devservice on loopback (Google Benchmark, at least 2 s
  each). CPU is the benchmark process's own (all its threads): the client side of the round trip,
  since the service is another process; wall time also holds the service's password check.
- Per-operation figures are CPU time per call (Google Benchmark; "Load alone" and "Clear alone"
  pause the clock for the other step of each iteration). Debian's Google Benchmark library warns
  that it was built as DEBUG; that touches the framework's overhead, not the code measured.
- Tween lateness: each tick's start against start + n × period, over every tick of every slide;
  the slide lasts from `StartTween` to its `Finished` notification.
- Cold start: from just before the client is forked to the first drawing of its top-level window
  titled "Korvane", the login window. It is mapped before the service notice is requested and
  first drawn once the notice box runs its event loop, so the frame includes the `GetInfo` round
  trip against devservice on loopback. A second X client (bench/startup/first_frame.cpp) maps
  top-level windows itself, as a window manager does (SubstructureRedirect on the root window):
  on each MapRequest it puts a DAMAGE object on the window, then maps it, so no drawing can come
  before the watch. The first damage stamped after the map request is the frame the program
  pushed; damage stamped with the map request itself (a server-painted background) is skipped.
  A watch made only after the window appeared would see the server report the whole window at
  once, and polling xdotool would add its own 50 ms steps.
  One unmeasured start of each program comes first, so both find the same warm caches. Peak RSS
  is VmHWM of /proc/<pid>/status at that moment. The floor is bench/startup/minimal_window.cpp:
  one empty QWidget of the login window's size, measured the same way on the same display.
- Idle CPU: the client signs in as a devservice account (xdotool, as the end-to-end test does),
  settles for 3 s on the main window, then utime + stime of /proc/<pid>/stat over the period,
  as a share of one core (10 ms resolution); in brackets the same from the scheduler's run time of
  each thread (/proc/<pid>/task/*/schedstat, nanoseconds).
"""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--figures", required=True, type=pathlib.Path)
    parser.add_argument("--build", required=True, type=pathlib.Path)
    parser.add_argument("--results", required=True, type=pathlib.Path)
    parser.add_argument("--load-start", default="")
    parser.add_argument("--load-end", default="")
    parser.add_argument("--commit", default="")
    args = parser.parse_args()

    figures = table(rows(args.figures))
    print(figures, end="")

    now = datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")
    described = "".join(f"- {name}: {value}\n" for name, value in machine(args.build))
    text = (
        "# Benchmark results\n\n"
        f"Measured {now} by `bench/run`" + (f" at commit {args.commit}" if args.commit else "") + ".\n\n"
        "## Machine\n\n" + described +
        f"- Load average (1, 5, 15 min) at start: {args.load_start}; at the end: {args.load_end}\n"
        "  (the machine is shared with other builds, so figures can move with the load)\n\n"
        "## Figures\n\n" + figures + "\n" + METHOD + "\n"
        "## Reproduce\n\n"
        "From a fresh clone, as root (devservice takes the client's compiled-in ports 8080, 8443\n"
        "and 25): `scripts/install-deps && bench/run`. It builds the release preset and rewrites\n"
        "this file. `KORVANE_BENCH_BUILD_DIR=<dir> bench/run` measures another release build folder.\n"
    )
    args.results.write_text(text, encoding="utf-8")


if __name__ == "__main__":
    main()
