"""Real readers of the mesh files of write_samples mesh: ezdxf reads and audits
the 3D DXF of the default drive, admesh finds the STL of one wheel one closed
part with nothing to repair.

usage: audit_mesh.py SAMPLE_WRITER en|nl
"""
import re
import subprocess
import sys
import tempfile
from pathlib import Path

import ezdxf

LAYERS = {
    "en": {"Z1": 5, "Z2": 30, "IDLER": 3, "INNER_PLATE": 8, "OUTER_PLATE": 2, "PIN": 7, "ROLLER": 9, "BUSH": 252},
    "nl": {"Z1": 5, "Z2": 30, "SPANWIEL": 3, "BINNENSCHALM": 8, "BUITENSCHALM": 2, "PEN": 7, "ROL": 9, "BUS": 252},
}
REPAIRS = ("Degenerate facets", "Edges fixed", "Facets removed", "Facets added", "Facets reversed",
           "Backwards edges", "Normals fixed", "Total disconnected facets")


def main():
    writer, lang = sys.argv[1], sys.argv[2]
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([writer, "mesh", folder], check=True, stdout=subprocess.DEVNULL)
        doc = ezdxf.readfile(str(Path(folder) / "drive_3d.dxf"))
        failures += [f"3D DXF: {e.message}" for e in doc.audit().errors]
        layers = {}
        for face in doc.modelspace():
            layers.setdefault((face.dxftype(), face.dxf.layer), set()).add(face.dxf.color)
            if face.dxf.vtx3 != face.dxf.vtx2:
                failures.append("3D DXF: a face whose fourth corner is not its third")
        if doc.dxfversion != "AC1009" or layers != {("3DFACE", n): {c} for n, c in LAYERS[lang].items()}:
            failures.append(f"3D DXF: version {doc.dxfversion}, layers {layers}")

        raw = (Path(folder) / "wheel.stl").read_bytes()
        count = int.from_bytes(raw[80:84], "little")
        if raw.startswith(b"solid") or len(raw) != 84 + 50 * count:
            failures.append(f"STL: {len(raw)} bytes for {count} facets")
        # admesh prints the 80-byte header as if it ended in a NUL, so whatever
        # lies after it in admesh's memory follows: not always UTF-8.
        report = subprocess.run(["admesh", str(Path(folder) / "wheel.stl")], check=True, capture_output=True,
                                text=True, errors="replace").stdout
        figures = dict(re.findall(r"^([A-Za-z][A-Za-z ]*?)\s*:\s*(-?[\d.]+)", report, re.M))
        expected = {"Number of parts": 1, "Number of facets": count, **{repair: 0 for repair in REPAIRS}}
        for name, value in expected.items():
            if "Binary STL file" not in report or float(figures.get(name, "nan")) != value:
                failures.append(f"STL: {name} {figures.get(name)}, expected {value}")
    for message in failures[:40]:
        print("FAIL", message)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
