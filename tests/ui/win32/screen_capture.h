// Saves what the window system shows on the screen as a 24-bit BMP file, for screenshots.
#ifndef ZEDLL_TESTS_UI_SCREEN_CAPTURE_H
#define ZEDLL_TESTS_UI_SCREEN_CAPTURE_H

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

namespace zedtest {

/// Where the screenshot `name` goes: "<ZEDLL_SCREENSHOT_DIR>\\<name>.bmp", or "" when the run
/// takes no pictures (the Windows leg sets the folder and turns the files into PNG).
inline std::string ScreenshotFile(const char* name) {
    char dir[MAX_PATH] = {};
    const DWORD n = ::GetEnvironmentVariableA("ZEDLL_SCREENSHOT_DIR", dir, sizeof dir);
    if (n == 0 || n >= sizeof dir) return std::string();
    return std::string(dir) + "\\" + name + ".bmp";
}

/// Whether the program runs under Wine rather than Windows.
inline bool RunningOnWine() {
    HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

/// Handles the thread's messages for `ms` milliseconds, so that what was drawn is on the screen.
inline void PumpFor(DWORD ms) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < ms) {
        MSG m;
        while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&m);
            ::DispatchMessageA(&m);
        }
        ::Sleep(10);
    }
}

/// Copies `area` of the screen into `path`, bottom-up rows as BMP keeps them:
///   BITMAPFILEHEADER (14) | BITMAPINFOHEADER (40) | rows of width * 3 bytes, padded to 4
/// Whether the file was written.
inline bool SaveScreenArea(const RECT& area, const std::string& path) {
    const int w = area.right - area.left, h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return false;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bitmap != nullptr && bits != nullptr) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        ok = ::BitBlt(memory, 0, 0, w, h, screen, area.left, area.top, SRCCOPY) != 0;
        ::GdiFlush();
        ::SelectObject(memory, old);
        const DWORD row = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;  // "BM"
        file.bfOffBits = sizeof file + sizeof info.bmiHeader;
        file.bfSize = file.bfOffBits + row * static_cast<DWORD>(h);
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(&file), sizeof file);
        out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
        out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(row) * h);
        ok = ok && out.good();
    }
    if (bitmap != nullptr) ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace zedtest

#endif
