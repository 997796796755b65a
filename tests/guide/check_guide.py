"""Checks one built-in user guide: a well-formed HTML 5 document in UTF-8
with the program's headings in the right order and the facts a user looks
for. Usage: check_guide.py guide.html en|nl"""

import html.entities
import sys
from html.parser import HTMLParser

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"}

EXPECTED = {
    "en": {
        "title": "Zandrel - user guide",
        "headings": ["Input", "Projects", "Export (2D)", "Export (3D)", "How the chain is laid",
                     "Formulas", "Warnings", "Drawing"],
        "facts": ["05B", "32B", "ISO 606", "DIN 8187", "DIN 8196", ".zdr", "Ctrl+O", "Ctrl+S",
                  "INNER_PLATE", "OUTER_PLATE", "PITCH_CIRCLE", "IDLER", "ROLLER", "PIN",
                  "0.001 mm", "0.003 mm", "120°", "80 %", "px/mm", "3DFACE", "z = 0"],
    },
    "nl": {
        "title": "Zandrel - handleiding",
        "headings": ["Invoer", "Projecten", "Exporteren (2D)", "Exporteren (3D)", "Hoe de ketting gelegd wordt",
                     "Formules", "Waarschuwingen", "Tekening"],
        "facts": ["05B", "32B", "ISO 606", "DIN 8187", "DIN 8196", ".zdr", "Ctrl+O", "Ctrl+S",
                  "BINNENSCHALM", "BUITENSCHALM", "STEEKCIRKEL", "SPANWIEL", "ROL", "PEN",
                  "0,001 mm", "0,003 mm", "120°", "80 %", "px/mm", "3DFACE", "z = 0"],
    },
}


class GuideChecker(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=False)
        self.errors = []
        self.stack = []
        self.html_lang = None
        self.charset = None
        self.title = ""
        self.h1 = []
        self.h2 = []
        self.text = []
        self.table_rows = []  # data rows (with td) per table
        self.doctype = None
        self._capture = None
        self._row_has_td = False

    def handle_decl(self, decl):
        self.doctype = decl

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "html":
            self.html_lang = attrs.get("lang")
        if tag == "meta" and "charset" in attrs:
            self.charset = attrs["charset"]
        if tag == "table":
            self.table_rows.append(0)
        if tag == "tr":
            self._row_has_td = False
        if tag == "td":
            self._row_has_td = True
        if tag in ("title", "h1", "h2"):
            self._capture = [tag, ""]
        if tag not in VOID:
            self.stack.append((tag, self.getpos()))

    def handle_startendtag(self, tag, attrs):
        if tag not in VOID:
            self.errors.append(f"self-closing <{tag}/> at {self.getpos()}")
        self.handle_starttag(tag, attrs)
        if tag not in VOID:
            self.stack.pop()

    def handle_endtag(self, tag):
        if tag in VOID:
            self.errors.append(f"end tag of void element </{tag}> at {self.getpos()}")
            return
        if not self.stack:
            self.errors.append(f"</{tag}> without an open element at {self.getpos()}")
            return
        open_tag, where = self.stack.pop()
        if open_tag != tag:
            self.errors.append(f"</{tag}> at {self.getpos()} closes <{open_tag}> opened at {where}")
        if tag == "tr" and self._row_has_td and self.table_rows:
            self.table_rows[-1] += 1
        if self._capture and self._capture[0] == tag:
            kind, content = self._capture
            content = " ".join(content.split())
            if kind == "title":
                self.title = content
            elif kind == "h1":
                self.h1.append(content)
            else:
                self.h2.append(content)
            self._capture = None

    def handle_data(self, data):
        self.text.append(data)
        if self._capture:
            self._capture[1] += data

    def handle_entityref(self, name):
        if name + ";" not in html.entities.html5:
            self.errors.append(f"unknown entity &{name}; at {self.getpos()}")
        char = html.entities.html5.get(name + ";", "")
        self.handle_data(char)

    def handle_charref(self, name):
        self.handle_data(chr(int(name[1:], 16) if name[:1] in "xX" else int(name)))


def check(path, lang):
    expected = EXPECTED[lang]
    errors = []
    raw = open(path, "rb").read()
    if raw.startswith(b"\xef\xbb\xbf"):
        errors.append("the document starts with a byte order mark")
    try:
        document = raw.decode("utf-8")
    except UnicodeDecodeError as error:
        return [f"not UTF-8: {error}"]

    parser = GuideChecker()
    parser.feed(document)
    parser.close()
    errors += parser.errors
    for tag, where in parser.stack:
        errors.append(f"<{tag}> opened at {where} is never closed")

    if not document.lstrip().lower().startswith("<!doctype html>"):
        errors.append("the document does not start with <!DOCTYPE html>")
    if parser.html_lang != lang:
        errors.append(f"html lang is {parser.html_lang!r}, expected {lang!r}")
    if (parser.charset or "").lower() != "utf-8":
        errors.append(f"meta charset is {parser.charset!r}")
    if parser.title != expected["title"]:
        errors.append(f"title is {parser.title!r}")
    if parser.h1 != ["Zandrel"]:
        errors.append(f"first-level headings are {parser.h1!r}")
    if parser.h2 != expected["headings"]:
        errors.append(f"second-level headings are {parser.h2!r}, expected {expected['headings']!r}")
    # The input table has a row per input; the 2D layers and the 3D parts have tables too.
    if len(parser.table_rows) < 3 or parser.table_rows[0] < 8:
        errors.append(f"tables with data rows {parser.table_rows!r}: the input table needs a row per input")
    text = "".join(parser.text)
    for fact in expected["facts"]:
        if fact not in text:
            errors.append(f"the text does not mention {fact!r}")
    if "<style>" not in document or "sans-serif" not in document:
        errors.append("the embedded sans-serif style sheet is missing")
    return errors


def main():
    if len(sys.argv) != 3 or sys.argv[2] not in EXPECTED:
        print(__doc__)
        return 2
    errors = check(sys.argv[1], sys.argv[2])
    for error in errors:
        print(f"{sys.argv[1]}: {error}")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
