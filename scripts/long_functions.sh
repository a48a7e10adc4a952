#!/usr/bin/env bash
# Lists the functions longer than a limit (80 lines unless given) in the
# tracked .cpp files outside tests/, one "file:line: name (N lines)" a line,
# longest first. Exit status 0 when none is listed, 1 otherwise.
#   scripts/long_functions.sh [LIMIT]
# A function's length is its lines of code, from the line that names it to
# its closing brace; blank lines and lines of comment only do not count.
# Known exceptions: ALLOWED below.
#
# How it reads C++: a brace-depth counter over the text with comments, string,
# character and raw-string literals blanked out. A '{' whose enclosing braces
# are all namespaces, classes, structs, unions or extern blocks opens a
# function when the text before it (since the last ';', '{' or '}') holds a
# ')' and no '=' outside parentheses; the name is the identifier before that
# text's first '('. Its limits: braces that #if branches or macros leave
# unbalanced throw the count off; a function-like macro that opens a body
# ("TEST(a, b) {") counts as a function; a lambda or local class is measured
# as part of the function around it; a class defined inside a function body
# is not looked into separately.
set -euo pipefail
cd "$(dirname "$0")/.."

python3 - "${1:-80}" <<'PY'
import re, subprocess, sys

LIMIT = int(sys.argv[1])
ALLOWED = set()

def blank(text):
    """The text with comments and literals turned into blanks (newlines kept)."""
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i)); i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j])); i = j
        elif c == "R" and text.startswith('"', i + 1) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            m = re.match(r'R"([^(\s]{0,16})\(', text[i:])
            if not m:
                out.append(c); i += 1; continue
            end = text.find(")" + m.group(1) + '"', i)
            j = n if end < 0 else end + len(m.group(1)) + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j])); i = j
        elif c in "\"'":
            k = i
            while k > 0 and (text[k - 1].isalnum() or text[k - 1] == "_"):
                k -= 1
            if c == "'" and text[k:i][:1].isdigit():  # digit separator 1'000
                out.append(" "); i += 1; continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            out.append(re.sub(r"[^\n]", " ", text[i:j])); i = j
        elif c == "#" and (i == 0 or text[i - 1] == "\n" or text[:i].rstrip(" \t").endswith("\n")):
            j = i
            while True:  # a preprocessor line, with its continuations
                k = text.find("\n", j)
                if k < 0:
                    k = n; break
                if text[k - 1] != "\\":
                    break
                j = k + 1
            out.append(re.sub(r"[^\n]", " ", text[i:k])); i = k
        else:
            out.append(c); i += 1
    return "".join(out)

def top_level_equals(header):
    depth = 0
    for k, c in enumerate(header):
        if c in "(<[":
            depth += 1
        elif c in ")>]":
            depth = max(0, depth - 1)
        elif c == "=" and depth == 0 and header[k - 1:k] not in ("=", "!", "<", ">") and header[k + 1:k + 2] != "=":
            return True
    return False

def functions(path):
    text = blank(open(path, encoding="utf-8", errors="replace").read())
    lines = text.split("\n")
    stack = []  # "scope" (namespace/class/extern) or ("function", name, line) or "block"
    start = 0   # where the current header begins
    for i, c in enumerate(text):
        if c in ";}":
            if c == "}" and stack:
                top = stack.pop()
                if isinstance(top, tuple):
                    end = text.count("\n", 0, i) + 1
                    yield top[1], top[2], sum(1 for l in lines[top[2] - 1:end] if l.strip())
            start = i + 1
        elif c == "{":
            header = text[start:i]
            inside = any(s != "scope" for s in stack)
            if inside:
                stack.append("block")
            elif re.search(r"\b(namespace|class|struct|union|enum)\b|\bextern\s*$", header) and "(" not in header:
                stack.append("scope")
            elif ")" in header and not top_level_equals(header.split("(", 1)[0]):
                names = re.findall(r"[A-Za-z_~][\w:~]*(?:operator\s*\S+?)?(?=\s*\()", header)
                name = names[0] if names else "?"
                at = start + header.find(name) if name in header else i
                stack.append(("function", name, text.count("\n", 0, at) + 1))
            else:
                stack.append("block")
            start = i + 1

files = subprocess.run(["git", "ls-files", "*.cpp"], capture_output=True, text=True, check=True).stdout.split()
found = []
for path in files:
    if path.startswith("tests/"):
        continue
    for name, line, length in functions(path):
        if length > LIMIT and (path, name.split("::")[-1]) not in ALLOWED:
            found.append((length, path, line, name))
for length, path, line, name in sorted(found, reverse=True):
    print(f"{path}:{line}: {name} ({length} lines)")
sys.exit(1 if found else 0)
PY
