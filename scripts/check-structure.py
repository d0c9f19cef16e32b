#!/usr/bin/env python3
"""Checks the shape of the program's sources (not the tests):
  - no file over 400 lines, no function over 80 lines;
  - no two files include each other, directly or through others.
It also lists, without failing, the units (a header with its source) that
need each other: an owner and its part may, anything else is worth a look.
Function lengths are found by brace matching on the source with comments and
literals blanked: good enough for our style, not a C++ parser.
Usage: scripts/check-structure.py [source root]; exit status 1 on a finding."""
import os
import re
import subprocess
import sys

FOLDERS = ("app", "capture", "preview", "output", "win", "gif", "markup")
MAX_FILE_LINES, MAX_FUNCTION_LINES = 400, 80


def blank(text):
    text = re.sub(r"/\*.*?\*/", lambda m: "\n" * m.group(0).count("\n"), text, flags=re.S)
    text = re.sub(r"//[^\n]*", "", text)
    text = re.sub(r'L?"(\\.|[^"\\\n])*"', '""', text)
    return re.sub(r"'(\\.|[^'\\\n])*'", "''", text)


def long_functions(text):
    """(first line, length) of each function body over the limit."""
    found, stack, line, head_start = [], [], 1, 0
    for i, c in enumerate(text):
        if c == "\n":
            line += 1
        elif c == "{":
            head = text[head_start:i].strip()
            in_function = any(kind == "function" for kind, _ in stack)
            is_scope = re.search(r"\b(namespace|class|struct|enum|union)\b[^()]*$", head) or head.endswith("=")
            is_function = not in_function and not is_scope and ")" in head and \
                not re.match(r"(if|for|while|switch|catch|else|do)\b", head)
            stack.append(("function" if is_function else "block", line))
            head_start = i + 1
        elif c == "}":
            if stack:
                kind, start = stack.pop()
                if kind == "function" and line - start + 1 > MAX_FUNCTION_LINES:
                    found.append((start, line - start + 1))
            head_start = i + 1
        elif c == ";":
            head_start = i + 1
    return found


def include_cycles(root, files, unit):
    graph = {}
    for f in files:
        for target in re.findall(r'^\s*#\s*include\s+"([^"]+)"', open(os.path.join(root, f)).read(), re.M):
            if target in files and unit(target) != unit(f):
                graph.setdefault(unit(f), set()).add(unit(target))
    index, low, stack, on_stack, cycles = {}, {}, [], set(), []

    def visit(v):  # Tarjan's strongly connected components
        index[v] = low[v] = len(index)
        stack.append(v)
        on_stack.add(v)
        for w in graph.get(v, ()):
            if w not in index:
                visit(w)
                low[v] = min(low[v], low[w])
            elif w in on_stack:
                low[v] = min(low[v], index[w])
        if low[v] == index[v]:
            component = []
            while not component or component[-1] != v:
                component.append(stack.pop())
                on_stack.discard(component[-1])
            if len(component) > 1:
                cycles.append(sorted(component))

    for v in list(graph):
        if v not in index:
            visit(v)
    return cycles


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    listed = subprocess.check_output(["git", "ls-files", *FOLDERS], cwd=root, text=True).split()
    files = {f for f in listed if f.endswith((".h", ".cpp")) and "/native/" not in f}
    findings = []
    for f in sorted(files):
        text = open(os.path.join(root, f), encoding="utf-8").read()
        if text.count("\n") > MAX_FILE_LINES:
            findings.append(f"{f}: {text.count(chr(10))} lines")
        findings += [f"{f}:{start}: function of {n} lines" for start, n in long_functions(blank(text))]
    findings += ["files include each other: " + ", ".join(c) for c in include_cycles(root, files, lambda f: f)]
    for knot in include_cycles(root, files, lambda f: os.path.splitext(f)[0]):
        print("note: units need each other: " + ", ".join(knot))
    print("\n".join(findings) or "structure ok")
    return 1 if findings else 0


if __name__ == "__main__":
    sys.exit(main())
