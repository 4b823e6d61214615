#!/usr/bin/env python3
"""Checks the compiled chess glossary.

    check_glossary.py TERMS GLOSSARY.CHM CHMCMD CHMLS

Every term of the list has its page in the file, beside the contents and
the index, which list every term; compiling the project afresh reports no
missing file or broken link.
"""
import os
import subprocess
import sys
import tempfile

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)
import mkglossary  # noqa: E402


def main():
    terms_path, chm, chmcmd, chmls = sys.argv[1:5]
    terms = mkglossary.read_terms(terms_path)
    listing = subprocess.run([chmls, "list", chm], capture_output=True, text=True, check=True).stdout
    names = {line.split()[-1].lstrip("/") for line in listing.splitlines() if line.strip().endswith((".htm", ".hhc", ".hhk"))}
    faults = []
    for term, _ in terms:
        if mkglossary.page_name(term) not in names:
            faults.append("no page for %s" % term)
    for member in ("index.htm", "Glossary.hhc", "Glossary.hhk"):
        if member not in names:
            faults.append("no %s in the file" % member)
    with tempfile.TemporaryDirectory() as work:
        subprocess.run([sys.executable, os.path.join(here, "mkglossary.py"), terms_path, work], check=True)
        with open(os.path.join(work, "Glossary.hhc"), encoding="ascii") as f:
            contents = f.read()
        with open(os.path.join(work, "Glossary.hhk"), encoding="ascii") as f:
            index = f.read()
        for term, _ in terms:
            local = 'value="%s"' % mkglossary.page_name(term)
            if local not in contents or local not in index:
                faults.append("%s missing from the contents or the index" % term)
        report = subprocess.run([chmcmd, "Glossary.hhp"], cwd=work, capture_output=True, text=True)
        text = (report.stdout + report.stderr).lower()
        if report.returncode != 0 or any(w in text for w in ("not found", "missing", "error", "warning")):
            faults.append("chmcmd reported:\n" + report.stdout + report.stderr)
    for fault in faults:
        print("glossary:", fault)
    print("glossary: %d terms checked" % len(terms))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
