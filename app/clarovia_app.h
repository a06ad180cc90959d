// The application object: one running copy per user, the hidden main window, and
// the settings written back when that window object is deleted at exit.
#pragma once

#include "application.h"
#include "handles.h"

namespace app {

class CMainHiddenDlg;

class CClaroviaApp : public fw::Application {
protected:
    bool InitInstance() override;
    int ExitInstance() override;

private:
    fw::KernelHandle instanceLock_;  // held until the process ends
    CMainHiddenDlg* mainDialog_ = nullptr;
};

}  // namespace app
