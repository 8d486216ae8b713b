#include "win/Dpi.h"

#include <initializer_list>

namespace win {
namespace {

// user32 is linked, so looking it up loads nothing from a search path.
template <typename Function>
Function User32Function(const char* name) {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(::GetProcAddress(user32, name)) : nullptr;
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForSystemFn = UINT(WINAPI*)();
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

struct PerDpiCalls {
    GetDpiForWindowFn dpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    GetDpiForSystemFn dpiForSystem = User32Function<GetDpiForSystemFn>("GetDpiForSystem");
    GetSystemMetricsForDpiFn metrics = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    SystemParametersInfoForDpiFn parameters =
        User32Function<SystemParametersInfoForDpiFn>("SystemParametersInfoForDpi");
    AdjustWindowRectExForDpiFn adjust = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
};

const PerDpiCalls& Calls() {
    static const PerDpiCalls calls;
    return calls;
}

// A font measured at the system's DPI, at `dpi`.
void RescaleFont(LOGFONTW& font, UINT dpi) { font.lfHeight = RescaleForDpi(font.lfHeight, SystemDpi(), dpi); }

}  // namespace

int ScaleForDpi(int value, UINT dpi) { return RescaleForDpi(value, kDesignDpi, dpi); }

int RescaleForDpi(int value, UINT from, UINT to) {
    return from == to || from == 0 ? value : ::MulDiv(value, static_cast<int>(to), static_cast<int>(from));
}

UINT SystemDpi() {
    if (Calls().dpiForSystem) return Calls().dpiForSystem();
    HDC screen = ::GetDC(nullptr);
    int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

UINT DpiForWindow(HWND hwnd) {
    UINT dpi = hwnd && Calls().dpiForWindow ? Calls().dpiForWindow(hwnd) : 0;
    return dpi ? dpi : SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi) {
    if (Calls().metrics) return Calls().metrics(index, dpi);
    return RescaleForDpi(::GetSystemMetrics(index), SystemDpi(), dpi);
}

bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi) {
    metrics.cbSize = sizeof(metrics);
    if (Calls().parameters && Calls().parameters(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi))
        return true;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return false;
    for (LOGFONTW* font : {&metrics.lfCaptionFont, &metrics.lfSmCaptionFont, &metrics.lfMenuFont,
                           &metrics.lfStatusFont, &metrics.lfMessageFont})
        RescaleFont(*font, dpi);
    return true;
}

bool IconTitleFontForDpi(LOGFONTW& font, UINT dpi) {
    if (Calls().parameters && Calls().parameters(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0, dpi)) return true;
    if (!::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0)) return false;
    RescaleFont(font, dpi);
    return true;
}

bool AdjustWindowRectForDpi(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    if (Calls().adjust && Calls().adjust(&rect, style, FALSE, exStyle, dpi)) return true;
    // The frame at the system's scale, each side rescaled.
    RECT frame = rect;
    if (!::AdjustWindowRectEx(&frame, style, FALSE, exStyle)) return false;
    const UINT system = SystemDpi();
    rect.left -= RescaleForDpi(rect.left - frame.left, system, dpi);
    rect.top -= RescaleForDpi(rect.top - frame.top, system, dpi);
    rect.right += RescaleForDpi(frame.right - rect.right, system, dpi);
    rect.bottom += RescaleForDpi(frame.bottom - rect.bottom, system, dpi);
    return true;
}

}  // namespace win
