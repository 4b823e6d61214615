#!/usr/bin/env python3
"""Writes the about box's credits page from CREDITS.md: one heading line per
entry (its text up to the first colon) and the rest word-wrapped into
centred lines of at most 38 characters, as C string literals.

    credits_page.py CREDITS.md OUT.inc
"""
import re
import sys
import textwrap


def entries(markdown):
    items, current = [], None
    for line in markdown.splitlines():
        if line.startswith("- "):
            current = line[2:].strip()
            items.append(current)
        elif current is not None and line.strip():
            items[-1] += " " + line.strip()
        else:
            current = None
    return items


def plain(text):
    text = re.sub(r"`([^`]*)`", r"\1", text)
    text = text.replace('"', "'").replace("\\", "/")
    return "".join(c if 32 <= ord(c) < 127 else "-" for c in text)


def main():
    source, out = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        items = entries(f.read())
    lines = ["TCredits", "C", "CRookwell is built from its own", "Csources and these free sources:", "C"]
    for item in items:
        item = plain(item)
        head, _, rest = item.partition(":")
        if not rest:
            head, rest = "", item
        for part in textwrap.wrap(head, 38):
            lines.append("T" + part)
        for part in textwrap.wrap(rest.strip(), 38):
            lines.append("C" + part)
        lines.append("C")
    with open(out, "w", encoding="ascii") as f:
        f.write("// Made from CREDITS.md by tools/about/credits_page.py.\n")
        for line in lines:
            f.write('"%s",\n' % line)


if __name__ == "__main__":
    main()
