#include "skin_test_support.h"

#include <gdiplus.h>
#include <gtest/gtest.h>
#include <objbase.h>

#include <cstring>

#include "base/window_class.h"
#include "skin/controls/core/control_proc.h"
#include "skin/skin_engine.h"
#include "skin/state/engine_state.h"
#include "skin/theme_images.h"

namespace pelmora::test {
namespace {

class SkinModuleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { startSkinModule(); }
    void TearDown() override { endSkinModule(); }
};
[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new SkinModuleEnvironment);

constexpr wchar_t kHostClass[] = L"PelmoraSkinTestHost";

void registerHostClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kHostClass;
    ::RegisterClassExW(&wc);
    registered = true;
}

}  // namespace

namespace {
POINT heldPointer{};
bool pointerHeld = false;
}  // namespace

void pointTo(int screenX, int screenY) {
    heldPointer = {screenX, screenY};
    pointerHeld = true;
    ::SetCursorPos(screenX, screenY);
}

bool restorePointer() {
    if (!pointerHeld) return false;
    POINT now{};
    if (!::GetCursorPos(&now) || (now.x == heldPointer.x && now.y == heldPointer.y)) return false;
    ::SetCursorPos(heldPointer.x, heldPointer.y);
    return true;
}

void parkPointer() {
    pointTo(::GetSystemMetrics(SM_CXSCREEN) - 2, ::GetSystemMetrics(SM_CYSCREEN) - 2);
    const DWORD end = ::GetTickCount() + 3000;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        POINT now{};
        ::GetCursorPos(&now);
        if ((now.x == heldPointer.x && now.y == heldPointer.y) || static_cast<long>(::GetTickCount() - end) >= 0)
            return;
        ::Sleep(2);
    }
}

const wchar_t* plainWindowClass() {
    static const bool registered =
        registerWindowClass(::GetModuleHandleW(nullptr), L"PelmoraSkinTestPlain", ::DefWindowProcW);
    return registered ? L"PelmoraSkinTestPlain" : nullptr;
}

HWND createHostWindow(int x, int y, int width, int height) {
    registerHostClass();
    return ::CreateWindowExW(0, kHostClass, L"host", WS_POPUP | WS_VISIBLE, x, y, width, height, nullptr, nullptr,
                             ::GetModuleHandleW(nullptr), nullptr);
}

HWND createChild(HWND parent, const wchar_t* className, DWORD style, int x, int y, int width, int height,
                 const wchar_t* text, DWORD exStyle) {
    return ::CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                             nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

int recordWindow(HWND window) {
    auto record = std::make_unique<SkinnedWindowRecord>();
    record->window = window;
    return appendWindowRecord(std::move(record));
}

SkinState::SkinState() {
    resetEngineState();
}

SkinState::~SkinState() {
    resetEngineState();
}

void SkinState::enableAllClasses() {
    for (int i = 0; i < static_cast<int>(ControlProcedure::Count); ++i)
        setClassProcedure(static_cast<ControlProcedure>(i), forwardingControlProc);
}

std::uint32_t dibPixel(HDC dc, int x, int y) {
    ::GdiFlush();
    auto bitmap = static_cast<HBITMAP>(::GetCurrentObject(dc, OBJ_BITMAP));
    DIBSECTION section{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof section, &section) != sizeof section || !section.dsBm.bmBits) return 0;
    const int height = section.dsBm.bmHeight;
    const bool bottomUp = section.dsBmih.biHeight > 0;
    const int row = bottomUp ? height - 1 - y : y;
    const auto* base = static_cast<const std::uint8_t*>(section.dsBm.bmBits);
    std::uint32_t value = 0;
    std::memcpy(&value, base + static_cast<size_t>(row) * section.dsBm.bmWidthBytes + x * 4, 4);
    return value;
}

std::vector<std::uint8_t> makePng(int width, int height, std::uint32_t (*colourAt)(int x, int y)) {
    // A 32-bit bitmap file in memory, turned into PNG by the engine's own encoder path.
    const size_t pixels = static_cast<size_t>(width) * height * 4;
    std::vector<std::uint8_t> bmp(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + pixels);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfSize = static_cast<DWORD>(bmp.size());
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = -height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    std::memcpy(bmp.data(), &file, sizeof file);
    std::memcpy(bmp.data() + sizeof file, &info, sizeof info);
    auto* out = bmp.data() + file.bfOffBits;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colourAt(x, y);
            std::memcpy(out + (static_cast<size_t>(y) * width + x) * 4, &c, 4);
        }
    return reencodeAsPng(bmp);
}

namespace {
template <typename Use>
bool withDecoded(const std::vector<std::uint8_t>& png, Use use) {
    using namespace Gdiplus::DllExports;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, png.size());
    if (!memory) return false;
    std::memcpy(::GlobalLock(memory), png.data(), png.size());
    ::GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        ::GlobalFree(memory);
        return false;
    }
    Gdiplus::GpBitmap* bitmap = nullptr;
    const bool ok = GdipCreateBitmapFromStream(stream, &bitmap) == Gdiplus::Ok;
    if (ok) {
        use(bitmap);
        GdipDisposeImage(bitmap);
    }
    stream->Release();
    return ok;
}
}  // namespace

std::uint32_t pngPixel(const std::vector<std::uint8_t>& png, int x, int y) {
    Gdiplus::ARGB value = 0;
    withDecoded(png, [&](Gdiplus::GpBitmap* b) { Gdiplus::DllExports::GdipBitmapGetPixel(b, x, y, &value); });
    return value;
}

SIZE pngSize(const std::vector<std::uint8_t>& png) {
    SIZE size{};
    withDecoded(png, [&](Gdiplus::GpBitmap* b) {
        UINT w = 0, h = 0;
        Gdiplus::DllExports::GdipGetImageWidth(b, &w);
        Gdiplus::DllExports::GdipGetImageHeight(b, &h);
        size = {static_cast<LONG>(w), static_cast<LONG>(h)};
    });
    return size;
}

Pixels decodePng(const std::vector<std::uint8_t>& png) {
    Pixels result;
    withDecoded(png, [&](Gdiplus::GpBitmap* b) {
        UINT w = 0, h = 0;
        Gdiplus::DllExports::GdipGetImageWidth(b, &w);
        Gdiplus::DllExports::GdipGetImageHeight(b, &h);
        result.width = static_cast<int>(w);
        result.height = static_cast<int>(h);
        result.pixels.resize(static_cast<size_t>(w) * h);
        for (UINT y = 0; y < h; ++y)
            for (UINT x = 0; x < w; ++x) {
                Gdiplus::ARGB value = 0;
                Gdiplus::DllExports::GdipBitmapGetPixel(b, static_cast<INT>(x), static_cast<INT>(y), &value);
                result.pixels[static_cast<size_t>(y) * w + x] = value;
            }
    });
    return result;
}

}  // namespace pelmora::test
