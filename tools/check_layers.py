#!/usr/bin/env python3
"""Checks that the source folders include only folders below them.

The folders are the program's layers, lowest first (LAYERS below); a folder
may include its own files and those of any folder listed before it, never one
listed after it. The linker enforces the same order between the libraries;
this keeps the folders telling the same story. Prints every include that
points up and exits 1 when there is one; prints the folders' include counts
with --graph.
"""
import collections
import os
import re
import sys

# Lowest first. The forms folders are the widget side of their subsystem and
# sit above the shared widget kit (ui) and the progress dialog (jobs).
LAYERS = [
    "base",
    "jobcore",
    "sql",
    "country",
    "store",
    "android",
    "import",
    "export",
    "ui",
    "jobs",
    "country/forms",
    "android/forms",
    "app",
]

INCLUDE = re.compile(r'\s*#\s*include\s+"([^"]+)"')


def layer_of(path):
    """The layer a file (or an include's path) belongs to, or None."""
    parts = path.split("/")
    if len(parts) > 2 and parts[1] == "forms" and "/".join(parts[:2]) in LAYERS:
        return "/".join(parts[:2])
    return parts[0] if parts[0] in LAYERS else None


def includes(root):
    """Yields (file, line number, source layer, included layer) for every project include."""
    for layer in LAYERS:
        if "/" in layer:
            continue  # walked with its parent folder
        for folder, _, files in os.walk(os.path.join(root, layer)):
            for name in sorted(files):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(folder, name)
                source = layer_of(os.path.relpath(path, root))
                with open(path, encoding="utf-8") as text:
                    for number, line in enumerate(text, 1):
                        match = INCLUDE.match(line)
                        target = match and layer_of(match.group(1))
                        if target and target != source:
                            yield path, number, source, target


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    rank = {layer: i for i, layer in enumerate(LAYERS)}
    upward = []
    counts = collections.Counter()
    for path, number, source, target in includes(root):
        counts[(source, target)] += 1
        if rank[target] > rank[source]:
            upward.append(f"{os.path.relpath(path, root)}:{number}: {source} includes {target}, a higher layer")
    if "--graph" in sys.argv:
        for (source, target), count in sorted(counts.items(), key=lambda e: (rank[e[0][0]], rank[e[0][1]])):
            print(f"{source} -> {target}: {count}")
    for line in upward:
        print(line)
    print(f"{sum(counts.values())} includes across folders, {len(upward)} pointing to a higher layer")
    return 1 if upward else 0


if __name__ == "__main__":
    sys.exit(main())
