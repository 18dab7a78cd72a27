#!/usr/bin/env python3
"""The README's quick start shows the sample host's files as they are: each block that follows
a line naming a file of examples/host_sample must be that file's whole text.
    check_quick_start.py SOURCE_DIR"""
import re
import sys
from pathlib import Path

root = Path(sys.argv[1])
readme = (root / "README.md").read_text(encoding="utf-8")
shown = re.findall(r"^`(examples/host_sample/[^`]+)`:\n\n```[a-z]*\n(.*?)^```$", readme, re.M | re.S)
failed = False
if len(shown) < 2:
    print("README.md: the quick start shows fewer than two files of examples/host_sample")
    failed = True
for name, text in shown:
    if (root / name).read_text(encoding="utf-8") != text:
        print(f"README.md: the block of {name} differs from the file")
        failed = True
print("quick start: " + ("differs" if failed else f"{len(shown)} files as they are"))
sys.exit(1 if failed else 0)
