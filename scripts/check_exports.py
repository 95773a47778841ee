#!/usr/bin/env python3
"""Checks a built library's exported names against the export list in exports/*.txt (and, for the
Windows DLL, exports/win32/*.txt: what only Windows exports).

  check_exports.py pe  OBJDUMP ZEDLL.dll   the 32-bit DLL: its export table equals the list exactly,
                                            and it imports system DLLs only
  check_exports.py imports OBJDUMP X.dll    any DLL: it imports system DLLs only
  check_exports.py elf NM libzedll.so       the ELF library: every plain function is there, and
                                            nothing is visible but listed functions and members of
                                            listed classes
"""
import glob
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll", "comdlg32.dll",
    "shell32.dll", "winmm.dll", "version.dll", "msvcrt.dll", "ole32.dll", "ntdll.dll",
}
PLAIN = re.compile(r"^_([A-Za-z0-9_]+)@[0-9]+$")
MANGLED_CLASS = re.compile(r"^_Z(?:N[KVr]*|T[IVS]N?)?([0-9]+)")


def export_list(windows):
    names = []
    paths = glob.glob(os.path.join(ROOT, "exports", "*.txt"))
    if windows:
        paths += glob.glob(os.path.join(ROOT, "exports", "win32", "*.txt"))
    for path in sorted(paths):
        with open(path, encoding="ascii") as f:
            for line in f:
                line = line.split("#", 1)[0].strip()
                if line:
                    names.append(line)
    return names


def class_of(mangled):
    m = MANGLED_CLASS.match(mangled)
    if not m:
        return None
    start = m.end()
    return mangled[start:start + int(m.group(1))]


def run(*cmd):
    return subprocess.run(cmd, check=True, capture_output=True, text=True).stdout


def foreign_imports(text):
    imports = re.findall(r"DLL Name: (\S+)", text)
    return imports, [f"imports a non-system DLL: {d}" for d in imports if d.lower() not in SYSTEM_DLLS]


def check_imports(objdump, dll):
    imports, errors = foreign_imports(run(objdump, "-p", dll))
    return errors, f"imports {', '.join(imports)}"


def check_pe(objdump, dll):
    text = run(objdump, "-p", dll)
    exported, in_table = set(), False
    for line in text.splitlines():
        if "[Ordinal/Name Pointer] Table" in line:
            in_table = True
        elif in_table:
            m = re.match(r"\s*\[\s*\d+\]\s+(\S+)", line)
            if not m:
                break
            exported.add(m.group(1))
    wanted = set(export_list(windows=True))
    errors = [f"missing from the DLL: {n}" for n in sorted(wanted - exported)]
    errors += [f"exported but not in the list: {n}" for n in sorted(exported - wanted)]
    imports, foreign = foreign_imports(text)
    return errors + foreign, f"{len(exported)} exports, imports {', '.join(imports)}"


def check_elf(nm, so):
    text = run(nm, "-D", "--defined-only", so)
    exported = set()
    for line in text.splitlines():
        parts = line.split()
        if len(parts) == 3 and parts[1] in "TtDdBbRrVvWw" and parts[1].isupper():
            exported.add(parts[2])
    listed = export_list(windows=False)
    # Plain functions: decorated standard-call names, and the C-convention ones listed bare.
    plain = {PLAIN.match(n).group(1) for n in listed if PLAIN.match(n)}
    plain |= {n for n in listed if not PLAIN.match(n) and not n.startswith("_Z")}
    classes = {class_of(n) for n in listed if n.startswith("_Z") and not PLAIN.match(n)} - {None}
    errors = [f"missing from the library: {n}" for n in sorted(plain - exported)]
    seen_classes = set()
    for name in sorted(exported):
        if name in plain:
            continue
        cls = class_of(name)
        if cls in classes:
            seen_classes.add(cls)
        else:
            errors.append(f"visible but not exported by the interface: {name}")
    errors += [f"no member of exported class {c}" for c in sorted(classes - seen_classes)]
    return errors, f"{len(exported)} visible symbols"


def main():
    checks = {"pe": check_pe, "imports": check_imports, "elf": check_elf}
    if len(sys.argv) != 4 or sys.argv[1] not in checks:
        print(__doc__, file=sys.stderr)
        return 2
    check = checks[sys.argv[1]]
    errors, summary = check(sys.argv[2], sys.argv[3])
    for e in errors:
        print(f"export check: {e}", file=sys.stderr)
    print(f"export check ({sys.argv[1]}): {summary}: {'FAILED' if errors else 'ok'}")
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
