#!/usr/bin/env python3
"""Keeps the user guide (docs/*.md) and the manual page true to the program.

  guide.py help VELTRA SOURCE_DIR COMMAND...      help blocks and option tables of the guide, its links
  guide.py commands VELTRA SOURCE_DIR             runs every command shown in the guide and the man page
  guide.py man VELTRA SOURCE_DIR                  docs/man/veltra.1 is made from its template and --help
  guide.py update VELTRA SOURCE_DIR               rewrites help blocks, shown outputs and the man page
                                                  from the program (review the change with git diff)

COMMAND... are the commands whose reference is checked (tests/cli/guide_help.sh lists them).

Markers in the guide, an HTML comment on the line before a fenced block:
  <!-- help: NAME -->          the block is the output of `veltra NAME --help` (`veltra --help` for NAME veltra)
  <!-- test: output -->        the block is the standard output of the command run last
  <!-- test: excerpt FILE -->  the block's lines, in parts split at "...", are lines of FILE in the scratch folder
  <!-- test: pending NAME -->  the block belongs to a command not in the program yet: not run. Once the
                               program has NAME the test fails until the marker is removed.
  <!-- test: skip REASON -->   not run (apt, Slurm, ssh, pandas examples)
and on a line of its own: <!-- pending: NAME --> (a section about a command still to come).

Every ```sh block is run line by line in a scratch folder, one folder per page, with the
folder of VELTRA first on PATH. A line that ends in "# exit status N" must exit with N,
every other line with 0. Paths of the scratch folder are shown as /home/user/demo.
"""
import difflib
import os
import re
import shutil
import subprocess
import sys
import tempfile

SHOWN_FOLDER = "/home/user/demo"
FENCE = re.compile(r"^(\s*)(`{3,}|~{3,})\s*([\w+-]*)\s*$")
MARKER = re.compile(r"^\s*<!--\s*(help|test|pending):\s*(.*?)\s*-->\s*$")
EXIT = re.compile(r"#\s*exit status (\d+)\s*$")

failures = []


def fail(message):
    failures.append(message)
    print("FAIL: " + message)


class Block:
    def __init__(self, page, line, lang, marker):
        self.page, self.line, self.lang, self.marker = page, line, lang, marker
        self.lines = []
        self.end = line  # line of the closing fence

    def where(self):
        return f"{self.page}:{self.line}"

    def kind(self):
        return self.marker[0] if self.marker else None

    def arg(self):
        return self.marker[1] if self.marker else ""


def parse(path, page):
    """The fenced blocks of a Markdown page and its stand-alone pending markers."""
    blocks, pending = [], []
    with open(path, encoding="utf-8") as f:
        text = f.read().splitlines()
    last = None  # the last non-blank line before the current one
    i = 0
    while i < len(text):
        m = FENCE.match(text[i])
        if m:
            marker = None
            if last is not None:
                mm = MARKER.match(text[last])
                if mm and mm.group(1) in ("help", "test"):
                    value = mm.group(2)
                    if mm.group(1) == "help":
                        marker = ("help", value)
                    else:
                        word, _, rest = value.partition(" ")
                        marker = (word, rest.strip())
            block = Block(page, i + 1, m.group(3), marker)
            fence = m.group(2)
            i += 1
            while i < len(text) and text[i].strip() != fence:
                block.lines.append(text[i])
                i += 1
            block.end = i + 1
            blocks.append(block)
            last = i
            i += 1
            continue
        mm = MARKER.match(text[i])
        if mm and mm.group(1) == "pending":
            pending.append((f"{page}:{i + 1}", mm.group(2)))
        if text[i].strip():
            last = i
        i += 1
    return blocks, pending


def pages(src):
    docs = os.path.join(src, "docs")
    names = sorted(n for n in os.listdir(docs) if n.endswith(".md"))
    if not names:
        fail(f"no pages in {docs}")
    return [(os.path.join(docs, n), "docs/" + n) for n in names]


def normalised(text, folder=None):
    """Lines without CR and trailing blanks, trailing empty lines dropped; the scratch folder shown."""
    if folder:
        text = text.replace(os.path.realpath(folder), SHOWN_FOLDER).replace(folder, SHOWN_FOLDER)
    lines = [l.rstrip() for l in text.replace("\r", "").split("\n")]
    while lines and not lines[-1]:
        lines.pop()
    return lines


def diff(want, got, label):
    return "\n".join(difflib.unified_diff(want, got, f"{label} (guide)", f"{label} (program)", lineterm="", n=1))


