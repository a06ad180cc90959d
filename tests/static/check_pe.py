#!/usr/bin/env python3
"""Static checks of the built deliverables (both architectures, no Wine needed).

    check_pe.py --arch x86|x86_64 --dll vitrel.dll
    check_pe.py --arch x86|x86_64 --exe Clarovia.exe
    check_pe.py --arch x86|x86_64 --companion Clarovia32.exe

vitrel.dll: the 26 exports with their ordinals, the shared section with its flags,
size and initial record, the imports (KERNEL32 and USER32 only), the version resource
and, for the 32-bit build, a PE header and imports that Windows 2000 accepts.

Both at most their size budget (256 KB for the program, 32 KB for the library).

Clarovia.exe: machine, subsystem, PE header and imports that Windows 2000 accepts
(32-bit build), no import of vitrel.dll (the program loads it at run time), and the
resources: version, dialogs, strings, icon and manifest.
"""
import argparse
import os
import re
import struct
import sys

# The exports with their ordinals, the shared record's fields with their initial
# values: what must not change, as tests/fixed/fixed_values.h lists it.
def _fixed(kind):
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fixed", "fixed_values.h")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    return [(m.group(1), int(m.group(2), 0))
            for m in re.finditer(r"\b%s\((\w+), (\w+)\)" % kind, text.split("#define FIXED_%sS" % kind[6:], 1)[1])
            if not m.group(1).startswith("FIXED_")]


EXPORTS = dict(_fixed("FIXED_EXPORT"))
FIELDS = [name for name, _ in _fixed("FIXED_FIELD")]
INITIAL = dict(_fixed("FIXED_FIELD"))

# Version resources. FileVersion of the program reads 2.8.2.9 while its fixed version
# is 2.8.2.2: that is how the program has always been stamped (res/version.h).
VITREL_FIXED = (2, 7, 5, 0)
VITREL_STRINGS = {"041104b0": {
    "FileVersion": "2.7.5", "ProductVersion": "2.7.5",
    "FileDescription": "Clarovia Support dll.", "ProductName": "Clarovia Support dll.",
    "InternalName": "vitrel", "OriginalFilename": "vitrel.dll", "SpecialBuild": "20071213"}}
VITREL_TRANSLATION = [(0x0411, 1200)]
PROGRAM_FIXED = (2, 8, 2, 2)
PROGRAM_STRINGS = {"041103a4": {
    "FileVersion": "2.8.2.9", "ProductVersion": "2.8.2.2",
    "FileDescription": "Clarovia", "ProductName": "Clarovia",
    "InternalName": "Clarovia.exe", "OriginalFilename": "Clarovia.exe",
    "Comments": "For WindowsXP, 2K", "SpecialBuild": "20071213"}}
PROGRAM_TRANSLATION = [(0x0411, 932)]

