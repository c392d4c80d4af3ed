#!/usr/bin/env python3
"""Prints the screen-text benchmark's figures from its results file: per kind of
page and path, the character error rate of Pellix and of the tesseract command
line (edits of all pages of the kind added up over their characters) and the
median seconds per image. With --images, every image's row too.

Usage: report.py RESULTS_TSV [--images]
"""
import statistics
import sys

rows = [line.rstrip("\n").split("\t") for line in open(sys.argv[1], encoding="utf-8")]
HEAD = f"{'path':4} {'kind':9} {'n':>3} {'chars':>6} | {'pellix':>7} {'tess':>7} | " \
       f"{'pel s':>6} {'tes s':>6} {'ratio':>5}"


def line(path, kind, group):
    chars = sum(int(r[3]) for r in group)
    pel = sum(int(r[4]) for r in group) / chars * 100
    tes = sum(int(r[6]) for r in group) / chars * 100
    pt = statistics.median(float(r[5]) for r in group)
    tt = statistics.median(float(r[7]) for r in group)
    return (f"{path:4} {kind:9} {len(group):3} {chars:6} | {pel:6.2f}% {tes:6.2f}% | "
            f"{pt:6.2f} {tt:6.2f} {pt / tt:5.2f}")


if "--images" in sys.argv:
    print(f"{'path':4} {'image':22} {'chars':>6} | {'pellix':>7} {'tess':>7} | {'pel s':>6} {'tes s':>6}")
    for r in rows:
        c = int(r[3])
        print(f"{r[0]:4} {r[1]:22} {c:6} | {int(r[4]) / c * 100:6.2f}% "
              f"{int(r[6]) / c * 100:6.2f}% | {float(r[5]):6.2f} {float(r[7]):6.2f}")
    print()
print(HEAD)
for path in dict.fromkeys(r[0] for r in rows):
    mine = [r for r in rows if r[0] == path]
    for kind in dict.fromkeys(r[2] for r in mine):
        print(line(path, kind, [r for r in mine if r[2] == kind]))
    english = [r for r in mine if r[2] not in ("lang", "cjk")]
    if english and len(english) < len(mine):
        print(line(path, "english", english))
    print(line(path, "all", mine))
