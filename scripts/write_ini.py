#!/usr/bin/env python3
"""Writes a Windows settings file in Shift-JIS: write_ini.py FILE SECTION KEY=VALUE..."""
import sys

def main():
    path, section, *pairs = sys.argv[1:]
    lines = [f"[{section}]"] + pairs
    with open(path, "w", encoding="cp932", newline="\r\n") as out:
        out.write("\n".join(lines) + "\n")

if __name__ == "__main__":
    main()
