#!/usr/bin/env python3
"""Seeded input cases for comparing two builds of `veltra`.

    make-inputs.py OUT_DIR [--count N] [--seed S] [--source ROOT]

Writes N case folders OUT_DIR/c00001 ... into OUT_DIR, each with its input
file(s) and a file `cmds` that says which `veltra` commands to run on it (one
per line: the folder to run in, relative to the case folder, then the
arguments), and OUT_DIR/cases.tsv with one line per case (its kind, layout and
keys). The same seed and count give the same files, byte for byte.

The cases start from the bundled examples and the whole-run inputs of
tests/reference/shared and vary them: valid runs over every key combination and
many edge situations, inputs that break the rules of the input check, year-by-
year series with changed later files, the older file layouts, files the reader
only tolerates, and a few that it refuses. Standard library only.
"""

import argparse
import copy
import math
import os
import random
import sys

SEASONAL = ["Ts", "A", "B", "RcA", "RcB", "Lc", "Io", "IaA", "IaB", "Pp", "EpA", "EpB", "EpU",
            "FsA", "FsB", "FsU", "Gi", "Go", "SiU", "SoU", "SoA", "SoB", "Gw", "FAw", "FBw",
            "DAu", "DBu", "Frd"]
KEYS = ["Kd", "Kp", "Kf", "Kr", "Krf", "Ny", "Ns", "Ky"]

# Decimals the input file keeps for each value (the writer's formats).
DEC = {"Area": 1, "CAmax": 1, "CBmax": 1, "Ts": 1, "A": 2, "B": 2, "RcA": 0, "RcB": 0,
       "FsA": 2, "FsB": 2, "FsU": 2, "Dr": 2, "Ptr": 2, "Dx": 2, "Ptx": 2, "Dq": 2, "Ptq": 2,
       "Per": 3, "Flr": 2, "Pex": 3, "Flx": 2, "Peq": 3, "Flq": 2,
       "Cx0": 1, "Cq0": 1, "Cic": 1, "Ch": 1, "Cp": 1, "CA0": 1, "CB0": 1, "CU0": 1,
       "Dw0": 2, "Dc": 2, "Dd": 2, "QH1": 4, "QH2": 4, "CxA0": 1, "CxB0": 1, "Frd": 2}
for _f in ["Lc", "Io", "IaA", "IaB", "Pp", "EpA", "EpB", "EpU", "Gi", "Go", "SiU", "SoU",
           "SoA", "SoB", "Gw", "FAw", "FBw", "DAu", "DBu"]:
    DEC[_f] = 3
SCALARS = [k for k in DEC if k not in SEASONAL]

# The messages of the input check, by rule: a line of Error.lst belongs to the
# rule whose text it starts with. The compare script reports the rules its
# cases reached.
RULE_TEXTS = [
    ("Ns", " Number of seasons NS must be 1, 2, 3 or 4."),
    ("Ny", " Number of years Ny must be > 1 and < 100."),
    ("months", " Total number of months must be 12."),
    ("Ts", " Season durations must be > 0.5 month."),
    ("A", " Irrigated area fraction A in season"),
    ("B", " Irrigated area fraction B in season"),
    ("A+B", " Sum of area fractions A+B in season"),
    ("RcA", " The rice crop index RcA in season"),
    ("RcB", " The rice crop index RcB in season"),
    ("Lc/Io", " Irrigation data Lc and Io in season"),
    ("IaA", " Irrigation application IaA in season"),
    ("IaB", " Irrigation application IaB in season"),
    ("Pp", " Rainfall in season"),
    ("EpA", " Potential evaporation EpA in season"),
    ("EpB", " Potential evaporation EpB in season"),
    ("EpU", " Potential evaporation EpU in season"),
    ("FsA", " Storage efficiency FsA in season "),
    ("FsB", " Storage efficiency FsB in season "),
    ("FsU", " Storage efficiency FsU in season "),
    ("Gi/Go", " Incoming groundwater flow Gi in season"),
    ("Gw", " The pumping from wells must be >= 0."),
    ("FAw", " The use fraction of well water in Area A must be >= 0."),
    ("FBw", " The use fraction of well water in Area B must be >= 0."),
    ("FAw+FBw", " The sum of the use fractions of well water in Areas A and B must be <= 1."),
    ("Dr", " Rootzone thickness Dr must be greater than 0.1 m."),
    ("Ptr", " The porespace Ptr must be > 0 and < 1."),
    ("Dx", " Transition zone thickness Dx must be > 0.1."),
    ("Ptx", " The porespace Ptx must be > 0 and < 1."),
    ("Dq", " Aquifer thickness Dq must be > 0.1."),
    ("Ptq", " The porespace Ptq must be > 0 and < 1."),
    ("Dq/flow", " Aquifer thickness Dq and ground water flow Gi and/or Go in season"),
    ("Per", " Drainable porosity Per must be < total pore space Ptr and > 0."),
    ("Pex", " Drainable porosity Pex must be < total pore space Ptx and > 0."),
    ("Peq", " Drainable porosity Peq must be < total pore space Ptq and > 0."),
    ("Fl", " Leaching efficiencies Flr, Flt, and Flq must be > 0."),
    ("Dw0", " The watertable must be above bottom of aquifer."),
    ("Dc", " Critical depth Dc must be > rootzone depth Dr."),
    ("Dd", " Drains must be in the transition zone: Dr < Dd < Dr+Dx"),
    ("Frd", " The drainage control factor Frd in season"),
    ("QH", " The drainage reaction factors QH1 and QH2 must not be negative."),
    ("salt", " Salt concentrations must not be negative."),
    ("keys", " The keys Kd, Kp, Kf, Krf and Ky must be 0 or 1."),
    ("Kr", " The rotation key Kr must be 0 to 7 or 10."),
]


# ---------------------------------------------------------------------------
# Numbers and the record

def q(x, name):
    """x rounded to the decimals the file keeps for `name` (what a run reads)."""
    d = DEC[name]
    if abs(x) >= 1e15:  # written in full, read back as the same number
        return float(x)
    v = round(x * 10 ** d) / 10 ** d
    return v + 0.0  # no negative zero


def fix(v, width, dec):
    s = "%.*f" % (dec, v)
    return " " + s if len(s) >= width else s.rjust(width)


def new_record():
    r = {"Title1": "", "Title2": ""}
    for k in KEYS:
        r[k] = 0
    for k in SCALARS:
        r[k] = 0.0
    for k in SEASONAL:
        r[k] = [0.0] * 4
    return r


def ns_of(r):
    return min(max(r["Ns"], 0), 4)


