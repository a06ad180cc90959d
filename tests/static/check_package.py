#!/usr/bin/env python3
"""Static checks of the release files that ./package.sh makes under dist/.

    check_package.py --dist dist [--version-header res/version.h] [--companion-bin build/i686/bin]

For x86 and x64: the installer (machine, a version record with the program's version,
and for x86 a PE header and imports that Windows 2000 accepts; what it carries: the
zip's binaries byte for byte, and no binary of another machine but the x64 package's
32-bit companion and library, so that it can leave none beside the program) and the
portable zip (exactly the two files, the read-me and the licence, in one folder named
after the version, and in the x64 one its x86 folder with Clarovia32.exe and the 32-bit
vitrel.dll as vitrel32.dll, byte for byte the i686 build's; every binary passes every check of
check_pe.py, no debug data among them).
SHA256SUMS must name the four files with their sums. Prints the sizes of what ships.
"""
import argparse
import hashlib
import lzma
import os
import re
import struct
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_pe  # noqa: E402
from check_pe import PE, check, parse_version, post_2000_imports  # noqa: E402

ARCHES = {"x86": ("x86", 0x14C), "x64": ("x86_64", 0x8664)}
# The x64 package's folder for 32-bit programs: the i686 build's companion and library.
COMPANION_FOLDER, COMPANION_ARCH = "x86", "x86"
# In the package's x86 folder, each from the i686 build's file of the second name.
COMPANION_FILES = {"Clarovia32.exe": "Clarovia32.exe", "vitrel32.dll": "vitrel.dll"}
RT_VERSION = 16


def version_from(header):
    text = open(header, encoding="utf-8").read()
    m = re.search(r'^#define CLAROVIA_VERSION_TEXT "([0-9.]+)"$', text, re.M)
    if not m:
        sys.exit("no CLAROVIA_VERSION_TEXT in %s" % header)
    return m.group(1)


