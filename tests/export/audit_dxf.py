"""Reads the files of write_samples dxf with ezdxf, audits them and checks what
a user would: the entities per layer, closed outlines, the header's extents and
the chain's geometry.

usage: audit_dxf.py SAMPLE_WRITER en|nl
"""
import math
import subprocess
import sys
import tempfile
from collections import Counter
from pathlib import Path

import ezdxf
from ezdxf import bbox

NAMES = {
    "en": dict(z1="Z1", z2="Z2", idler="IDLER", inner="INNER_PLATE", outer="OUTER_PLATE", pin="PIN",
               roller="ROLLER", pitch="PITCH_CIRCLE"),
    "nl": dict(z1="Z1", z2="Z2", idler="SPANWIEL", inner="BINNENSCHALM", outer="BUITENSCHALM", pin="PEN",
               roller="ROL", pitch="STEEKCIRKEL"),
}


def expected_counts(n, wheels, pitch_circles, bores, chain):
    counts = Counter()
    for w in wheels:
        counts[("POLYLINE", w)] += 1
        if pitch_circles:
            counts[("CIRCLE", "pitch")] += 1
        if bores:
            counts[("CIRCLE", w)] += 1
    if chain:
        counts[("POLYLINE", "inner")] += n // 2
        counts[("POLYLINE", "outer")] += n // 2
        counts[("CIRCLE", "roller")] += n
        counts[("CIRCLE", "pin")] += n
    return counts


def main():
    writer, lang = sys.argv[1], sys.argv[2]
    names = NAMES[lang]
    all_wheels = ["z1", "z2", "idler"]
    # file: (rollers, wheels, pitch circles, bores, chain, pitch p)
    samples = {
        "scope0.dxf": (106, all_wheels, True, False, True, 12.7),
        "scope1.dxf": (106, [], True, False, True, 12.7),
        "scope2.dxf": (106, ["z1"], True, False, False, 12.7),
        "scope3.dxf": (106, ["z2"], True, False, False, 12.7),
        "scope4.dxf": (106, ["idler"], True, False, False, 12.7),
        "bores.dxf": (106, all_wheels, False, True, True, 12.7),
        "turned.dxf": (106, all_wheels, True, False, True, 12.7),
        "large.dxf": (400, all_wheels, True, False, True, 50.8),
    }
    failures = []

    def check(condition, message):
        if not condition:
            failures.append(message)

    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([writer, "dxf", folder], check=True)
        for file_name, (n, wheels, pitch_circles, bores, chain, pitch) in samples.items():
            path = Path(folder) / file_name
            raw = path.read_bytes()
            check(raw.endswith(b"EOF\r\n"), f"{file_name}: does not end in EOF CR LF")
            check(raw.count(b"\n") == raw.count(b"\r\n") and raw.count(b"\r") == raw.count(b"\r\n"),
                  f"{file_name}: a line without CR LF")

            doc = ezdxf.readfile(str(path))
            auditor = doc.audit()
            check(len(auditor.errors) == 0, f"{file_name}: {len(auditor.errors)} audit errors: "
                  + "; ".join(str(e.message) for e in auditor.errors[:5]))
            check(doc.dxfversion == "AC1009", f"{file_name}: version {doc.dxfversion}")
            msp = doc.modelspace()

            seen = Counter((e.dxftype(), e.dxf.layer) for e in msp)
            want = Counter({(kind, names[layer]): c
                            for (kind, layer), c in expected_counts(n, wheels, pitch_circles, bores, chain).items()})
            check(seen == want, f"{file_name}: entities {dict(seen)}, expected {dict(want)}")

            for e in msp.query("POLYLINE"):
                check(e.is_closed, f"{file_name}: an open polyline on {e.dxf.layer}")
                check(len(e) >= 3, f"{file_name}: a polyline of {len(e)} vertices")

            box = bbox.extents(msp, fast=True)
            low, high = doc.header["$EXTMIN"], doc.header["$EXTMAX"]
            for axis in (0, 1):
                check(low[axis] <= box.extmin[axis] + 1e-5 and high[axis] >= box.extmax[axis] - 1e-5,
                      f"{file_name}: extents {low}..{high} do not enclose {box.extmin}..{box.extmax}")
                check(abs(low[axis] - box.extmin[axis]) < 1e-3 and abs(high[axis] - box.extmax[axis]) < 1e-3,
                      f"{file_name}: extents {low}..{high} are wider than {box.extmin}..{box.extmax}")

            if chain:
                rollers = [e.dxf.center for e in msp.query("CIRCLE") if e.dxf.layer == names["roller"]]
                pins = [e.dxf.center for e in msp.query("CIRCLE") if e.dxf.layer == names["pin"]]
                for i in range(n):
                    a, b = rollers[i], rollers[(i + 1) % n]
                    gap = math.hypot(b[0] - a[0], b[1] - a[1])
                    check(abs(gap - pitch) < 2e-6, f"{file_name}: rollers {i} and next {gap} apart")
                    check(pins[i].isclose(rollers[i], abs_tol=1e-9), f"{file_name}: pin {i} off its roller")
            print(f"{file_name}: {sum(seen.values())} entities, audit fixes {len(auditor.fixes)}")

    for message in failures[:40]:
        print("FAIL", message)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