def read_current(text):
    """A record from a file in the current layout (the bundled inputs are)."""
    lines = text.replace("\r", "").split("\n")
    r = new_record()
    r["Title1"], r["Title2"] = lines[0], lines[1]
    tok = lambda i: lines[i].split()
    t = tok(3)
    r["Area"] = float(t[0])
    r["Kd"], r["Kp"], r["Kf"], r["Kr"], r["Krf"] = (int(x) for x in t[1:6])
    t = tok(5)
    r["Ny"], r["Ns"], r["Ky"] = int(t[0]), int(t[1]), int(t[2])
    r["CAmax"], r["CBmax"] = float(t[3]), float(t[4])
    ns = ns_of(r)
    line = 7

    def singles(a):
        nonlocal line
        vals = [float(x) for x in tok(line)]
        for s in range(ns):
            r[a][s] = vals[s]
        line += 2

    def pairs(a, b):
        nonlocal line
        vals = [float(x) for x in tok(line)]
        for s in range(ns):
            r[a][s], r[b][s] = vals[2 * s], vals[2 * s + 1]
        line += 2

    singles("Ts")
    for a, b in [("A", "B"), ("RcA", "RcB"), ("Lc", "Io"), ("IaA", "IaB"), ("Pp", "EpA"),
                 ("EpB", "EpU"), ("FsA", "FsB")]:
        pairs(a, b)
    singles("FsU")
    for a, b in [("Gi", "Go"), ("SiU", "SoU"), ("SoA", "SoB")]:
        pairs(a, b)
    singles("Gw")
    pairs("FAw", "FBw")
    for names in [["Dr", "Ptr", "Dx", "Ptx", "Dq", "Ptq"], ["Per", "Flr", "Pex", "Flx", "Peq", "Flq"],
                  ["Cx0", "Cq0", "Cic", "Ch", "Cp"], ["CA0", "CB0", "CU0", "Dw0", "Dc"]]:
        for n, v in zip(names, tok(line)):
            r[n] = float(v)
        line += 2
    if r["Kd"] == 1:
        r["Dd"], r["QH1"], r["QH2"] = (float(x) for x in tok(line)[:3])
        line += 2
        pairs("DAu", "DBu")
        t = tok(line)
        r["CxA0"], r["CxB0"] = float(t[0]), float(t[1])
        for s in range(ns):
            r["Frd"][s] = float(t[2 + s])
    return r


# ---------------------------------------------------------------------------
# Writers: the current layout as `veltra convert` writes it, and the older ones

def seasonal_label(head, frag, ns):
    return head + "".join(frag(str(i)) for i in range(1, ns + 1))


def write_current(r):
    ns = ns_of(r)
    L = []

    def singles(lead, a, w, d):
        L.append(lead + "".join(fix(r[a][s], w, d) for s in range(ns)))

    def pairs(lead, a, b, w, d):
        L.append(lead + "".join(fix(r[a][s], w, d) + fix(r[b][s], w, d) for s in range(ns)))

    L.append(r["Title1"])
    L.append(r["Title2"])
    L.append("1.      Area    Kd      Kp      Kf      Kr      Krf")
    L.append("    " + fix(r["Area"], 8, 1) + "    " + str(r["Kd"]) +
             "".join("       " + str(r[k]) for k in ["Kp", "Kf", "Kr", "Krf"]))
    L.append("2.      Ny      Ns      Ky      CAmax   CBmax")
    L.append("        " + str(r["Ny"]) + "      " + str(r["Ns"]) + "       " + str(r["Ky"]) + "   " +
             fix(r["CAmax"], 8, 1) + fix(r["CBmax"], 8, 1))
    L.append(seasonal_label("3.   ", lambda n: "   Ts" + n + "  ", ns))
    singles("   ", "Ts", 8, 1)
    L.append(seasonal_label("4.   ", lambda n: "   A" + n + "      B" + n + "   ", ns))
    pairs("    ", "A", "B", 8, 2)
    L.append(seasonal_label("5.   ", lambda n: "   RcA" + n + "    RcB" + n + " ", ns))
    pairs(" ", "RcA", "RcB", 8, 0)
    L.append(seasonal_label("6.   ", lambda n: "   Lc" + n + "     Io" + n + "  ", ns))
    pairs("     ", "Lc", "Io", 8, 3)
    L.append(seasonal_label("7.   ", lambda n: "   IaA" + n + "    IaB" + n + " ", ns))
    pairs("     ", "IaA", "IaB", 8, 3)
    L.append(seasonal_label("8   ", lambda n: "    Pp" + n + "     EpA" + n, ns))
    pairs("     ", "Pp", "EpA", 8, 3)
    L.append(seasonal_label("9   ", lambda n: "    EPB" + n + "    EpU" + n, ns))
    pairs("     ", "EpB", "EpU", 8, 3)
    L.append(seasonal_label("10.  ", lambda n: "   FsA" + n + "    FsB" + n + " ", ns))
    pairs("    ", "FsA", "FsB", 8, 2)
    L.append(seasonal_label("11.  ", lambda n: "   FsU" + n + " ", ns))
    singles("    ", "FsU", 8, 2)
    L.append(seasonal_label("12.  ", lambda n: "   Gi" + n + "     Go" + n + "  ", ns))
    pairs("     ", "Gi", "Go", 8, 3)
    L.append(seasonal_label("13.  ", lambda n: "   SiU" + n + "    SoU" + n + " ", ns))
    pairs("     ", "SiU", "SoU", 8, 3)
    L.append(seasonal_label("14.  ", lambda n: "   SoA" + n + "    SoB" + n + " ", ns))
    pairs("     ", "SoA", "SoB", 8, 3)
    L.append(seasonal_label("15.  ", lambda n: "   Gw" + n + "  ", ns))
    singles("     ", "Gw", 8, 3)
    L.append(seasonal_label("16.  ", lambda n: "   FAw" + n + "    FBw" + n + " ", ns))
    pairs("     ", "FAw", "FBw", 8, 3)
    L.extend(soil_lines(r))
    if r["Kd"] == 1:
        L.append("21.     Dd      QH1     QH2  ")
        L.append("    " + fix(r["Dd"], 8, 2) + fix(r["QH1"], 10, 4) + fix(r["QH2"], 8, 4))
        L.append(seasonal_label("22.  ", lambda n: "   DAu" + n + "    DBu" + n + " ", ns))
        pairs("     ", "DAu", "DBu", 7 if ns == 1 else 8, 3)
        L.append(seasonal_label("23.     CxA0    CxB0   ", lambda n: " Frd" + n + "   ", ns))
        L.append("   " + fix(r["CxA0"], 8, 1) + fix(r["CxB0"], 8, 1) + " " +
                 "".join(fix(r["Frd"][s], 8, 2) for s in range(ns)))
    return L


def soil_lines(r):
    """Groups 17 to 20, the same in every layout."""
    g17 = "    " + "".join(fix(r[k], 8, 2) for k in ["Dr", "Ptr", "Dx", "Ptx"])
    g17 += fix(r["Dq"], 8, 2) + fix(r["Ptq"], 8, 2) if r["Dq"] <= 9.999 else fix(r["Dq"], 9, 2) + fix(r["Ptq"], 7, 2)
    return [
        "17.     Dr      Ptr     Dx      Ptx     Dq      Ptq", g17,
        "18.     Per     Flr     Pex     Flx     Peq     Flq",
        "     " + fix(r["Per"], 8, 3) + fix(r["Flr"], 7, 2) + fix(r["Pex"], 9, 3) + fix(r["Flx"], 7, 2) +
        fix(r["Peq"], 9, 3) + fix(r["Flq"], 7, 2),
        "19.     Cx0     Cq0     Cic     Ch      Cp",
        ("    " if r["Cx0"] >= 10 else "   ") + fix(r["Cx0"], 8, 1) + fix(r["Cq0"], 8, 1) +
        fix(r["Cic"], 7 if r["Cq0"] >= 10 else 8, 1) + fix(r["Ch"], 9 if r["Ch"] >= 10 else 8, 1) +
        fix(r["Cp"], 7 if r["Ch"] >= 10 else 8, 1),
        "20.     CA0     CB0     CU0     Dw0     Dc",
        "   " + fix(r["CA0"], 8, 1) + fix(r["CB0"], 8, 1) + fix(r["CU0"], 8, 1) + fix(r["Dw0"], 9, 2) +
        fix(r["Dc"], 8, 2),
    ]


def write_no_ky(r):
    """Group 2 without Ky: its label has blanks where the current one says Ky."""
    L = write_current(r)
    L[4] = "2.      Ny      Ns              CAmax   CBmax"
    L[5] = "        " + str(r["Ny"]) + "      " + str(r["Ns"]) + "   " + fix(r["CAmax"], 8, 1) + fix(r["CBmax"], 8, 1)
    return L


