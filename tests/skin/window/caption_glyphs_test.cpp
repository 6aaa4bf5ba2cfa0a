// New caption glyphs on a real skinned window: each standard button shows the
// picture given for its kind, on the composed image and on the screen; an empty
// picture leaves the button as it was, and one that does not decode leaves the
// button bare.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/unique_resource.h"
#include "skin/controls/core/window_records.h"
#include "skin/skin_engine.h"
#include "skin/state/engine_state.h"
#include "tests/skin/controls/control_window_support.h"

namespace pelmora {
namespace {

using test::closeTo;
using test::pumpUntil;

constexpr int kWidth = 500, kHeight = 300;
constexpr POINT kOrigin{120, 140};
// Saturated colours the standard glyphs and the picture never have.
constexpr std::uint32_t kMinimizeColour = 0xFFE01010;
constexpr std::uint32_t kMaximizeColour = 0xFF10E010;
constexpr std::uint32_t kRestoreColour = 0xFF1010E0;
constexpr std::uint32_t kCloseColour = 0xFFE0E010;
constexpr std::uint32_t kOtherColour = 0xFF10E0E0;

// The glyph is drawn at its own size from the button's top-left corner; the
// probe lies well inside a 10 x 10 glyph.
constexpr int kGlyphSide = 10, kProbe = 4;

template <std::uint32_t Colour>
std::uint32_t solid(int, int) {
    return Colour;
}

ByteBuffer glyph(std::uint32_t (*colourAt)(int, int), int side = kGlyphSide) {
    return test::makePng(side, side, colourAt);
}

std::uint32_t pictureAt(int x, int y) {
    return 0xFF000000u | (static_cast<std::uint32_t>(40 + x % 200) << 16) |
           (static_cast<std::uint32_t>(30 + y % 200) << 8) | 0x50u;
}

std::uint32_t opaque(COLORREF c) {
    return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// A shown skinned window with the caption buttons its style asks for.
class CaptionWindow {
public:
    CaptionWindow(DWORD boxes, bool showHelp) {
        SkinTheme theme;
        theme.imageBytes = test::makePng(kWidth, kHeight, pictureAt);
        theme.mode = static_cast<int>(BackgroundMode::TopLeft);
        skinEngine().setSkinTheme(theme);
        test::parkPointer();
        window_ = ::CreateWindowExW(0, test::plainWindowClass(), L"glyphs", WS_POPUP | boxes, kOrigin.x, kOrigin.y,
                                    kWidth, kHeight, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        SkinWindowOptions options;
        options.captionHeight = 30;
        options.resizable = false;
        options.showHelp = showHelp;
        skinEngine().skinWindow(window_, options);
        ::ShowWindow(window_, SW_SHOW);
        ::UpdateWindow(window_);
        pumpUntil([&] { return closeTo(screen(250, 150), pictureAt(250, 150), 1); });
        // The window had its first size before it was skinned; a later resize
        // (maximising) must render again.
        engineState().firstSizePending = false;
    }
    ~CaptionWindow() {
        ::DestroyWindow(window_);
        test::drainMessages();
    }
    CaptionWindow(const CaptionWindow&) = delete;
    CaptionWindow& operator=(const CaptionWindow&) = delete;

    HWND window() const { return window_; }
    SkinnedWindowRecord& record() const { return *windowRecord(findWindowRecord(window_)); }
    const CaptionButton* button(CaptionButtonKind kind) const {
        for (const CaptionButton& b : record().caption.captionButtons)
            if (b.kind == kind) return &b;
        return nullptr;
    }
    // A click on the button, as the user makes it.
    void click(CaptionButtonKind kind) const {
        const RectF& r = button(kind)->rect;
        const LPARAM at = MAKELPARAM(static_cast<int>(r.x + r.width / 2), static_cast<int>(r.y + r.height / 2));
        ::SendMessageW(window_, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(window_, WM_LBUTTONUP, 0, at);
    }
    // The probe point of a button, in client coordinates.
    POINT probe(const CaptionButton& b) const {
        return {static_cast<int>(b.rect.x) + kProbe, static_cast<int>(b.rect.y) + kProbe};
    }
    std::uint32_t composed(POINT p) const { return opaque(::GetPixel(record().image.composed.dc(), p.x, p.y)); }
    std::uint32_t screen(int x, int y) const {
        const WindowDc desktop(nullptr);
        return opaque(::GetPixel(desktop.get(), kOrigin.x + x, kOrigin.y + y));
    }

private:
    test::SkinState state_;
    HWND window_ = nullptr;
};

struct GlyphCase {
    const char* name;
    DWORD boxes;
    bool showHelp;
    std::vector<CaptionButtonKind> kinds;  // what the caption holds, left to right
};

// Each button takes the picture of its kind wherever it sits in the strip; the
// help button, which has no picture here, keeps its own.
TEST(CaptionGlyphsTest, EachButtonShowsThePictureOfItsKind) {
    using K = CaptionButtonKind;
    const GlyphCase cases[] = {
        {"minimize, maximize, close", WS_MINIMIZEBOX | WS_MAXIMIZEBOX, false, {K::Minimize, K::Maximize, K::Close}},
        {"maximize, close", WS_MAXIMIZEBOX, false, {K::Maximize, K::Close}},
        {"minimize, close", WS_MINIMIZEBOX, false, {K::Minimize, K::Close}},
        {"close alone", 0, false, {K::Close}},
        {"help before the three", WS_MINIMIZEBOX | WS_MAXIMIZEBOX, true, {K::Help, K::Minimize, K::Maximize, K::Close}},
    };
    for (const GlyphCase& c : cases) {
        SCOPED_TRACE(c.name);
        CaptionWindow host(c.boxes, c.showHelp);
        ASSERT_EQ(host.record().caption.captionButtons.size(), c.kinds.size());
        const CaptionButton* help = host.button(K::Help);
        const std::uint32_t helpBefore = help ? host.composed(host.probe(*help)) : 0;

        ASSERT_TRUE(skinEngine().setCaptionGlyphs(host.window(), glyph(solid<kMinimizeColour>),
                                                  glyph(solid<kMaximizeColour>), glyph(solid<kRestoreColour>),
                                                  glyph(solid<kCloseColour>)));
        for (CaptionButtonKind kind : c.kinds) {
            const CaptionButton* b = host.button(kind);
            ASSERT_NE(b, nullptr);
            const POINT p = host.probe(*b);
            const std::uint32_t expected = kind == K::Minimize   ? kMinimizeColour
                                           : kind == K::Maximize ? kMaximizeColour
                                           : kind == K::Close    ? kCloseColour
                                                                 : helpBefore;
            EXPECT_TRUE(closeTo(host.composed(p), expected, 2)) << static_cast<int>(kind);
            // Painted straight to the window: no other repaint is asked for.
            EXPECT_TRUE(pumpUntil([&] { return closeTo(host.screen(p.x, p.y), expected, 2); }))
                << "not on screen: " << static_cast<int>(kind);
        }
    }
}

TEST(CaptionGlyphsTest, MaximisedWindowShowsTheRestorePicture) {
    CaptionWindow host(WS_MINIMIZEBOX | WS_MAXIMIZEBOX, false);
    ASSERT_TRUE(skinEngine().setCaptionGlyphs(host.window(), glyph(solid<kMinimizeColour>),
                                              glyph(solid<kMaximizeColour>), glyph(solid<kRestoreColour>),
                                              glyph(solid<kCloseColour>)));
    const auto maximizeProbe = [&] { return host.composed(host.probe(*host.button(CaptionButtonKind::Maximize))); };
    ASSERT_TRUE(closeTo(maximizeProbe(), kMaximizeColour, 2));
    host.click(CaptionButtonKind::Maximize);
    EXPECT_TRUE(pumpUntil([&] { return closeTo(maximizeProbe(), kRestoreColour, 2); }));
}

TEST(CaptionGlyphsTest, EmptyPictureKeepsTheButtonsPreviousGlyph) {
    CaptionWindow host(WS_MINIMIZEBOX | WS_MAXIMIZEBOX, false);
    ASSERT_TRUE(skinEngine().setCaptionGlyphs(host.window(), glyph(solid<kMinimizeColour>),
                                              glyph(solid<kMaximizeColour>), glyph(solid<kRestoreColour>),
                                              glyph(solid<kCloseColour>)));
    // Only the close picture is given this time.
    ASSERT_TRUE(skinEngine().setCaptionGlyphs(host.window(), {}, {}, {}, glyph(solid<kOtherColour>)));
    EXPECT_TRUE(closeTo(host.composed(host.probe(*host.button(CaptionButtonKind::Minimize))), kMinimizeColour, 2));
    EXPECT_TRUE(closeTo(host.composed(host.probe(*host.button(CaptionButtonKind::Maximize))), kMaximizeColour, 2));
    EXPECT_TRUE(closeTo(host.composed(host.probe(*host.button(CaptionButtonKind::Close))), kOtherColour, 2));
    host.click(CaptionButtonKind::Maximize);
    EXPECT_TRUE(pumpUntil([&] {
        return closeTo(host.composed(host.probe(*host.button(CaptionButtonKind::Maximize))), kRestoreColour, 2);
    })) << "the restore picture was kept too";
}

// A picture that does not decode replaces the old one all the same, and the
// button is drawn without a glyph: what a one-pixel glyph leaves at the probe.
TEST(CaptionGlyphsTest, PictureThatDoesNotDecodeLeavesTheButtonBare) {
    CaptionWindow host(WS_MINIMIZEBOX, false);
    const auto closeProbe = [&] { return host.composed(host.probe(*host.button(CaptionButtonKind::Close))); };
    ASSERT_TRUE(skinEngine().setCaptionGlyphs(host.window(), {}, {}, {}, glyph(solid<kCloseColour>, 1)));
    const std::uint32_t bare = closeProbe();
    ASSERT_FALSE(closeTo(bare, kCloseColour, 40));
    ASSERT_TRUE(skinEngine().setCaptionGlyphs(host.window(), {}, {}, {}, glyph(solid<kCloseColour>)));
    ASSERT_TRUE(closeTo(closeProbe(), kCloseColour, 2));

    const ByteBuffer broken{'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'};
    ASSERT_TRUE(skinEngine().setCaptionGlyphs(host.window(), {}, {}, {}, broken));
    EXPECT_TRUE(closeTo(closeProbe(), bare, 2));
    const POINT p = host.probe(*host.button(CaptionButtonKind::Close));
    EXPECT_TRUE(pumpUntil([&] { return closeTo(host.screen(p.x, p.y), bare, 2); }));
}

TEST(CaptionGlyphsTest, WindowThatIsNotSkinnedIsRefused) {
    test::SkinState state;
    HWND plain = test::createHostWindow();
    EXPECT_FALSE(skinEngine().setCaptionGlyphs(plain, glyph(solid<kMinimizeColour>), {}, {}, {}));
    ::DestroyWindow(plain);
}

}  // namespace
}  // namespace pelmora