# The program's resources (ids from res/resource.h).
LANG_JAPANESE, LANG_ENGLISH = 0x0411, 0x0409
RT_ICON, RT_DIALOG, RT_STRING, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 5, 6, 14, 16, 24
IDD_ABOUTBOX, IDD_HIDDEN, IDI_APP, IDC_LIBRARY_VERSION, IDOK = 100, 102, 128, 1000, 1
BUTTON, STATIC = 0x80, 0x82
WS_POPUP, WS_CHILD, WS_VISIBLE, WS_CAPTION = 0x80000000, 0x40000000, 0x10000000, 0x00C00000
WS_SYSMENU, WS_GROUP, WS_TABSTOP = 0x00080000, 0x00020000, 0x00010000
DS_MODALFRAME, DS_SETFONT, WS_EX_TOOLWINDOW = 0x80, 0x40, 0x80
SS_CENTER, SS_RIGHT, SS_ICON, SS_NOPREFIX, BS_DEFPUSHBUTTON = 1, 2, 3, 0x80, 1
CONTROL = WS_CHILD | WS_VISIBLE
DIALOGS = {
    IDD_ABOUTBOX: dict(
        style=WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, exstyle=0,
        rect=(0, 0, 167, 61), caption="Clarovia", font=(9, "MS UI Gothic"),
        items=[  # class, id, rectangle, style, text (or resource id)
            (STATIC, -1, (5, 34, 20, 20), CONTROL | SS_ICON, IDI_APP),
            (STATIC, -1, (0, 7, 166, 8), CONTROL | SS_CENTER | SS_NOPREFIX | WS_GROUP,
             "Clarovia Version 2.8.2.2"),
            (STATIC, -1, (0, 20, 166, 8), CONTROL | SS_CENTER | WS_GROUP, "ウインドウ半透明化ツール"),
            (BUTTON, IDOK, (58, 37, 50, 16), CONTROL | BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP,
             "OK"),
            (STATIC, IDC_LIBRARY_VERSION, (100, 53, 67, 8), CONTROL | SS_RIGHT | WS_GROUP,
             "スタティック"),
        ]),
    # Never shown: no WS_VISIBLE, and no WS_SYSMENU that a resource compiler might add.
    IDD_HIDDEN: dict(
        style=0x80C00040, exstyle=0x80, rect=(0, 0, 104, 0), caption="Clarovia Hidden Window.",
        font=(8, "MS UI Gothic"), items=[]),
}
STRINGS = {
    101: "サポートDLLがロードできませんでした。",
    102: "Clarovia v2.8.2.2",
    103: "Clarovia v2.8.2.2",
    200: "設定(&S)",
    201: "一時停止(&R)",
    202: "再開(&R)",
    203: "ﾊﾞｰｼﾞｮﾝ情報(&A)",   # half-width katakana
    204: "終了(&X)",
}
# Strings the program passes through ANSI (code page 932) interfaces.
CP932_STRINGS = (101, 103, 200, 201, 202, 203, 204)

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
    # KERNEL32
    "TryAcquireSRWLockExclusive", "TryAcquireSRWLockShared", "CreateMutexExA", "CreateSemaphoreExA",
    "CreateWaitableTimerExW", "SetWaitableTimerEx", "GetThreadId", "GetProcessIdOfThread",
    "CancelIoEx", "CancelSynchronousIo", "GetQueuedCompletionStatusEx",
    "SetFileCompletionNotificationModes", "CreateFile2", "GetOverlappedResultEx",
    "GetFinalPathNameByHandleA", "QueryFullProcessImageNameA", "CreateSymbolicLinkA",
    "GetVolumeInformationByHandleW", "GetNamedPipeClientProcessId", "GetProductInfo",
    "QueryThreadCycleTime", "QueryProcessCycleTime", "QueryIdleProcessorCycleTime",
    "GetLogicalProcessorInformationEx", "GetActiveProcessorCount", "GetMaximumProcessorCount",
    "CreateThreadpoolWork", "SubmitThreadpoolWork", "CloseThreadpoolWork",
    "WaitForThreadpoolWorkCallbacks", "CreateThreadpoolTimer", "SetThreadpoolTimer",
    "CloseThreadpoolTimer", "CreateThreadpoolWait", "SetThreadpoolWait", "CloseThreadpoolWait",
    "InitializeProcThreadAttributeList", "UpdateProcThreadAttribute",
    "DeleteProcThreadAttributeList", "CreateRemoteThreadEx", "GetDynamicTimeZoneInformation",
    "RegisterApplicationRestart", "RegisterApplicationRecoveryCallback", "WerSetFlags",
    "LocaleNameToLCID", "LCIDToLocaleName", "ResolveLocaleName", "EnumSystemLocalesEx",
    "GetSystemDefaultLocaleName", "GetUserPreferredUILanguages", "GetThreadPreferredUILanguages",
    "SetThreadPreferredUILanguages", "GetNumberFormatEx", "GetCurrencyFormatEx",
    "GetDateFormatEx", "GetTimeFormatEx", "GetCalendarInfoEx", "FindNLSStringEx",
    "CompareStringOrdinal", "NormalizeString", "IsNormalizedString", "IdnToAscii",
    "IdnToUnicode", "GetThreadErrorMode", "SetThreadErrorMode", "AddDllDirectory",
    "RemoveDllDirectory", "SetDefaultDllDirectories", "GetCurrentThreadStackLimits",
    "WaitOnAddress", "WakeByAddressSingle", "WakeByAddressAll", "Wow64GetThreadContext",
    "Wow64SetThreadContext", "GetTickCount64", "IsThreadAFiber", "GetApplicationRecoveryCallback",
    # USER32
    "SetProcessDpiAwarenessContext", "SetThreadDpiAwarenessContext", "GetThreadDpiAwarenessContext",
    "GetDpiForSystem", "GetSystemMetricsForDpi", "AdjustWindowRectExForDpi",
    "SystemParametersInfoForDpi", "EnableNonClientDpiScaling", "RegisterPowerSettingNotification",
    "UnregisterPowerSettingNotification", "RemoveClipboardFormatListener",
    "UpdateLayeredWindowIndirect", "CalculatePopupWindowPosition", "RegisterTouchWindow",
    "UnregisterTouchWindow", "GetTouchInputInfo", "CloseTouchInputHandle", "GetGestureInfo",
    "SetWindowDisplayAffinity", "GetWindowDisplayAffinity", "ShutdownBlockReasonDestroy",
    "ShutdownBlockReasonQuery", "LogicalToPhysicalPoint", "PhysicalToLogicalPoint",
    "SetProcessDpiAwareness", "GetDisplayConfigBufferSizes", "QueryDisplayConfig",
    "DisplayConfigGetDeviceInfo", "SetDisplayConfig", "RegisterPointerInputTarget",
    # ADVAPI32
    "RegGetValueA", "RegGetValueW", "RegDeleteTreeA", "RegDeleteTreeW", "RegCopyTreeA",
    "RegCopyTreeW", "RegSetKeyValueA", "RegSetKeyValueW", "RegDeleteKeyValueA",
    "RegDeleteKeyValueW", "RegLoadMUIStringA", "RegLoadMUIStringW", "RegDeleteKeyExA",
    "RegDeleteKeyExW", "RegDisableReflectionKey", "RegEnableReflectionKey",
    "RegQueryReflectionKey", "EventRegister", "EventUnregister", "EventWrite",
    "EventWriteTransfer", "EventEnabled",
    # SHELL32, COMCTL32
    "SHGetKnownFolderPath", "SHGetKnownFolderIDList", "SHSetKnownFolderPath",
    "SHCreateItemFromParsingName", "SHCreateItemFromIDList", "SHGetStockIconInfo",
    "SHGetPropertyStoreForWindow", "Shell_NotifyIconGetRect", "SHEvaluateSystemCommandTemplate",
    "SetCurrentProcessExplicitAppUserModelID", "GetCurrentProcessExplicitAppUserModelID",
    "TaskDialog", "TaskDialogIndirect", "LoadIconMetric", "LoadIconWithScaleDown",
}
# Functions that came with Windows XP: Windows 2000 (SP4) does not export them, by DLL.
XP_ONLY = {
    "KERNEL32.DLL": {
        "GetModuleHandleExA", "GetModuleHandleExW", "IsWow64Process", "GetNativeSystemInfo",
        "AddVectoredExceptionHandler", "RemoveVectoredExceptionHandler", "InitializeSListHead",
        "InterlockedPushEntrySList", "InterlockedPopEntrySList", "InterlockedFlushSList",
        "QueryDepthSList", "GetProcessId", "AttachConsole", "GetSystemWow64DirectoryA",
        "GetSystemWow64DirectoryW", "GetSystemTimes", "HeapSetInformation", "HeapQueryInformation",
        "SetDllDirectoryA", "SetDllDirectoryW", "GetDllDirectoryA", "GetDllDirectoryW",
        "CheckRemoteDebuggerPresent", "TzSpecificLocalTimeToSystemTime", "GetProcessHandleCount",
        "GetLogicalProcessorInformation", "DebugActiveProcessStop", "DebugSetProcessKillOnExit",
        "GetSystemRegistryQuota", "SetThreadExecutionState", "Wow64DisableWow64FsRedirection",
        "Wow64RevertWow64FsRedirection", "GetFirmwareEnvironmentVariableW", "RtlCaptureContext",
        "GetProcessIoCounters", "SetSearchPathMode", "GetNumaHighestNodeNumber", "CreateMemoryResourceNotification",
        "ActivateActCtx", "DeactivateActCtx", "CreateActCtxW", "CreateActCtxA", "ReleaseActCtx",
        "FindActCtxSectionStringW", "QueryActCtxW", "GetCurrentActCtx",
    },
    "USER32.DLL": {
        "GetLayeredWindowAttributes", "PrintWindow", "RegisterRawInputDevices", "GetRawInputData",
        "GetRawInputDeviceList", "GetRawInputDeviceInfoW", "GetRawInputDeviceInfoA",
        "GetRegisteredRawInputDevices", "DefRawInputProc", "GetRawInputBuffer", "IsGUIThread",
        "GetWindowRgnBox", "UpdateLayeredWindowIndirect",
    },
    "GDI32.DLL": {"GdiGetBatchLimit"},
    "SHELL32.DLL": {
        "SHParseDisplayName", "SHGetFolderPathAndSubDirW", "SHGetFolderPathAndSubDirA",
        "SHOpenFolderAndSelectItems", "SHCreateShellItem", "SHGetSetFolderCustomSettings",
        "SHGetIconOverlayIndexW", "SHCreateQueryCancelAutoPlayMoniker",
    },
    "COMCTL32.DLL": {
        # By name only from version 6 (XP); 5.8 exports them by ordinal alone.
        "SetWindowSubclass", "RemoveWindowSubclass", "DefSubclassProc", "GetWindowSubclass",
        "InitMUILanguage",
    },
    "ADVAPI32.DLL": {
        "CreateWellKnownSid", "IsWellKnownSid", "ConvertSecurityDescriptorToStringSecurityDescriptorW",
        "RegDisablePredefinedCacheEx", "RegOpenUserClassesRoot", "CheckTokenMembership",
        "ReadEncryptedFileRaw",
    },
    "OLE32.DLL": {"CoGetApartmentType", "CoGetContextToken"},
    "MSVCRT.DLL": {
        "_time64", "_localtime64", "_gmtime64", "_mktime64", "_mkgmtime64", "_ctime64", "_wctime64",
        "_ftime64", "_stat64", "_wstat64", "_fstat64", "_findfirst64", "_wfindfirst64", "_findnext64",
        "_wfindnext64", "_futime64", "_utime64", "_wutime64", "_difftime64", "_strtoi64", "_strtoui64",
        "_wcstoi64", "_wcstoui64", "_aligned_malloc", "_aligned_free", "_aligned_realloc",
        "_aligned_offset_malloc", "_resetstkoflw", "_scprintf", "_scwprintf", "_vscprintf",
        "_vscwprintf", "__iob_func", "_get_heap_handle", "_set_SSE2_enable", "_get_output_format",
        "_set_output_format", "_fseeki64", "_ftelli64",
    },
}