def write_old_line1(r):
    """The first data line without Kp (Kd, Kf, Kr, Krf)."""
    L = write_current(r)
    L[2] = "1.      Area    Kd      Kf      Kr      Krf"
    L[3] = "    " + fix(r["Area"], 8, 1) + "    " + str(r["Kd"]) + "".join(
        "       " + str(r[k]) for k in ["Kf", "Kr", "Krf"])
    return L


def write_area_wise(r, discarded):
    """The old area-wise layout: Ns in group 1, "n.a." in the group-2 label,
    evaporation paired with the applications, one well-water fraction (FAw)."""
    ns = ns_of(r)
    cur = write_current(r)
    f3 = lambda v: fix(v, 8, 3)
    pairs = lambda a, b: "     " + "".join(f3(r[a][s]) + f3(r[b][s]) for s in range(ns))
    L = [r["Title1"], r["Title2"],
         "1.      Area    Ns      Kd      Kf      Kr      Krf",
         "    " + fix(r["Area"], 8, 1) + "".join("    " + str(r[k]) for k in ["Ns", "Kd", "Kf", "Kr", "Krf"]),
         "2.      Ny      Ky      n.a.    CAmax   CBmax",
         "        " + str(r["Ny"]) + "      " + str(r["Ky"]) + fix(discarded, 8, 1) + fix(r["CAmax"], 8, 1) +
         fix(r["CBmax"], 8, 1)]
    L.extend(cur[6:14])  # Ts, A/B, Rc, Lc/Io
    L.append(seasonal_label("7.   ", lambda n: "   IaA" + n + "    EpA" + n + " ", ns))
    L.append(pairs("IaA", "EpA"))
    L.append(seasonal_label("8.   ", lambda n: "   IaB" + n + "    EpB" + n + " ", ns))
    L.append(pairs("IaB", "EpB"))
    L.append(seasonal_label("9.   ", lambda n: "   Pp" + n + "     EpU" + n + "  ", ns))
    L.append(pairs("Pp", "EpU"))
    L.extend(cur[20:30])  # FsA/FsB .. SoA/SoB
    L.append(seasonal_label("15.  ", lambda n: "   Gw" + n + "     Fw" + n + "  ", ns))
    L.append(pairs("Gw", "FAw"))
    L.extend(cur[34:])
    return L


def write_climate_last(r):
    """The climate-last layout: no groups 8, 9 and 16 in their places; the
    drains on one line; the climate at the end, one line per season."""
    ns = ns_of(r)
    cur = write_current(r)
    L = cur[:16]  # up to IaA/IaB
    L.append(seasonal_label("8.   ", lambda n: "   FsA" + n + "    FsB" + n + " ", ns))
    L.append(cur[21])
    L.extend(cur[22:32])  # FsU .. Gw
    L.extend(soil_lines(r))
    if r["Kd"] == 1:
        L.append(seasonal_label("21.     Dd      QH1     QH2  ", lambda n: "   DRu" + n + "  ", ns))
        L.append("    " + fix(r["Dd"], 8, 2) + fix(r["QH1"], 10, 4) + fix(r["QH2"], 8, 4) +
                 "".join(fix(r["DAu"][s], 8, 3) for s in range(ns)))
        L.append(cur[46])
        L.append(cur[47])
        L.append("")
        L.append("24.     Season  Pp      EpA     EpB     EpU")
    else:
        L.extend(["", "", "24.     Season  Pp      EpA     EpB     EpU"])
    for s in range(ns):
        L.append(("season %d" % (s + 1)).ljust(12) +
                 "".join(fix(r[k][s], 8, 3) for k in ["Pp", "EpA", "EpB", "EpU"]))
    return L


def lenient(rng, lines):
    """What the reader tolerates on the data lines: commas, tabs, exponents,
    signs, trailing words, a line split in two."""
    out = list(lines)
    data = [i for i in range(3, len(out), 2)]
    for i in rng.sample(data, min(len(data), rng.randint(1, 6))):
        toks = out[i].split()
        style = rng.randrange(6)
        if style == 0:
            out[i] = "  ".join(t.replace(".", ",") for t in toks)
        elif style == 1:
            out[i] = "\t" + "\t".join(toks)
        elif style == 2:
            out[i] = out[i] + "   trailing words " + str(rng.randint(0, 99))
        elif style == 3:
            out[i] = " ".join("+" + t if not t.startswith("-") and "." in t else t for t in toks)
        elif style == 4:
            out[i] = " ".join(("%se0" % t) if "." in t and rng.random() < 0.5 else t for t in toks)
        elif len(toks) > 1 and i != 3:  # group 1 tells the layouts apart by its count of values
            k = rng.randint(1, len(toks) - 1)
            out[i] = " ".join(toks[:k]) + "\r\n    " + " ".join(toks[k:])
    return out


def text_of(lines, crlf=True):
    end = "\r\n" if crlf else "\n"
    return "".join(l + end for l in lines)


# ---------------------------------------------------------------------------
# Valid inputs

def partition_months(rng, ns, small=False):
    tenths = [5] * ns
    for _ in range(120 - 5 * ns):
        tenths[rng.randrange(ns)] += 1
    if small and ns > 1:  # a season of exactly 0.5 month
        i = rng.randrange(ns)
        extra = tenths[i] - 5
        tenths[i] = 5
        tenths[(i + 1) % ns] += extra
    return [t / 10 for t in tenths] + [0.0] * (4 - ns)


def resize(rng, r, ns):
    old = ns_of(r)
    if ns == old:
        return
    for k in SEASONAL:
        vals = r[k][:old]
        r[k] = [vals[s % old] for s in range(ns)] + [0.0] * (4 - ns)
    r["Ns"] = ns
    r["Ts"] = partition_months(rng, ns)


def jitter(rng, x, sigma=0.35):
    return x * math.exp(rng.gauss(0, sigma))


AREAS = [0.5, 1.0, 10.0, 50.0, 100.0, 250.0, 300.0, 1000.0, 5000.0, 20000.0, 100000.0]


