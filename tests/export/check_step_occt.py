"""Has a real STEP reader, OpenCASCADE's DRAW in batch mode, read STEP files
and checks what a CAD user would meet: the file loads with no fault in its
model, its roots transfer with no check message and no error, the shape holds
one TYPE (EDGE for the curves of a 2D file, SOLID for the solids of a 3D one)
for every item the writer counted, checkshape finds it valid, and the product
name reads back as the file's base name (apostrophes, control characters and
characters beyond Latin-1 left out).

usage: check_step_occt.py TYPE --writer SAMPLE_WRITER
       check_step_occt.py TYPE FILE COUNT [FILE COUNT ...]
The sample writer takes a folder, writes its files there and prints one line
per file: its name, a tab, the count it returned.
"""
import os
import re
import subprocess
import sys
import tempfile
from pathlib import Path

DRAW = "occt-draw"

SCRIPT = """pload MODELING DATAEXCHANGE XDE OCAF
puts "@@READ [stepread {path} s *]"
puts "@@MODEL [data c]"
puts "@@TRANSFER [tpstat c]"
puts "@@SHAPES [nbshapes s_1]"
puts "@@CHECK [checkshape s_1]"
ReadStep D {path}
puts "@@PRODUCT [GetName D [lindex [XGetTopLevelShapes D] 0]]"
puts "@@END"
"""


def base_name(file_name):
    dot = file_name.rfind(".")
    if dot <= 0 or dot + 1 == len(file_name) or " " in file_name[dot:]:
        return file_name
    return file_name[:dot]


def expected_product(file_name):
    return "".join(c for c in base_name(file_name)
                   if c != "'" and 0x20 <= ord(c) <= 0xFF and not 0x7F <= ord(c) < 0xA0)


def section(output, name):
    match = re.search(r"@@" + name + r" (.*?)(?=\n@@|\Z)", output, re.S)
    return match.group(1) if match else ""


def read_with_occt(path):
    """The reader's findings on one file, as a dict."""
    with tempfile.TemporaryDirectory() as folder:
        # DRAW's Tcl would take a quote or a backslash in the name as its own.
        plain = Path(folder) / "file.stp"
        plain.symlink_to(Path(path).resolve())
        script = Path(folder) / "check.tcl"
        script.write_text(SCRIPT.format(path=plain), encoding="utf-8")
        run = subprocess.run([DRAW, "-b", "-f", str(script)], capture_output=True, timeout=600,
                             env=dict(os.environ, LC_ALL="C.UTF-8"))
    output = run.stdout.decode("utf-8", "replace") + run.stderr.decode("utf-8", "replace")
    shapes = {kind: int(n) for kind, n in re.findall(r"^\s*([A-Z]+)\s*:\s*(\d+)", section(output, "SHAPES"), re.M)}
    totals = [int(n) for n in re.findall(r"Nb Total:(\d+)", section(output, "MODEL") + section(output, "TRANSFER"))]
    return {
        "output": output,
        "ended": "@@END" in output,
        "shapes": shapes,
        "messages": sum(totals) if len(totals) == 2 else None,
        "errors": [line for line in output.splitlines() if re.search(r"ERR|[Ee]xception|Fail", line)],
        "valid": "This shape seems to be valid" in section(output, "CHECK"),
        "product": section(output, "PRODUCT").rstrip("\n"),
    }


def check_file(path, kind, count):
    """The list of what is wrong with the file, empty when the reader took it whole."""
    name = Path(path).name
    found = read_with_occt(path)
    if not found["ended"]:
        return [f"{name}: the reader did not get to the end:\n{found['output'][-2000:]}"]
    failures = []
    if found["errors"]:
        failures.append(f"{name}: the reader reports: " + "; ".join(found["errors"][:5]))
    if found["messages"] != 0:
        failures.append(f"{name}: {found['messages']} check messages:\n"
                        + section(found["output"], "MODEL") + section(found["output"], "TRANSFER"))
    if found["shapes"].get(kind) != count:
        failures.append(f"{name}: {found['shapes'].get(kind)} {kind} transferred, the writer counted {count}")
    if not found["valid"]:
        failures.append(f"{name}: checkshape: {section(found['output'], 'CHECK')}")
    if found["product"] != expected_product(name):
        failures.append(f"{name}: product '{found['product']}', expected '{expected_product(name)}'")
    print(f"{name}: {found['shapes'].get(kind)} {kind}, product '{found['product']}'")
    return failures


def main():
    kind = sys.argv[1]
    failures = []
    if sys.argv[2] == "--writer":
        with tempfile.TemporaryDirectory() as folder:
            listing = subprocess.run([sys.argv[3], folder], check=True, capture_output=True).stdout
            files = [line.rsplit(b"\t", 1) for line in listing.splitlines()]
            if not files:
                failures.append("the writer wrote nothing")
            for name, count in files:
                failures += check_file(os.path.join(folder, os.fsdecode(name)), kind, int(count))
    else:
        pairs = sys.argv[2:]
        for path, count in zip(pairs[::2], pairs[1::2]):
            failures += check_file(path, kind, int(count))
    for message in failures[:40]:
        print("FAIL", message)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
