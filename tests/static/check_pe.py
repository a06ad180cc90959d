#!/usr/bin/env python3
"""Static checks of the built deliverables (both architectures, no Wine needed).

vitrel.dll: the 26 exports with their ordinals, the shared section with its flags,
size and initial record, the imports (KERNEL32 and USER32 only) and, for the 32-bit
build, a PE header and imports that Windows 2000/XP accept.
"""
import argparse
import struct
import sys

EXPORTS = {
    "Start": 1, "End": 2, "LockMessage": 3, "SetClaroviaValue": 4, "SetMoveTPValue": 5,
    "SetSizingTPValue": 6, "SetTaskbarTPValue": 7, "SetWheelTPValue": 8, "EnableSClickTP": 9,
    "EnableMClickTP": 10, "EnableWheelTP": 11, "EnableMoveTP": 12, "EnableSizingTP": 13,
    "EnableTaskbarTP": 14, "SetTransparent": 15, "RemoveTransparent": 16, "EnableShadeTP": 17,
    "EnableStartButtonTextTP": 18, "EnableOverlapTP": 19, "EnableMoveTPLimit": 21,
    "SetMoveTPW": 22, "SetMoveTPH": 23, "IsTransparent": 24, "EnableTopmostTP": 25,
    "ShadeArea": 26, "ShadeRight": 27,
}

FIELDS = [
    "SetLayeredFn", "GetLayeredFn", "MouseHook", "CallWndProcHook", "KeyboardHook",
    "GetMessageHook", "ShellHook", "ProgramWindow", "Locked", "SClickTP", "MClickTP", "WheelTP",
    "MoveTP", "MoveTPLimit", "SizingTP", "ClaroviaValue", "MoveTPValue", "SizingTPValue",
    "TaskbarTPValue", "WheelTPValue", "WheelLevel", "MoveTPW", "MoveTPH", "MovingActive",
    "SizingActive", "WheelActive", "ShadeTP", "ShadeRight", "ShadeArea", "StartButtonTextTP",
    "OverlapTP", "TopmostTP", "TaskbarTP", "StartMenuTP",
]
INITIAL = {"Locked": 1, "ClaroviaValue": 255, "MoveTPValue": 255, "SizingTPValue": 255,
           "TaskbarTPValue": 255, "WheelLevel": 255, "MoveTPW": 500, "MoveTPH": 500, "ShadeArea": 1}

# Functions that Windows XP SP2 does not export: a 32-bit import of any of them keeps
# the program from starting there.
POST_XP = {
    "GetTickCount64", "InitializeSRWLock", "AcquireSRWLockExclusive", "AcquireSRWLockShared",
    "ReleaseSRWLockExclusive", "ReleaseSRWLockShared", "InitializeConditionVariable",
    "SleepConditionVariableCS", "SleepConditionVariableSRW", "WakeConditionVariable",
    "WakeAllConditionVariable", "InitOnceExecuteOnce", "InitOnceBeginInitialize", "InitOnceComplete",
    "CreateEventExA", "CreateEventExW", "CreateMutexExA", "CreateMutexExW", "CreateSemaphoreExW",
    "GetSystemTimePreciseAsFileTime", "InitializeCriticalSectionEx", "FlsAlloc", "FlsFree",
    "FlsGetValue", "FlsSetValue", "GetCurrentProcessorNumber", "GetLocaleInfoEx",
    "LCMapStringEx", "CompareStringEx", "GetUserDefaultLocaleName", "SetThreadStackGuarantee",
    "GetFileInformationByHandleEx", "SetFileInformationByHandle", "CreateSymbolicLinkW",
    "GetFinalPathNameByHandleW", "QueryFullProcessImageNameW", "GetErrorMode", "WerRegisterRuntimeExceptionModule",
    "ChangeWindowMessageFilter", "ChangeWindowMessageFilterEx", "SetProcessDPIAware",
    "IsProcessDPIAware", "AddClipboardFormatListener", "GetDpiForWindow", "ShutdownBlockReasonCreate",
}

failures = []


def check(cond, what):
    if not cond:
        failures.append(what)