def vary(rng, r):
    """Random changes of most values, each within what the check accepts."""
    ns = ns_of(r)
    if rng.random() < 0.5:
        r["Area"] = rng.choice(AREAS)
    elif rng.random() < 0.5:
        r["Area"] = round(jitter(rng, max(r["Area"], 1.0), 0.8), 1)
    for k in ["CAmax", "CBmax"]:
        r[k] = rng.uniform(2, 20) if rng.random() < 0.4 else r[k]
    for s in range(ns):
        if rng.random() < 0.6:
            a = rng.uniform(0, 0.9)
            r["A"][s], r["B"][s] = a, rng.uniform(0, 1 - a)
        for k in ["Lc", "Io", "IaA", "IaB", "Pp", "EpA", "EpB", "EpU", "Gi", "Go", "SiU", "SoU", "SoA",
                  "SoB", "Gw", "DAu", "DBu"]:
            if rng.random() < 0.5:
                base = r[k][s] if r[k][s] > 0 else rng.choice([0.0, 0.0, 0.05, 0.2])
                r[k][s] = jitter(rng, base)
        for k in ["FsA", "FsB", "FsU"]:
            if rng.random() < 0.4:
                r[k][s] = rng.uniform(0.3, 1.0)
        if rng.random() < 0.4:
            fa = rng.uniform(0, 1)
            r["FAw"][s], r["FBw"][s] = fa, rng.uniform(0, 1 - fa)
        if rng.random() < 0.3:
            r["Frd"][s] = rng.choice([0.0, 1.0, rng.uniform(0, 1)])
        r["RcA"][s] = 1.0 if rng.random() < 0.1 else 0.0
        r["RcB"][s] = 1.0 if rng.random() < 0.1 else 0.0
    if rng.random() < 0.5:
        r["Dr"] = rng.uniform(0.2, 1.5)
        r["Dx"] = rng.uniform(0.5, 6.0)
        r["Dq"] = rng.choice([rng.uniform(1.0, 9.99), rng.uniform(10, 40)])
    for k in ["Ptr", "Ptx", "Ptq"]:
        if rng.random() < 0.4:
            r[k] = rng.uniform(0.3, 0.6)
    for k, p in [("Per", "Ptr"), ("Pex", "Ptx"), ("Peq", "Ptq")]:
        if rng.random() < 0.4:
            r[k] = rng.uniform(0.02, 0.3) * r[p]
    for k in ["Flr", "Flx", "Flq"]:
        if rng.random() < 0.4:
            r[k] = rng.uniform(0.3, 1.0)
    for k in ["Cx0", "Cq0", "Cic", "Ch", "Cp", "CA0", "CB0", "CU0", "CxA0", "CxB0"]:
        if rng.random() < 0.4:
            r[k] = jitter(rng, r[k] if r[k] > 0 else 2.0, 0.6)
    if rng.random() < 0.5:
        r["Dw0"] = rng.uniform(0.3, 4.0)
    if rng.random() < 0.4:
        r["Dc"] = r["Dr"] + rng.uniform(0.1, 1.5)
    if rng.random() < 0.5:
        r["Dd"] = r["Dr"] + rng.uniform(0.1, 0.9) * r["Dx"]
    if rng.random() < 0.4:
        r["QH1"] = rng.choice([0.0, rng.uniform(0.0001, 0.01), rng.uniform(0.01, 0.1)])
        r["QH2"] = rng.choice([0.0, rng.uniform(0.0001, 0.005)])


# Edge situations a valid case may have; several may come together.
def sc_zero_area(rng, r):
    for s in rng.sample(range(ns_of(r)), rng.randint(1, ns_of(r))):
        which = rng.randrange(3)
        if which in (0, 2):
            r["A"][s] = 0.0
        if which in (1, 2):
            r["B"][s] = 0.0


def sc_full_area(rng, r):
    every = rng.random() < 0.5
    for s in range(ns_of(r)):
        if every or rng.random() < 0.5:
            a = q(rng.uniform(0, 1), "A")
            r["A"][s], r["B"][s] = a, q(1 - a, "B")


def sc_same_areas(rng, r):
    a = rng.uniform(0, 0.9)
    b = rng.uniform(0, 1 - a)
    for s in range(ns_of(r)):
        r["A"][s], r["B"][s] = a, b


def sc_no_irrigation(rng, r):
    for s in range(ns_of(r)):
        r["IaA"][s] = r["IaB"][s] = 0.0
        if rng.random() < 0.5:
            r["Lc"][s] = r["Io"][s] = 0.0
        r["DAu"][s] = r["DBu"][s] = 0.0
    r["Kp"] = 0 if rng.random() < 0.5 else r["Kp"]


def sc_ponding(rng, r):
    r["Dw0"] = rng.choice([0.0, rng.uniform(-0.3, 0.2)])
    for s in range(ns_of(r)):
        r["IaA"][s] = rng.uniform(1.0, 3.0)
        r["IaB"][s] = rng.uniform(0.5, 2.0)
        r["RcA"][s] = 1.0 if rng.random() < 0.7 else 0.0
        r["SoA"][s] = 0.0 if rng.random() < 0.6 else r["SoA"][s]
        r["Gi"][s] = rng.uniform(0, 0.5)
        r["Go"][s] = rng.choice([0.0, rng.uniform(0, 1.5)])


def sc_aquifer_stop(rng, r):
    r["Dq"] = rng.uniform(1.0, 4.0)
    r["Dw0"] = rng.uniform(0.5, 1.0) * (r["Dr"] + r["Dx"] + r["Dq"])
    for s in range(ns_of(r)):
        r["Gi"][s] = 0.0
        r["Go"][s] = rng.uniform(0.3, 1.5)
        r["IaA"][s] *= rng.uniform(0.2, 1.0)
    if rng.random() < 0.5:
        r["Kp"] = 1
        for s in range(ns_of(r)):
            r["Gw"][s] = rng.uniform(0.2, 1.0)


def sc_deep_wells(rng, r):
    r["Kp"] = 1
    r["Dq"] = rng.uniform(20, 60)
    r["Dw0"] = rng.uniform(1.0, 4.99) if rng.random() < 0.8 else 5.0
    for s in range(ns_of(r)):
        r["Gw"][s] = rng.uniform(0.15, 1.0)
        r["Gi"][s] = rng.uniform(0, 0.05)


def sc_shallow(rng, r):
    r["Dw0"] = rng.uniform(0.05, 0.5)
    for s in range(ns_of(r)):
        r["IaA"][s] = rng.uniform(0.5, 2.0)
        r["IaB"][s] = rng.uniform(0.5, 2.0)
        r["Gi"][s] = rng.uniform(0.1, 0.6)
        r["Go"][s] = rng.uniform(0, 0.05)
    if rng.random() < 0.5:
        r["Kd"] = 0


def sc_deep_table(rng, r):
    r["Dq"] = rng.uniform(15, 60)
    r["Dx"] = rng.uniform(2, 8)
    r["Dw0"] = rng.uniform(5, r["Dr"] + r["Dx"] + r["Dq"] - 0.5)


def sc_drains_edge(rng, r):
    r["Kd"] = 1
    r["Dd"] = r["Dr"] + 0.01 if rng.random() < 0.5 else r["Dr"] + r["Dx"] - 0.01
    r["QH1"] = rng.choice([0.0, 0.0001, 0.05, 0.2])
    r["QH2"] = rng.choice([0.0, 0.0001, 0.01])


def sc_farmers(rng, r):
    r["Kf"] = 1
    r["Krf"] = rng.randrange(2)
    r["CAmax"] = rng.uniform(1, 5)
    r["CBmax"] = rng.uniform(1, 5)
    r["Cic"] = rng.uniform(2, 8)
    for s in range(ns_of(r)):
        r["IaA"][s] *= rng.uniform(0.3, 1.0)


def sc_reuse(rng, r):
    r["Kd"] = 1
    for s in range(ns_of(r)):
        r["DAu"][s] = rng.uniform(0.1, 0.8)
        r["DBu"][s] = rng.uniform(0, 0.8)


def sc_surface(rng, r):
    for s in range(ns_of(r)):
        for k in ["SoA", "SoB", "SoU"]:
            if rng.random() < 0.6:
                r[k][s] = rng.uniform(0.3, 2.0)


def sc_saline(rng, r):
    r["CU0"] = rng.uniform(16, 60)
    r["Cq0"] = rng.uniform(5, 40)
    if rng.random() < 0.5:
        r["Ch"] = rng.uniform(10, 30)
    for s in range(ns_of(r)):
        r["A"][s] = min(r["A"][s], 0.6)
        r["B"][s] = min(r["B"][s], 0.3)


def sc_zero_salt(rng, r):
    for k in rng.sample(["CA0", "CB0", "CU0", "Cx0", "Cq0", "CxA0", "CxB0"], rng.randint(1, 4)):
        r[k] = 0.0


