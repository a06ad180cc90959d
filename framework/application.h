// The application object: start-up and exit steps around one message loop, the main
// window whose destruction ends that loop, and the per-user registry profile.
#pragma once

#include <windows.h>

#include <string>

#include "profile.h"

namespace fw {

class Dialog;

class Application {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    static Application* Current();

    // Runs the whole life of the application: start-up step, message loop, exit step.
    int Main(HINSTANCE instance);

    HINSTANCE instance() const { return instance_; }
    // The executable's name without folder and extension.
    const std::wstring& name() const { return name_; }

    // The window whose destruction ends the message loop (null: none).
    HWND mainWindow() const;
    void SetMainWindow(Dialog* window) { mainWindow_ = window; }

    // Profile under HKEY_CURRENT_USER\Software\<company>\<application name>.
    void SetRegistryKey(const wchar_t* company);
    Profile& profile() { return profile_; }

    // Called by a window that is being destroyed: ends the loop if it is the main one.
    void OnWindowDestroyed(Dialog* window);

protected:
    // Returns true to run the message loop, false to end at once.
    virtual bool InitInstance() { return true; }
    // Returns the process exit code; the default is the loop's WM_QUIT code.
    virtual int ExitInstance() { return exitCode_; }
    // Gives dialogs of the loop's windows their keyboard handling.
    virtual bool PreTranslate(MSG& msg);

private:
    int RunLoop();

    HINSTANCE instance_ = nullptr;
    std::wstring name_;
    Dialog* mainWindow_ = nullptr;
    Profile profile_;
    int exitCode_ = 0;
};

}  // namespace fw
