#!/usr/bin/env python3
"""The layer rule fails on every include that reaches upward and passes the real tree.

Each case builds a small tree in a temporary folder: a header in each layer,
one source that includes something, and expects the check to fail or pass.
Usage: check_layers_test.py CHECK_SCRIPT SOURCE_ROOT
"""
import os
import subprocess
import sys
import tempfile

HEADERS = {
    "protocol/KtMessage.h": "",
    "framework/base/KtString.h": "",
    "framework/kernel/KtEvent.h": "",
    "runtime/KtVelka.h": "",
    "app/MainWindow.h": "",
}

# (source written into the tree, include line, expected to pass)
CASES = [
    ("framework/window/KtPopupViewport.cpp", '#include "KtVelka.h"', False),
    ("framework/window/KtPopupViewport.cpp", '#include "MainWindow.h"', False),
    ("framework/window/KtPopupViewport.cpp", '#include "../../runtime/KtVelka.h"', False),
    ("framework/window/KtPopupViewport.cpp", '#  include <KtVelka.h>', False),
    ("framework/graphics/KtVSurface.h", '#include "KtVelka.h"', False),
    ("runtime/KtWindowThread.cpp", '#include "MainWindow.h"', False),
    ("protocol/KtMonitorRecord.cpp", '#include "KtString.h"', False),
    ("tools/KtMonitor/MonitorWindow.cpp", '#include "KtVelka.h"', False),
    ("scenario/game/Game.cpp", '#include "MainWindow.h"', False),
    ("framework/window/KtPopupViewport.cpp", '#include "KtMessage.h"', True),
    ("framework/graphics/KtVSurface.h", '#include "KtEvent.h"', True),
    ("runtime/KtVelka.cpp", '#include "KtString.h"', True),
    ("app/MainWindow.cpp", '#include "KtVelka.h"', True),
    ("scenario/game/Game.cpp", '#include "KtVelka.h"', True),
    ("tools/KtMonitor/MonitorWindow.cpp", '#include "KtMessage.h"', True),
    ("framework/base/KtString.cpp", '#include <windows.h>', True),
    ("framework/base/KtString.cpp", '// #include "KtVelka.h" named in a comment', True),
]


def write(root, relative, text):
    path = os.path.join(root, relative)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as out:
        out.write(text + "\n")


def run_check(check, root):
    result = subprocess.run([sys.executable, check, root], capture_output=True, text=True)
    return result.returncode, result.stderr


def main():
    check, source_root = sys.argv[1], sys.argv[2]
    failures = []
    for source, include, should_pass in CASES:
        with tempfile.TemporaryDirectory() as root:
            for header, text in HEADERS.items():
                write(root, header, text)
            write(root, source, include)
            code, errors = run_check(check, root)
            passed = code == 0
            if passed != should_pass:
                failures.append("%s with %r: expected %s, got exit %d %s"
                                % (source, include, "pass" if should_pass else "fail", code,
                                   errors.strip()))
            elif not passed and source not in errors:
                failures.append("%s with %r: the message does not name the file: %s"
                                % (source, include, errors.strip()))
    code, errors = run_check(check, source_root)
    if code != 0:
        failures.append("the source tree breaks the rule: " + errors.strip())
    for failure in failures:
        print("FAILED:", failure)
    print("%d cases, %d failed" % (len(CASES) + 1, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