# Whole DLLs that Windows XP does not have.
POST_XP_DLLS = {
    "DWMAPI.DLL", "BCRYPT.DLL", "NCRYPT.DLL", "D2D1.DLL", "DWRITE.DLL", "DXGI.DLL",
    "D3D10.DLL", "D3D10_1.DLL", "D3D11.DLL", "PROPSYS.DLL", "SHCORE.DLL", "KTMW32.DLL",
    "WEVTAPI.DLL", "TDH.DLL", "UCRTBASE.DLL", "VCRUNTIME140.DLL", "MSVCP140.DLL",
    "WINDOWSCODECS.DLL", "CFGMGR32.DLL", "MMDEVAPI.DLL", "AVRT.DLL",
}
# Prefixes of names that are newer than XP wherever they appear: the API sets and the
# psapi functions that Windows 7 moved into KERNEL32.
POST_XP_DLL_PREFIXES = ("API-MS-WIN-", "EXT-MS-WIN-")
POST_XP_PREFIXES = ("K32",)


def post_2000_imports(dll, funcs):
    """The imports of one DLL that Windows 2000 (or XP) cannot satisfy."""
    if dll in POST_XP_DLLS or dll.startswith(POST_XP_DLL_PREFIXES):
        return ["(the whole DLL)"]
    bad = {f for f in funcs if f in POST_XP or f.startswith(POST_XP_PREFIXES)}
    bad |= set(funcs) & XP_ONLY.get(dll, set())
    if dll == "MSVCRT.DLL":
        # XP's msvcrt.dll has none of the "secure" (_s) and locale (_l) variants.
        bad |= {f for f in funcs if f.endswith(("_s", "_l")) and not f.startswith("#")}
    return sorted(bad)

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
        self.image_base = struct.unpack_from("<Q" if self.pe32plus else "<I", d,
                                             opt + (24 if self.pe32plus else 28))[0]
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
            result.setdefault(dll, []).extend(self._thunk_names(oft or ft))
            o += 20
        return result


    def _thunk_names(self, rva):
        funcs = []
        step, flag = (8, 1 << 63) if self.pe32plus else (4, 1 << 31)
        o = self.off(rva)
        while True:
            t = struct.unpack_from("<Q" if self.pe32plus else "<I", self.data, o)[0]
            if not t:
                return funcs
            funcs.append("#%d" % (t & 0xFFFF) if t & flag else self.cstr((t & 0x7FFFFFFF) + 2))
            o += step

    def delay_imports(self):
        """Delay-load imports: {DLL name (upper case): [function names]}."""
        rva, _ = self.dirs[13]
        result = {}
        if not rva:
            return result
        o = self.off(rva)
        while True:
            attrs, name, _, _, names, _, _, _ = struct.unpack_from("<8I", self.data, o)
            if not name:
                return result
            # Attribute bit 0: the fields are RVAs; without it they are addresses.
            base = 0 if attrs & 1 else self.image_base
            result.setdefault(self.cstr(name - base).upper(), []).extend(
                self._thunk_names(names - base) if names else [])
            o += 32

    def resources(self):
        """{(type, name): {language: bytes}}; type and name are ints or str."""
        rva, _ = self.dirs[2]
        result = {}
        if not rva:
            return result
        root = self.off(rva)
        d = self.data

        def entries(o):
            named, ids = struct.unpack_from("<HH", d, o + 12)
            for i in range(named + ids):
                name, target = struct.unpack_from("<II", d, o + 16 + 8 * i)
                if name & 0x80000000:
                    n = root + (name & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", d, n)[0]
                    name = d[n + 2:n + 2 + 2 * length].decode("utf-16-le")
                yield name, target

        for rtype, t in entries(root):
            check(t & 0x80000000, "resource type %s is not a directory" % rtype)
            for rname, n in entries(root + (t & 0x7FFFFFFF)):
                check(n & 0x80000000, "resource %s/%s is not a directory" % (rtype, rname))
                for lang, leaf in entries(root + (n & 0x7FFFFFFF)):
                    data_rva, size, _, _ = struct.unpack_from("<IIII", d, root + leaf)
                    o = self.off(data_rva)
                    result.setdefault((rtype, rname), {})[lang] = d[o:o + size]
        return result


def wstr(data, o):
    """The NUL-terminated UTF-16 string at o, and the offset after its NUL."""
    end = o
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[o:end].decode("utf-16-le"), end + 2


def sz_or_ord(data, o):
    """A resource name or class: 0xFFFF and an ordinal, or a string."""
    if data[o:o + 2] == b"\xff\xff":
        return struct.unpack_from("<H", data, o + 2)[0], o + 4
    return wstr(data, o)


def align4(o):
    return (o + 3) & ~3


def parse_version(data):
    """VS_VERSIONINFO: (the 13 words of VS_FIXEDFILEINFO or None,
    {block: {key: value}}, [(language, code page), ...])."""
    def node(o):
        length, value_length, _ = struct.unpack_from("<HHH", data, o)
        key, p = wstr(data, o + 6)
        return o + length, value_length, key, align4(p)

    end, value_length, key, p = node(0)
    check(key == "VS_VERSION_INFO", "version resource key %r" % key)
    fixed = struct.unpack_from("<13I", data, p) if value_length >= 52 else None
    p = align4(p + value_length)
    strings, translations = {}, []
    while p < end:
        child_end, _, child, q = node(p)
        while q < child_end:
            table_end, value_length, name, r = node(q)
            if child == "StringFileInfo":
                values = strings.setdefault(name, {})
                while r < table_end:
                    string_end, _, key, v = node(r)
                    values[key] = data[v:string_end].decode("utf-16-le").split("\0")[0]
                    r = align4(string_end)
            elif child == "VarFileInfo" and name == "Translation":
                translations += [struct.unpack_from("<HH", data, r + 4 * i)
                                 for i in range(value_length // 4)]
            q = align4(table_end)
        p = align4(child_end)
    return fixed, strings, translations


def parse_dialog(data):
    """DLGTEMPLATE or DLGTEMPLATEEX as a dict (ids signed, classes as ordinals where
    the template has a predefined class)."""
    classes = {"button": 0x80, "edit": 0x81, "static": 0x82, "listbox": 0x83,
               "scrollbar": 0x84, "combobox": 0x85}
    ex = struct.unpack_from("<HH", data, 0) == (1, 0xFFFF)
    if ex:
        _, _, _, exstyle, style, count, x, y, cx, cy = struct.unpack_from("<HHIIIHhhhh", data, 0)
        o = 26
    else:
        style, exstyle, count, x, y, cx, cy = struct.unpack_from("<IIHhhhh", data, 0)
        o = 18
    menu, o = sz_or_ord(data, o)
    cls, o = sz_or_ord(data, o)
    caption, o = wstr(data, o)
    font = None
    if style & DS_SETFONT:
        size = struct.unpack_from("<H", data, o)[0]
        o += 6 if ex else 2
        face, o = wstr(data, o)
        font = (size, face)
    items = []
    for _ in range(count):
        o = align4(o)
        if ex:
            _, iexstyle, istyle, ix, iy, icx, icy, iid = struct.unpack_from("<IIIhhhhI", data, o)
            o += 24
            iid = iid - (1 << 32) if iid & 0x80000000 else iid
        else:
            istyle, iexstyle, ix, iy, icx, icy, iid = struct.unpack_from("<IIhhhhH", data, o)
            o += 18
            iid = iid - (1 << 16) if iid & 0x8000 else iid
        icls, o = sz_or_ord(data, o)
        if isinstance(icls, str):
            icls = classes.get(icls.lower(), icls)
        text, o = sz_or_ord(data, o)
        extra = struct.unpack_from("<H", data, o)[0]
        o += 2 + extra
        items.append(dict(cls=icls, id=iid, rect=(ix, iy, icx, icy), style=istyle,
                          exstyle=iexstyle, text=text))
    return dict(ex=ex, style=style, exstyle=exstyle, rect=(x, y, cx, cy), menu=menu, cls=cls,
                caption=caption, font=font, items=items)


def string_table(resources, language=LANG_JAPANESE):
    """{string id: text} of every RT_STRING block in `language`."""
    result = {}
    for (rtype, block), langs in resources.items():
        if rtype != RT_STRING or not isinstance(block, int):
            continue
        for lang, data in langs.items():
            if lang != language:
                continue
            o = 0
            for i in range(16):
                n = struct.unpack_from("<H", data, o)[0]
                if n:
                    result[(block - 1) * 16 + i] = data[o + 2:o + 2 + 2 * n].decode("utf-16-le")
                o += 2 + 2 * n
    return result


def one_language(resources, rtype, name, what, english=False):
    """The Japanese data of a resource that must exist once in Japanese, and with
    `english` once more in English; None if missing."""
    langs = resources.get((rtype, name))
    if not langs or LANG_JAPANESE not in langs:
        check(False, "%s missing" % what)
        return None
    want = [LANG_ENGLISH, LANG_JAPANESE] if english else [LANG_JAPANESE]
    check(sorted(langs) == want, "%s in languages %s, expected %s" % (
        what, ["0x%04X" % lang for lang in sorted(langs)], ["0x%04X" % lang for lang in want]))
    return langs[LANG_JAPANESE]


def check_english(resources):
    """Every string and every dialog shown has its English counterpart: the same
    controls (class and id, in the same order), other texts."""
    japanese, english = string_table(resources), string_table(resources, LANG_ENGLISH)
    for sid in sorted(japanese):
        check(english.get(sid), "string %d has no English text" % sid)
    check(not set(english) - set(japanese), "English strings %s have no Japanese text" % sorted(
        set(english) - set(japanese)))
    for (rtype, name), langs in sorted(resources.items(), key=lambda kv: str(kv[0])):
        if rtype != RT_DIALOG or name == IDD_HIDDEN:
            continue
        what = "dialog %s" % name
        check(sorted(langs) == [LANG_ENGLISH, LANG_JAPANESE], "%s in languages %s" % (
            what, ["0x%04X" % lang for lang in sorted(langs)]))
        if LANG_ENGLISH not in langs or LANG_JAPANESE not in langs:
            continue
        ja, en = parse_dialog(langs[LANG_JAPANESE]), parse_dialog(langs[LANG_ENGLISH])
        check([(i["cls"], i["id"]) for i in ja["items"]] == [(i["cls"], i["id"]) for i in en["items"]],
              "%s: the English controls are not the Japanese ones" % what)
        check(en["font"] == (8, "MS Shell Dlg"), "%s: English font %s" % (what, en["font"]))
        for item in en["items"]:
            text = item["text"]
            check(not isinstance(text, str) or all(ord(c) < 0x80 for c in text),
                  "%s control %d: English text %r" % (what, item["id"], text))


def check_version(resources, fixed_version, strings, translation, file_type, what):
    data = one_language(resources, RT_VERSION, 1, "%s version resource" % what)
    if data is None:
        return
    fixed, found, translations = parse_version(data)
    check(fixed is not None and fixed[0] == 0xFEEF04BD, "%s VS_FIXEDFILEINFO missing" % what)
    if fixed is None:
        return
    ms = fixed_version[0] << 16 | fixed_version[1]
    ls = fixed_version[2] << 16 | fixed_version[3]
    as_text = lambda hi, lo: "%d,%d,%d,%d" % (hi >> 16, hi & 0xFFFF, lo >> 16, lo & 0xFFFF)
    check(fixed[2:4] == (ms, ls), "%s file version %s, expected %s" % (
        what, as_text(*fixed[2:4]), as_text(ms, ls)))
    check(fixed[4:6] == (ms, ls), "%s product version %s, expected %s" % (
        what, as_text(*fixed[4:6]), as_text(ms, ls)))
    check(fixed[7] & 0x20, "%s version flags 0x%x lack VS_FF_SPECIALBUILD" % (what, fixed[7]))
    check(fixed[9] == file_type, "%s file type %d, expected %d" % (what, fixed[9], file_type))
    check(found == strings, "%s version strings %r, expected %r" % (what, found, strings))
    check(translations == translation, "%s translation %s, expected %s" % (
        what, [(hex(a), b) for a, b in translations], [(hex(a), b) for a, b in translation]))


def check_common(pe, arch):
    want = 0x14C if arch == "x86" else 0x8664
    check(pe.machine == want, "machine 0x%x, expected 0x%x" % (pe.machine, want))
    # What ships carries no debug data (mostly the static runtime's, megabytes of it).
    debug = [s[0] for s in pe.sections if s[0].startswith((".debug", ".zdebug", "/"))]
    check(not debug, "debug sections %s" % debug)
    if arch == "x86":
        check(pe.os_version <= (5, 0), "OS version %s newer than Windows 2000" % (pe.os_version,))
        check(pe.subsys_version <= (5, 0), "subsystem version %s newer than Windows 2000" % (pe.subsys_version,))
        for dll, funcs in list(pe.imports().items()) + list(pe.delay_imports().items()):
            bad = post_2000_imports(dll, funcs)
            check(not bad, "%s imports functions newer than Windows 2000: %s" % (dll, bad))


# What each file may weigh as shipped (stripped), in bytes: the program is mostly
# dialogs and registry work, the library five small hook procedures.
BUDGETS = {"exe": 256 * 1024, "dll": 32 * 1024, "companion": 96 * 1024}


def check_budget(path, kind):
    size, budget = os.path.getsize(path), BUDGETS[kind]
    check(size <= budget, "%s is %d bytes, %d over its budget of %d" % (
        os.path.basename(path), size, size - budget, budget))


def check_dll(path, arch):
    pe = PE(path)
    check_common(pe, arch)
    check_budget(path, "dll")
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
        check(vsize >= 4 * len(FIELDS), ".vitrel holds %d bytes, expected %d at least" % (vsize, 4 * len(FIELDS)))
        words = struct.unpack_from("<%dI" % len(FIELDS), pe.data, rawptr)
        for name, value in zip(FIELDS, words):
            check(value == INITIAL.get(name, 0), "initial %s = %d, expected %d" % (name, value, INITIAL.get(name, 0)))
    for s in pe.sections:
        if s[0] != ".vitrel":
            check(not (s[5] & 0x10000000), "section %s is shared" % s[0])
    imports = pe.imports()
    check(set(imports) == {"KERNEL32.DLL", "USER32.DLL"}, "imports from %s" % sorted(imports))
    check(not pe.delay_imports(), "delay-load imports %s" % sorted(pe.delay_imports()))
    check_version(pe.resources(), VITREL_FIXED, VITREL_STRINGS, VITREL_TRANSLATION, 2, "vitrel.dll")


def check_manifest(data, arch):
    """The manifest asks for version 6 of the common controls, for any processor or ours."""
    import xml.etree.ElementTree as ET
    try:
        root = ET.fromstring(data)
    except ET.ParseError as e:
        check(False, "manifest is not well-formed XML: %s" % e)
        return
    ns = "{urn:schemas-microsoft-com:asm.v1}"
    wanted = ("*", "x86" if arch == "x86" else "amd64")
    found = False
    for ident in root.iter(ns + "assemblyIdentity"):
        if ident.get("name") == "Microsoft.Windows.Common-Controls":
            found = True
            check(ident.get("version") == "6.0.0.0", "manifest asks for common controls %s" % ident.get("version"))
            check(ident.get("processorArchitecture") in wanted, "manifest common controls for %s" %
                  ident.get("processorArchitecture"))
            check(ident.get("publicKeyToken") == "6595b64144ccf1df", "common controls public key token")
    check(found, "manifest does not mention Microsoft.Windows.Common-Controls")
    aware = [e.text for e in root.iter("{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware")]
    check(aware == ["true"], "manifest declares DPI awareness %s, expected true (system-aware)" % aware)


def check_dialog(resources, dlg_id, want):
    data = one_language(resources, RT_DIALOG, dlg_id, "dialog %d" % dlg_id, english=dlg_id != IDD_HIDDEN)
    if data is None:
        return
    dlg = parse_dialog(data)
    what = "dialog %d" % dlg_id
    check(dlg["ex"], "%s is not a DIALOGEX template" % what)
    check(dlg["style"] == want["style"], "%s style 0x%08X, expected 0x%08X" % (what, dlg["style"], want["style"]))
    check(dlg["exstyle"] == want["exstyle"], "%s exstyle 0x%X, expected 0x%X" % (what, dlg["exstyle"], want["exstyle"]))
    check(dlg["rect"] == want["rect"], "%s at %s, expected %s" % (what, dlg["rect"], want["rect"]))
    check(dlg["caption"] == want["caption"], "%s caption %r, expected %r" % (what, dlg["caption"], want["caption"]))
    check(dlg["font"] == want["font"], "%s font %s, expected %s" % (what, dlg["font"], want["font"]))
    check(dlg["menu"] == "" and dlg["cls"] == "", "%s has a menu or a class" % what)
    items = dlg["items"]
    check(len(items) == len(want["items"]), "%s has %d controls, expected %d" % (what, len(items), len(want["items"])))
    for n, (item, (cls, cid, rect, style, text)) in enumerate(zip(items, want["items"]), 1):
        got = (item["cls"], item["id"], item["rect"], item["style"], item["text"])
        check(got == (cls, cid, rect, style, text) and item["exstyle"] == 0,
              "%s control %d: class %s id %d at %s style 0x%08X exstyle 0x%X text %r; expected "
              "class %s id %d at %s style 0x%08X exstyle 0 text %r" % (
                  what, n, got[0], got[1], got[2], got[3], item["exstyle"], got[4], cls, cid, rect, style, text))


def check_exe(path, arch):
    pe = PE(path)
    check_common(pe, arch)
    check_budget(path, "exe")
    check(not pe.characteristics & 0x2000, "flagged as a DLL")
    check(pe.subsystem == 2, "subsystem %d, expected 2 (Windows GUI)" % pe.subsystem)
    # vitrel.dll is loaded at run time (a missing library is reported, not fatal at start).
    linked = sorted(d for d in list(pe.imports()) + list(pe.delay_imports()) if d.startswith("VITREL"))
    check(not linked, "the program imports %s" % linked)

    res = pe.resources()
    check_version(res, PROGRAM_FIXED, PROGRAM_STRINGS, PROGRAM_TRANSLATION, 1, "Clarovia.exe")
    for dlg_id, want in DIALOGS.items():
        check_dialog(res, dlg_id, want)
    check_english(res)

    strings = string_table(res)
    for sid, text in STRINGS.items():
        check(strings.get(sid) == text, "string %d is %r, expected %r" % (sid, strings.get(sid), text))
    for block in sorted({sid // 16 + 1 for sid in STRINGS}):
        one_language(res, RT_STRING, block, "string block %d" % block, english=True)
    for sid in CP932_STRINGS:
        try:
            strings.get(sid, "").encode("cp932")
        except UnicodeEncodeError as e:
            check(False, "string %d cannot be written in code page 932: %s" % (sid, e))

    group = one_language(res, RT_GROUP_ICON, IDI_APP, "icon group %d" % IDI_APP)
    if group is not None:
        _, kind, count = struct.unpack_from("<HHH", group, 0)
        check(kind == 1 and count > 0, "icon group %d: type %d, %d images" % (IDI_APP, kind, count))
        sizes = set()
        for i in range(count):
            w, h, _, _, _, bits, _, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
            check((RT_ICON, icon_id) in res, "icon group %d names a missing icon %d" % (IDI_APP, icon_id))
            sizes.add((w or 256, h or 256, bits))
        check({(16, 16, 32), (32, 32, 32)} <= sizes, "icon group %d holds %s, expected 16x16 and "
              "32x32 at 32 bits" % (IDI_APP, sorted(sizes)))

    manifests = [name for (rtype, name) in res if rtype == RT_MANIFEST]
    check(manifests == [1], "manifest resources %s, expected one with id 1" % manifests)
    if manifests == [1]:
        check_manifest(one_language(res, RT_MANIFEST, 1, "manifest") or b"<none/>", arch)


def check_companion(path, arch):
    """The 32-bit companion: a small windowless program that loads vitrel.dll at run time."""
    pe = PE(path)
    check_common(pe, arch)
    check_budget(path, "companion")
    check(pe.subsystem == 2, "subsystem %d, expected 2 (Windows GUI)" % pe.subsystem)
    linked = sorted(d for d in list(pe.imports()) + list(pe.delay_imports()) if d.startswith("VITREL"))
    check(not linked, "the companion imports %s" % linked)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--arch", required=True, choices=["x86", "x86_64", "AMD64"])
    ap.add_argument("--dll", help="vitrel.dll to check")
    ap.add_argument("--exe", help="Clarovia.exe to check")
    ap.add_argument("--companion", help="Clarovia32.exe to check")
    args = ap.parse_args()
    if not (args.dll or args.exe or args.companion):
        ap.error("nothing to check: give --dll and/or --exe")
    arch = "x86" if args.arch == "x86" else "x86_64"
    if args.dll:
        check_dll(args.dll, arch)
    if args.exe:
        check_exe(args.exe, arch)
    if args.companion:
        check_companion(args.companion, arch)
    return report()


def report():
    """Prints every failure and their count; the exit status."""
    for f in failures:
        print("FAIL:", f)
    print("%d failure(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
