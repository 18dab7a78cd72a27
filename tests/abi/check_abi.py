#!/usr/bin/env python3
"""The binary interface of the shipped modules, checked against the committed lists.

  check_abi.py [BUILD_DIR] [--only exports|slots] [--update]

BUILD_DIR is a build tree (default: $CORELINK_BUILD_DIR, else build/ of the repository).

exports  Each module's export table (bin/NAME.dll) against tests/abi/exports/NAME.txt: one
         line per exported symbol, "function" or "data" (by the section its address lies in)
         and the demangled name; constructors and destructors carry their variant
         ([complete], [base], [deleting]), which demangle alike. A symbol in the module but
         not in the list, or in the list but not in the module, fails and is named; a
         changed signature shows as one of each.
slots    The virtual slots of the exported classes, read from the probe object that
         tests/abi/vtable_slots.cpp compiles to (the .abislot section: each record is a name
         and the member's pointer, which for a virtual member holds 1 + the slot's byte
         offset in the vtable), against tests/abi/vtable_slots.txt.

--update rewrites the lists from the build and prints what changed. After an intended
change of the interface (a new export, a removed one, a new virtual member), run

  tests/abi/check_abi.py --update BUILD_DIR

and commit the changed lists with the change, with a line in CHANGELOG.md (see its version
policy). Without --update any difference fails (exit status 1).
"""
import argparse
import os
import re
import shutil
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
MODULES = ["Corelink", "MfcLiteU", "BaseKitU", "UiKitU", "NetKit", "Hintbook"]
SLOT_RECORD = 128          # char name[116], unsigned magic, member pointer (two 32-bit words)
SLOT_MAGIC = 0x534C4F54
IMAGE_SCN_CNT_CODE = 0x00000020
IMAGE_SCN_MEM_EXECUTE = 0x20000000


class Failure(Exception):
    pass


# ---- PE export table ----------------------------------------------------------------------

def pe_exports(path):
    """[(name, kind)] of a PE image's export table; kind is "function" or "data"."""
    with open(path, "rb") as f:
        image = f.read()
    if image[:2] != b"MZ":
        raise Failure(f"{path}: not a PE image")
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise Failure(f"{path}: not a PE image")
    nsections, = struct.unpack_from("<H", image, pe + 6)
    optsize, = struct.unpack_from("<H", image, pe + 20)
    opt = pe + 24
    magic, = struct.unpack_from("<H", image, opt)
    ddir = opt + (96 if magic == 0x10B else 112)
    export_rva, export_size = struct.unpack_from("<II", image, ddir)
    sections = []
    for i in range(nsections):
        s = opt + optsize + 40 * i
        vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", image, s + 8)
        flags, = struct.unpack_from("<I", image, s + 36)
        sections.append((va, max(vsize, rawsize), rawptr, flags))

    def section_of(rva):
        for va, size, rawptr, flags in sections:
            if va <= rva < va + size:
                return va, rawptr, flags
        raise Failure(f"{path}: address {rva:#x} lies in no section")

    def at(rva):
        va, rawptr, _ = section_of(rva)
        return rva - va + rawptr

    if export_rva == 0:
        return []
    d = at(export_rva)
    _, _, _, _, _, _, nfuncs, nnames, funcs, names, ordinals = struct.unpack_from("<IIHHIIIIIII", image, d)
    result = []
    for i in range(nnames):
        name_rva, = struct.unpack_from("<I", image, at(names) + 4 * i)
        ordinal, = struct.unpack_from("<H", image, at(ordinals) + 2 * i)
        rva, = struct.unpack_from("<I", image, at(funcs) + 4 * ordinal)
        start = at(name_rva)
        name = image[start:image.index(b"\0", start)].decode("ascii")
        if export_rva <= rva < export_rva + export_size:
            kind = "forward"
        else:
            kind = "function" if section_of(rva)[2] & (IMAGE_SCN_CNT_CODE | IMAGE_SCN_MEM_EXECUTE) else "data"
        result.append((name, kind))
    return result


