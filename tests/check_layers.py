"""The layers of the program, checked over its sources without building
anything: every include of our own headers must run down the stack (or stay
in its own layer), and only the toolkit's GTK files may include GTK or GDK.

usage: check_layers.py SOURCE_DIR
"""
import re
import sys
from pathlib import Path

# Each layer's folder and the layers it may include, its own among them. The
# order is the stack, bottom first; it mirrors the libraries' CMakeLists.txt.
LAYERS = {
    "text": {"text"},
    "model": {"model", "text"},
    "files": {"files", "model", "text"},
    "export": {"export", "files", "model", "text"},
    "app/toolkit": {"app/toolkit"},
    "app/toolkit/gtk": {"app/toolkit/gtk", "app/toolkit", "model", "text"},
    "app/shell": {"app/shell", "app/toolkit", "files", "model", "text"},
    "app/commands": {"app/commands", "app/shell", "app/toolkit", "export", "files", "model", "text"},
    "app/program": {"app/program", "app/commands", "app/shell", "app/toolkit", "export", "files", "model", "text"},
}
TOOLKIT_ONLY = re.compile(r"^(gtk|gdk|gdk-pixbuf)[/.-]|^gdkx\.h$")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def layer_of(path):
    """The innermost layer whose folder holds `path` (a path relative to the top)."""
    best = None
    for layer in LAYERS:
        if path == layer or path.startswith(layer + "/"):
            if best is None or len(layer) > len(best):
                best = layer
    return best


def main():
    top = Path(sys.argv[1])
    problems = []
    files = 0
    for source in sorted(top.glob("*/**/*")):
        if source.suffix not in (".cpp", ".h") or not source.is_file():
            continue
        relative = source.relative_to(top).as_posix()
        layer = layer_of(relative)
        if layer is None:
            continue  # tests, benchmarks: they may reach every layer
        files += 1
        for number, line in enumerate(source.read_text(encoding="utf-8", errors="replace").splitlines(), 1):
            match = INCLUDE.match(line)
            if not match:
                continue
            kind, name = match.groups()
            where = f"{relative}:{number}: {line.strip()}"
            if kind == "<":
                if TOOLKIT_ONLY.match(name) and layer != "app/toolkit/gtk":
                    problems.append(f"{where}: GTK and GDK belong to app/toolkit/gtk alone")
                continue
            target = layer_of(name)
            if target is not None and target not in LAYERS[layer]:
                problems.append(f"{where}: {layer} may not include {target}")
    for problem in problems:
        print(problem)
    if files == 0:
        print(f"no sources found under {top}")
        return 1
    print(f"{files} files, {len(problems)} includes against the layers")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