def sc_bounds(rng, r):
    """Values on the bounds the check accepts, and the writer's width switches."""
    ns = ns_of(r)
    some = lambda: rng.randrange(ns)

    def thin_aquifer():
        r["Dq"] = rng.choice([0.1, 0.5, 0.99])
        r["Gi"][some()] = 0.01
        r["Go"][some()] = 0.01

    def wells_full():
        r["Kp"] = 1
        s = some()
        r["A"][s], r["B"][s], r["Gw"][s] = 0.4, 0.3, 0.2
        r["FAw"][s], r["FBw"][s] = rng.choice([(0.5, 0.5), (1.0, 0.0), (0.25, 0.75)])

    def area_one():
        s = some()
        r["A"][s], r["B"][s] = rng.choice([(1.0, 0.0), (0.0, 1.0)])

    def dq_flows():
        r["Dq"] = 1.0
        r["Go"][some()] = 0.5

    def thin_layers():
        r["Dr"] = 0.1
        r["Dx"] = rng.choice([0.1, r["Dx"]])
        r["Dc"] = rng.choice([0.11, r["Dc"]])

    options = [
        lambda: r.update(Ts=partition_months(rng, ns, small=True)),
        lambda: r[rng.choice(["FsA", "FsB", "FsU"])].__setitem__(some(), 1.0),
        lambda: r.update(Per=r["Ptr"]),
        lambda: r.update(Pex=r["Ptx"], Peq=r["Ptq"]),
        lambda: r.update(Dw0=r["Dr"] + r["Dx"] + r["Dq"]),
        lambda: r.update(Dq=rng.choice([9.99, 10.0])),
        lambda: r.update(Cx0=10.0, Ch=10.0, Cq0=rng.choice([9.9, 10.0])),
        lambda: r.update(Ptr=1.0, Ptx=1.0, Ptq=1.0),
        lambda: r.update(Frd=[rng.choice([0.0, 1.0]) for _ in range(4)]),
        lambda: r.update(Dc=r["Dr"] + 0.01),
        lambda: r.update(Kd=1, Dd=r["Dr"] + rng.choice([0.01, r["Dx"] - 0.01])),
        lambda: r.update(Ny=rng.choice([1, 99])),
        thin_aquifer, wells_full, area_one, dq_flows, thin_layers,
    ]
    for i in rng.sample(range(len(options)), rng.randint(1, 4)):
        options[i]()


def sc_ignored(rng, r):
    """Values outside the rules where the check does not look at them."""
    s = rng.randrange(ns_of(r))
    what = rng.randrange(5)
    if what == 0:
        r["A"][s] = 0.0
        r["IaA"][s] = -rng.uniform(0.01, 1)
        r["EpA"][s] = -rng.uniform(0.01, 1)
        r["RcA"][s] = 2.0
    elif what == 1:
        r["B"][s] = 0.0
        r["IaB"][s] = -rng.uniform(0.01, 1)
        r["FsB"][s] = 0.0
    elif what == 2:
        a = q(rng.uniform(0, 1), "A")
        r["A"][s], r["B"][s] = a, q(1 - a, "B")
        r["EpU"][s] = 0.0
        r["Kf"] = 0
        r["FsU"][s] = 0.0
    elif what == 3:
        r["Kp"] = 0
        r["Gw"][s] = -rng.uniform(0.01, 1)
        r["FAw"][s] = -0.5
    else:
        r["Kp"] = 1
        r["Gw"][s] = 0.0
        r["FAw"][s], r["FBw"][s] = 0.9, 0.8


def sc_extreme(rng, r):
    """Magnitudes that the check accepts and a run cannot carry to its end."""
    ns = ns_of(r)
    what = rng.randrange(4)
    if what == 0:
        r[rng.choice(["Cic", "Ch", "CA0", "Cq0"])] = rng.choice([1e200, 1e300, 1e308])
    elif what == 1:
        for s in range(ns):
            r["IaA"][s] = rng.choice([50.0, 500.0, 5000.0])
        r["Per"], r["Pex"], r["Peq"] = 0.001, 0.001, 0.001
    elif what == 2:
        r["Kd"] = 1
        r["QH1"], r["QH2"] = rng.choice([10.0, 1000.0]), rng.choice([0.0, 100.0])
    else:
        r["Dq"] = rng.uniform(2000, 5000)
        for s in range(ns):
            r["Go"][s] = rng.choice([100.0, 2000.0])


SCENARIOS = [("zero-area", sc_zero_area, 0.12), ("full-area", sc_full_area, 0.12),
             ("same-areas", sc_same_areas, 0.08), ("no-irrigation", sc_no_irrigation, 0.08),
             ("ponding", sc_ponding, 0.08), ("aquifer-stop", sc_aquifer_stop, 0.05),
             ("deep-wells", sc_deep_wells, 0.05), ("shallow", sc_shallow, 0.1),
             ("deep-table", sc_deep_table, 0.08), ("drains-edge", sc_drains_edge, 0.08),
             ("farmers", sc_farmers, 0.1), ("reuse", sc_reuse, 0.08), ("surface", sc_surface, 0.08),
             ("saline", sc_saline, 0.08), ("zero-salt", sc_zero_salt, 0.06), ("bounds", sc_bounds, 0.1),
             ("ignored", sc_ignored, 0.05), ("extreme", sc_extreme, 0.025)]


def repair(r):
    """Brings every value within the rules of the check, leaving values on
    their bounds where they are, and rounds them as the file keeps them."""
    ns = ns_of(r)
    for k in SCALARS:
        r[k] = q(r[k], k)
    for k in SEASONAL:
        r[k] = [q(v, k) for v in r[k][:ns]] + [0.0] * (4 - ns)
    kp, kf = r["Kp"], r["Kf"]
    for s in range(ns):
        a = min(max(r["A"][s], 0.0), 1.0)
        b = min(max(r["B"][s], 0.0), 1.0)
        if a + b > 1 + 1e-9:
            b = q(1 - a, "B")
        r["A"][s], r["B"][s] = a, b
        u = 1 - a - b
        for k, frac in [("RcA", a), ("RcB", b)]:
            if frac > 0.001 and r[k][s] not in (0.0, 1.0):
                r[k][s] = 0.0
        for k in ["Lc", "Io", "Pp", "Gi", "Go", "SiU", "SoU", "SoA", "SoB"]:
            r[k][s] = max(r[k][s], 0.0)
        if a > 0:
            r["IaA"][s] = max(r["IaA"][s], 0.0)
            r["EpA"][s] = max(r["EpA"][s], 0.0)
        if b > 0:
            r["IaB"][s] = max(r["IaB"][s], 0.0)
            r["EpB"][s] = max(r["EpB"][s], 0.0)
        if r["EpU"][s] <= 0 and a + b < 1 - 1e-9:
            r["EpU"][s] = 0.1
        for k, frac in [("FsA", a), ("FsB", b), ("FsU", u)]:
            if (frac > 0.001 or (k == "FsU" and abs(u) <= 1e-9 and kf == 1)) and not 0 < r[k][s] <= 1:
                r[k][s] = 0.7
        if kp == 1:
            r["Gw"][s] = max(r["Gw"][s], 0.0)
            if r["Gw"][s] > 0:
                r["FAw"][s] = max(r["FAw"][s], 0.0)
                r["FBw"][s] = max(r["FBw"][s], 0.0)
                if r["FAw"][s] + r["FBw"][s] > 1:
                    r["FBw"][s] = q(1 - r["FAw"][s], "FBw")
        r["Frd"][s] = min(max(r["Frd"][s], 0.0), 1.0)
        for k in ["DAu", "DBu"]:
            r[k][s] = max(r[k][s], 0.0)
    r["Dr"] = max(r["Dr"], 0.1)
    r["Dx"] = max(r["Dx"], 0.1)
    r["Dq"] = max(r["Dq"], 0.1)
    for k in ["Ptr", "Ptx", "Ptq"]:
        if not 0 < r[k] <= 1:
            r[k] = 0.45
    if r["Dq"] < 1:
        for s in range(ns):
            r["Gi"][s] = min(r["Gi"][s], 0.01)
            r["Go"][s] = min(r["Go"][s], 0.01)
    for k, p in [("Per", "Ptr"), ("Pex", "Ptx"), ("Peq", "Ptq")]:
        if not 0 < r[k] <= r[p]:
            r[k] = q(r[p] * 0.2, k) or 0.001
    for k in ["Flr", "Flx", "Flq"]:
        if r[k] <= 0:
            r[k] = 0.8
    bottom = r["Dr"] + r["Dx"] + r["Dq"]
    if r["Dw0"] > bottom:
        r["Dw0"] = q(math.floor(bottom * 100) / 100, "Dw0")
        while r["Dw0"] > bottom:
            r["Dw0"] = q(r["Dw0"] - 0.01, "Dw0")
    if r["Dc"] <= r["Dr"]:
        r["Dc"] = q(r["Dr"] + 0.5, "Dc")
    if r["Kd"] == 1:
        if not r["Dr"] < r["Dd"] < r["Dr"] + r["Dx"]:
            r["Dd"] = q(r["Dr"] + r["Dx"] / 2, "Dd")
        if not r["Dr"] < r["Dd"] < r["Dr"] + r["Dx"]:  # Dx too thin for two decimals
            r["Dx"] = q(r["Dx"] + 0.1, "Dx")
            r["Dd"] = q(r["Dr"] + 0.05, "Dd")
        r["QH1"] = max(r["QH1"], 0.0)
        r["QH2"] = max(r["QH2"], 0.0)
    for k in ["Cx0", "Cq0", "Cic", "Ch", "Cp", "CA0", "CB0", "CU0", "CxA0", "CxB0"]:
        r[k] = max(r[k], 0.0)
    r["Area"] = max(r["Area"], 0.0)


