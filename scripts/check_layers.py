#!/usr/bin/env python3
"""Checks that every source includes only headers of its own layer or of the layers below.

Layers, lowest first: protocol/, framework/, runtime/, app/. A scenario module
may include the runtime's headers (it builds against them) but not the
program's; a tool may include the protocol and the framework. A header is
found by the path written in the include, relative to the including file,
or else by its file name among the project's headers, which is how the
compiler finds it through the include folders.

Usage: check_layers.py ROOT [--stamp FILE]
Exits 1 and names every offending include when a rule is broken.
"""
import os
import re
import sys

LAYERS = ["protocol", "framework", "runtime", "app"]

# What each folder of sources may include, by layer.
ALLOWED = {
    "protocol": {"protocol"},
    "framework": {"protocol", "framework"},
    "runtime": {"protocol", "framework", "runtime"},
    "app": {"protocol", "framework", "runtime", "app"},
    "scenario": {"protocol", "framework", "runtime"},
    "tools": {"protocol", "framework"},
}

SOURCE_SUFFIXES = (".h", ".hpp", ".cpp", ".c", ".inl")
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^>"]+)[>"]', re.MULTILINE)


def top_folder(root, path):
    relative = os.path.relpath(path, root)
    if relative.startswith(".."):
        return None
    return relative.split(os.sep)[0]


def sources_under(folder):
    for directory, _, files in os.walk(folder):
        for name in sorted(files):
            if name.endswith(SOURCE_SUFFIXES):
                yield os.path.join(directory, name)


def header_layers(root):
    """Maps each header's file name to the layers that hold a header of that name."""
    layers = {}
    for layer in LAYERS:
        for path in sources_under(os.path.join(root, layer)):
            if not path.endswith(".cpp"):
                layers.setdefault(os.path.basename(path), set()).add(layer)
    return layers


def included_layers(root, source, written, by_name):
    """The layers an include may reach: by its written path first, then by name."""
    beside = os.path.normpath(os.path.join(os.path.dirname(source), written))
    if os.path.isfile(beside):
        layer = top_folder(root, beside)
        return {layer} if layer in LAYERS else set()
    return by_name.get(os.path.basename(written), set())


def violations(root):
    by_name = header_layers(root)
    found = []
    for folder, allowed in sorted(ALLOWED.items()):
        for source in sources_under(os.path.join(root, folder)):
            with open(source, encoding="utf-8", errors="replace") as text:
                content = text.read()
            for written in INCLUDE.findall(content):
                reached = included_layers(root, source, written, by_name)
                # A name found in an allowed layer is taken from there.
                if reached and not (reached & allowed):
                    found.append("%s includes %s, a header of %s/, which %s/ may not include"
                                 % (os.path.relpath(source, root), written,
                                    "/, ".join(sorted(reached)), folder))
    return found


def main(argv):
    if len(argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    root = os.path.abspath(argv[1])
    found = violations(root)
    for line in found:
        sys.stderr.write("layer rule broken: %s\n" % line)
    if found:
        return 1
    if len(argv) >= 4 and argv[2] == "--stamp":
        with open(argv[3], "w") as stamp:
            stamp.write("layers checked\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
