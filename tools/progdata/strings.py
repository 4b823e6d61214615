"""The program's string sources compiled into a string table and a header.

Interface: parse(paths) -> list of Entry, rc_text(entries) -> str,
header_text(entries) -> str, build(srcdir, outdir) writes
outdir/rw_strings.rc and outdir/rw_strings.h from every srcdir/*.str.

A source line is `IDS_NAME  ID  "text"`; lines that are empty or start
with "#" are skipped. The text is printable ASCII with the escapes \\\\, \\",
\\r, \\n and \\t. Ids (1..65535) and names are unique over all files; any
fault stops the build with the file and line.

In the resource script a backslash is written as \\\\, a quote as "" (the
resource compiler's own escape), and CR, LF and tab as \\r, \\n and \\t; no
other character needs one, so every text loads back as written.
"""

import glob
import os
import re
from collections import namedtuple

Entry = namedtuple("Entry", "name id text path line")

_LINE = re.compile(r'^(IDS_[A-Z0-9_]+)\s+([0-9]+)\s+"(.*)"\s*$')
_ESCAPES = {"\\": "\\", '"': '"', "r": "\r", "n": "\n", "t": "\t"}


class SourceError(Exception):
    pass


def _unescape(body, where):
    out, i = [], 0
    while i < len(body):
        c = body[i]
        if c == "\\":
            if i + 1 >= len(body) or body[i + 1] not in _ESCAPES:
                raise SourceError("%s: unknown escape in text" % where)
            out.append(_ESCAPES[body[i + 1]])
            i += 2
            continue
        if c == '"':
            raise SourceError('%s: a quote inside the text must be written \\"' % where)
        if not (" " <= c <= "~"):
            raise SourceError("%s: only printable ASCII in texts" % where)
        out.append(c)
        i += 1
    return "".join(out)


def parse(paths):
    entries, by_id, by_name = [], {}, {}
    for path in paths:
        with open(path, encoding="ascii", errors="strict") as f:
            lines = f.read().split("\n")
        for number, raw in enumerate(lines, 1):
            line = raw.rstrip("\r")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            where = "%s:%d" % (path, number)
            m = _LINE.match(line.strip())
            if not m:
                raise SourceError('%s: expected IDS_NAME ID "text"' % where)
            name, sid = m.group(1), int(m.group(2))
            if not 1 <= sid <= 65535:
                raise SourceError("%s: id %d outside 1..65535" % (where, sid))
            if sid in by_id:
                raise SourceError("%s: id %d already used at %s" % (where, sid, by_id[sid]))
            if name in by_name:
                raise SourceError("%s: %s already defined at %s" % (where, name, by_name[name]))
            by_id[sid], by_name[name] = where, where
            entries.append(Entry(name, sid, _unescape(m.group(3), where), path, number))
    return entries


def _rc_literal(text):
    out = []
    for c in text:
        out.append({"\\": "\\\\", '"': '""', "\r": "\\r", "\n": "\\n", "\t": "\\t"}.get(c, c))
    return '"' + "".join(out) + '"'


def rc_text(entries):
    lines = ["// The program's string table, made by tools/progdata/strings.py from", "// Code/shell/res/*.str.",
             "LANGUAGE 9, 1", "STRINGTABLE", "BEGIN"]
    for e in sorted(entries, key=lambda e: e.id):
        lines.append("  %d, %s" % (e.id, _rc_literal(e.text)))
    lines.append("END")
    return "\n".join(lines) + "\n"


def header_text(entries):
    lines = ["// Ids of the program's strings, made by tools/progdata/strings.py from",
             "// Code/shell/res/*.str.", "#ifndef RW_STRINGS_H", "#define RW_STRINGS_H", ""]
    current = None
    for e in entries:
        if e.path != current:
            if current is not None:
                lines.append("")
            lines.append("// %s" % os.path.basename(e.path))
            current = e.path
        lines.append("#define %-28s %d" % (e.name, e.id))
    lines += ["", "#endif"]
    return "\n".join(lines) + "\n"


def sources(srcdir):
    return sorted(glob.glob(os.path.join(srcdir, "*.str")))


def _write_if_changed(path, text):
    """Rewrites a file only when its text changes, so code that includes the
    header is not rebuilt for nothing."""
    try:
        with open(path, encoding="ascii") as f:
            if f.read() == text:
                return
    except OSError:
        pass
    with open(path, "w", newline="\n", encoding="ascii") as f:
        f.write(text)


def build(srcdir, outdir):
    os.makedirs(outdir, exist_ok=True)
    entries = parse(sources(srcdir))
    _write_if_changed(os.path.join(outdir, "rw_strings.rc"), rc_text(entries))
    _write_if_changed(os.path.join(outdir, "rw_strings.h"), header_text(entries))
    return entries
