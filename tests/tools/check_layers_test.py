#!/usr/bin/env python3
"""tools/check-layers on a small tree: what it lets through and what it reports."""
import pathlib
import subprocess
import sys
import tempfile

tool = pathlib.Path(sys.argv[1])

LADDER = """#   FITWRIGHT_LAYER low:
#   FITWRIGHT_LAYER side:
#   FITWRIGHT_LAYER high: low
"""

FILES = {
    "low/Base.h": "class Base\n{\n};\n",
    "side/Other.h": "class Other\n{\n};\n",
    "high/Top.h": '#include "low/Base.h"\nclass Top : public Base\n{\n};\n',
    # Allowed: a class's name in a comment or a string, and a class the file defines for itself.
    "low/Quiet.cpp": '// Top draws this.\nconst char* NAME = "Top";\nstruct Other\n{\n};\n',
}

CASES = [
    # (file, text, expected report or None)
    ("low/Plain.cpp", '#include "low/Base.h"\n', None),
    ("low/Up.h", "class Top;\n", "low/Up.h:1: low may not name Top of high"),
    # A block comment keeps the line numbers of what follows it.
    ("low/Later.h", "/* one\ntwo */\nvoid Draw(Top*);\n", "low/Later.h:3: low may not name Top of high"),
    # A sibling layer's class is not above: only its headers are out of reach.
    ("side/Named.h", "class Base;\n", None),
    ("low/UpInclude.cpp", '#include "high/Top.h"\n', "low/UpInclude.cpp:1: low may not include high/Top.h"),
    ("side/Across.cpp", '#include "low/Base.h"\n', "side/Across.cpp:1: side may not include low/Base.h"),
]

failures = 0
for name, text, expected in CASES:
    with tempfile.TemporaryDirectory() as folder:
        root = pathlib.Path(folder)
        (root / "CMakeLists.txt").write_text(LADDER)
        for path, body in {**FILES, name: text}.items():
            (root / path).parent.mkdir(parents=True, exist_ok=True)
            (root / path).write_text(body)
        run = subprocess.run([sys.executable, str(tool), str(root)], capture_output=True, text=True)
        got = run.stdout.strip() or None
        if got != expected or (run.returncode != 0) != (expected is not None):
            print(f"{name}: expected {expected!r}, got {got!r} (exit {run.returncode})")
            failures += 1
print(f"{len(CASES) - failures} passed, {failures} failed")
sys.exit(1 if failures else 0)