def run_help(veltra, name):
    args = [veltra] + ([] if name == "veltra" else [name]) + ["--help"]
    out = subprocess.run(args, capture_output=True, text=True)
    if out.returncode != 0:
        fail(f"{' '.join(args[1:])} exited with {out.returncode}")
    return out.stdout


def help_lists(text):
    """The named lists of a help text ("Options:", "Subcommands:", ...) as (head, description) pairs."""
    lists, current = {}, None
    for line in text.splitlines():
        m = re.match(r"^(\w+):$", line)
        if m:
            current = lists.setdefault(m.group(1), [])
        elif current is not None and line.startswith("  ") and line.strip():
            if line.startswith("   ") and current and line.strip() and not line.strip().startswith("-"):
                # a description wrapped onto a line of its own
                head, text = current[-1]
                current[-1] = (head, (text + " " + line.strip()).strip())
                continue
            parts = re.split(r"\s{2,}", line.strip(), maxsplit=1)
            current.append((parts[0], parts[1] if len(parts) > 1 else ""))
    return lists


def subcommands(veltra):
    return [h for h, _ in help_lists(run_help(veltra, "veltra")).get("Subcommands", [])]


def exists(veltra, name):
    """Whether the program has the command (or, for veltra-gui, the window program is built beside it)."""
    if name == "veltra-gui":
        return os.path.exists(os.path.join(os.path.dirname(os.path.realpath(veltra)), "veltra-gui"))
    return name in subcommands(veltra)


def section(src, command):
    """The text of '## veltra COMMAND' in docs/cli.md, without its fenced blocks."""
    path = os.path.join(src, "docs", "cli.md")
    with open(path, encoding="utf-8") as f:
        lines = f.read().splitlines()
    out, inside, fenced = [], False, False
    for line in lines:
        if line.startswith("## ") or line.startswith("### "):
            inside = line.strip() == f"## veltra {command}"
            continue
        if FENCE.match(line):
            fenced = not fenced
            continue
        if inside and not fenced:
            out.append(line)
    return "\n".join(out)


def check_help(veltra, src, checked):
    blocks = [b for path, page in pages(src) for b in parse(path, page)[0] if b.kind() == "help"]
    program = subcommands(veltra)
    if not program:
        fail("veltra --help lists no commands")
    for name in checked:
        if name not in program:
            fail(f"'{name}' is in the checked list of tests/cli/guide_help.sh, but veltra has no such command")
    for name in program:
        if name not in checked:
            fail(f"veltra {name} is not in the checked list: document it in docs/cli.md (with its help block) "
                 f"and add it to tests/cli/guide_help.sh")
    for name in ["veltra"] + checked:
        mine = [b for b in blocks if b.arg() == name]
        if len(mine) != 1:
            fail(f"the guide has {len(mine)} help blocks of '{name}', it needs one (<!-- help: {name} -->)")
            continue
        want, got = normalised("\n".join(mine[0].lines)), normalised(run_help(veltra, name))
        if want != got:
            fail(f"{mine[0].where()}: the help of '{name}' differs from the program's; "
                 f"run guide.py update and review the change\n" + diff(want, got, name))
    for b in blocks:
        if b.arg() not in ["veltra"] + checked:
            fail(f"{b.where()}: help block of '{b.arg()}', which is not in the checked list")

    # The options the reference explains are those the program has, no more, no fewer.
    for name in checked:
        text = section(src, name)
        if not text.strip():
            fail(f"docs/cli.md has no section '## veltra {name}'")
            continue
        flags = set()
        for head, _ in help_lists(run_help(veltra, name)).get("Options", []):
            flags.update(f for f in head.split()[0].split(",") if f not in ("-h", "--help"))
        quoted = " ".join(re.findall(r"`([^`]*)`", text))
        for flag in sorted(flags):
            if not re.search(r"(?<![\w-])" + re.escape(flag) + r"(?![\w-])", quoted):
                fail(f"docs/cli.md, veltra {name}: the option {flag} of the program is not explained")
        for flag in sorted(set(re.findall(r"(?<![\w-])(--?[A-Za-z][\w-]*)", quoted))):
            if flag not in flags and flag not in ("-h", "--help", "--version"):
                fail(f"docs/cli.md, veltra {name}: the guide names {flag}, which veltra {name} does not have")
        synopsis = re.findall(r"`(veltra [^`]*)`", text)
        if not any(s.startswith(f"veltra {name}") for s in synopsis):
            fail(f"docs/cli.md, veltra {name}: no synopsis `veltra {name} ...`")


