// The about box: the program's name and version, and the hook library's file version;
// below them, when 32-bit programs are not served, why.
#pragma once

#include <string>

#include "dialog.h"

namespace app {

class CAboutDlg : public fw::Dialog {
public:
    // `problem`: the resource string that says why 32-bit programs are not served, or 0.
    explicit CAboutDlg(UINT problem = 0);

protected:
    BOOL OnInitDialog() override;
    INT_PTR WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowProblem();

    UINT problem_;
};

// A string of a file's version resource, in its first translation ("" if none).
std::wstring ReadFileVersionString(const std::wstring& file, const wchar_t* valueName);

}  // namespace app
