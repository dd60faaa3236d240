#!/usr/bin/env python3
"""The include walls, checked against what the compiler really opened.

Each library exports only <folder>/include; the compiler refuses any other
header it is not given a root for. What the compiler cannot refuse is a header
reached by a path of its own, such as "../finance/ui.h". This check reads every
object's compile command (compile_commands.json) and the headers it read (the
build tool's dependency log) and fails when an object read
  - a header of another library that is not under that library's include/
    root, unless the object was given that library's private root (its tests,
    benchmarks and the tools of its family link <library>_internals);
  - a public header or generated header through a root its command does not
    name (reached by a relative path);
  - a header of a library at its own layer or above (the layers below).

usage: check_includes.py SOURCE_DIR BUILD_DIR
"""
import json
import os
import subprocess
import sys

# The libraries from the bottom up: a library may read the faces of those
# before it. Libraries grouped in a tuple are siblings: neither reads the other.
# Folders not listed (tests, benchmarks, fuzz targets, the tools) sit above
# them all.
LAYERS = [
    "runtime/base", "forms/format", "runtime", "runtime/shell", "recordstore",
    "money", "finance/backup", "forms", "forms/commands", "table", "ui",
    "analysis/charts", ("finance", "analysis", "printing"), "app",
]
ABOVE_ALL = ["resources", "tools/tavrin-db", "tests", "bench", "fuzz"]


def main():
    source, build = (os.path.realpath(p) for p in sys.argv[1:3])
    def words(command):
        return command["command"].split() if "command" in command else command["arguments"]

    def output(command):
        w = words(command)
        out = command.get("output") or (w[w.index("-o") + 1] if "-o" in w else "")
        return os.path.normpath(os.path.join(command["directory"], out))

    with open(os.path.join(build, "compile_commands.json")) as f:
        commands = {output(e): e for e in json.load(f)}
    deps = subprocess.run(["ninja", "-C", build, "-t", "deps"], capture_output=True,
                          text=True, check=True).stdout

    def owner(path):
        """The folder of the nearest CMakeLists.txt: the library a file belongs to."""
        rel = os.path.relpath(path, source)
        parts = rel.split("/")[:-1]
        while parts:
            folder = "/".join(parts)
            if os.path.exists(os.path.join(source, folder, "CMakeLists.txt")):
                return folder
            parts.pop()
        return ""

    def rank(folder):
        for i, top in enumerate(ABOVE_ALL):
            if folder == top or folder.startswith(top + "/"):
                return len(LAYERS) + i
        for i, layer in enumerate(LAYERS):
            if folder == layer or (isinstance(layer, tuple) and folder in layer):
                return i
        return None

    def roots(command):
        w = words(command)
        found = set()
        for i, word in enumerate(w):
            if word.startswith("-I") and len(word) > 2:
                found.add(os.path.normpath(word[2:]))
            elif word in ("-I", "-isystem", "-iquote") and i + 1 < len(w):
                found.add(os.path.normpath(w[i + 1]))
        return found

    def under(path, folder):
        return path == folder or path.startswith(folder + "/")

    faults = []
    unknown = set()
    objects = 0
    for block in deps.split("\n\n"):
        lines = [l for l in block.splitlines() if l.strip()]
        if not lines or ": #deps" not in lines[0]:
            continue
        obj = os.path.normpath(os.path.join(build, lines[0].split(": #deps")[0]))
        command = commands.get(obj)
        if command is None:
            continue  # not a C++ compile (moc, resources)
        objects += 1
        src = os.path.normpath(os.path.join(command["directory"], command["file"]))
        if not under(src, source) or under(src, build):
            continue  # a generated source: its headers are checked with their users
        mine = owner(src)
        my_rank = rank(mine)
        if my_rank is None:
            unknown.add(mine)
            continue
        given = roots(command)
        for dep in (os.path.normpath(l.strip()) for l in lines[1:]):
            if under(dep, build):
                if "_generated/" in dep and os.path.dirname(dep) not in given:
                    faults.append(f"{src}: {dep}: a generated header of another target")
                continue
            if not under(dep, source) or dep == src:
                continue  # a system header, or the source itself
            theirs = owner(dep)
            if theirs == mine:
                continue
            if my_rank >= len(LAYERS) and rank(theirs) is not None and \
                    rank(theirs) >= len(LAYERS):
                continue  # tests, benchmarks and tools share their own support files
            their_rank = rank(theirs)
            public_root = os.path.join(source, theirs, "include")
            private_root = os.path.join(source, theirs)
            if their_rank is None or their_rank >= my_rank:
                faults.append(f"{src}: {dep}: {theirs or 'the top folder'} is not below {mine}")
            elif under(dep, public_root) and public_root in given:
                continue
            elif private_root in given and not under(dep, public_root):
                continue  # the library's internals, linked on purpose
            elif under(dep, public_root):
                faults.append(f"{src}: {dep}: {theirs}'s public header by a path of its own")
            else:
                faults.append(f"{src}: {dep}: {theirs}'s private header")
    for folder in sorted(unknown):
        faults.append(f"{folder or 'the top folder'}: a folder with sources the layers do not list")
    for fault in faults:
        print("include walls:", fault)
    if objects == 0:
        print("include walls: no compiled object found in", build)
        return 1
    if not faults:
        print(f"include walls: {objects} objects read only their own headers and the faces below")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
