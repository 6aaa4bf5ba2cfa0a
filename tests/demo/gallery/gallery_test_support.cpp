#include "gallery_test_support.h"

#include <gtest/gtest.h>

#include "base/unique_resource.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"

namespace pelmora::test {
namespace {

class SkinModuleEnvironment : public ::testing::Environment {
public:
    void SetUp() override { startSkinModule(); }
    void TearDown() override { endSkinModule(); }
};
[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new SkinModuleEnvironment);

constexpr POINT kOrigin{60, 80};

}  // namespace

void drainMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

int liveWindowRecords() {
    return windowRecordCount();
}

std::uint32_t screenRgb(int x, int y) {
    WindowDc screen(nullptr);
    const COLORREF c = ::GetPixel(screen.get(), x, y);
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

GalleryFixture::GalleryFixture() : gallery_(std::make_unique<gallery::GalleryWindow>()) {
    gallery_->onCommand = [this](int id, int code) { commands_.push_back({id, code}); };
    // Park the pointer away from the window, so no control starts out hot.
    ::SetCursorPos(2, 2);
    const bool created = gallery_->create(::GetModuleHandleW(nullptr), kOrigin);
    EXPECT_TRUE(created);
    if (!created) return;
    ::SetForegroundWindow(window());
    // The window surface reaches the display asynchronously: wait until a bit
    // of plain picture shows what the engine composed.
    const SkinnedWindowRecord* record = windowRecord(findWindowRecord(window()));
    RECT client{};
    ::GetClientRect(window(), &client);
    const POINT probe{client.right - 40, client.bottom - 6};
    POINT onScreen = probe;
    ::ClientToScreen(window(), &onScreen);
    const bool shown = pumpUntil([&] {
        if (!record || !record->image.composed.dc()) return false;
        const COLORREF c = ::GetPixel(record->image.composed.dc(), probe.x, probe.y);
        const std::uint32_t composed = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        return screenRgb(onScreen.x, onScreen.y) == composed;
    });
    EXPECT_TRUE(shown) << "the gallery never reached the display";
}

GalleryFixture::~GalleryFixture() {
    gallery_.reset();
    drainMessages();
}

RECT GalleryFixture::screenRect(int id) const {
    RECT r{};
    HWND c = control(id);
    ::GetClientRect(c, &r);
    ::MapWindowPoints(c, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::uint32_t GalleryFixture::rgbIn(int id, int x, int y) const {
    const WindowDc dc(control(id));
    const COLORREF c = ::GetPixel(dc.get(), x, y);
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

POINT GalleryFixture::centreOf(int id) const {
    const RECT r = screenRect(id);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

int GalleryFixture::clicksOf(int id) const {
    int n = 0;
    for (const Command& c : commands_) n += c.id == id && c.code == BN_CLICKED;
    return n;
}

}  // namespace pelmora::test
