"""Has a real STEP reader, OpenCASCADE's DRAW in batch mode, read STEP files
and checks what a CAD user would meet: the file loads with no fault in its
model, its roots transfer with no check message and no error, the shape holds
one TYPE (EDGE for the curves of a 2D file, SOLID for the solids of a 3D one)
for every item the writer counted, checkshape finds it valid (closed shells
included), and the product name reads back as the file's base name
(apostrophes, control characters and characters beyond Latin-1 left out).
Where the writer gives the solids' volumes, the first solid of every layer is
measured on a fine mesh and must agree within 0.1 %.

usage: check_step_occt.py TYPE --writer SAMPLE_WRITER
       check_step_occt.py TYPE FILE COUNT [FILE COUNT ...]
The sample writer takes a folder, writes its files there and prints one line
per file: its name, a tab, the count it returned, and optionally a tab and,
solid by solid in file order, "layer:volume:deflection" separated by blanks.
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
{measures}puts "@@END"
"""

# The reader's own volume integration goes wrong on extruded B-spline faces;
# on a mesh fine enough it is exact to the mesh's error.
MEASURE = """set solids [explode s_1 SO]
if {{[llength $solids] == 0}} {{ copy s_1 s_1_1 }}
foreach {{index deflection}} {{{pairs}}} {{
    incmesh s_1_$index $deflection
    puts "@@VOLUME $index [lindex [vprops s_1_$index -tri] 2]"
}}
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


def read_with_occt(path, measured=()):
    """The reader's findings on one file, as a dict; `measured` holds the
    (1-based index, mesh deflection) of the solids to measure."""
    with tempfile.TemporaryDirectory() as folder:
        # DRAW's Tcl would take a quote or a backslash in the name as its own.
        plain = Path(folder) / "file.stp"
        plain.symlink_to(Path(path).resolve())
        script = Path(folder) / "check.tcl"
        pairs = " ".join(f"{i} {d}" for i, d in measured)
        measures = MEASURE.format(pairs=pairs) if measured else ""
        script.write_text(SCRIPT.format(path=plain, measures=measures), encoding="utf-8")
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
        "volumes": {int(i): float(v) for i, v in re.findall(r"^@@VOLUME (\d+) (\S+)", output, re.M)},
    }


def check_file(path, kind, count, parts=()):
    """The list of what is wrong with the file, empty when the reader took it
    whole. `parts` holds (layer, volume, deflection) of every solid in order."""
    name = Path(path).name
    first_of_layer = {}
    for index, (layer, _, deflection) in enumerate(parts, 1):
        first_of_layer.setdefault(layer, (index, deflection))
    found = read_with_occt(path, sorted(first_of_layer.values()))
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
    for index, _ in first_of_layer.values():
        expected = parts[index - 1][1]
        measured = found["volumes"].get(index)
        if measured is None or abs(measured - expected) > 0.001 * expected:
            failures.append(f"{name}: solid {index} (layer {parts[index - 1][0]}) has the volume {measured}, "
                            f"its part {expected:.4f}")
    print(f"{name}: {found['shapes'].get(kind)} {kind}, product '{found['product']}', "
          f"{len(found['volumes'])} volumes measured")
    return failures


def main():
    kind = sys.argv[1]
    failures = []
    if sys.argv[2] == "--writer":
        with tempfile.TemporaryDirectory() as folder:
            listing = subprocess.run([sys.argv[3], folder], check=True, capture_output=True).stdout
            files = [line.split(b"\t") for line in listing.splitlines()]
            if not files:
                failures.append("the writer wrote nothing")
            for name, count, *volumes in files:
                parts = [(int(l), float(v), float(d)) for l, v, d in
                         (token.split(":") for token in os.fsdecode(b"".join(volumes)).split())]
                failures += check_file(os.path.join(folder, os.fsdecode(name)), kind, int(count), parts)
    else:
        pairs = sys.argv[2:]
        for path, count in zip(pairs[::2], pairs[1::2]):
            failures += check_file(path, kind, int(count))
    for message in failures[:40]:
        print("FAIL", message)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
