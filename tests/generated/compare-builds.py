#!/usr/bin/env python3
"""Runs two `veltra` programs on the same generated cases and compares all they leave.

    compare-builds.py OLD_VELTRA NEW_VELTRA [--count N] [--seed S] [-j N]
                      [--work DIR] [--keep] [--max-diffs N]

The cases come from make-inputs.py beside this file (N cases from seed S). Each
case runs with each program in a fresh copy of its folder, at the same path for
both, so that the paths the programs print agree; its commands are those of the
case's `cmds` file (check, run or series, and for some convert and table). Every
file the commands leave (names and bytes), and every command's standard output,
standard error and exit status must be the same for both programs.

Prints the number of cases, how many ran to results, the outcomes (ok, input
errors, stopped, refused), what the cases reached (the rules of the input check
and the runtime warnings, the rotation keys and layouts that ran), and every
difference with its first differing line; WORK/outcomes.tsv lists each case's
outcome. Differing cases are kept in
WORK/diff/old and WORK/diff/new. Exit status: 0 identical, 1 differences, 2 the
comparison itself could not run.
"""

import argparse
import collections
import concurrent.futures
import importlib.util
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
TIMEOUT = 120  # seconds for one command; a 99-year run takes well under one


def load_generator():
    found = importlib.util.spec_from_file_location("make_inputs", os.path.join(HERE, "make-inputs.py"))
    mod = importlib.util.module_from_spec(found)
    found.loader.exec_module(mod)
    return mod


def read_cmds(folder):
    cmds = []
    with open(os.path.join(folder, "cmds")) as f:
        for line in f:
            parts = line.split()
            if parts:
                cmds.append((parts[0], parts[1:]))
    return cmds


def read_tree(root):
    files = {}
    for dirpath, dirnames, names in os.walk(root):
        dirnames.sort()
        for n in sorted(names):
            p = os.path.join(dirpath, n)
            with open(p, "rb") as f:
                files[os.path.relpath(p, root)] = f.read()
    return files


def run_side(binary, src, run_dir, cmds):
    if os.path.exists(run_dir):
        shutil.rmtree(run_dir)
    shutil.copytree(src, run_dir, ignore=shutil.ignore_patterns("cmds"))
    outs = []
    for folder, args in cmds:
        cwd = os.path.join(run_dir, folder)
        os.makedirs(cwd, exist_ok=True)
        try:
            p = subprocess.run([binary] + args, cwd=cwd, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE, timeout=TIMEOUT)
            outs.append((p.returncode, p.stdout, p.stderr))
        except subprocess.TimeoutExpired as e:
            outs.append(("timeout", e.stdout or b"", e.stderr or b""))
    files = read_tree(run_dir)
    shutil.rmtree(run_dir)
    return outs, files


def first_difference(a, b):
    """'line N: OLD | NEW' for the first line where two texts differ."""
    la, lb = a.split(b"\n"), b.split(b"\n")
    for i in range(max(len(la), len(lb))):
        x = la[i] if i < len(la) else None
        y = lb[i] if i < len(lb) else None
        if x != y:
            show = lambda v: "(no line)" if v is None else repr(v[:160].decode("latin-1"))
            return "line %d: %s | %s" % (i + 1, show(x), show(y))
    return "same lines"


