// The menu band and the Windows logo band of the shell's folder windows, hidden or
// shown through the folder window's rebar in the shell's process.
#pragma once

#include <windows.h>

#include <vector>

namespace shell {

class CExplorerBands {
public:
    // For a folder window ("ExploreWClass", "CabinetWClass" > "WorkerW" > "ReBarWindow32"):
    // hides the logo band if `hideFlag`, and the menu band (a toolbar without drop-down
    // arrows) if `hideMenu`; a band of either kind that this program hid and whose flag
    // is off now shows again. Bands the program did not hide are never shown: Explorer
    // hides the menu band of its own accord from Windows Vista on. Any other window is
    // left alone, as is a folder window whose process cannot be reached.
    // Whether the window's bands were there to look at (false for a folder window whose
    // rebar or bands are still being built: worth another look shortly).
    bool Apply(HWND window, int hideFlag, int hideMenu);
    // Whether the window is a folder window.
    static bool IsFolderWindow(HWND window);

    // A band this program hid: the rebar and the band's child window.
    struct HiddenBand {
        HWND rebar;
        HWND child;
        bool operator==(const HiddenBand&) const = default;
    };
    const std::vector<HiddenBand>& hidden() const { return hidden_; }
    // A band an earlier run hid and could not show again: this run's to give back.
    void Adopt(HWND rebar, HWND child) {
        if (!HidByUs(rebar, child)) hidden_.push_back({rebar, child});
    }

private:
    template <typename Record>
    bool Walk(HWND rebar, HANDLE process, int hideFlag, int hideMenu);
    // Decides for one band with the child `child` at `index`.
    void Decide(HWND rebar, LRESULT index, HWND child, bool hidden, bool hide);
    bool HidByUs(HWND rebar, HWND child) const;
    bool AnyHiddenIn(HWND rebar) const;

    std::vector<HiddenBand> hidden_;
};

}  // namespace shell
