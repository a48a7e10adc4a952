#!/usr/bin/env bash
# Checks the include layering of the tracked sources (see the README's
# "What is here"):
#   - core code (outside every ui/ folder) includes no Qt header and nothing
#     from a ui/ folder;
#   - the window folders include each other only downwards: ui/ (the shared
#     window helpers) includes no other window folder; editor/ui, link/ui,
#     tuning/ui and launcher/ui include ui/ only; nothing includes app/ui but
#     app/ui itself;
#   - no two files include each other in a circle.
# Exit status 0 when all holds, 1 with one line per fault otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."

python3 - "$@" <<'PY'
import re, subprocess, sys
from collections import defaultdict

files = subprocess.run(
    ["git", "ls-files", "*.cpp", "*.h"], capture_output=True, text=True, check=True
).stdout.split()
sources = [f for f in files if f.split("/")[0] not in ("tests", "bench", "tools", "build")]
include = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)

def folder(path):
    parts = path.split("/")
    if parts[0] == "ui":
        return "ui"
    if len(parts) > 2 and parts[1] == "ui":
        return parts[0] + "/ui"
    return "core"

faults = []
edges = defaultdict(set)
known = set(files)
for f in sources:
    text = open(f, encoding="utf-8").read()
    for kind, target in include.findall(text):
        here, there = folder(f), folder(target) if kind == '"' else None
        if kind == "<":
            if here == "core" and re.match(r"Q[A-Za-z]", target):
                faults.append(f"{f}: core code includes the Qt header <{target}>")
            continue
        if target in known:
            edges[f].add(target)
        if here == "core" and there != "core":
            faults.append(f"{f}: core code includes the window file {target}")
        elif here != "core" and there not in ("core", "ui", here):
            # Only app/ui may reach across: it composes the other folders.
            if here != "app/ui" or there == "launcher/ui":
                faults.append(f"{f}: {here} includes {target} ({there})")
        elif here == "ui" and there not in ("core", "ui"):
            faults.append(f"{f}: the shared window helpers include {target}")

# File-level cycles (depth-first search over the quoted includes).
state = {}
def visit(node, stack):
    state[node] = 1
    stack.append(node)
    for nxt in sorted(edges.get(node, ())):
        if state.get(nxt) == 1:
            faults.append("include cycle: " + " -> ".join(stack[stack.index(nxt):] + [nxt]))
        elif nxt not in state:
            visit(nxt, stack)
    stack.pop()
    state[node] = 2
for f in sorted(edges):
    if f not in state:
        visit(f, [])

for fault in faults:
    print(fault)
if faults:
    sys.exit(1)
print(f"includes: {len(sources)} files, layering and no cycles hold")
PY