def valid_case(rng, bases, ky=0):
    r = copy.deepcopy(rng.choice(bases))
    ns = ns_of(r) if rng.random() < 0.4 else rng.randint(1, 4)
    resize(rng, r, ns)
    r["Kd"] = int(rng.random() < 0.55)
    r["Kp"] = int(rng.random() < 0.4)
    r["Kf"] = int(rng.random() < 0.3)
    r["Krf"] = int(rng.random() < 0.4)
    r["Kr"] = rng.choice([0, 1, 2, 3, 4, 5, 6, 7, 10])
    r["Ky"] = ky
    x = rng.random()
    r["Ny"] = (rng.randint(1, 5) if x < 0.6 else rng.randint(6, 15) if x < 0.87 else
               rng.randint(16, 40) if x < 0.96 else rng.randint(41, 99))
    if r["Kd"] == 1 and r["Dd"] == 0:
        r["Dd"], r["QH1"], r["QH2"] = r["Dr"] + r["Dx"] / 2, 0.003, 0.001
        r["CxA0"], r["CxB0"] = r["Cx0"], r["Cx0"]
    vary(rng, r)
    tags = []
    for name, fn, p in SCENARIOS:
        if rng.random() < p:
            fn(rng, r)
            tags.append(name)
    repair(r)
    return r, tags


# ---------------------------------------------------------------------------
# Inputs that break the rules of the check

def _s(rng, r):
    return rng.randrange(max(ns_of(r), 1))


def _neg(rng, field):
    """A negative value, often the one next to zero that the file can hold."""
    step = 10.0 ** -DEC[field]
    return -rng.choice([step, step, 10 * step, 0.5, 2.0])


def _area_present(rng, r, k):
    s = _s(rng, r)
    if r[k][s] <= 0.001:
        r[k][s] = 0.2
        other = "B" if k == "A" else "A"
        r[other][s] = min(r[other][s], 0.7)
    return s


def m_ns(rng, r):
    r["Ns"] = rng.choice([0, 5, 6, 9])


def m_ny(rng, r):
    r["Ny"] = rng.choice([0, 0, 100, 100, 150, 255])


def m_months(rng, r):
    r["Ts"][_s(rng, r)] += rng.choice([-1, 1]) * rng.choice([0.1, 0.5, 2.0])


def m_ts(rng, r):
    ns = ns_of(r)
    s = _s(rng, r)
    small = rng.choice([0.0, 0.1, 0.4])
    r["Ts"][(s + 1) % ns] += r["Ts"][s] - small
    r["Ts"][s] = small


def m_a(rng, r):
    r["A"][_s(rng, r)] = rng.choice([_neg(rng, "A"), 1.01, 1.5])


def m_b(rng, r):
    r["B"][_s(rng, r)] = rng.choice([_neg(rng, "B"), 1.01, 1.5])


def m_ab(rng, r):
    s = _s(rng, r)
    r["A"][s] = rng.choice([0.5, 0.7, 0.9])
    r["B"][s] = 1.01 - r["A"][s] + rng.choice([0.0, 0.1, 0.3])


def m_rca(rng, r):
    r["RcA"][_area_present(rng, r, "A")] = rng.choice([2.0, 3.0, -1.0, 5.0])


def m_rcb(rng, r):
    r["RcB"][_area_present(rng, r, "B")] = rng.choice([2.0, -1.0])


def m_lcio(rng, r):
    k = rng.choice(["Lc", "Io"])
    r[k][_s(rng, r)] = _neg(rng, k)


def m_iaa(rng, r):
    r["IaA"][_area_present(rng, r, "A")] = _neg(rng, "IaA")


def m_iab(rng, r):
    r["IaB"][_area_present(rng, r, "B")] = _neg(rng, "IaB")


def m_pp(rng, r):
    r["Pp"][_s(rng, r)] = _neg(rng, "Pp")


def m_epa(rng, r):
    r["EpA"][_area_present(rng, r, "A")] = _neg(rng, "EpA")


def m_epb(rng, r):
    r["EpB"][_area_present(rng, r, "B")] = _neg(rng, "EpB")


def m_epu(rng, r):
    s = _s(rng, r)
    r["A"][s], r["B"][s] = min(r["A"][s], 0.5), min(r["B"][s], 0.3)
    r["EpU"][s] = rng.choice([0.0, _neg(rng, "EpU")])


def m_fsa(rng, r):
    r["FsA"][_area_present(rng, r, "A")] = rng.choice([0.0, -0.2, 1.01, 1.5])


def m_fsb(rng, r):
    r["FsB"][_area_present(rng, r, "B")] = rng.choice([0.0, -0.2, 1.2])


def m_fsu(rng, r):
    s = _s(rng, r)
    r["A"][s], r["B"][s] = min(r["A"][s], 0.5), min(r["B"][s], 0.3)
    r["FsU"][s] = rng.choice([0.0, -0.1, 1.1])


def m_fsu_full(rng, r):
    s = _s(rng, r)
    r["A"][s], r["B"][s] = 0.6, 0.4
    r["Kf"] = 1
    r["FsU"][s] = rng.choice([0.0, 1.5])


def m_gi(rng, r):
    r["Gi"][_s(rng, r)] = _neg(rng, "Gi")


def m_go(rng, r):
    r["Go"][_s(rng, r)] = _neg(rng, "Go")


def m_gw(rng, r):
    r["Kp"] = 1
    r["Gw"][_s(rng, r)] = _neg(rng, "Gw")


def m_faw(rng, r):
    r["Kp"] = 1
    s = _area_present(rng, r, "A")
    r["Gw"][s] = max(r["Gw"][s], 0.1)
    r["FAw"][s] = _neg(rng, "FAw")


def m_fbw(rng, r):
    r["Kp"] = 1
    s = _area_present(rng, r, "B")
    r["Gw"][s] = max(r["Gw"][s], 0.1)
    r["FBw"][s] = _neg(rng, "FBw")