def demangle(names):
    tool = shutil.which("i686-w64-mingw32-c++filt") or shutil.which("c++filt")
    if not tool:
        raise Failure("no c++filt to demangle the exports with")
    out = subprocess.run([tool, "-n"], input="\n".join(names) + "\n", capture_output=True, text=True, check=True)
    lines = out.stdout.split("\n")[:len(names)]
    return lines


VARIANTS = {"C1": "complete", "C2": "base", "C3": "allocating", "D0": "deleting", "D1": "complete", "D2": "base"}
CTOR_DTOR = re.compile(r"(?:^|::)(~?)([A-Za-z_]\w*)(?:<.*>)?::~?\2(?:<.*>)?\(")


def variant(mangled, demangled):
    """The variant of a constructor or destructor (they demangle alike), else None."""
    if not CTOR_DTOR.search(demangled.split(" to ", 1)[-1]):
        return None
    m = re.search(r"(C[123]|D[012])(?=[EI])", mangled)
    return VARIANTS[m.group(1)] if m else None


def export_lines(dll):
    raw = pe_exports(dll)
    demangled = demangle([n for n, _ in raw])
    lines = set()
    for (mangled, kind), name in zip(raw, demangled):
        v = variant(mangled, name)
        lines.add(f"{kind:<9}{name}" + (f" [{v}]" if v else ""))
    return sorted(lines, key=lambda l: (l[9:], l[:9]))


# ---- Virtual slots from the probe object ----------------------------------------------------

def coff_section(path, wanted):
    with open(path, "rb") as f:
        obj = f.read()
    nsections, = struct.unpack_from("<H", obj, 2)
    symtab, nsyms = struct.unpack_from("<II", obj, 8)
    optsize, = struct.unpack_from("<H", obj, 16)
    strtab = symtab + 18 * nsyms
    data = b""
    relocated = set()
    for i in range(nsections):
        s = 20 + optsize + 40 * i
        raw_name = obj[s:s + 8]
        if raw_name.startswith(b"/"):
            off = int(raw_name[1:].rstrip(b"\0"))
            name = obj[strtab + off:obj.index(b"\0", strtab + off)]
        else:
            name = raw_name.rstrip(b"\0")
        if name.decode("ascii", "replace") != wanted:
            continue
        rawsize, rawptr, relptr = struct.unpack_from("<III", obj, s + 16)
        nrel, = struct.unpack_from("<H", obj, s + 32)
        base = len(data)
        data += obj[rawptr:rawptr + rawsize]
        for r in range(nrel):
            vaddr, = struct.unpack_from("<I", obj, relptr + 10 * r)
            relocated.add(base + vaddr)
    return data, relocated


def probe_object(build):
    obj = os.path.join(build, "tests", "abi", "CMakeFiles", "abi_probes.dir", "vtable_slots.cpp.obj")
    if not os.path.exists(obj):
        raise Failure(f"{obj} is missing (build the target abi_probes)")
    return obj