def anchors(path):
    """The anchors GitHub gives the headings of a Markdown page."""
    seen, out = {}, set()
    fenced = False
    with open(path, encoding="utf-8") as f:
        for line in f.read().splitlines():
            if FENCE.match(line):
                fenced = not fenced
            if fenced or not re.match(r"^#{1,6} ", line):
                continue
            slug = re.sub(r"[^\w\- ]", "", line.lstrip("#").strip().lower()).replace(" ", "-")
            n = seen.get(slug, 0)
            seen[slug] = n + 1
            out.add(slug if n == 0 else f"{slug}-{n}")
    return out


def check_links(src):
    """Every relative link of the guide (and of the README's links into it) leads to a file and heading."""
    files = [(p, page) for p, page in pages(src)] + [(os.path.join(src, "README.md"), "README.md")]
    for path, page in files:
        with open(path, encoding="utf-8") as f:
            text = re.sub(r"```.*?```", "", f.read(), flags=re.S)
        for target in re.findall(r"\]\(([^)\s]+)\)", text):
            if re.match(r"^[a-z]+:", target):
                continue
            file_part, _, anchor = target.partition("#")
            dest = os.path.normpath(os.path.join(os.path.dirname(path), file_part)) if file_part else path
            if not os.path.exists(dest):
                fail(f"{page}: the link {target} leads to no file")
            elif anchor and dest.endswith(".md") and anchor not in anchors(dest):
                fail(f"{page}: the link {target} leads to no heading of {os.path.relpath(dest, src)}")


def logical_lines(lines):
    """Shell lines with backslash continuations joined; comments and empty lines left out."""
    out, current = [], ""
    for line in lines:
        if line.rstrip().endswith("\\"):
            current += line.rstrip()[:-1] + " "
            continue
        current += line
        if current.strip() and not current.strip().startswith("#"):
            out.append(current.strip())
        current = ""
    return out


def run_line(line, folder, veltra, where):
    m = EXIT.search(line)
    expected = int(m.group(1)) if m else 0
    env = dict(os.environ)
    env["PATH"] = os.path.dirname(os.path.realpath(veltra)) + os.pathsep + env.get("PATH", "")
    out = subprocess.run(["bash", "-c", line], cwd=folder, env=env, capture_output=True, text=True)
    if out.returncode != expected:
        fail(f"{where}: `{line}` exited with {out.returncode}, expected {expected}\n{out.stdout}{out.stderr}")
    return out.stdout


def pending_name(b):
    return b.arg().split()[0] if b.arg() else ""


def run_page(veltra, path, page, update):
    """Runs one page's commands in a scratch folder. Returns the count and the outputs to update."""
    blocks, standalone = parse(path, page)
    count, last, last_where, updates = 0, None, None, []
    for where, name in standalone:
        if exists(veltra, name):
            fail(f"{where}: '{name}' exists now: move its text out of 'Coming' and remove the pending markers")
    folder = tempfile.mkdtemp(prefix="veltra-guide-")
    try:
        for b in blocks:
            kind = b.kind()
            if kind == "pending":
                if exists(veltra, pending_name(b)):
                    fail(f"{b.where()}: '{pending_name(b)}' exists now: remove the pending marker of this block")
                continue
            if kind in ("skip", "help"):
                continue
            if b.lang == "sh":
                for line in logical_lines(b.lines):
                    last = run_line(line, folder, veltra, b.where())
                    last_where = b.where()
                    count += 1
                continue
            if kind == "output":
                if last is None:
                    fail(f"{b.where()}: an output block with no command run before it")
                    continue
                want, got = normalised("\n".join(b.lines)), normalised(last, folder)
                if want != got:
                    if update:
                        updates.append((b, got))
                    else:
                        fail(f"{b.where()}: the output shown differs from what the command at {last_where} "
                             f"prints; run guide.py update and review the change\n" + diff(want, got, "output"))
                continue
            if kind == "excerpt":
                check_excerpt(b, folder)
                continue
            if kind is not None:
                fail(f"{b.where()}: unknown marker '{kind}'")
            if any(l.strip().startswith("veltra ") for l in b.lines):
                fail(f"{b.where()}: a ```{b.lang} block shows a veltra command that no test runs: "
                     f"make it an sh block or mark it <!-- test: skip REASON -->")
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    return count, updates


def check_excerpt(b, folder):
    path = os.path.join(folder, b.arg())
    if not os.path.isfile(path):
        fail(f"{b.where()}: the excerpt's file {b.arg()} was not made by the commands before it")
        return
    with open(path, encoding="utf-8", errors="replace") as f:
        lines = normalised(f.read(), folder)
    parts, part = [], []
    for line in normalised("\n".join(b.lines)):
        if line.strip() == "...":
            parts.append(part)
            part = []
        else:
            part.append(line)
    parts.append(part)
    at = 0
    for part in parts:
        if not part:
            continue
        found = next((i for i in range(at, len(lines) - len(part) + 1) if lines[i:i + len(part)] == part), None)
        if found is None:
            fail(f"{b.where()}: these lines are not in {b.arg()} (in this order):\n  " + "\n  ".join(part))
            return
        at = found + len(part)