def m_fw_sum(rng, r):
    r["Kp"] = 1
    s = _s(rng, r)
    r["A"][s], r["B"][s] = 0.4, 0.3
    r["Gw"][s] = max(r["Gw"][s], 0.1)
    r["FAw"][s], r["FBw"][s] = 0.6, rng.choice([0.5, 0.9])


def m_dr(rng, r):
    r["Dr"] = rng.choice([0.0, 0.05, 0.09])


def m_pt(key):
    def m(rng, r):
        r[key] = rng.choice([0.0, -0.1, 1.01, 1.5])
    return m


def m_thin(key):
    def m(rng, r):
        r[key] = rng.choice([0.0, 0.05, 0.09])
    return m


def m_dq_flow(rng, r):
    r["Dq"] = rng.choice([0.1, 0.5, 0.99])
    r[rng.choice(["Gi", "Go"])][_s(rng, r)] = rng.choice([0.011, 0.02, 0.3])


def m_pe(key, pt):
    def m(rng, r):
        r[key] = rng.choice([0.0, -0.001, r[pt] + 0.001, r[pt] + 0.01])
    return m


def m_fl(rng, r):
    r[rng.choice(["Flr", "Flx", "Flq"])] = rng.choice([0.0, 0.0, -0.01, -0.5])


def m_dw0(rng, r):
    r["Dw0"] = r["Dr"] + r["Dx"] + r["Dq"] + rng.choice([0.01, 1.0, 10.0])


def m_dc(rng, r):
    r["Dc"] = r["Dr"] - rng.choice([0.0, 0.1])


def m_dd(rng, r):
    r["Kd"] = 1
    # on the bounds most often: Dd = Dr breaks the rule, Dd = Dr + Dx only the save-time one
    r["Dd"] = rng.choice([r["Dr"], r["Dr"], r["Dr"] - 0.1, r["Dr"] + r["Dx"] + 0.01, r["Dr"] + r["Dx"],
                          r["Dr"] + r["Dx"], 0.0])


def m_frd(rng, r):
    r["Kd"] = 1
    r["Frd"][_s(rng, r)] = rng.choice([-0.01, -0.1, 1.01, 2.0])


def m_qh(rng, r):
    r["Kd"] = 1
    r[rng.choice(["QH1", "QH2"])] = -rng.choice([0.0001, 0.01])


def m_salt(rng, r):
    r[rng.choice(["Cx0", "Cq0", "Cic", "Ch", "Cp", "CA0", "CB0", "CU0", "CxA0", "CxB0"])] = -rng.choice([0.1, 3.0])


def m_keys(rng, r):
    r[rng.choice(["Kd", "Kp", "Kf", "Krf", "Ky"])] = rng.choice([2, 3, 9])


def m_kr(rng, r):
    r["Kr"] = rng.choice([8, 9, 11, 20])


def m_ab_negative(rng, r):
    s = _s(rng, r)
    r["A"][s], r["B"][s] = -0.3, -0.2


MUTATIONS = [m_ns, m_ny, m_months, m_ts, m_a, m_b, m_ab, m_rca, m_rcb, m_lcio, m_iaa, m_iab, m_pp,
             m_epa, m_epb, m_epu, m_fsa, m_fsb, m_fsu, m_fsu_full, m_gi, m_go, m_gw, m_faw, m_fbw,
             m_fw_sum, m_dr, m_pt("Ptr"), m_thin("Dx"), m_pt("Ptx"), m_thin("Dq"), m_pt("Ptq"), m_dq_flow,
             m_pe("Per", "Ptr"), m_pe("Pex", "Ptx"), m_pe("Peq", "Ptq"), m_fl, m_dw0, m_dc, m_dd, m_frd,
             m_qh, m_salt, m_keys, m_kr, m_ab_negative]


def invalid_case(rng, bases):
    r, tags = valid_case(rng, bases)
    muts = rng.sample(MUTATIONS, 1 if rng.random() < 0.6 else rng.randint(2, 4))
    for m in muts:
        m(rng, r)
    for k in SCALARS:
        r[k] = q(r[k], k)
    for k in SEASONAL:
        r[k] = [q(v, k) for v in r[k]]
    return r, tags + [m.__name__[2:] if m.__name__ != "m" else "mut" for m in muts]


# ---------------------------------------------------------------------------
# Year-by-year series

def change_for_year(rng, r, year):
    """The changes a user might make before another year."""
    r = copy.deepcopy(r)
    r["Title2"] = "year %d of the series" % year
    ns = ns_of(r)
    what = rng.sample(["irrigation", "areas", "drains", "climate", "canal", "salinity", "wells", "key",
                       "soil", "reuse", "nothing"], rng.randint(1, 3))
    for w in what:
        if w == "irrigation":
            f = rng.choice([0.0, 0.5, 0.8, 1.2, 2.0])
            for s in range(ns):
                r["IaA"][s] *= f
                r["IaB"][s] *= rng.choice([f, 1.0])
        elif w == "areas":
            for s in range(ns):
                a = rng.choice([0.0, rng.uniform(0, 1)])
                r["A"][s], r["B"][s] = a, rng.choice([0.0, 1 - a, rng.uniform(0, 1 - a)])
        elif w == "drains":
            move = rng.randrange(3)
            if move == 0:
                r["Kd"] = 1 - r["Kd"]  # install or remove
            if r["Kd"] == 1 and (move > 0 or r["Dd"] <= r["Dr"]):
                r["Dd"] = r["Dr"] + rng.uniform(0.05, 0.95) * r["Dx"]
                r["QH1"] = r["QH1"] or 0.004
                r["QH2"] = r["QH2"] or 0.001
            if r["Kd"] == 1 and move == 2:
                r["Frd"] = [rng.choice([0.0, 0.5, 1.0]) for _ in range(4)]
        elif w == "climate":
            for s in range(ns):
                r["Pp"][s] = jitter(rng, r["Pp"][s] + 0.01)
                r["EpA"][s] = jitter(rng, r["EpA"][s] + 0.01, 0.2)
        elif w == "canal":
            for s in range(ns):
                r["Lc"][s] = jitter(rng, r["Lc"][s] + 0.01)
                r["Io"][s] = jitter(rng, r["Io"][s] + 0.01)
        elif w == "salinity":
            r["Cic"] = rng.uniform(0.3, 6)
        elif w == "wells":
            r["Kp"] = 1 - r["Kp"] if rng.random() < 0.5 else r["Kp"]
            for s in range(ns):
                r["Gw"][s] = rng.uniform(0, 0.4)
                fa = rng.uniform(0, 1)
                r["FAw"][s], r["FBw"][s] = fa, rng.uniform(0, 1 - fa)
        elif w == "key":
            r["Kr"] = rng.choice([0, 1, 2, 3, 4, 5, 6, 7, 10])
        elif w == "soil":
            r["Dx"] = r["Dx"] * rng.uniform(0.8, 1.3)
            r["Dq"] = r["Dq"] * rng.uniform(0.8, 1.3)
        elif w == "reuse" and r["Kd"] == 1:
            for s in range(ns):
                r["DAu"][s] = rng.uniform(0, 0.3)
    repair(r)
    return r, what


# ---------------------------------------------------------------------------
# Cases

class Case:
    def __init__(self, name, kind):
        self.name = name
        self.kind = kind
        self.layout = "current"
        self.files = {}  # file name -> bytes
        self.cmds = []  # (folder, args)
        self.rec = None
        self.tags = []

    def stem(self):
        return self.name


def add_tables(rng, case, res):
    groups = list(range(1, 14)) if rng.random() < 0.3 else rng.sample(range(1, 14), rng.randint(1, 3))
    for n in groups:
        args = ["table", res, str(n), "--prn", "g%02d.prn" % n]
        if n <= 12:
            args += ["--csv", "g%02d.csv" % n]
        case.cmds.append((".", args))
    case.cmds.append((".", ["table", "g%02d.prn" % rng.choice(groups)]))