class PE:
    def __init__(self, path):
        self.data = open(path, "rb").read()
        d = self.data
        check(d[:2] == b"MZ", "MZ header")
        pe = struct.unpack_from("<I", d, 0x3C)[0]
        check(d[pe:pe + 4] == b"PE\0\0", "PE signature")
        self.machine, nsec, _, _, _, optsize, self.characteristics = struct.unpack_from("<HHIIIHH", d, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", d, opt)[0]
        self.pe32plus = self.magic == 0x20B
        self.os_version = struct.unpack_from("<HH", d, opt + 40)
        self.subsys_version = struct.unpack_from("<HH", d, opt + 48)
        self.subsystem = struct.unpack_from("<H", d, opt + 68)[0]
        dd = opt + (112 if self.pe32plus else 96)
        self.dirs = [struct.unpack_from("<II", d, dd + 8 * i) for i in range(16)]
        self.sections = []
        sh = opt + optsize
        for i in range(nsec):
            name, vsize, va, rawsize, rawptr, _, _, _, _, chars = struct.unpack_from("<8sIIIIIIHHI", d, sh + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode(), vsize, va, rawsize, rawptr, chars))

    def off(self, rva):
        for _, vsize, va, rawsize, rawptr, _ in self.sections:
            if va <= rva < va + max(vsize, rawsize):
                return rawptr + rva - va
        raise ValueError("rva %x outside sections" % rva)

    def cstr(self, rva):
        o = self.off(rva)
        return self.data[o:self.data.index(b"\0", o)].decode()

    def exports(self):
        rva, size = self.dirs[0]
        if not rva:
            return {}
        o = self.off(rva)
        _, _, _, _, _, base, nfuncs, nnames, funcs, names, ords = struct.unpack_from("<IIHHIIIIIII", self.data, o)
        result = {}
        for i in range(nnames):
            name = self.cstr(struct.unpack_from("<I", self.data, self.off(names) + 4 * i)[0])
            index = struct.unpack_from("<H", self.data, self.off(ords) + 2 * i)[0]
            result[name] = base + index
        return result

    def imports(self):
        rva, _ = self.dirs[1]
        result = {}
        o = self.off(rva)
        while True:
            oft, _, _, name, ft = struct.unpack_from("<IIIII", self.data, o)
            if not name:
                break
            dll = self.cstr(name).upper()
            thunks = self.off(oft or ft)
            funcs = []
            step, flag = (8, 1 << 63) if self.pe32plus else (4, 1 << 31)
            while True:
                t = struct.unpack_from("<Q" if self.pe32plus else "<I", self.data, thunks)[0]
                if not t:
                    break
                funcs.append("#%d" % (t & 0xFFFF) if t & flag else self.cstr((t & 0x7FFFFFFF) + 2))
                thunks += step
            result.setdefault(dll, []).extend(funcs)
            o += 20
        return result


def check_common(pe, arch):
    want = 0x14C if arch == "x86" else 0x8664
    check(pe.machine == want, "machine 0x%x, expected 0x%x" % (pe.machine, want))
    if arch == "x86":
        check(pe.os_version <= (5, 1), "OS version %s newer than XP" % (pe.os_version,))
        check(pe.subsys_version <= (5, 1), "subsystem version %s newer than XP" % (pe.subsys_version,))
        for dll, funcs in pe.imports().items():
            bad = sorted(set(funcs) & POST_XP)
            check(not bad, "%s imports functions newer than Windows XP: %s" % (dll, bad))


def check_dll(path, arch):
    pe = PE(path)
    check_common(pe, arch)
    check(pe.characteristics & 0x2000, "not flagged as a DLL")
    exports = pe.exports()
    check(exports == EXPORTS, "exports differ: missing %s, extra %s, wrong ordinals %s" % (
        sorted(set(EXPORTS) - set(exports)), sorted(set(exports) - set(EXPORTS)),
        sorted(n for n in EXPORTS if n in exports and exports[n] != EXPORTS[n])))
    check(20 not in exports.values(), "ordinal 20 is assigned")
    shared = [s for s in pe.sections if s[0] == ".vitrel"]
    check(len(shared) == 1, "one .vitrel section")
    if shared:
        _, vsize, _, rawsize, rawptr, chars = shared[0]
        check(chars == 0xD0000040, ".vitrel flags 0x%08X, expected 0xD0000040" % chars)
        check(vsize == 136, ".vitrel holds %d bytes, expected 136" % vsize)
        words = struct.unpack_from("<34I", pe.data, rawptr)
        for name, value in zip(FIELDS, words):
            check(value == INITIAL.get(name, 0), "initial %s = %d, expected %d" % (name, value, INITIAL.get(name, 0)))
    for s in pe.sections:
        if s[0] != ".vitrel":
            check(not (s[5] & 0x10000000), "section %s is shared" % s[0])
    imports = pe.imports()
    check(set(imports) == {"KERNEL32.DLL", "USER32.DLL"}, "imports from %s" % sorted(imports))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--arch", required=True, choices=["x86", "x86_64", "AMD64"])
    ap.add_argument("--dll")
    args = ap.parse_args()
    arch = "x86" if args.arch == "x86" else "x86_64"
    if args.dll:
        check_dll(args.dll, arch)
    for f in failures:
        print("FAIL:", f)
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
