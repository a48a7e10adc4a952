#!/usr/bin/env bash
# Checks the includes of the tracked sources against the link lines of the
# build, the one statement of the layers: a folder's library and what it
# links are read from the CMake files (quorim_folder_library and
# quorim_window_library with their LINKS, target_link_libraries,
# quorim_include_root, and for a program folder such as tools/NAME/ the
# executable of its own CMakeLists.txt).
# A file includes files of its own folder and of the folders whose libraries
# its own library links (directly, or through what those link publicly),
# never of another folder. A library that links no Qt target is core code
# and includes no Qt header. A file's .h and .cpp count as one unit, and no
# two units include each other in a circle. Every quoted include names a
# file of the tree from its top ("folder/file.h").
# Exit status 0 when all holds, 1 with one line per fault otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."

python3 - "$@" <<'PY'
import os, re, subprocess, sys
from collections import defaultdict

def tracked(*patterns):
    return subprocess.run(["git", "ls-files", *patterns], capture_output=True, text=True, check=True).stdout.split()

# --- The CMake files: commands and their arguments ------------------------

def commands(text):
    """(name, [arguments]) of every command call, comments and bracket
    arguments skipped, quoted arguments without their quotes."""
    calls, i, n = [], 0, len(text)
    def bracket_end(j):
        m = re.match(r"\[(=*)\[", text[j:])
        if not m:
            return None
        close = text.find("]" + m.group(1) + "]", j)
        return n if close < 0 else close + len(m.group(1)) + 2
    while i < n:
        c = text[i]
        if c == "#":
            end = bracket_end(i + 1)
            i = end if end else (text.find("\n", i) + 1 or n)
            continue
        m = re.compile(r"[A-Za-z_][A-Za-z0-9_]*\s*\(").match(text, i)
        if not m or (i > 0 and (text[i - 1].isalnum() or text[i - 1] in "_$")):
            i += 1
            continue
        name, i, depth, args, word = m.group(0).split("(")[0].strip().lower(), m.end(), 1, [], ""
        while i < n and depth:
            c = text[i]
            end = bracket_end(i) if c == "[" else None
            if end:
                i = end
                continue
            if c == "#":
                i = text.find("\n", i) + 1 or n
                continue
            if c == '"':
                close = i + 1
                while close < n and text[close] != '"':
                    close += 2 if text[close] == "\\" else 1
                word += text[i + 1:close]
                i = close + 1
                continue
            if c in "()":
                depth += 1 if c == "(" else -1
            if c.isspace() or c in "()":
                if word:
                    args.append(word)
                word = ""
            else:
                word += c
            i += 1
        calls.append((name, args))
    return calls

folder_of_library = {}  # folder -> the target whose sources and include root it is
public = defaultdict(set)  # target -> what it links for itself and for those linking it
private = defaultdict(set)  # target -> what it links for itself only
cmake_files = [f for f in tracked("CMakeLists.txt", "*/CMakeLists.txt", "*.cmake")
               if f.split("/")[0] not in ("tests", "bench")]
for path in cmake_files:
    here = os.path.dirname(path)
    for name, args in commands(open(path, encoding="utf-8").read()):
        literal = [a for a in args if "$" not in a]
        if name in ("quorim_folder_library", "quorim_window_library") and len(literal) >= 2 and literal == args[:len(literal)]:
            folder_of_library[literal[1]] = literal[0]
            if "LINKS" in literal:
                public[literal[0]] |= set(literal[literal.index("LINKS") + 1:])
        elif name == "quorim_include_root" and len(args) >= 2 and "$" not in args[0] + args[1]:
            folder_of_library.setdefault(args[1], args[0])
        elif name == "add_executable" and args and here and here not in folder_of_library:
            folder_of_library[here] = args[0]
        elif name == "target_link_libraries" and args and "$" not in args[0]:
            scope = public
            for a in args[1:]:
                if a in ("PUBLIC", "INTERFACE", "LINK_PUBLIC", "LINK_INTERFACE_LIBRARIES"):
                    scope = public
                elif a in ("PRIVATE", "LINK_PRIVATE"):
                    scope = private
                elif "$" not in a:
                    scope[args[0]].add(a)

def reaches(target, seen=None):
    """Every target `target` links publicly, through any depth."""
    seen = set() if seen is None else seen
    for t in public.get(target, ()):
        if t not in seen:
            seen.add(t)
            reaches(t, seen)
    return seen

links = {}
for folder, target in folder_of_library.items():
    reach = set()
    for t in public.get(target, set()) | private.get(target, set()):
        reach |= {t} | reaches(t)
    links[folder] = reach
window = {f for f, reach in links.items() if any(t.startswith("Qt6::") for t in reach)}

# --- The includes ---------------------------------------------------------

files = tracked("*.cpp", "*.h")
sources = [f for f in files if f.split("/")[0] not in ("tests", "bench", "build")]
include = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)
known = set(files)

def folder(path):
    return path.rsplit("/", 1)[0] if "/" in path else ""

def unit(path):
    return path.rsplit(".", 1)[0]

faults = []
edges = defaultdict(set)
for f in sources:
    here = folder(f)
    if here not in folder_of_library:
        faults.append(f"{f}: the folder {here or '(top)'} is the folder of no library or program in CMake")
        continue
    for kind, target in include.findall(open(f, encoding="utf-8").read()):
        if kind == "<":
            if here not in window and re.match(r"Q[A-Za-z]", target):
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
        if there not in folder_of_library:
            faults.append(f"{f}: includes {target}, whose folder is the folder of no library")
        elif folder_of_library[there] not in links[here]:
            faults.append(f"{f}: {here} includes {target}, but {folder_of_library[here]} "
                          f"does not link {folder_of_library[there]}")

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
print(f"includes: {len(sources)} files in {len(folder_of_library)} folders of CMake targets "
      f"({len(window)} of them windows); the link lines hold and no circles")
PY