def compare_case(name, cases_dir, work, old, new):
    src = os.path.join(cases_dir, name)
    cmds = read_cmds(src)
    run_dir = os.path.join(work, "run", name)
    o_outs, o_files = run_side(old, src, run_dir, cmds)
    n_outs, n_files = run_side(new, src, run_dir, cmds)
    diffs = []
    for k, ((folder, args), o, n) in enumerate(zip(cmds, o_outs, n_outs)):
        what = "command %d (%s veltra %s)" % (k + 1, folder, " ".join(args))
        if o[0] != n[0]:
            diffs.append("%s: %s: exit status %s | %s" % (name, what, o[0], n[0]))
        for i, stream in [(1, "stdout"), (2, "stderr")]:
            if o[i] != n[i]:
                diffs.append("%s: %s: %s %s" % (name, what, stream, first_difference(o[i], n[i])))
    for f in sorted(set(o_files) | set(n_files)):
        if f not in n_files:
            diffs.append("%s: %s: only left by the old program" % (name, f))
        elif f not in o_files:
            diffs.append("%s: %s: only left by the new program" % (name, f))
        elif o_files[f] != n_files[f]:
            diffs.append("%s: %s: %s" % (name, f, first_difference(o_files[f], n_files[f])))
    if diffs:
        for side, files in [("old", o_files), ("new", n_files)]:
            for f, data in files.items():
                p = os.path.join(work, "diff", side, name, f)
                os.makedirs(os.path.dirname(p), exist_ok=True)
                with open(p, "wb") as out:
                    out.write(data)
    # What the case reached, as the old program ran it.
    main = next((o for (folder, args), o in zip(cmds, o_outs) if args[0] in ("run", "series")), None)
    check = next((o for (folder, args), o in zip(cmds, o_outs) if args[0] == "check"), None)
    lines = lambda f: o_files.get(f, b"").decode("latin-1").split("\r\n")
    return {
        "name": name,
        "diffs": diffs,
        "status": main[0] if main else None,
        "check": check[0] if check else None,
        "results": any(f.endswith(".res") for f in o_files),
        "errors": [l for l in lines("chk/Error.lst")[2:] + lines("Error.lst")[2:] if l],
        "warnings": [l for l in lines("warning.lst")[1:] if l.strip()],
        "commands": len(cmds),
        "verbs": [(args[0], o[0]) for (folder, args), o in zip(cmds, o_outs)],
    }


OUTCOME = {0: "ok", 1: "input errors", 2: "refused or unreadable", 3: "stopped"}