def slot_lines(obj):
    data, relocated = coff_section(obj, ".abislot")
    if not data:
        raise Failure(f"{obj}: no .abislot section")
    lines, problems = [], []
    for off in range(0, len(data) - SLOT_RECORD + 1, SLOT_RECORD):
        rec = data[off:off + SLOT_RECORD]
        magic, ptr, adj = struct.unpack_from("<IiI", rec, 116)
        if magic != SLOT_MAGIC:
            raise Failure(f"{obj}: record at {off} is not a slot record")
        name = rec[:116].split(b"\0")[0].decode("ascii")
        if any(off + 120 <= r < off + 128 for r in relocated) or ptr & 1 == 0:
            problems.append(f"{name} is not a virtual member")
            continue
        lines.append((name, (ptr - 1) // 4))
    lines.sort(key=lambda e: (e[0].split("::")[0], e[1], e[0]))
    return [f"{n} {s}" for n, s in lines], problems


# ---- Comparison -----------------------------------------------------------------------------

def read_list(path):
    if not os.path.exists(path):
        return None
    with open(path, encoding="utf-8") as f:
        return [l.rstrip("\n") for l in f if l.strip() and not l.startswith("#")]


def write_list(path, header, lines):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(header)
        for l in lines:
            f.write(l + "\n")


def compare(what, listed, built, listfile, update, header, keyed=None):
    """Differences between a committed list and the build, as messages; rewrites on update."""
    rel = os.path.relpath(listfile, ROOT)
    if listed is None:
        msgs = [f"{what}: no list {rel}"]
        listed = []
    else:
        msgs = []
    if keyed:
        old = dict(keyed(l) for l in listed)
        new = dict(keyed(l) for l in built)
        for k in sorted(old.keys() - new.keys()):
            msgs.append(f"{what}: removed: {k} (slot {old[k]} in {rel})")
        for k in sorted(new.keys() - old.keys()):
            msgs.append(f"{what}: added: {k} (slot {new[k]}), not in {rel}")
        for k in sorted(old.keys() & new.keys(), key=lambda k: (k.split("::")[0], old[k])):
            if old[k] != new[k]:
                msgs.append(f"{what}: moved: {k} is in slot {new[k]}, {rel} has slot {old[k]}")
    else:
        for l in sorted(set(listed) - set(built)):
            msgs.append(f"{what}: removed: {l.split(None, 1)[1]} ({l.split()[0]}), listed in {rel}")
        for l in sorted(set(built) - set(listed)):
            msgs.append(f"{what}: added: {l.split(None, 1)[1]} ({l.split()[0]}), not in {rel}")
    if update and msgs:
        write_list(listfile, header, built)
    return msgs


def check_exports(build, update):
    msgs = []
    for module in MODULES:
        dll = os.path.join(build, "bin", module + ".dll")
        if not os.path.exists(dll):
            raise Failure(f"{dll} is missing (build first)")
        header = (f"# Exports of {module}.dll: kind, demangled name (constructor and destructor variants in\n"
                  f"# brackets). Checked by tests/abi/check_abi.py; regenerate with its --update.\n")
        listfile = os.path.join(HERE, "exports", module + ".txt")
        msgs += compare(module + ".dll", read_list(listfile), export_lines(dll), listfile, update, header)
    return msgs


def check_slots(build, update):
    obj = probe_object(build)
    built, problems = slot_lines(obj)
    header = ("# Virtual slots of the exported classes: Class::member and its slot (the entry's index\n"
              "# in the class's vtable, counted from the first function entry; the virtual destructor\n"
              "# takes two). Read from tests/abi/vtable_slots.cpp by tests/abi/check_abi.py;\n"
              "# regenerate with its --update.\n")
    listfile = os.path.join(HERE, "vtable_slots.txt")

    def keyed(line):
        name, slot = line.rsplit(" ", 1)
        return name, int(slot)
    return problems + compare("vtable", read_list(listfile), built, listfile, update, header, keyed)


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("build", nargs="?", default=os.environ.get("CORELINK_BUILD_DIR", os.path.join(ROOT, "build")))
    ap.add_argument("--only", choices=["exports", "slots"])
    ap.add_argument("--update", action="store_true")
    args = ap.parse_args()
    try:
        msgs = []
        if args.only in (None, "exports"):
            msgs += check_exports(args.build, args.update)
        if args.only in (None, "slots"):
            msgs += check_slots(args.build, args.update)
    except Failure as e:
        print(f"check_abi: {e}", file=sys.stderr)
        return 2
    for m in msgs:
        print(m)
    if args.update:
        print("lists updated" if msgs else "lists unchanged")
        return 0
    if msgs:
        print(f"{len(msgs)} difference(s) from the committed interface. An intended change: "
              f"tests/abi/check_abi.py --update BUILD_DIR, then commit the lists with a CHANGELOG.md line.")
        return 1
    print("the interface matches the committed lists")
    return 0


if __name__ == "__main__":
    sys.exit(main())
