#include "explorer_bands.h"

#include <commctrl.h>
#include <stddef.h>
#include <stdint.h>

#include <cstring>

#include "handles.h"
#include "process_memory.h"
#include "window_util.h"

namespace shell {

namespace {

// The band record (REBARBANDINFO up to cxHeader) as the rebar's process lays it out:
// its pointer-sized fields are 32 or 64 bits wide, whatever this program's own width.
template <typename Ptr>
struct BandInfo {
    // Pointer-sized fields are aligned to their own width, as in the rebar's process.
    UINT cbSize;
    UINT fMask;
    UINT fStyle;
    COLORREF clrFore;
    COLORREF clrBack;
    alignas(sizeof(Ptr)) Ptr lpText;
    UINT cch;
    int iImage;
    alignas(sizeof(Ptr)) Ptr hwndChild;
    UINT cxMinChild;
    UINT cyMinChild;
    UINT cx;
    alignas(sizeof(Ptr)) Ptr hbmBack;
    UINT wID;
    UINT cyChild;
    UINT cyMaxChild;
    UINT cyIntegral;
    UINT cxIdeal;
    alignas(sizeof(Ptr)) Ptr lParam;
    UINT cxHeader;
};
using BandInfo32 = BandInfo<uint32_t>;
using BandInfo64 = BandInfo<uint64_t>;

// The size the record announces: up to and including cxHeader.
template <typename Record>
constexpr UINT RecordSize() {
    return static_cast<UINT>(offsetof(Record, cxHeader) + sizeof(UINT));
}
static_assert(RecordSize<BandInfo32>() == 80, "the 32-bit record");
static_assert(RecordSize<BandInfo64>() == 108, "the 64-bit record");
// This build's own layout is one of the two.
using NativeBandInfo = BandInfo<uintptr_t>;
static_assert(offsetof(NativeBandInfo, hwndChild) == offsetof(REBARBANDINFOA, hwndChild), "native layout");
static_assert(offsetof(NativeBandInfo, cxHeader) == offsetof(REBARBANDINFOA, cxHeader), "native layout");

// The block exchanged with the rebar's process: the record, the rest zero.
template <typename Record>
union Block {
    Record record;
    unsigned char bytes[340];
};
// No folder window has more bands than this; a rebar that says so is not believed.
constexpr LRESULT kMaxBands = 64;

constexpr DWORD kProcessAccess =
    PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION | SYNCHRONIZE;

enum class Width { Bits32, Bits64, Unknown };

// The pointer width of the process behind `process`.
Width PointerWidth(HANDLE process) {
    using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
    // Missing before Windows XP SP2: then there is no 64-bit Windows either.
    const auto isWow64 = reinterpret_cast<IsWow64Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
    if (!isWow64) return sizeof(void*) == 8 ? Width::Unknown : Width::Bits32;
    BOOL targetWow64 = FALSE;
    if (!isWow64(process, &targetWow64)) return Width::Unknown;
    if (targetWow64) return Width::Bits32;
    // Not under WOW64: the target is native, as wide as the system.
    if (sizeof(void*) == 8) return Width::Bits64;
    BOOL selfWow64 = FALSE;
    if (!isWow64(GetCurrentProcess(), &selfWow64)) return Width::Unknown;
    return selfWow64 ? Width::Bits64 : Width::Bits32;
}

HWND WindowFromWord(uint64_t word) {
    // Window handles are 32-bit significant in every process; widened as LongToHandle does.
    return static_cast<HWND>(reinterpret_cast<void*>(static_cast<intptr_t>(static_cast<int32_t>(word))));
}

}  // namespace

bool CExplorerBands::HidByUs(HWND rebar, HWND child) const {
    for (const HiddenBand& h : hidden_)
        if (h.rebar == rebar && h.child == child) return true;
    return false;
}

bool CExplorerBands::AnyHiddenIn(HWND rebar) const {
    for (const HiddenBand& h : hidden_)
        if (h.rebar == rebar) return true;
    return false;
}

void CExplorerBands::Decide(HWND rebar, LRESULT index, HWND child, bool hidden, bool hide) {
    if (hide) {
        if (hidden || HidByUs(rebar, child)) return;  // hidden already: by others, not ours to give back
        // Ours from now on, answered or not: a rebar may take the request late.
        hidden_.push_back({rebar, child});
        fw::SendBounded(rebar, RB_SHOWBAND, static_cast<WPARAM>(index), FALSE);
        return;
    }
    if (!HidByUs(rebar, child)) return;
    if (hidden && !fw::SendBounded(rebar, RB_SHOWBAND, static_cast<WPARAM>(index), TRUE)) return;
    std::erase_if(hidden_, [&](const HiddenBand& h) { return h.rebar == rebar && h.child == child; });
}

template <typename Record>
bool CExplorerBands::Walk(HWND rebar, HANDLE process, int hideFlag, int hideMenu) {
    Block<Record> local;
    std::memset(&local, 0, sizeof local);
    local.record.cbSize = RecordSize<Record>();
    local.record.fMask = RBBIM_CHILD | RBBIM_STYLE;

    // A rebar that does not answer is not given a block either.
    LRESULT count = 0;
    if (!fw::SendBounded(rebar, RB_GETBANDCOUNT, 0, 0, &count)) return true;

    fw::ForeignBlock foreign(process, sizeof local);
    if (!foreign) return true;
    // A 32-bit rebar reads its pointer argument as 32 bits.
    if (sizeof(decltype(local.record.lpText)) == 4 && reinterpret_cast<uintptr_t>(foreign.address()) > 0xFFFFFFFFu)
        return true;

    if (count > kMaxBands) count = kMaxBands;
    bool found = false;
    for (LRESULT i = 0; i < count; ++i) {
        // The whole block goes across before each query and comes back after it.
        if (!foreign.Write(&local)) return true;
        LRESULT answered = FALSE;
        if (!fw::SendBounded(rebar, RB_GETBANDINFOA, static_cast<WPARAM>(i),
                             reinterpret_cast<LPARAM>(foreign.address()), &answered)) {
            // The rebar may still answer into the block.
            foreign.KeepForLateAnswer(rebar);
            return true;
        }
        if (!foreign.Read(&local)) return true;
        // A band the rebar cannot describe (it went away meanwhile) keeps its state:
        // the block still names the previous band's child.
        if (!answered) continue;
        const HWND child = WindowFromWord(local.record.hwndChild);
        if (!child) continue;
        const bool hidden = (local.record.fStyle & RBBS_HIDDEN) != 0;
        if (fw::HasClass(child, L"WorkerW")) {
            found = true;
            Decide(rebar, i, child, hidden, hideFlag != 0);
        } else if (fw::HasClass(child, L"ToolbarWindow32")) {
            // A toolbar that draws drop-down arrows is not the menu.
            LRESULT style = 0;
            if (fw::SendBounded(child, TB_GETEXTENDEDSTYLE, 0, 0, &style) && !(style & TBSTYLE_EX_DRAWDDARROWS)) {
                found = true;
                Decide(rebar, i, child, hidden, hideMenu != 0);
            }
        }
    }
    return found;
}

bool CExplorerBands::IsFolderWindow(HWND window) {
    return fw::HasClass(window, L"ExploreWClass") || fw::HasClass(window, L"CabinetWClass");
}

bool CExplorerBands::Apply(HWND window, int hideFlag, int hideMenu) {
    // Bands of folder windows that are gone are forgotten.
    std::erase_if(hidden_, [](const HiddenBand& h) { return !IsWindow(h.rebar); });
    if (!IsWindow(window) || !IsFolderWindow(window)) return true;
    const HWND worker = GetWindow(window, GW_CHILD);
    if (!worker || !fw::HasClass(worker, L"WorkerW")) return false;
    const HWND rebar = GetWindow(worker, GW_CHILD);
    if (!rebar || !fw::HasClass(rebar, L"ReBarWindow32")) return false;
    // Nothing to hide and nothing of ours to show: the rebar is not even asked.
    if (!hideFlag && !hideMenu && !AnyHiddenIn(rebar)) return true;

    DWORD pid = 0;
    if (!GetWindowThreadProcessId(rebar, &pid)) return true;
    const fw::KernelHandle process(OpenProcess(kProcessAccess, FALSE, pid));
    if (!process) return true;
    switch (PointerWidth(process.get())) {
    case Width::Bits32:
        return Walk<BandInfo32>(rebar, process.get(), hideFlag, hideMenu);
    case Width::Bits64:
        return Walk<BandInfo64>(rebar, process.get(), hideFlag, hideMenu);
    case Width::Unknown:
        break;  // no record of the right width: leave the window alone
    }
    return true;
}

}  // namespace shell
