#!/usr/bin/env python3
"""Writes the chess glossary's help project from terms.txt.

    mkglossary.py TERMS OUTDIR

OUTDIR receives one page per term, a welcome page, the contents (.hhc),
the index (.hhk) and the project (.hhp) of "Glossary.chm", which chmcmd
then compiles. A term named {{Like this}} in an explanation links to its
page; naming a term that has no page stops the build.
"""
import html
import os
import re
import sys

STYLE = ("body{font-family:Arial,sans-serif;font-size:10pt;margin:16px;color:#202020}"
         "h1{color:#203060;font-size:14pt}a{color:#205090}p.see{font-size:9pt;color:#505050}")
LINK = re.compile(r"\{\{([^{}]+)\}\}")


def read_terms(path):
    terms = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            term, sep, text = line.partition("|")
            if not sep or not term.strip() or not text.strip():
                sys.exit("%s:%d: expected 'Term | explanation'" % (path, number))
            terms.append((term.strip(), text.strip()))
    names = [t for t, _ in terms]
    if len(set(n.lower() for n in names)) != len(names):
        sys.exit("%s: a term is listed twice" % path)
    return terms


def page_name(term):
    return re.sub(r"[^a-z0-9]+", "_", term.lower()).strip("_") + ".htm"


def page(title, body):
    return ("<html><head><title>%s</title><style>%s</style></head>\n<body><h1>%s</h1>\n%s\n</body></html>\n"
            % (html.escape(title), STYLE, html.escape(title), body))


def linked(text, known):
    out, at = [], 0
    for m in LINK.finditer(text):
        target = m.group(1)
        if target.lower() not in known:
            sys.exit("glossary: '%s' links to no term" % target)
        out.append(html.escape(text[at:m.start()]))
        out.append('<a href="%s">%s</a>' % (known[target.lower()], html.escape(target)))
        at = m.end()
    out.append(html.escape(text[at:]))
    return "".join(out)


def sitemap(entries):
    rows = ['<li><object type="text/sitemap"><param name="Name" value="%s"><param name="Local" value="%s"></object>'
            % (html.escape(name), local) for name, local in entries]
    return "<html><body><ul>\n%s\n</ul></body></html>\n" % "\n".join(rows)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    terms = read_terms(sys.argv[1])
    out = sys.argv[2]
    os.makedirs(out, exist_ok=True)
    known = {t.lower(): page_name(t) for t, _ in terms}
    files = {}
    for term, text in terms:
        files[page_name(term)] = page(term, "<p>%s</p>\n<p class=\"see\"><a href=\"index.htm\">All terms</a></p>"
                                      % linked(text, known))
    ordered = sorted(terms, key=lambda t: t[0].lower())
    letters = []
    for term, _ in ordered:
        letter = term[0].upper()
        if not letters or letters[-1][0] != letter:
            letters.append((letter, []))
        letters[-1][1].append(term)
    body = ["<p>Chess words and what they mean. Choose a term, or use the Index tab to look one up.</p>"]
    for letter, group in letters:
        body.append("<p><b>%s</b>&nbsp; %s</p>" % (letter, " &middot; ".join(
            '<a href="%s">%s</a>' % (known[t.lower()], html.escape(t)) for t in group)))
    files["index.htm"] = page("Chess Glossary", "\n".join(body))
    entries = [(t, known[t.lower()]) for t, _ in ordered]
    files["Glossary.hhc"] = sitemap([("Chess Glossary", "index.htm")] + entries)
    files["Glossary.hhk"] = sitemap(entries)
    files["Glossary.hhp"] = "\r\n".join([
        "[OPTIONS]", "Compatibility=1.1 or later", "Compiled file=Glossary.chm", "Contents file=Glossary.hhc",
        "Index file=Glossary.hhk", "Default topic=index.htm", "Display compile progress=No",
        "Language=0x409 English (United States)", "Title=Chess Glossary", "", "[FILES]", "index.htm"]
        + [known[t.lower()] for t, _ in ordered] + [""])
    for name, text in files.items():
        with open(os.path.join(out, name), "w", encoding="ascii", errors="xmlcharrefreplace", newline="") as f:
            f.write(text)


if __name__ == "__main__":
    main()
