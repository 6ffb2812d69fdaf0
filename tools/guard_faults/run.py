#!/usr/bin/env python3
"""Puts each single fault of faults.txt, one at a time, into a copy of the tree, builds the
host build and runs its tests, and prints the faults that no test sees.

    python3 tools/guard_faults/run.py [--only ID ...] [--keep] [--jobs N]

The copy lives in a temporary folder and is built once; between two faults only what the
fault touched is built again. Exit status 1 when a fault passes unseen or cannot be put in.
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
TREE = os.path.dirname(os.path.dirname(HERE))


def read_faults(path):
    """Records of '## id: what breaks' followed by 'file:', 'from:' and 'to:' lines; a line
    that begins with '|' goes on with the value above it after a line break."""
    faults, current, key = [], None, None
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            field = re.match(r"(file|from|to):(?: (.*))?$", line)
            if line.startswith("## "):
                ident, _, what = line[3:].partition(": ")
                current = {"id": ident.strip(), "what": what.strip(), "line": number}
                faults.append(current)
            elif current is not None and field:
                key = field.group(1)
                current[key] = field.group(2) or ""
            elif current is not None and key and line.startswith("|"):
                current[key] += "\n" + line[1:]
            elif line.strip() and not line.startswith("#"):
                sys.exit(f"{path}:{number}: not a fault line: {line}")
    for fault in faults:
        for key in ("file", "from", "to"):
            if key not in fault:
                sys.exit(f"{path}:{fault['line']}: fault {fault['id']} has no '{key}:' line")
    return faults


def run(command, cwd, log):
    with open(log, "w") as out:
        return subprocess.run(command, cwd=cwd, stdout=out, stderr=subprocess.STDOUT).returncode


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--only", nargs="+", metavar="ID", help="run only these faults")
    parser.add_argument("--keep", action="store_true", help="keep the copy of the tree")
    parser.add_argument("--jobs", type=int, default=4)
    parser.add_argument("--faults", default=os.path.join(HERE, "faults.txt"))
    args = parser.parse_args()

    faults = read_faults(args.faults)
    if args.only:
        unknown = set(args.only) - {f["id"] for f in faults}
        if unknown:
            sys.exit("unknown faults: " + " ".join(sorted(unknown)))
        faults = [f for f in faults if f["id"] in args.only]

    work = tempfile.mkdtemp(prefix="guard_faults.")
    copy = os.path.join(work, "tree")
    build = os.path.join(copy, "build-host")
    files = subprocess.run(["git", "ls-files", "-co", "--exclude-standard", "-z"], cwd=TREE,
                           check=True, capture_output=True).stdout.decode().split("\0")
    for name in filter(None, files):
        source = os.path.join(TREE, name)
        if os.path.isfile(source) and not os.path.islink(source):
            os.makedirs(os.path.dirname(os.path.join(copy, name)), exist_ok=True)
            shutil.copy2(source, os.path.join(copy, name))
    log = os.path.join(work, "log.txt")
    ninja = ["ninja", "-C", build, f"-j{args.jobs}"]
    ctest = ["ctest", "--test-dir", build, f"-j{args.jobs}", "--stop-on-failure", "--timeout", "120"]
    print(f"copy of the tree in {copy}", flush=True)
    if (run(["cmake", "-S", copy, "-B", build, "-G", "Ninja"], copy, log) != 0 or
            run(ninja, copy, log) != 0 or run(ctest, copy, log) != 0):
        sys.exit(f"the unchanged copy does not build or pass its tests: see {log}")

    unseen, broken = [], []
    for number, fault in enumerate(faults, 1):
        path = os.path.join(copy, fault["file"])
        with open(path, encoding="utf-8", newline="") as f:
            original = f.read()
        if original.count(fault["from"]) != 1:
            verdict = "TEXT NOT FOUND ONCE"
            broken.append(fault)
        else:
            with open(path, "w", encoding="utf-8", newline="") as f:
                f.write(original.replace(fault["from"], fault["to"]))
            fault_log = os.path.join(work, fault["id"] + ".log")
            if run(ninja, copy, fault_log) != 0:
                verdict = "DOES NOT BUILD"
                broken.append(fault)
            elif run(ctest, copy, fault_log) != 0:
                verdict = "caught"
            else:
                verdict = "UNSEEN"
                unseen.append(fault)
            with open(path, "w", encoding="utf-8", newline="") as f:
                f.write(original)
        print(f"[{number}/{len(faults)}] {verdict:20} {fault['id']}: {fault['what']}", flush=True)

    caught = len(faults) - len(unseen) - len(broken)
    print(f"\n{caught} of {len(faults)} faults caught, {len(unseen)} unseen, {len(broken)} not put in")
    for fault in unseen:
        print(f"  unseen: {fault['id']} ({fault['file']})")
    for fault in broken:
        print(f"  not put in: {fault['id']} ({fault['file']}), faults.txt line {fault['line']}")
    if args.keep:
        print(f"kept {work}")
    else:
        shutil.rmtree(work)
    return 1 if unseen or broken else 0


if __name__ == "__main__":
    sys.exit(main())