def man_examples(src):
    """The command lines of the man page's examples (.EX ... .EE), troff escapes undone."""
    with open(os.path.join(src, "docs", "man", "veltra.1"), encoding="utf-8") as f:
        text = f.read().splitlines()
    out, inside = [], False
    for line in text:
        if line.startswith(".EX"):
            inside = True
        elif line.startswith(".EE"):
            inside = False
        elif inside and line.startswith("veltra "):
            out.append(line.replace("\\-", "-").replace("\\e", "\\"))
    return out


def run_commands(veltra, src, update=False):
    total, all_updates = 0, []
    for path, page in pages(src):
        count, updates = run_page(veltra, path, page, update)
        total += count
        all_updates += updates
    folder = tempfile.mkdtemp(prefix="veltra-man-")
    try:
        lines = man_examples(src)
        if not lines:
            fail("docs/man/veltra.1 shows no example commands")
        for line in lines:
            run_line(line, folder, veltra, "docs/man/veltra.1 EXAMPLES")
            total += 1
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    if total < 10:
        fail(f"only {total} commands were found in the guide: the markers are not being read")
    print(f"{total} commands of the guide and the man page run")
    return all_updates


def make_man(veltra, src, output):
    out = subprocess.run([sys.executable, os.path.join(src, "scripts", "make-man.py"), veltra,
                          os.path.join(src, "docs", "man", "veltra.1.in"), output], capture_output=True, text=True)
    if out.returncode != 0:
        fail(f"scripts/make-man.py failed: {out.stderr}{out.stdout}")
        return False
    return True


def check_man(veltra, src):
    committed = os.path.join(src, "docs", "man", "veltra.1")
    with tempfile.TemporaryDirectory() as folder:
        made = os.path.join(folder, "veltra.1")
        if not make_man(veltra, src, made):
            return
        with open(made, encoding="utf-8") as f:
            want = f.read()
    if not os.path.isfile(committed):
        fail("docs/man/veltra.1 is missing; run guide.py update")
        return
    with open(committed, encoding="utf-8") as f:
        got = f.read()
    if got != want:
        fail("docs/man/veltra.1 is not what its template and the program's help make; run guide.py update "
             "and review the change\n" + diff(got.splitlines(), want.splitlines(), "veltra.1"))
    groff = shutil.which("groff")
    if not groff:
        fail("groff is not installed (Debian package groff-base): the man page cannot be checked")
        return
    lint = subprocess.run([groff, "-man", "-ww", "-z", "-Tutf8", committed], capture_output=True, text=True)
    if lint.returncode != 0 or lint.stderr.strip():
        fail("groff finds faults in docs/man/veltra.1:\n" + lint.stderr)


def update(veltra, src):
    """Rewrites the help blocks and the shown outputs from the program, and makes the man page."""
    for path, page in pages(src):
        blocks, _ = parse(path, page)
        _, outputs = run_page(veltra, path, page, update=True)
        replace = {b.line: normalised(run_help(veltra, b.arg())) for b in blocks if b.kind() == "help"}
        replace.update({b.line: got for b, got in outputs})
        if not replace:
            continue
        with open(path, encoding="utf-8") as f:
            lines = f.read().splitlines()
        for b in sorted(blocks, key=lambda b: -b.line):
            if b.line in replace:
                lines[b.line:b.end - 1] = replace[b.line]
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write("\n".join(lines) + "\n")
    make_man(veltra, src, os.path.join(src, "docs", "man", "veltra.1"))


def main():
    if len(sys.argv) < 4 or sys.argv[1] not in ("help", "commands", "man", "update"):
        sys.exit(__doc__)
    mode, veltra, src = sys.argv[1], os.path.realpath(sys.argv[2]), os.path.realpath(sys.argv[3])
    if not os.access(veltra, os.X_OK):
        sys.exit(f"FAIL: no veltra program at {veltra}")
    if mode == "help":
        if len(sys.argv) < 5:
            sys.exit("FAIL: no commands to check")
        check_help(veltra, src, sys.argv[4:])
        check_links(src)
    elif mode == "commands":
        run_commands(veltra, src)
    elif mode == "man":
        check_man(veltra, src)
    else:
        update(veltra, src)
    if failures:
        print(f"{len(failures)} failure(s)")
        sys.exit(1)
    print(f"guide {mode}: all checks passed")


if __name__ == "__main__":
    main()
