#!/usr/bin/env python3
"""Times how long Sarvonex takes to start and end on almost no work.

Runs each command RUNS times (default 50) on a one-file folder, without a
display and with the preferences and run journals in a temporary folder, and
prints the median, the fastest and the slowest run in milliseconds and the
median CPU time (user and system; on a busy machine the steadier figure), beside
/bin/true and sed -i on the same file, and the number of shared libraries
each command loads. The file is written back before every run, outside the
timing, so that every replacement run has one replacement to make.

    bench/startup.py [path/to/sarvonex]     # default: build/bin/sarvonex
    SARVONEX_BENCH_RUNS=10 bench/startup.py
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RUNS = int(os.environ.get("SARVONEX_BENCH_RUNS", "50"))
CONTENT = b"The old colour of the old house.\n" * 20


def libraries(command, env):
    """The shared libraries the dynamic loader maps for `command`."""
    traced = dict(env, LD_DEBUG="libs")
    result = subprocess.run(command, env=traced, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, check=False)
    loaded = {line.split("calling init: ", 1)[1].strip()
              for line in result.stderr.decode(errors="replace").splitlines()
              if "calling init: " in line}
    return len(loaded)


def timings(command, env, before):
    """Wall-clock and CPU (user + system) milliseconds of each of RUNS runs
    of `command`, `before` run first."""
    wall, cpu = [], []
    for _ in range(RUNS):
        before()
        start = time.perf_counter()
        process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(process.pid, 0)
        wall.append((time.perf_counter() - start) * 1000)
        cpu.append((usage.ru_utime + usage.ru_stime) * 1000)
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit(f"{' '.join(command)} ended with {os.waitstatus_to_exitcode(status)}")
    return wall, cpu


def main():
    program = os.path.abspath(sys.argv[1] if len(sys.argv) > 1
                              else os.path.join(ROOT, "build", "bin", "sarvonex"))
    if not os.access(program, os.X_OK):
        sys.exit(f"{program}: no such program (build it first)")
    with tempfile.TemporaryDirectory() as work:
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        env.update(XDG_CONFIG_HOME=os.path.join(work, "config"),
                   XDG_DATA_HOME=os.path.join(work, "data"))
        folder = os.path.join(work, "docs")
        os.mkdir(folder)
        target = os.path.join(folder, "note.txt")
        job = os.path.join(work, "job.ini")
        subprocess.run([program, "replace", "--backup", "none", "--save-job", job,
                        "old", "new", folder], env=env, check=True)

        def fresh():
            with open(target, "wb") as file:
                file.write(CONTENT)

        cases = [
            ("/bin/true", ["/bin/true"], env),
            ("sed -i (one file)", ["sed", "-i", "s/old/new/g", target], env),
            ("sarvonex --version", [program, "--version"], env),
            ("sarvonex replace (one file)",
             [program, "replace", "--backup", "none", "old", "new", target], env),
            ("sarvonex -fjob -r -s (one file)", [program, "-f" + job, "-r", "-s"], env),
            # The window's unattended run, on the off-screen platform.
            ("window: -fjob -r -s (offscreen)", [program, "-f" + job, "-r", "-s"],
             dict(env, QT_QPA_PLATFORM="offscreen")),
        ]
        print(f"{RUNS} runs each, milliseconds; {os.cpu_count()} CPUs, load "
              f"{os.getloadavg()[0]:.1f}; {program}")
        print(f"{'command':36} {'median':>7} {'min':>7} {'max':>7} {'CPU':>7} {'libraries':>9}")
        for label, command, case_env in cases:
            wall, cpu = timings(command, case_env, fresh)
            print(f"{label:36} {statistics.median(wall):7.1f} {min(wall):7.1f} "
                  f"{max(wall):7.1f} {statistics.median(cpu):7.1f} "
                  f"{libraries(command, case_env):9}")


if __name__ == "__main__":
    main()
