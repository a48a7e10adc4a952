#!/usr/bin/env bash
# Checks the include layering of the tracked sources against the layer order
# of the README ("What is here"), bottom up:
#   base, text, image, radio, files, launcher, app, editor, link, tuning  (core)
#   ui; then editor/ui, link/ui, tuning/ui, launcher/ui side by side; app/ui
# A file includes files of its own folder and of folders below it only, never
# of a folder beside it or above it. The programs cli/ and tools/*/ stand on
# the core and are included by nothing else. Core code and the programs
# include no Qt header. A file's .h and .cpp count as one unit, and no two
# units include each other in a circle. Every quoted include names a file of
# the tree from its top ("folder/file.h").
# Exit status 0 when all holds, 1 with one line per fault otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."

python3 - "$@" <<'PY'
import re, subprocess, sys
from collections import defaultdict

LAYERS = [["base"], ["text"], ["image"], ["radio"], ["files"], ["launcher"], ["app"], ["editor"], ["link"], ["tuning"],
          ["ui"], ["editor/ui", "link/ui", "tuning/ui", "launcher/ui"], ["app/ui"]]
CORE_TOP = LAYERS.index(["tuning"])
tier = {folder: n for n, row in enumerate(LAYERS) for folder in row}

files = subprocess.run(
    ["git", "ls-files", "*.cpp", "*.h"], capture_output=True, text=True, check=True
).stdout.split()
sources = [f for f in files if f.split("/")[0] not in ("tests", "bench", "build")]
include = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
known = set(files)

def folder(path):
    return path.rsplit("/", 1)[0] if "/" in path else ""

def program(f):
    return f.split("/")[0] in ("cli", "tools")

def unit(path):
    return path.rsplit(".", 1)[0]

faults = []
edges = defaultdict(set)
for f in sources:
    here = folder(f)
    if not program(f) and here not in tier:
        faults.append(f"{f}: the folder {here or '(top)'} has no place in the layer order")
        continue
    core = program(f) or tier[here] <= CORE_TOP
    for kind, target in include.findall(open(f, encoding="utf-8").read()):
        if kind == "<":
            if core and re.match(r"Q[A-Za-z]", target):
                faults.append(f"{f}: core code includes the Qt header <{target}>")
            continue
        if target.startswith("moc_") or target.endswith(".moc"):
            continue  # Qt's generated code of this very file
        if target not in known:
            faults.append(f"{f}: includes \"{target}\", which is no file of the tree named from its top")
            continue
        there = folder(target)
        if unit(target) != unit(f):
            edges[unit(f)].add(unit(target))
        if there == here:
            continue
        if program(target):
            faults.append(f"{f}: includes the program file {target}")
        elif there not in tier:
            faults.append(f"{f}: includes {target}, whose folder has no place in the layer order")
        elif program(f):
            if tier[there] > CORE_TOP:
                faults.append(f"{f}: the program includes the window file {target}")
        elif tier[there] == tier[here]:
            faults.append(f"{f}: {here} includes {target} of {there}, which stands beside it")
        elif tier[there] > tier[here]:
            faults.append(f"{f}: {here} includes {target} of {there}, which is above it")

# Two pairs still call each other, the way their framework pairs them: the
# document and its views, the application and its main window. They are to
# be cut like the transfer and its progress window were; no new pair joins.
KNOWN_PAIRS = {frozenset({"editor/ui/form_view", "editor/ui/quorim_doc"}),
               frozenset({"app/ui/quorim_app", "app/ui/main_frame"})}
for a, b in [tuple(p) for p in KNOWN_PAIRS]:
    if b in edges.get(a, ()) and a in edges.get(b, ()):
        edges[a].discard(b)

# Circles of units (depth-first search over the quoted includes).
state = {}
def visit(node, stack):
    state[node] = 1
    stack.append(node)
    for nxt in sorted(edges.get(node, ())):
        if state.get(nxt) == 1:
            faults.append("include circle: " + " -> ".join(stack[stack.index(nxt):] + [nxt]))
        elif nxt not in state:
            visit(nxt, stack)
    stack.pop()
    state[node] = 2
for u in sorted(edges):
    if u not in state:
        visit(u, [])

for fault in faults:
    print(fault)
if faults:
    sys.exit(1)
print(f"includes: {len(sources)} files in {len(tier)} folders and the programs, layers and no circles hold")
PY
