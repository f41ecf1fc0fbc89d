#!/usr/bin/env python3
"""Compares two trees written by bench/conversion_matrix.sh byte by byte.

The date of last update in a .dbf header (bytes 1-3) and the start and end
times in the logs differ between runs; everything else must be equal.
Prints each difference; exit status 0 when the trees are the same.
Usage: bench/same_outputs.py OLD NEW
"""
import os
import re
import sys

TIME_LINE = re.compile("(开始时间|结束时间):\\(.*?\\)".encode())


def files(root):
    found = set()
    for folder, _, names in os.walk(root):
        for name in names:
            path = os.path.relpath(os.path.join(folder, name), root)
            if not path.startswith("src" + os.sep):
                found.add(path)
    return found


def normalised(path, data, root):
    if path.lower().endswith(".dbf") and len(data) >= 4:
        data = data[:1] + b"\0\0\0" + data[4:]
    if path.endswith((".log", "list.txt", ".CSV", ".csv")):
        data = TIME_LINE.sub(b"TIME", data).replace(os.path.abspath(root).encode(), b"ROOT")
    return data


def main():
    old, new = sys.argv[1], sys.argv[2]
    a, b = files(old), files(new)
    problems = [f"only in {old}: {p}" for p in sorted(a - b)] + [f"only in {new}: {p}" for p in sorted(b - a)]
    for path in sorted(a & b):
        with open(os.path.join(old, path), "rb") as f:
            x = normalised(path, f.read(), old)
        with open(os.path.join(new, path), "rb") as f:
            y = normalised(path, f.read(), new)
        if x != y:
            problems.append(f"differs: {path}")
    for p in problems:
        print(p)
    print(f"{len(a & b)} files compared, {len(problems)} differences")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
