#include "ToolkitTestSupport.h"

namespace test {

Canvas::Canvas(int width, int height, COLORREF fill) : width(width), height(height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<uint32_t*>(bits);
    dc_ = CreateCompatibleDC(nullptr);
    kept_ = SelectObject(dc_, bitmap_);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(x, y, fill);
}

Canvas::~Canvas() {
    SelectObject(dc_, kept_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

COLORREF Canvas::Pixel(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[y * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

void Canvas::SetPixel(int x, int y, COLORREF c) {
    GdiFlush();
    bits_[y * width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

JBitmap Canvas::AsBitmap() const {
    JBitmap record = {};
    record.width = width;
    record.height = height;
    record.dc = dc_;
    record.bitmap = bitmap_;
    SetRect(&record.frameRect, 0, 0, width, height);
    return record;
}

namespace {

const char kClassName[] = "ToolkitTestWindow";

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (gSurface && gSurface->context->window == window &&
        DispatchMouse(gSurface, window, message, wParam, lParam))
        return 1;
    switch (message) {
        case WM_PAINT:
            if (gSurface && gSurface->context->window == window) {
                BeginSurfacePaint(gSurface);
                PaintSurface(gSurface);
                EndSurfacePaint(gSurface);
                return 0;
            }
            break;
        case WM_ERASEBKGND:
            return 1;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterTestClass() {
    static bool registered = false;
    if (registered)
        return;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    windowClass.lpszClassName = kClassName;
    registered = RegisterClassA(&windowClass) != 0;
}

}  // namespace

SkinnedWindow::SkinnedWindow(int width, int height, uint32_t backgroundId, const JRect& statusRect) {
    // Keep the real pointer away from the window.
    SetCursorPos(1200, 1000);
    RegisterTestClass();
    window = CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, width, height, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    CreateSurface(&surface, &gContext, GetModuleHandleA(nullptr));
    Attach(window, backgroundId, kCursorId, &statusRect);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
}

SkinnedWindow::~SkinnedWindow() {
    DestroyWindow(window);
    if (gContext.background) {
        ReleaseSkinBitmap(gContext.background);
        delete gContext.background;
        gContext.background = nullptr;
    }
    DeleteDC(gContext.backDC);
    DeleteObject(surface.backBitmap);
    gContext.backDC = nullptr;
    gContext.window = nullptr;
    gSurface = nullptr;
    // Leave no message of this window behind.
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

void SkinnedWindow::Repaint(const RECT* area) const {
    InvalidateRect(window, area, FALSE);
    UpdateWindow(window);
}

constexpr JRect SkinnedWindowTest::kStatusRect;

void SkinnedWindowTest::SetUp() {
    skin = std::make_unique<SkinnedWindow>(kWidth, kHeight, kPatternId, kStatusRect);
    window = skin->window;
    ASSERT_NE(window, nullptr);
}

void SkinnedWindowTest::TearDown() {
    skin.reset();
}

COLORREF SkinnedWindowTest::Pixel(int x, int y) const {
    HDC dc = GetDC(window);
    const COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
}

void SkinnedWindowTest::Fill(const JRect& rect, COLORREF colour) const {
    HDC dc = GetDC(window);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    ReleaseDC(window, dc);
}

std::unique_ptr<Canvas> SkinnedWindowTest::Grab() const {
    auto canvas = std::make_unique<Canvas>(kWidth, kHeight);
    HDC dc = GetDC(window);
    BitBlt(canvas->dc(), 0, 0, kWidth, kHeight, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return canvas;
}

bool SkinnedWindowTest::ShowsBackground(const JRect& rect) const {
    auto shown = Grab();
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (shown->Pixel(x, y) != Background(x, y))
                return false;
    return true;
}

bool SkinnedWindowTest::ShowsColour(const JRect& rect, COLORREF colour) const {
    auto shown = Grab();
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (shown->Pixel(x, y) != colour)
                return false;
    return true;
}

JRect SkinnedWindowTest::Ink(const JRect& rect) const {
    auto shown = Grab();
    JRect box = {rect.right, rect.bottom, rect.left, rect.top};
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            if (shown->Pixel(x, y) == Background(x, y))
                continue;
            box.left = x < box.left ? x : box.left;
            box.top = y < box.top ? y : box.top;
            box.right = x + 1 > box.right ? x + 1 : box.right;
            box.bottom = y + 1 > box.bottom ? y + 1 : box.bottom;
        }
    }
    if (box.right <= box.left)
        SetRectEmpty(&box);
    return box;
}

LRESULT SkinnedWindowTest::Send(UINT message, int x, int y) const {
    return SendMessageA(window, message, 0, MAKELPARAM(x, y));
}

std::vector<WPARAM> SkinnedWindowTest::Commands() const {
    std::vector<WPARAM> commands;
    MSG message;
    while (PeekMessageA(&message, window, WM_JCOMMAND, WM_JCOMMAND, PM_REMOVE))
        commands.push_back(message.wParam);
    return commands;
}

}  // namespace test
