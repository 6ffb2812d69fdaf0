"""Updates in a row on a busy machine: every core kept busy by other programs and the
updater started at a low priority, so that its threads are often held up. Each update
fetches a 2 MiB package over 5 connections and must install it intact and start the
navigator again. Not part of the test command: it takes minutes.

    python3 updater/tests/busy_updates.py [RUNS] [NICE]

RUNS defaults to 30, NICE (the updater's niceness against busy loops at 0) to 10. The
programs come from TV_BUILD_DIR (default build/). Exits 0 when every run installed intact."""
import os
import random
import subprocess
import sys
import time

BUILD = os.environ.setdefault(
    "TV_BUILD_DIR", os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "build"))
for variable, program in [("TV_RECORD_START", "record_start.exe"), ("TV_UPDATER_PROBE", "updater_probe.exe")]:
    os.environ.setdefault(variable, os.path.join(BUILD, "updater", "tests", program))

from package_server import PackageServer
from updater_e2e import Installation, Updater, make_zip, read, words


def busy_loops():
    """One busy loop a core, at normal priority; ended by their pids."""
    return [subprocess.Popen([sys.executable, "-c", "while True: pass"]) for _ in range(os.cpu_count() or 1)]


def one_update(body_file):
    installation = Installation()
    try:
        with PackageServer(make_zip([("Talvery.exe", read(installation.path("Talvery.exe"))),
                                     ("data/", None), ("data/big.bin", body_file)])) as server:
            u = Updater(installation, words(server.url()))
            code = u.wait(300)
            if code is None:
                u.kill()
                return "still running after 300 s"
            faults = []
            if code != 0:
                faults.append("exit code %s" % code)
            if not os.path.exists(installation.path("data", "big.bin")) or \
                    read(installation.path("data", "big.bin")) != body_file:
                faults.append("the package was not installed intact")
            if len(installation.starts()) != 1:
                faults.append("the navigator was not started again")
            if len(server.range_requests()) < 4:
                faults.append("fewer than 4 range requests")
            return "; ".join(faults)
    finally:
        installation.remove()


def on_a_busy_machine(runs, niceness, one_run, name, success):
    """Calls one_run() RUNS times, every core kept busy and this process (with what it
    starts) at niceness NICE; one_run gives "" or what went wrong. Prints a line a run and
    the count, and gives the exit status."""
    loops = busy_loops()
    os.nice(niceness)  # the updaters inherit it; the busy loops keep theirs
    failed = 0
    try:
        for run in range(1, runs + 1):
            started = time.time()
            fault = one_run()
            failed += bool(fault)
            print("%s %d: %s (%.1f s)" % (name, run, fault or success, time.time() - started), flush=True)
    finally:
        for p in loops:
            p.kill()
            p.wait()
    print("%d of %d %ss %s" % (runs - failed, runs, name, success))
    return 1 if failed else 0


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 30
    niceness = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    body = random.Random(7).randbytes(2 << 20)  # does not compress: the package is 2 MiB
    return on_a_busy_machine(runs, niceness, lambda: one_update(body), "update", "installed intact")


if __name__ == "__main__":
    sys.exit(main())
