// rig_scene: a picture of the desktop as a user of real Windows sees it, for
// pictures.sh. Xvfb has no compositing manager, so a translucent window shows there
// as if it were opaque; this tool blends it itself: it captures the desktop, then for
// every visible top-level window with an alpha below 255 takes that window out of
// sight for a moment (an empty window region), captures what lies under it, brings it
// back and mixes the two at the window's own alpha. Windows that overlap each other are not both translucent in
// the scene, so each is blended on its own.
//
//   rig_scene <file.bmp>                    writes the desktop as a 24-bit BMP
//   rig_scene place <caption> x y w h       puts there the visible top-level window
//                                           whose title begins with <caption> (the
//                                           clock may have added to it)
//
// Exits 0 on success, 1 when a capture failed, 2 on a usage error.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

struct Capture {
    int width = 0, height = 0;
    std::vector<BYTE> pixels;  // bottom-up BGR rows, each padded to 4 bytes
    int stride() const { return (width * 3 + 3) & ~3; }
};

bool Grab(Capture& out, const RECT& area) {
    out.width = area.right - area.left;
    out.height = area.bottom - area.top;
    out.pixels.assign(static_cast<size_t>(out.stride()) * out.height, 0);
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, out.width, out.height);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    const bool copied = BitBlt(memory, 0, 0, out.width, out.height, screen, area.left, area.top, SRCCOPY) != FALSE;
    SelectObject(memory, old);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = out.width;
    info.bmiHeader.biHeight = out.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    const bool read = GetDIBits(memory, bitmap, 0, static_cast<UINT>(out.height), out.pixels.data(), &info,
                                DIB_RGB_COLORS) == out.height;
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return copied && read;
}

// Lets every window repaint what was uncovered or covered again.
void Settle() {
    RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int i = 0; i < 10; ++i) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        Sleep(50);
    }
    GdiFlush();
}

struct Translucent {
    HWND window;
    RECT rect;
    BYTE alpha;
};

BOOL CALLBACK Collect(HWND window, LPARAM list) {
    BYTE alpha = 255;
    DWORD flags = 0;
    RECT rect;
    if (IsWindowVisible(window) && (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYERED) &&
        GetLayeredWindowAttributes(window, nullptr, &alpha, &flags) && (flags & LWA_ALPHA) && alpha < 255 &&
        GetWindowRect(window, &rect))
        reinterpret_cast<std::vector<Translucent>*>(list)->push_back({window, rect, alpha});
    return TRUE;
}

bool Save(const Capture& picture, const wchar_t* path) {
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = picture.width;
    info.biHeight = picture.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(picture.pixels.size());
    const HANDLE out = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) && WriteFile(out, &info, sizeof info, &written, nullptr) &&
              WriteFile(out, picture.pixels.data(), static_cast<DWORD>(picture.pixels.size()), &written, nullptr);
    CloseHandle(out);
    return ok;
}

struct TitleSearch {
    const wchar_t* prefix;
    HWND found;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TitleSearch*>(param);
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    if (IsWindowVisible(window) && std::wcsncmp(title, search->prefix, std::wcslen(search->prefix)) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindByTitle(const wchar_t* prefix) {
    TitleSearch search = {prefix, nullptr};
    EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 7 && std::wcscmp(argv[1], L"place") == 0) {
        const HWND window = FindByTitle(argv[2]);
        if (!window) return 1;
        return SetWindowPos(window, nullptr, _wtoi(argv[3]), _wtoi(argv[4]), _wtoi(argv[5]), _wtoi(argv[6]),
                            SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: rig_scene <file.bmp> | rig_scene place <caption> x y w h\n");
        return 2;
    }
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    Capture scene;
    if (!Grab(scene, desktop)) return 1;

    std::vector<Translucent> translucent;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&translucent));
    for (const Translucent& t : translucent) {
        // An empty window region takes the window out of sight where it stands (a
        // taskbar moved away would dock itself again at once).
        SetWindowRgn(t.window, CreateRectRgn(0, 0, 0, 0), TRUE);
        Settle();
        Capture under;
        const bool grabbed = Grab(under, desktop);
        SetWindowRgn(t.window, nullptr, TRUE);
        Settle();
        if (!grabbed) return 1;
        const int stride = scene.stride();
        // A window that stayed in sight all the same (Wine's taskbar keeps its own
        // region) lies on the bare desktop: its colour is what shows through.
        bool unchanged = true;
        for (int y = t.rect.top; y < t.rect.bottom && unchanged; ++y) {
            if (y < desktop.top || y >= desktop.bottom) continue;
            const size_t row = static_cast<size_t>((scene.height - 1 - (y - desktop.top)) * stride);
            for (int x = t.rect.left; x < t.rect.right && unchanged; ++x) {
                if (x < desktop.left || x >= desktop.right) continue;
                const size_t at = row + static_cast<size_t>(x - desktop.left) * 3;
                unchanged = scene.pixels[at] == under.pixels[at] && scene.pixels[at + 1] == under.pixels[at + 1] &&
                            scene.pixels[at + 2] == under.pixels[at + 2];
            }
        }
        if (unchanged) {
            const COLORREF colour = GetSysColor(COLOR_DESKTOP);
            for (int y = 0; y < under.height; ++y)
                for (int x = 0; x < under.width; ++x) {
                    const size_t at = static_cast<size_t>(y * stride + x * 3);
                    under.pixels[at] = GetBValue(colour);
                    under.pixels[at + 1] = GetGValue(colour);
                    under.pixels[at + 2] = GetRValue(colour);
                }
        }
        for (int y = t.rect.top; y < t.rect.bottom; ++y) {
            if (y < desktop.top || y >= desktop.bottom) continue;
            const int row = (scene.height - 1 - (y - desktop.top)) * stride;
            for (int x = t.rect.left; x < t.rect.right; ++x) {
                if (x < desktop.left || x >= desktop.right) continue;
                for (int c = 0; c < 3; ++c) {
                    BYTE& top = scene.pixels[static_cast<size_t>(row + (x - desktop.left) * 3 + c)];
                    const BYTE below = under.pixels[static_cast<size_t>(row + (x - desktop.left) * 3 + c)];
                    top = static_cast<BYTE>((top * t.alpha + below * (255 - t.alpha) + 127) / 255);
                }
            }
        }
        std::printf("blended %p at alpha %u\n", static_cast<void*>(t.window), t.alpha);
    }
    return Save(scene, argv[1]) ? 0 : 1;
}
