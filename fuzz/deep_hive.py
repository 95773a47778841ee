#!/usr/bin/env python3
"""Writes the damaged hive of one section nested 30,000 keys deep (60 KB) into each folder given:
a regression input for the hive and store targets, too big to keep in the repository."""
import os
import sys

DEPTH = 30000
text = "REGEDIT4\n\n[HKEY_CURRENT_USER" + "\\a" * DEPTH + "]\n\"v\"=\"x\"\n"
for folder in sys.argv[1:]:
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "deep-30000-levels.reg"), "w", newline="\n") as out:
        out.write(text)
