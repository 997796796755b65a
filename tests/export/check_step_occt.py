"""Has a real STEP reader, OpenCASCADE's DRAW in batch mode, read STEP files
as a CAD user would: no fault in the model, no check message or error in the
transfer, one TYPE (EDGE for the curves of a 2D file, SOLID for the solids of
a 3D one) for every item the writer counted, checkshape content, and the
product named after the file (apostrophes, control characters and characters
beyond Latin-1 left out). Where the writer gives the solids' volumes, the first
solid of every layer, measured on a fine mesh, must agree within 0.1 %.

usage: check_step_occt.py TYPE --writer SAMPLE_WRITER KIND
       check_step_occt.py TYPE FILE COUNT [FILE COUNT ...]
The sample writer (write_samples.cpp) prints a line a file: name, tab, count,
and optionally a tab and "layer:volume:deflection" of every solid in order.
"""
import os
import re
import subprocess
import sys
import tempfile
from pathlib import Path

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


def expected_product(file_name):
    dot = file_name.rfind(".")
    if 0 < dot < len(file_name) - 1 and " " not in file_name[dot:]:
        file_name = file_name[:dot]
    return "".join(c for c in file_name if c != "'" and 0x20 <= ord(c) <= 0xFF and not 0x7F <= ord(c) < 0xA0)


def check_file(path, kind, count, parts=()):
    """What is wrong with the file, empty when the reader took it whole.
    `parts` holds (layer, volume, deflection) of every solid in order."""
    name = Path(path).name
    first_of_layer = {}
    for index, (layer, _, deflection) in enumerate(parts, 1):
        first_of_layer.setdefault(layer, (index, deflection))
    with tempfile.TemporaryDirectory() as folder:
        # DRAW's Tcl would take a quote or a backslash in the name as its own.
        plain = Path(folder) / "file.stp"
        plain.symlink_to(Path(path).resolve())
        pairs = " ".join(f"{i} {d}" for i, d in sorted(first_of_layer.values()))
        script = Path(folder) / "check.tcl"
        script.write_text(SCRIPT.format(path=plain, measures=MEASURE.format(pairs=pairs) if parts else ""),
                          encoding="utf-8")
        run = subprocess.run(["occt-draw", "-b", "-f", str(script)], capture_output=True, timeout=600,
                             env=dict(os.environ, LC_ALL="C.UTF-8"))
    output = run.stdout.decode("utf-8", "replace") + run.stderr.decode("utf-8", "replace")
    if "@@END" not in output:
        return [f"{name}: the reader did not get to the end:\n{output[-2000:]}"]

    def section(title):
        match = re.search(r"@@" + title + r" (.*?)(?=\n@@|\Z)", output, re.S)
        return match.group(1) if match else ""

    failures = []
    errors = [line for line in output.splitlines() if re.search(r"ERR|[Ee]xception|Fail", line)]
    if errors:
        failures.append(f"{name}: the reader reports: " + "; ".join(errors[:5]))
    totals = [int(n) for n in re.findall(r"Nb Total:(\d+)", section("MODEL") + section("TRANSFER"))]
    if totals != [0, 0]:
        failures.append(f"{name}: check messages:\n" + section("MODEL") + section("TRANSFER"))
    shapes = {shape: int(n) for shape, n in re.findall(r"^\s*([A-Z]+)\s*:\s*(\d+)", section("SHAPES"), re.M)}
    if shapes.get(kind) != count:
        failures.append(f"{name}: {shapes.get(kind)} {kind} transferred, the writer counted {count}")
    if "This shape seems to be valid" not in section("CHECK"):
        failures.append(f"{name}: checkshape: {section('CHECK')}")
    product = section("PRODUCT").rstrip("\n")
    if product != expected_product(name):
        failures.append(f"{name}: product '{product}', expected '{expected_product(name)}'")
    volumes = {int(i): float(v) for i, v in re.findall(r"^@@VOLUME (\d+) (\S+)", output, re.M)}
    for index, _ in first_of_layer.values():
        layer, expected, _ = parts[index - 1]
        if not abs(volumes.get(index, float("nan")) - expected) <= 0.001 * expected:
            failures.append(f"{name}: solid {index} (layer {layer}) has the volume {volumes.get(index)}, "
                            f"its part {expected:.4f}")
    print(f"{name}: {shapes.get(kind)} {kind}, product '{product}', {len(volumes)} volumes measured")
    return failures


def main():
    kind, failures = sys.argv[1], []
    if sys.argv[2] == "--writer":
        with tempfile.TemporaryDirectory() as folder:
            listing = subprocess.run([*sys.argv[3:5], folder], check=True, capture_output=True).stdout
            files = [line.split(b"\t") for line in listing.splitlines()]
            failures += [] if files else ["the writer wrote nothing"]
            for name, count, *volumes in files:
                parts = [(int(l), float(v), float(d)) for l, v, d in
                         (token.split(":") for token in os.fsdecode(b"".join(volumes)).split())]
                failures += check_file(os.path.join(folder, os.fsdecode(name)), kind, int(count), parts)
    else:
        for path, count in zip(sys.argv[2::2], sys.argv[3::2]):
            failures += check_file(path, kind, int(count))
    for message in failures[:40]:
        print("FAIL", message)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
