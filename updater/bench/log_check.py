"""The benchmark's log check: waits for the updater's window to show the end of a long
download whose body is no archive, checks that its log holds every line, and closes it.
    log_check.py PROBE_EXE SIZE_BYTES START_EPOCH"""
import os
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
probe_exe, size, started = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
os.environ.setdefault("TV_RECORD_START", "")
os.environ["TV_UPDATER_PROBE"] = probe_exe
sys.path.insert(0, os.path.join(HERE, "..", "tests"))

from updater_e2e import UNPACK_FAILED, close_window, probe, wait_for, whole_log_faults  # noqa: E402


def log():
    edits = [u for u in probe() if u.cls.lower() == "edit"]
    return edits[0].text if edits else ""


text = wait_for(lambda: log().endswith(UNPACK_FAILED + "\r\n") and log(), 900, step=1)
if not text:
    print("log check: FAILED, the download did not end within 900 s; the log ends %r" % log()[-200:])
    close_window()
    sys.exit(1)
print("log check: %d MiB downloaded and shown in %.1f s; the log holds %d characters, %d data lines"
      % (size >> 20, time.time() - started, len(text), text.count(" #传送常量.收到数据\r\n")))
faults = whole_log_faults(text, size)
close_window()
if faults:
    print("log check: FAILED: " + "; ".join(faults))
    sys.exit(1)
print("log check: every line is there, the last one included")
