#!/usr/bin/env python3
"""Makes the manual page veltra.1 from its template and the program's own help texts.

Usage: python3 scripts/make-man.py VELTRA TEMPLATE OUTPUT

The template (docs/man/veltra.1.in) holds the prose; these lines in it are replaced:
  @VERSION@            the version that `veltra --version` prints
  @SYNOPSIS@           one synopsis line per command, from the "Usage:" lines of the help
  @COMMAND name@       the command's help: its description, usage, arguments and options
Every command of `veltra --help` must have its @COMMAND@ line, and every @COMMAND@ line
must name a command of the program, so that the page cannot fall behind the program.
"""
import re
import subprocess
import sys


def help_text(veltra, *args):
    out = subprocess.run([veltra, *args, "--help"], capture_output=True, text=True)
    if out.returncode != 0:
        sys.exit(f"make-man: {veltra} {' '.join(args)} --help failed with status {out.returncode}")
    return out.stdout


def sections(text):
    """The help text as its description, its usage line and its named lists."""
    lines = text.splitlines()
    description = lines[0].strip() if lines and not lines[0].startswith("Usage:") else ""
    usage = next((l[len("Usage: "):].strip() for l in lines if l.startswith("Usage: ")), "")
    lists, current = {}, None
    for line in lines:
        m = re.match(r"^(\w+):$", line)
        if m:
            current = lists.setdefault(m.group(1), [])
        elif current is not None and line.startswith("  ") and line.strip():
            parts = re.split(r"\s{2,}", line.strip(), maxsplit=1)
            current.append((parts[0], parts[1] if len(parts) > 1 else ""))
    return description, usage, lists


def subcommands(veltra):
    _, _, lists = sections(help_text(veltra))
    return [name for name, _ in lists.get("Subcommands", [])]


def esc(text):
    """Plain text for troff: backslashes escaped, minus signs as minus signs."""
    return text.replace("\\", "\\e").replace("-", "\\-")


def line(text):
    """A text line that troff does not take for a request."""
    return "\\&" + text if text[:1] in (".", "'") else text


def usage_troff(usage):
    """'veltra table [OPTIONS] FILE [N]' with the program and command bold, the rest italic."""
    words = usage.split()
    head = [w for w in words[:2] if not w.startswith("[")]
    rest = words[len(head):]
    out = [f"\\fB{esc(' '.join(head))}\\fR"]
    for w in rest:
        m = re.match(r"^(\[?)([^\[\].]+)((?:\.\.\.)?)(\]?)$", w)
        if m:
            out.append(f"{m.group(1)}\\fI{esc(m.group(2))}\\fR{m.group(3)}{m.group(4)}")
        else:
            out.append(esc(w))
    return " ".join(out)


def entry_troff(head, text):
    """One .TP entry of an argument or option list."""
    words = head.split()
    flags, kind = words[0], words[1:]
    required = "REQUIRED" in kind
    kind = [k for k in kind if k != "REQUIRED"]
    if flags.startswith("-"):
        term = ", ".join(f"\\fB{esc(f)}\\fR" for f in flags.split(","))
        value = next((k for k in kind if k.isupper() and k.isalpha()), "")
        if value:
            term += f" \\fI{value}\\fR"
    else:
        term = f"\\fI{esc(flags)}\\fR" + (" ..." if "..." in kind else "")
    m = re.search(r"in \[(\S+) - (\S+)\]", " ".join(kind))
    body = text
    if m:
        body += f" ({m.group(1)} to {m.group(2)})"
    body = sentence(body)
    if required:
        body += " Required."
    return [".TP", term, line(esc(body))]


def sentence(text):
    """The help's short texts as sentences: a full stop at the end."""
    return text if not text or text.endswith((".", "!", "?")) else text + "."


def command_troff(veltra, name):
    description, usage, lists = sections(help_text(veltra, name))
    out = [f'.SS "veltra {name}"', line(esc(sentence(description))), ".PP", usage_troff(usage)]
    for title in ("Positionals", "Options"):
        for head, text in lists.get(title, []):
            if head.split()[0] == "-h,--help":
                continue
            out += entry_troff(head, text)
    # The template's own words on the command follow as a paragraph of their own.
    out.append(".PP")
    return out


def make(veltra, template):
    version = subprocess.run([veltra, "--version"], capture_output=True, text=True).stdout.strip()
    commands = subcommands(veltra)
    named = re.findall(r"^@COMMAND (\S+)@$", template, flags=re.M)
    missing = [c for c in commands if c not in named]
    unknown = [c for c in named if c not in commands]
    if missing or unknown:
        msg = []
        if missing:
            msg.append("no @COMMAND@ section for " + ", ".join(missing))
        if unknown:
            msg.append("@COMMAND@ sections for commands veltra does not have: " + ", ".join(unknown))
        sys.exit("make-man: " + "; ".join(msg))
    out = []
    for t in template.splitlines():
        if t == "@SYNOPSIS@":
            for i, c in enumerate(commands):
                if i:
                    out.append(".br")
                out.append(usage_troff(sections(help_text(veltra, c))[1]))
        elif t.startswith("@COMMAND "):
            out += command_troff(veltra, t[len("@COMMAND "):-1])
        else:
            out.append(t.replace("@VERSION@", version))
    return "\n".join(out) + "\n"


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    veltra, template, output = sys.argv[1:]
    with open(template, encoding="utf-8") as f:
        page = make(veltra, f.read())
    with open(output, "w", encoding="utf-8", newline="\n") as f:
        f.write(page)


if __name__ == "__main__":
    main()
