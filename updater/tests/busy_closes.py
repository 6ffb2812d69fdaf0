"""Closes in a row on a busy machine: every core kept busy by other programs and the
updater started at a low priority, its window closed while the package still arrives
over 5 connections. Each time the process must end by itself with exit code 0, and
nothing may be installed. Not part of the test command: it takes minutes.

    python3 updater/tests/busy_closes.py [RUNS] [NICE]

RUNS defaults to 30, NICE (the updater's niceness against busy loops at 0) to 10. The
programs come from TV_BUILD_DIR (default build/). Exits 0 when every run ended cleanly."""
import os
import random
import sys
import time

from busy_updates import on_a_busy_machine
from package_server import PackageServer
from updater_e2e import Installation, Updater, close_window, make_zip, read, words

# The package arrives at 32 KiB/s a connection, some 50 s in all, so that the close comes
# while the connections still receive, however slowly a busy machine starts the programs.
PACKAGE_RATE = 32 << 10
END_LIMIT = 120  # seconds from the close to the end of the process


def untouched(installation):
    """What differs from the installation as it was before the update: [] when nothing."""
    faults = []
    if read(installation.path("readme.txt")) != b"old readme":
        faults.append("readme.txt was replaced")
    if os.path.exists(installation.path("data", "big.bin")):
        faults.append("the package's data was installed")
    if installation.starts():
        faults.append("the navigator was started")
    return faults


def one_close(package, rng):
    installation = Installation()
    try:
        with PackageServer(package, mode="paced", rate=PACKAGE_RATE) as server:
            u = Updater(installation, words(server.url()))
            if not u.shown(120):
                u.kill()
                return "the window did not show within 120 s"
            # Closed at once or after a while, while the data steps go on.
            time.sleep(rng.uniform(0, 2.5))
            close_window()
            code = u.wait(END_LIMIT)
            if code is None:
                u.kill()
                return "still running %d s after the close" % END_LIMIT
            faults = ["exit code %s" % code] if code != 0 else []
            faults += untouched(installation)
            if not server.range_requests():
                faults.append("closed before the download had begun")
            return "; ".join(faults)
    finally:
        installation.remove()


def main():
    runs = int(sys.argv[1]) if len(sys.argv) > 1 else 30
    niceness = int(sys.argv[2]) if len(sys.argv) > 2 else 10
    rng = random.Random(11)
    body = rng.randbytes(8 << 20)  # does not compress: 8 MiB take some 50 s at the paced rate
    installation = Installation()
    package = make_zip([("Talvery.exe", read(installation.path("Talvery.exe"))),
                        ("readme.txt", b"new readme"), ("data/", None), ("data/big.bin", body)])
    installation.remove()
    return on_a_busy_machine(runs, niceness, lambda: one_close(package, rng), "close", "ended cleanly")


if __name__ == "__main__":
    sys.exit(main())
