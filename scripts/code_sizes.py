#!/usr/bin/env python3
"""Lists the longest functions and the largest files of C++ sources.

usage: scripts/code_sizes.py [--over N] [--files-over N] [FOLDER...]   (default: src)

A function counts from the first line of its signature to its closing brace. The scan is
textual (comments, strings and character literals are blanked first), which is enough for
the plain style of this tree: a brace opens a function body when the text before it, back
to the last ';', '{' or '}', closes a parameter list and is not a control statement.
"""
import argparse
import os
import re
import sys

CONTROL = re.compile(r"^\s*(if|for|while|switch|catch|do|else)\b")
SCOPE = re.compile(r"\b(namespace|class|struct|union|enum)\b[^()]*$")


def blank_comments_and_literals(text):
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c == 'R' and text.startswith('R"', i):
            m = re.match(r'R"([^(]*)\(', text[i:])
            if not m:
                out.append(c)
                i += 1
                continue
            end = text.find(")" + m.group(1) + '"', i)
            j = n if end < 0 else end + len(m.group(1)) + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            out.append(c + " " * (j - i - 2) + c if j - i >= 2 else text[i:j])
            i = j
        else:
            out.append(c)
            i += 1
    return "".join(out)


def functions_of(path):
    with open(path, encoding="utf-8", errors="replace") as f:
        text = blank_comments_and_literals(f.read())
    # Preprocessor lines are not part of any declaration.
    text = re.sub(r"(?m)^[ \t]*#.*$", lambda m: " " * len(m.group(0)), text)
    stack = []  # 'scope', 'function' or 'block'
    header_start = 0
    starts = {}
    found = []
    line = 1
    for i, c in enumerate(text):
        if c == "\n":
            line += 1
        elif c == "{":
            header = text[header_start:i]
            inside_function = any(kind != "scope" for kind in stack)
            if inside_function:
                stack.append("block")
            elif SCOPE.search(header) or "=" in header.split(")")[-1] or ")" not in header:
                stack.append("scope" if SCOPE.search(header) or ")" not in header else "block")
            elif CONTROL.search(header):
                stack.append("block")
            else:
                stack.append("function")
                offset = len(header) - len(header.lstrip())
                first = text.count("\n", 0, header_start + offset) + 1
                name = re.findall(r"([~\w:]+)\s*\(", header)
                starts[len(stack)] = (first, name[0] if name else "?")
            header_start = i + 1
        elif c == "}":
            if stack:
                if stack[-1] == "function":
                    first, name = starts.pop(len(stack))
                    found.append((line - first + 1, path, first, name))
                stack.pop()
            header_start = i + 1
        elif c == ";":
            header_start = i + 1
    return found


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--over", type=int, default=60, help="list functions longer than this")
    parser.add_argument("--files-over", type=int, default=450, help="list files longer than this")
    parser.add_argument("folders", nargs="*", default=["src"])
    args = parser.parse_args()
    sources = []
    for folder in args.folders:
        for root, _, names in os.walk(folder):
            sources += [os.path.join(root, n) for n in names if n.endswith((".cpp", ".h"))]
    functions, files = [], []
    for path in sorted(sources):
        functions += functions_of(path)
        with open(path, encoding="utf-8", errors="replace") as f:
            files.append((sum(1 for _ in f), path))
    functions.sort(reverse=True)
    files.sort(reverse=True)
    long_functions = [f for f in functions if f[0] > args.over]
    big_files = [f for f in files if f[0] > args.files_over]
    print(f"{len(files)} files, {len(functions)} functions")
    print(f"functions over {args.over} lines: {len(long_functions)}")
    for length, path, first, name in long_functions:
        print(f"  {length:4d}  {path}:{first}  {name}")
    print(f"files over {args.files_over} lines: {len(big_files)}")
    for length, path in big_files:
        print(f"  {length:4d}  {path}")
    if functions:
        length, path, first, name = functions[0]
        print(f"longest function: {length} lines, {name} ({path}:{first})")
    if files:
        print(f"largest file: {files[0][0]} lines, {files[0][1]}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