def summary(results, manifest, rule_texts, seconds):
    out = []
    p = out.append
    n = len(results)
    p("cases: %d (commands per program: %d, %.0f s)" % (n, sum(r["commands"] for r in results), seconds))
    p("cases with results (.res): %d" % sum(r["results"] for r in results))
    outcomes = collections.Counter(OUTCOME.get(r["status"], "other: %s" % r["status"]) for r in results)
    p("outcomes of run/series: " + ", ".join("%s %d" % (k, v) for k, v in sorted(outcomes.items())))
    kinds = collections.Counter(manifest[r["name"]]["kind"] for r in results)
    p("cases by kind: " + ", ".join("%s %d" % kv for kv in sorted(kinds.items())))
    series = [r for r in results if manifest[r["name"]]["kind"] == "series"]
    so = collections.Counter(OUTCOME.get(r["status"], str(r["status"])) for r in series)
    p("series: %d (%s)" % (len(series), ", ".join("%s %d" % kv for kv in sorted(so.items()))))
    verbs = collections.Counter(v for r in results for v in r["verbs"])
    for verb in sorted({v for v, _ in verbs}):
        p("%s by exit status: %s" % (verb, ", ".join(
            "%s: %d" % (st, c) for (v, st), c in sorted(verbs.items(), key=str) if v == verb)))

    ran = [r for r in results if r["results"]]
    for key in ["Kr", "Ns", "Kd", "Kp", "Kf", "Krf", "Ky"]:
        c = collections.Counter(int(manifest[r["name"]][key]) for r in ran)
        p("runs with results by %s: %s" % (key, " ".join("%d:%d" % kv for kv in sorted(c.items()))))
    combos = {tuple(manifest[r["name"]][k] for k in ["Kd", "Kp", "Kf", "Krf", "Ky"]) for r in ran}
    p("Kd/Kp/Kf/Krf/Ky combinations with results: %d of 32" % len(combos))
    ny = collections.Counter(min(int(manifest[r["name"]]["Ny"]) // 10 * 10, 90) for r in ran)
    p("runs with results by Ny: " + " ".join("%d-%d:%d" % (k or 1, k + 9, v) for k, v in sorted(ny.items())))
    layouts = collections.Counter(manifest[r["name"]]["layout"] for r in ran)
    p("runs with results by input layout: " + ", ".join("%s %d" % kv for kv in sorted(layouts.items())))

    rules = collections.Counter()
    unknown = collections.Counter()
    for r in results:
        for line in set(r["errors"]):
            hit = next((name for name, text in rule_texts if line.startswith(text)), None)
            if hit:
                rules[hit] += 1
            else:
                unknown[line] += 1
    p("rules of the input check reached: %d of %d" % (sum(1 for name, _ in rule_texts if rules[name]),
                                                      len(rule_texts)))
    p("  " + " ".join("%s:%d" % (name, rules[name]) for name, _ in rule_texts))
    missing = [name for name, _ in rule_texts if not rules[name]]
    if missing:
        p("  never reached: " + " ".join(missing))
    for line, c in sorted(unknown.items()):
        p("  other error line (%d cases): %s" % (c, line))
    warns = collections.Counter()
    for r in results:
        for line in set(re.sub(r"\d+", "#", l) for l in r["warnings"]):
            warns[line] += 1
    p("runtime warning lines (cases):")
    for line, c in sorted(warns.items(), key=lambda kv: -kv[1]):
        p("  %5d %s" % (c, line.strip()))
    return "\n".join(out)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("old")
    ap.add_argument("new")
    ap.add_argument("--count", type=int, default=2000)
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("-j", "--jobs", type=int, default=os.cpu_count() or 2)
    ap.add_argument("--work", help="folder for the cases and the differing results (default: a new temporary one)")
    ap.add_argument("--keep", action="store_true", help="keep the work folder also when nothing differs")
    ap.add_argument("--max-diffs", type=int, default=200, help="differences printed (all go to WORK/differences.txt)")
    a = ap.parse_args()

    old, new = os.path.abspath(a.old), os.path.abspath(a.new)
    for b in (old, new):
        if not (os.path.isfile(b) and os.access(b, os.X_OK)):
            print("compare-builds: not a program: " + b, file=sys.stderr)
            return 2
    work = os.path.abspath(a.work) if a.work else tempfile.mkdtemp(prefix="veltra-compare-")
    cases_dir = os.path.join(work, "cases")
    for sub in ("cases", "run", "diff"):
        shutil.rmtree(os.path.join(work, sub), ignore_errors=True)
    gen = subprocess.run([sys.executable, os.path.join(HERE, "make-inputs.py"), cases_dir,
                          "--count", str(a.count), "--seed", str(a.seed)])
    if gen.returncode != 0:
        print("compare-builds: the cases could not be made", file=sys.stderr)
        return 2
    manifest = {}
    with open(os.path.join(cases_dir, "cases.tsv")) as f:
        head = f.readline().rstrip("\n").split("\t")
        for line in f:
            row = dict(zip(head, line.rstrip("\n").split("\t")))
            manifest[row["name"]] = row
    names = sorted(manifest)

    start = time.time()
    results = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=max(1, a.jobs)) as pool:
        futures = [pool.submit(compare_case, n, cases_dir, work, old, new) for n in names]
        for fut in futures:
            results.append(fut.result())
    seconds = time.time() - start

    print("old: " + old)
    print("new: " + new)
    print("seed %d" % a.seed)
    print(summary(results, manifest, load_generator().RULE_TEXTS, seconds))
    diffs = [d for r in results for d in r["diffs"]]
    differing = [r["name"] for r in results if r["diffs"]]
    with open(os.path.join(work, "differences.txt"), "w") as f:
        f.write("".join(d + "\n" for d in diffs))
    with open(os.path.join(work, "outcomes.tsv"), "w") as f:
        f.write("name\tkind\tlayout\tstatus\tcheck\tresults\terrors\twarnings\ttags\n")
        for r in results:
            m = manifest[r["name"]]
            f.write("\t".join(str(v) for v in [r["name"], m["kind"], m["layout"], r["status"], r["check"],
                                                int(r["results"]), " | ".join(sorted(set(r["errors"]))),
                                                " | ".join(r["warnings"]), m["tags"]]) + "\n")
    if not diffs:
        print("IDENTICAL: every file, output and exit status of the %d cases" % len(results))
        if not a.keep and not a.work:
            shutil.rmtree(work, ignore_errors=True)
        else:
            print("work folder: " + work)
        return 0
    print("DIFFERENT: %d differences in %d of %d cases (kept in %s)" % (
        len(diffs), len(differing), len(results), os.path.join(work, "diff")))
    for d in diffs[:a.max_diffs]:
        print("  " + d)
    if len(diffs) > a.max_diffs:
        print("  ... %d more in %s" % (len(diffs) - a.max_diffs, os.path.join(work, "differences.txt")))
    return 1


if __name__ == "__main__":
    sys.exit(main())
