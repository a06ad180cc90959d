#!/usr/bin/env python3
"""Static checks of the release files that ./package.sh makes under dist/.

    check_package.py --dist dist [--version-header res/version.h]

For x86 and x64: the installer (machine, a version record with the program's version,
and for x86 a PE header and imports that Windows 2000 accepts) and the portable zip
(exactly the two files, the read-me and the licence, in one folder named after the
version; the two binaries pass every check of check_pe.py, no debug data among them).
SHA256SUMS must name the four files with their sums. Prints the sizes of what ships.
"""
import argparse
import hashlib
import os
import re
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import check_pe  # noqa: E402
from check_pe import PE, check, parse_version, post_2000_imports  # noqa: E402

ARCHES = {"x86": ("x86", 0x14C), "x64": ("x86_64", 0x8664)}
RT_VERSION = 16


def version_from(header):
    text = open(header, encoding="utf-8").read()
    m = re.search(r'^#define CLAROVIA_VERSION_TEXT "([0-9.]+)"$', text, re.M)
    if not m:
        sys.exit("no CLAROVIA_VERSION_TEXT in %s" % header)
    return m.group(1)


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


def check_zip(path, arch, folder):
    want = {folder + "/" + name for name in ("Clarovia.exe", "vitrel.dll", "readme.txt", "LICENSE.txt")}
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
            readme = os.path.join(binaries, "readme.txt")
            if os.path.exists(readme):
                text = open(readme, "rb").read()
                check(b"\r\n" in text and b"\n" not in text.replace(b"\r\n", b""),
                      "%s: readme.txt lines do not all end in CRLF" % path)
                check(b"@" not in text, "%s: readme.txt keeps an unreplaced @VARIABLE@" % path)
        return {n.split("/", 1)[1]: z.getinfo(n).file_size for n in names & want}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--dist", required=True)
    ap.add_argument("--version-header", default=os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "..", "res", "version.h"))
    args = ap.parse_args()
    version = version_from(args.version_header)
    files = []
    for name, (arch, machine) in ARCHES.items():
        base = "Clarovia-%s-%s" % (version, name)
        setup = os.path.join(args.dist, base + "-setup.exe")
        archive = os.path.join(args.dist, base + ".zip")
        for path in (setup, archive):
            check(os.path.isfile(path), "%s missing" % path)
        if os.path.isfile(setup):
            check_installer(setup, name, machine, version)
            files.append(setup)
        if os.path.isfile(archive):
            inner = check_zip(archive, arch, base)
            files.append(archive)
            print("%s: %s" % (base, ", ".join("%s %d bytes" % kv for kv in sorted(inner.items()))))
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
