// The about box: the program's name and version, and the hook library's file version.
#pragma once

#include <string>

#include "dialog.h"

namespace app {

class CAboutDlg : public fw::Dialog {
public:
    CAboutDlg();

protected:
    BOOL OnInitDialog() override;
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A string of a file's version resource, in its first translation ("" if none).
std::wstring ReadFileVersionString(const std::wstring& file, const wchar_t* valueName);

}  // namespace app
