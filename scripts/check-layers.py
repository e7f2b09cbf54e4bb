#!/usr/bin/env python3
"""Fails when a library file includes a header from a layer above its own,
or an operating-system header outside the platform layer."""
import pathlib
import re
import sys

# Lowest first; layers on one rank are siblings and do not include each other.
RANKS = {"base": 0, "platform": 1, "support": 2, "view": 3, "coverage": 4,
         "core": 5, "suite": 6, "concurrent": 6, "module": 7}
OS_HEADER = re.compile(r"#\s*include\s*<(windows\.h|unistd\.h|fcntl\.h|pthread\.h|dlfcn\.h|"
                       r"signal\.h|sys/[^>]+|linux/[^>]+|[a-z0-9]+api\.h)>")
PROJECT_HEADER = re.compile(r'#\s*include\s*"probex/([a-z]+)/')


def layer_of(path, root):
    parts = path.relative_to(root).parts
    return parts[2] if len(parts) > 3 else None


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".").resolve()
    problems = []
    for top in ("src/probex", "include/probex"):
        for path in sorted((root / top).rglob("*")):
            if path.suffix not in (".h", ".cpp", ".inc"):
                continue
            layer = layer_of(path, root)
            if layer is None:
                continue  # the umbrella header gathers every layer
            for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), 1):
                where = f"{path.relative_to(root)}:{number}"
                found = PROJECT_HEADER.search(line)
                if found and found.group(1) != layer:
                    target = found.group(1)
                    if target not in RANKS:
                        problems.append(f"{where}: unknown layer '{target}'")
                    elif RANKS[target] >= RANKS[layer]:
                        problems.append(f"{where}: {layer} must not include {target}")
                if layer != "platform" and OS_HEADER.search(line):
                    problems.append(f"{where}: operating-system header outside platform/")
    for problem in problems:
        print(problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