def build_case(rng, bases, name):
    x = rng.random()
    if x < 0.52:
        kind = "valid"
    elif x < 0.77:
        kind = "invalid"
    elif x < 0.89:
        kind = "series"
    elif x < 0.95:
        kind = "layout"
    elif x < 0.98:
        kind = "lenient"
    else:
        kind = "unreadable"
    case = Case(name, kind)
    if kind == "series":
        return build_series(rng, bases, case)
    inp = name + ".inp"
    if kind in ("valid", "layout", "lenient", "unreadable"):
        r, case.tags = valid_case(rng, bases, ky=1 if kind == "valid" and rng.random() < 0.05 else 0)
    elif kind == "invalid":
        r, case.tags = invalid_case(rng, bases)
    r["Title1"] = "Generated case %s (%s)" % (name, kind)
    if not r["Title2"] or rng.random() < 0.7:
        r["Title2"] = "Ns=%d Ny=%d Kr=%d Kd=%d Kp=%d Kf=%d Krf=%d Ky=%d; %s" % (
            r["Ns"], r["Ny"], r["Kr"], r["Kd"], r["Kp"], r["Kf"], r["Krf"], r["Ky"], ", ".join(case.tags) or "plain")
    case.rec = r

    lines = write_current(r)
    crlf = True
    if kind == "layout":
        case.layout = rng.choice(["no-ky", "old-line1", "area-wise", "climate-last"])
        if case.layout == "no-ky":
            lines = write_no_ky(r)
        elif case.layout == "old-line1":
            lines = write_old_line1(r)
        elif case.layout == "area-wise":
            # One well-water fraction serves A and B: above 0.5 their sum breaks a rule.
            if rng.random() < 0.8:
                for s in range(ns_of(r)):
                    r["FAw"][s] = r["FBw"][s] = min(r["FAw"][s], 0.5)
            lines = write_area_wise(r, rng.choice([0.0, 1.0, 12.5]))
        else:
            lines = write_climate_last(r)
    elif kind == "lenient":
        case.layout = "lenient"
        lines = lenient(rng, lines)
        crlf = rng.random() < 0.7
    elif kind == "unreadable":
        case.layout = "unreadable"
        how = rng.randrange(6)
        if how == 0:
            lines = lines[:rng.randint(3, len(lines) - 2)]
        elif how == 1:
            i = rng.randrange(7, len(lines), 2)
            lines[i] = lines[i].replace(lines[i].split()[0], "x" + lines[i].split()[0], 1)
        elif how == 2:
            lines[5] = lines[5].replace(str(r["Ny"]), "300", 1)
        elif how == 3:
            lines[3] = lines[3].replace("    %d    " % r["Kd"], "    1.5    ", 1)
        elif how == 4:
            lines = []
        else:
            lines[3] = "    100.0    1    0"  # too few values: the next line's text is read
    case.files[inp] = text_of(lines, crlf).encode()

    case.cmds.append(("chk", ["check", "../" + inp]))
    case.cmds.append((".", ["run", inp]))
    if kind in ("layout", "lenient", "unreadable") or rng.random() < 0.08:
        case.cmds.append((".", ["convert", inp, "conv.inp"]))
    if kind == "valid" and rng.random() < 0.12:
        add_tables(rng, case, name + ".res")
    return case


def build_series(rng, bases, case):
    name = case.name
    r, case.tags = valid_case(rng, bases, ky=1)
    x = rng.random()
    r["Ny"] = rng.randint(1, 3) if x < 0.3 else rng.randint(4, 8) if x < 0.9 else rng.randint(9, 20)
    r["Title1"] = "Generated case %s (series)" % name
    r["Title2"] = "Ns=%d Ny=%d Kr=%d Kd=%d Kp=%d Kf=%d Krf=%d Ky=1; %s" % (
        r["Ns"], r["Ny"], r["Kr"], r["Kd"], r["Kp"], r["Kf"], r["Krf"], ", ".join(case.tags) or "plain")
    case.rec = r
    first = name + ".inp"
    case.files[first] = text_of(write_current(r)).encode()
    later = rng.randint(0, r["Ny"] - 1)
    given_names = rng.random() < 0.5  # NAME2.inp ... as the window names them, else other names
    files = [first]
    prev = r
    for year in range(2, later + 2):
        nxt, what = change_for_year(rng, prev, year)
        if rng.random() < 0.03:  # a later year with an input error stops the series there
            rng.choice(MUTATIONS[4:26])(rng, nxt)
            what = what + ["error"]
        fname = "%s%d.inp" % (name, year) if given_names else "later%d.inp" % year
        case.files[fname] = text_of(write_current(nxt)).encode()
        files.append(fname)
        case.tags.append("y%d:%s" % (year, "+".join(what)))
        prev = nxt
    u = rng.random()
    if u < 0.03 and later > 0:  # refused: more files than years, or another Ns
        case.tags.append("usage")
        if rng.random() < 0.5:
            files = files + [files[-1]] * (r["Ny"] - len(files) + 1)
        else:
            bad = copy.deepcopy(prev)
            resize(rng, bad, ns_of(bad) % 4 + 1)
            repair(bad)
            case.files[files[-1]] = text_of(write_current(bad)).encode()
    case.cmds.append(("chk", ["check", "../" + first]))
    if later == 0 and rng.random() < 0.5:
        case.cmds.append((".", ["run", first]))
    else:
        case.cmds.append((".", ["series"] + files))
    if rng.random() < 0.1:
        add_tables(rng, case, name + ".res")
    return case


def load_bases(source):
    paths = []
    for folder in [os.path.join(source, "examples"), os.path.join(source, "tests", "reference", "shared")]:
        for root, _, names in sorted(os.walk(folder)):
            for n in sorted(names):
                if n.lower().endswith(".inp"):
                    paths.append(os.path.join(root, n))
    bases = []
    for p in paths:
        with open(p, "rb") as f:
            text = f.read().decode("latin-1")
        try:
            r = read_current(text)
        except (ValueError, IndexError):
            continue
        if 1 <= r["Ns"] <= 4 and r["Kd"] in (0, 1):
            bases.append(r)
    if not bases:
        sys.exit("make-inputs: no input files found under " + source)
    return bases


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("out")
    ap.add_argument("--count", type=int, default=2000)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--source", default=os.path.normpath(os.path.join(here, "..", "..")),
                    help="project folder whose examples/ and tests/reference/shared/ the cases start from")
    a = ap.parse_args()
    bases = load_bases(a.source)
    rng = random.Random(a.seed)
    os.makedirs(a.out, exist_ok=True)
    rows = ["name\tkind\tlayout\tNs\tNy\tKd\tKp\tKf\tKrf\tKr\tKy\ttags"]
    width = max(5, len(str(a.count)))
    for i in range(1, a.count + 1):
        name = "c%0*d" % (width, i)
        case = build_case(rng, bases, name)
        folder = os.path.join(a.out, name)
        os.makedirs(folder, exist_ok=True)
        for fname, data in sorted(case.files.items()):
            with open(os.path.join(folder, fname), "wb") as f:
                f.write(data)
        with open(os.path.join(folder, "cmds"), "w") as f:
            for where, args in case.cmds:
                f.write(where + " " + " ".join(args) + "\n")
        r = case.rec
        rows.append("\t".join([name, case.kind, case.layout] +
                              [str(r[k]) for k in ["Ns", "Ny", "Kd", "Kp", "Kf", "Krf", "Kr", "Ky"]] +
                              [" ".join(case.tags)]))
    with open(os.path.join(a.out, "cases.tsv"), "w") as f:
        f.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
