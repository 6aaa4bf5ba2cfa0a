// The skin object's settings and the operations it serves before the window
// layer exists: switches, theme, window background, title style, control
// layer, text colour.
#include "skin/skin_engine.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "gfx/drawing_helpers.h"
#include "gfx/gdip_object.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_properties.h"
#include "skin/theme_images.h"
#include "skin_test_support.h"

namespace pelmora {
namespace {

// A theme of one picture (file or bytes), its colours and its mode.
SkinTheme themeOf(const std::wstring& file, const ByteBuffer& bytes, std::optional<COLORREF> colour,
                  std::optional<int> accent, std::optional<int> mode) {
    SkinTheme theme;
    theme.imageFile = file;
    theme.imageBytes = bytes;
    theme.colour = colour;
    theme.accent = accent;
    theme.mode = mode;
    return theme;
}

// Pixel (x, y) of the sample picture: red and green name the position.
std::uint32_t positionColour(int x, int y) {
    return 0xFF000000u | (x * 30) << 16 | (y * 40) << 8 | 200;
}
std::uint32_t stripes(int x, int y) {
    return x < 20 ? 0xFF204060u : 0xFF80A0C0u;
}

constexpr double kSampleDay = 45000.75;  // 15 March 2023, 18:00

TEST(DayCountTest, CountsDaysSinceTheEndOf1899WithTheTimeAsFraction) {
    struct Case {
        SYSTEMTIME time;
        double days;
    } cases[] = {
        {{1899, 12, 6, 30, 0, 0, 0, 0}, 0.0},
        {{1900, 1, 1, 1, 0, 0, 0, 0}, 2.0},
        {{2023, 3, 3, 15, 18, 0, 0, 0}, 45000.75},
        {{2000, 2, 2, 29, 6, 0, 0, 0}, 36585.25},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(dayCountOf(c.time), c.days) << c.time.wYear;
}

TEST(AverageColourTest, SamplesTheSeededPositionsOfTheDay) {
    const auto positions = averageSamplePositions(kSampleDay, 7, 5);
    ASSERT_EQ(positions.size(), 2000u);
    struct Sample {
        size_t i;  // 1-based
        LONG x, y;
    } expected[] = {{1, 2, 0}, {2, 5, 4}, {3, 1, 2}, {2000, 6, 3}};
    for (const Sample& s : expected) {
        EXPECT_EQ(positions[s.i - 1].x, s.x) << s.i;
        EXPECT_EQ(positions[s.i - 1].y, s.y) << s.i;
    }
    // Same day, later hour: the same positions; next day: others.
    EXPECT_EQ(averageSamplePositions(45000.1, 7, 5)[1].x, 5);
    const auto tomorrow = averageSamplePositions(45001.75, 7, 5);
    EXPECT_FALSE(tomorrow[0].x == 2 && tomorrow[0].y == 0 && tomorrow[1].x == 5 && tomorrow[1].y == 4);
}

TEST(AverageColourTest, MeansTheSampledPixels) {
    const auto png = test::makePng(7, 5, positionColour);
    ASSERT_FALSE(png.empty());
    EXPECT_EQ(averageImageColour(png, kSampleDay), 0xFF5A50C8u);
    EXPECT_EQ(averageImageColour({}, kSampleDay), 0u);
}

TEST(CrtRandomTest, FollowsTheRunTimeGenerator) {
    CrtRandom random(1);
    EXPECT_EQ(random.next(), 41);
    EXPECT_EQ(random.next(), 18467);
    EXPECT_EQ(random.next(), 6334);
}

TEST(FadeEdgeTest, BandOfThirtyPercentFadesIntoTheColourOnOneSideAndAtTheBottom) {
    const auto png = test::makePng(40, 60, stripes);  // band = 12
    const std::uint32_t colour = 0xFF102030;
    const long liveBefore = gdipLiveObjects();
    const auto right = fadeBackgroundEdge(png, colour, FadeSide::Right);
    ASSERT_FALSE(right.empty());
    const SIZE size = test::pngSize(right);
    EXPECT_EQ(size.cx, 40);
    EXPECT_EQ(size.cy, 60);
    EXPECT_EQ(test::pngPixel(right, 5, 5), 0xFF204060u);   // untouched
    EXPECT_EQ(test::pngPixel(right, 27, 5), 0xFF80A0C0u);  // just left of the band
    const std::uint32_t edge = test::pngPixel(right, 39, 5);
    EXPECT_NEAR(test::red(edge), 0x10, 12);
    EXPECT_NEAR(test::blue(edge), 0x30, 12);
    const std::uint32_t bottom = test::pngPixel(right, 5, 59);
    EXPECT_NEAR(test::green(bottom), 0x20, 12);

    const auto left = fadeBackgroundEdge(png, colour, FadeSide::Left);
    const std::uint32_t leftEdge = test::pngPixel(left, 0, 5);
    EXPECT_NEAR(test::red(leftEdge), 0x10, 12);
    EXPECT_EQ(test::pngPixel(left, 30, 5), 0xFF80A0C0u);  // the right side stays
    EXPECT_TRUE(fadeBackgroundEdge({}, colour, FadeSide::Left).empty());
    averageImageColour(png, kSampleDay);
    EXPECT_EQ(gdipLiveObjects(), liveBefore);  // every bitmap, graphics and brush was released
}

class SkinEngineTest : public ::testing::Test {
protected:
    test::SkinState state_;
};

TEST_F(SkinEngineTest, SettingsStartAtTheirDefaults) {
    const ControlSettings controls;
    EXPECT_TRUE(controls.controlSkinningEnabled);
    EXPECT_EQ(controls.accentColour, 0x00DDCA22u);
    EXPECT_FALSE(controls.translucentBackgrounds);
    EXPECT_EQ(controls.backgroundAlpha, 160);
    EXPECT_TRUE(controls.trackBarFrameEnabled);
    const EngineState state;
    EXPECT_EQ(state.theme.themeColour, ::GetSysColor(COLOR_BTNFACE));
    EXPECT_TRUE(state.theme.themeBackground.empty());
    EXPECT_EQ(state.theme.themeBackgroundMode, 4);
    EXPECT_TRUE(state.firstSizePending);
    EXPECT_FALSE(DialogPart().fadeStarted);
    EXPECT_TRUE(state.windowRecords.empty());
}

TEST_F(SkinEngineTest, ControlSkinningSwitchesTogether) {
    struct Case {
        bool enabled;
        std::optional<int> alpha;
        std::optional<bool> frame;
        bool translucent;
        int backgroundAlpha;
        bool frameOn;
    } cases[] = {
        {true, 0, std::nullopt, true, 0, true},  // what the installer asks for
        {true, std::nullopt, std::nullopt, false, 160, true},
        {false, 200, false, true, 200, false},
    };
    for (const Case& c : cases) {
        skinEngine().setControlSkinning(c.enabled, c.alpha, c.frame);
        const ControlSettings& s = controlSettings();
        EXPECT_EQ(s.controlSkinningEnabled, c.enabled);
        EXPECT_EQ(s.translucentBackgrounds, c.translucent);
        EXPECT_EQ(s.backgroundAlpha, c.backgroundAlpha);
        EXPECT_EQ(s.trackBarFrameEnabled, c.frameOn);
    }
}

TEST_F(SkinEngineTest, ThemeColourAndAccent) {
    SkinEngine& engine = skinEngine();
    themeSettings().themeBackground = {1, 2, 3};
    engine.setSkinTheme(themeOf(L"", {}, 0x00336699, kAccentFromTheme, std::nullopt));
    EXPECT_EQ(engine.getThemeColour(), 0x00336699u);
    EXPECT_EQ(controlSettings().accentColour, 0x00336699u);
    EXPECT_TRUE(themeSettings().themeBackground.empty());

    engine.setSkinTheme(themeOf(L"", {}, 0x00112233, std::nullopt, std::nullopt));
    EXPECT_EQ(controlSettings().accentColour, 0x00DDCA22u);  // omitted accent: the default one

    engine.setSkinTheme(themeOf(L"", {}, std::nullopt, 0x000000FF, std::nullopt));
    EXPECT_EQ(controlSettings().accentColour, 0x000000FFu);
    EXPECT_EQ(engine.getThemeColour(), 0x00112233u);  // no picture and no colour: the theme stays
}

TEST_F(SkinEngineTest, ThemePictureGivesTheAverageColourAndIsKeptAsGiven) {
    const auto png = test::makePng(30, 20, stripes);
    skinEngine().setSkinTheme(themeOf(L"", png, std::nullopt, std::nullopt, 4));
    // Two thirds of the columns are dark: the average lies between the stripes.
    const COLORREF theme = skinEngine().getThemeColour();
    EXPECT_GT(GetRValue(theme), 0x20);
    EXPECT_LT(GetRValue(theme), 0x80);
    EXPECT_EQ(themeSettings().themeBackground, png);
    EXPECT_EQ(themeSettings().themeBackgroundMode, 4);
    EXPECT_EQ(controlSettings().accentColour, 0x00DDCA22u);

    skinEngine().setSkinTheme(themeOf(L"", png, 0x00FFFFFF, kAccentFromTheme, 0));
    EXPECT_EQ(skinEngine().getThemeColour(), 0x00FFFFFFu);
    EXPECT_EQ(controlSettings().accentColour, 0x00FFFFFFu);
    EXPECT_EQ(themeSettings().themeBackgroundMode, 0);
    ASSERT_NE(themeSettings().themeBackground, png);  // faded at the right
    const std::uint32_t edge = test::pngPixel(themeSettings().themeBackground, 29, 0);
    EXPECT_GE(test::red(edge), 0xE8);  // the stripe under it is 0x80: nearly all white here
    EXPECT_GE(test::green(edge), 0xE8);
    EXPECT_EQ(test::pngPixel(themeSettings().themeBackground, 2, 0), 0xFF204060u);
}

TEST_F(SkinEngineTest, PerWindowOperationsNeedARecord) {
    HWND host = test::createHostWindow();
    ::SetWindowTextW(host, L"软件安装向导");
    SkinEngine& engine = skinEngine();
    const auto png = test::makePng(30, 20, stripes);
    EXPECT_FALSE(engine.setTitleStyle(host, TitleStyle{}));
    EXPECT_FALSE(engine.setWindowBackground(host, png));
    const RECT none = engine.getCaptionStripRect(host);
    EXPECT_EQ(none.right, 0);

    const int index = test::recordWindow(host);
    SkinnedWindowRecord& record = *windowRecord(index);
    TitleStyle title;
    title.fontSize = 12;
    title.bold = false;
    EXPECT_TRUE(engine.setTitleStyle(host, title));
    EXPECT_EQ(record.title.titleFontSize, 12);
    EXPECT_FALSE(record.title.titleBold);
    EXPECT_EQ(record.title.titleFontFace, L"宋体");
    EXPECT_EQ(record.title.titleColour, 0x00FFFFFFu);

    EXPECT_FALSE(engine.setWindowBackground(host, {}));
    EXPECT_TRUE(engine.setWindowBackground(host, png, 2));
    EXPECT_EQ(record.background.backgroundMode, 2);
    EXPECT_EQ(record.background.ownBackground, png);
    EXPECT_EQ(record.background.ownBackgroundColour, averageImageColour(png));
    EXPECT_TRUE(record.image.needsRender);

    record.caption.stripLeft = 400;
    record.caption.stripWidth = 80;
    const RECT strip = engine.getCaptionStripRect(host);
    EXPECT_EQ(strip.left, 400);
    EXPECT_EQ(strip.right, 480);
    EXPECT_EQ(strip.bottom, 22);

    int helpCalls = 0;
    engine.setHelpHandler(host, [&] { ++helpCalls; });
    engine.setMainMenuHandler(host, [&] { helpCalls += 10; });
    record.caption.helpHandler();
    record.caption.menuHandler();
    EXPECT_EQ(helpCalls, 11);
    ::DestroyWindow(host);
}

TEST_F(SkinEngineTest, TextColourGoesToTheControlOrTheComboEdit) {
    HWND host = test::createHostWindow();
    HWND button = test::createChild(host, L"BUTTON", BS_PUSHBUTTON, 0, 0, 80, 24);
    HWND dropDown = test::createChild(host, L"ComboBox", CBS_DROPDOWN, 0, 30, 80, 100);
    HWND dropList = test::createChild(host, L"ComboBox", CBS_DROPDOWNLIST, 0, 60, 80, 100);
    SkinEngine& engine = skinEngine();
    engine.setControlTextColour(button, 0x000000FF);
    EXPECT_EQ(propValue(button, kPropTextColour), 0xFF);
    engine.setControlTextColour(dropDown, 0x0000FF00);
    HWND comboEdit = ::FindWindowExW(dropDown, nullptr, L"Edit", nullptr);
    ASSERT_NE(comboEdit, nullptr);
    EXPECT_EQ(propValue(comboEdit, kPropTextColour), 0xFF00);
    EXPECT_EQ(::GetPropW(dropDown, kPropTextColour), nullptr);
    engine.setControlTextColour(dropList, 0x00FF0000);  // no edit inside: nothing
    EXPECT_EQ(::GetPropW(dropList, kPropTextColour), nullptr);
    engine.setControlTextColour(nullptr, 0x00FF0000);
    ::DestroyWindow(host);
}

TEST_F(SkinEngineTest, ControlLayerRecordsAChildlessWindowAndReturnsZero) {
    state_.enableAllClasses();
    HWND host = test::createHostWindow();
    HWND label = test::createChild(host, L"Static", 0, 0, 0, 80, 24);
    HWND other = test::createChild(host, L"Static", 0, 0, 30, 80, 24);
    EXPECT_EQ(skinEngine().skinControlLayer(label), 0);  // no skinned window yet: nothing happens
    EXPECT_EQ(::GetPropW(label, kPropLayerIndex), nullptr);

    const int index = test::recordWindow(host);
    EXPECT_EQ(skinEngine().skinControlLayer(label), 0);
    EXPECT_EQ(skinEngine().skinControlLayer(other, 0x00ABCDEF), 0);
    const SkinnedWindowRecord& record = *windowRecord(index);
    ASSERT_EQ(record.controls<ControlLayerRecord>().size(), 2);
    EXPECT_EQ(record.controls<ControlLayerRecord>().at(1).window, label);
    EXPECT_EQ(record.controls<ControlLayerRecord>().at(1).keyColour, ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(record.controls<ControlLayerRecord>().at(2).keyColour, 0x00ABCDEFu);
    EXPECT_EQ(propIndex(other, kPropLayerIndex), 2);
    EXPECT_EQ(propIndex(other, kPropLayerOwnerIndex), index);
    ::DestroyWindow(host);
}

TEST_F(SkinEngineTest, SecondControlLayerOnTheSameWindowIsRefused) {
    HWND host = test::createHostWindow();
    HWND label = test::createChild(host, L"Static", 0, 0, 0, 80, 24, L"安装路径");
    const auto native = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(label, GWLP_WNDPROC));
    const int index = test::recordWindow(host);
    EXPECT_EQ(skinEngine().skinControlLayer(label), 0);
    EXPECT_EQ(skinEngine().skinControlLayer(label, 0x00ABCDEF), 0);
    // Checked before any message is sent: a layer that forwards to itself never returns.
    ASSERT_EQ(reinterpret_cast<WNDPROC>(propValue(label, kPropLayerPreviousProc)), native);
    const SkinnedWindowRecord& record = *windowRecord(index);
    EXPECT_EQ(record.controls<ControlLayerRecord>().size(), 1);
    EXPECT_EQ(record.controls<ControlLayerRecord>().at(1).keyColour, ::GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(propIndex(label, kPropLayerIndex), 1);
    wchar_t text[16] = {};
    EXPECT_EQ(::SendMessageW(label, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(text)), 4);
    EXPECT_STREQ(text, L"安装路径");
    ::DestroyWindow(host);
}

// The installer's own window picture, as the build generated it.
std::wstring installerPicturePath() {
    const char* build = std::getenv("PELMORA_BUILD_DIR");
    if (!build) return L"";
    std::wstring path = L"Z:";
    for (const char* c = build; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path + L"\\resources\\background.png";
}

TEST_F(SkinEngineTest, InstallerPictureGivesItsMeanColourWhetherReadFromFileOrBytes) {
    const std::wstring path = installerPicturePath();
    const ByteBuffer bytes = readWholeFile(path);
    ASSERT_FALSE(bytes.empty()) << "no picture at PELMORA_BUILD_DIR/resources/background.png";
    const test::Pixels picture = test::decodePng(bytes);
    ASSERT_EQ(picture.width, 500);
    ASSERT_EQ(picture.height, 300);

    // The mean over every 4th pixel in both directions: 2000 seeded samples
    // must land close to it.
    long long sum[3] = {};
    int count = 0;
    for (int y = 0; y < picture.height; y += 4)
        for (int x = 0; x < picture.width; x += 4, ++count) {
            const std::uint32_t p = picture.at(x, y);
            sum[0] += test::red(p), sum[1] += test::green(p), sum[2] += test::blue(p);
        }
    skinEngine().setSkinTheme(themeOf(L"", bytes, std::nullopt, std::nullopt, 4));
    const COLORREF fromBytes = skinEngine().getThemeColour();
    EXPECT_EQ(themeSettings().themeBackground, bytes);
    EXPECT_EQ(controlSettings().accentColour, 0x00DDCA22u);
    EXPECT_NEAR(GetRValue(fromBytes), sum[0] / count, 16);
    EXPECT_NEAR(GetGValue(fromBytes), sum[1] / count, 16);
    EXPECT_NEAR(GetBValue(fromBytes), sum[2] / count, 16);

    themeSettings().themeBackground.clear();
    skinEngine().setSkinTheme(themeOf(path, {}, std::nullopt, std::nullopt, 4));
    EXPECT_EQ(skinEngine().getThemeColour(), fromBytes);  // same picture, same day
    const ByteBuffer& reencoded = themeSettings().themeBackground;
    ASSERT_FALSE(reencoded.empty());
    const test::Pixels again = test::decodePng(reencoded);
    ASSERT_EQ(again.width, 500);
    ASSERT_EQ(again.height, 300);
    EXPECT_EQ(again.pixels, picture.pixels);
}

TEST(SkinModuleTest, OneEngineForTheProcess) {
    SkinEngine& engine = skinEngine();
    EXPECT_EQ(&engine, &skinEngine());
    startSkinModule();  // again: nothing new
    EXPECT_EQ(&engine, &skinEngine());
}

}  // namespace
}  // namespace pelmora