def installer_blocks(path):
    """The data blocks an NSIS installer made with SetCompressor /SOLID lzma carries:
    its script's header first, then the files. None if the layout is not that one."""
    data = open(path, "rb").read()
    for start in range(0, len(data) - 28, 512):
        if data[start + 4:start + 20] == b"\xef\xbe\xad\xdeNullsoftInst":
            break
    else:
        return None
    body = data[start + 28:]
    props, dict_size = body[0], struct.unpack_from("<I", body, 1)[0]
    lzma1 = {"id": lzma.FILTER_LZMA1, "dict_size": dict_size,
             "lc": props % 9, "lp": props // 9 % 5, "pb": props // 45}
    try:
        out = lzma.LZMADecompressor(lzma.FORMAT_RAW, filters=[lzma1]).decompress(body[5:])
    except lzma.LZMAError:
        return None
    blocks, at = [], 0
    while at + 4 <= len(out):
        size = struct.unpack_from("<I", out, at)[0]
        if at + 4 + size > len(out):
            return None
        blocks.append(out[at + 4:at + 4 + size])
        at += 4 + size
    return blocks


def check_installer_files(path, machine, zipped):
    """zipped: the zip's binaries by name; those of the companion's folder are the only
    ones that may be of another machine."""
    blocks = installer_blocks(path)
    check(blocks is not None, "%s: not a solid LZMA NSIS installer" % path)
    companion = [data for name, data in zipped.items() if name.startswith(COMPANION_FOLDER + "/")]
    for block in blocks or []:
        if block[:2] == b"MZ" and len(block) >= 0x40:
            pe = struct.unpack_from("<I", block, 0x3C)[0]
            if block[pe:pe + 4] == b"PE\0\0":
                found = struct.unpack_from("<H", block, pe + 4)[0]
                check(found == machine or block in companion,
                      "%s carries a binary of machine 0x%x" % (path, found))
    for name, data in zipped.items():
        check(blocks is not None and data in blocks, "%s does not carry the zip's %s" % (path, name))


def check_installer(path, arch, machine, version):
    pe = PE(path)
    check(pe.machine == machine, "%s: machine 0x%x, expected 0x%x" % (path, pe.machine, machine))
    check(pe.subsystem == 2, "%s: subsystem %d, expected GUI" % (path, pe.subsystem))
    if arch == "x86":
        check(pe.os_version <= (5, 0), "%s: OS version %s newer than Windows 2000" % (path, pe.os_version))
        for dll, funcs in pe.imports().items():
            bad = post_2000_imports(dll, funcs)
            check(not bad, "%s imports from %s functions newer than Windows 2000: %s" % (path, dll, bad))
    versions = [data for (rtype, _), langs in pe.resources().items() if rtype == RT_VERSION
                for data in langs.values()]
    check(len(versions) == 1, "%s: %d version records, expected 1" % (path, len(versions)))
    if versions:
        fixed, strings, _ = parse_version(versions[0])
        numbers = [int(n) for n in version.split(".")]
        ms, ls = numbers[0] << 16 | numbers[1], numbers[2] << 16 | numbers[3]
        check(fixed is not None and fixed[2:4] == (ms, ls), "%s: file version differs from %s" % (path, version))
        values = {k: v for table in strings.values() for k, v in table.items()}
        check(values.get("ProductVersion") == version, "%s: ProductVersion %r, expected %r" % (
            path, values.get("ProductVersion"), version))
        check(values.get("ProductName") == "Clarovia", "%s: ProductName %r" % (path, values.get("ProductName")))


def check_zip(path, arch, folder, companion_bin):
    """companion_bin: where the companion's files come from (x64), else None."""
    want = {folder + "/" + name for name in ("Clarovia.exe", "vitrel.dll", "readme.txt", "LICENSE.txt")}
    if companion_bin:
        want |= {"%s/%s/%s" % (folder, COMPANION_FOLDER, name) for name in COMPANION_FILES}
    with zipfile.ZipFile(path) as z:
        names = {n for n in z.namelist() if not n.endswith("/")}
        check(names == want, "%s holds %s, expected %s" % (path, sorted(names), sorted(want)))
        check(z.testzip() is None, "%s: a damaged member" % path)
        with tempfile.TemporaryDirectory() as tmp:
            for name in names & want:
                z.extract(name, tmp)
            binaries = os.path.join(tmp, folder)
            if os.path.exists(os.path.join(binaries, "vitrel.dll")):
                check_pe.check_dll(os.path.join(binaries, "vitrel.dll"), arch)
            if os.path.exists(os.path.join(binaries, "Clarovia.exe")):
                check_pe.check_exe(os.path.join(binaries, "Clarovia.exe"), arch)
            companion = os.path.join(binaries, COMPANION_FOLDER)
            if companion_bin and os.path.isdir(companion):
                check_pe.check_companion(os.path.join(companion, "Clarovia32.exe"), COMPANION_ARCH)
                check_pe.check_dll(os.path.join(companion, "vitrel32.dll"), COMPANION_ARCH)
                for name, built_name in COMPANION_FILES.items():
                    built = os.path.join(companion_bin, built_name)
                    check(os.path.isfile(built) and open(built, "rb").read() == open(
                        os.path.join(companion, name), "rb").read(),
                        "%s: %s/%s is not %s" % (path, COMPANION_FOLDER, name, built))
            readme = os.path.join(binaries, "readme.txt")
            if os.path.exists(readme):
                text = open(readme, "rb").read()
                check(b"\r\n" in text and b"\n" not in text.replace(b"\r\n", b""),
                      "%s: readme.txt lines do not all end in CRLF" % path)
                check(b"@" not in text, "%s: readme.txt keeps an unreplaced @VARIABLE@" % path)
        return {n.split("/", 1)[1]: z.read(n) for n in names & want}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--dist", required=True)
    source = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
    ap.add_argument("--version-header", default=os.path.join(source, "res", "version.h"))
    ap.add_argument("--companion-bin", default=os.path.join(source, "build", "i686", "bin"),
                    help="the i686 build's bin/, whose Clarovia32.exe and vitrel.dll the x64 package carries")
    args = ap.parse_args()
    version = version_from(args.version_header)
    files = []
    for name, (arch, machine) in ARCHES.items():
        base = "Clarovia-%s-%s" % (version, name)
        setup = os.path.join(args.dist, base + "-setup.exe")
        archive = os.path.join(args.dist, base + ".zip")
        for path in (setup, archive):
            check(os.path.isfile(path), "%s missing" % path)
        inner = {}
        if os.path.isfile(archive):
            inner = check_zip(archive, arch, base, args.companion_bin if name == "x64" else None)
            files.append(archive)
            print("%s: %s" % (base, ", ".join("%s %d bytes" % (n, len(d)) for n, d in sorted(inner.items()))))
        if os.path.isfile(setup):
            check_installer(setup, name, machine, version)
            check_installer_files(setup, machine, {n: d for n, d in inner.items() if n.endswith((".exe", ".dll"))})
            files.append(setup)
    sums = os.path.join(args.dist, "SHA256SUMS")
    listed = {}
    if os.path.isfile(sums):
        for line in open(sums, encoding="ascii"):
            digest, name = line.rstrip("\n").split(None, 1)
            listed[name.lstrip("*")] = digest
    check(set(listed) == {os.path.basename(f) for f in files} and len(files) == 4,
          "SHA256SUMS names %s" % sorted(listed))
    for f in files:
        digest = hashlib.sha256(open(f, "rb").read()).hexdigest()
        check(listed.get(os.path.basename(f)) == digest, "SHA256SUMS: wrong sum for %s" % os.path.basename(f))
        print("%s %d bytes" % (os.path.basename(f), os.path.getsize(f)))
    return check_pe.report()


if __name__ == "__main__":
    sys.exit(main())
