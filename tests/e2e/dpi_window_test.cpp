// The installer and the skin gallery on a screen at 150 % and 200 %: Wine's
// system DPI is the prefix's LogPixels, which this test sets for the programs
// it starts and puts back afterwards (the test itself started at 96 and stays
// there, so it reads the screen in plain pixels). The window, its units, its
// caption buttons, "开始安装", the information box and the gallery's control
// frames are read at their scaled places.
#include <windows.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "tests/e2e/driver.h"
#include "tests/e2e/install_checks.h"

namespace pelmora::e2e {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
constexpr wchar_t kLogPixels[] = L"LogPixels";
constexpr wchar_t kInformationCaption[] = L"软件信息";

// LogPixels set for programs started while it lives; the previous value (or
// its absence) comes back when it ends, so every other test runs at 96.
class ScreenDpi {
public:
    explicit ScreenDpi(DWORD dpi) {
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                              nullptr) != ERROR_SUCCESS)
            return;
        DWORD value = 0, size = sizeof value, type = 0;
        if (::RegQueryValueExW(key_, kLogPixels, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                ERROR_SUCCESS &&
            type == REG_DWORD)
            previous_ = value;
        set_ = ::RegSetValueExW(key_, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi) ==
               ERROR_SUCCESS;
    }
    ~ScreenDpi() {
        if (!key_) return;
        if (previous_) {
            ::RegSetValueExW(key_, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&*previous_),
                             sizeof *previous_);
        } else {
            ::RegDeleteValueW(key_, kLogPixels);
        }
        ::RegCloseKey(key_);
    }
    ScreenDpi(const ScreenDpi&) = delete;
    ScreenDpi& operator=(const ScreenDpi&) = delete;
    bool set() const { return set_; }

private:
    HKEY key_ = nullptr;
    std::optional<DWORD> previous_;
    bool set_ = false;
};

std::uint32_t screenRgb(int x, int y) {
    HDC screen = ::GetDC(nullptr);
    const COLORREF c = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

bool isRed(std::uint32_t rgb) {
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return r > g + 80 && r > b + 80;
}

int redPixelsIn(const RECT& r) {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) count += isRed(screenRgb(x, y)) ? 1 : 0;
    return count;
}

RECT screenRectOf(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

template <typename F>
bool pointUntil(POINT at, F ready) {
    int step = 0;
    return waitFor([&] {
        ::SetCursorPos(at.x + (step++ % 2), at.y);
        ::Sleep(15);
        return ready();
    });
}

void clickClient(HWND window, int x, int y) {
    const LPARAM at = MAKELPARAM(x, y);
    ::PostMessageW(window, WM_MOUSEMOVE, 0, at);
    ::PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::PostMessageW(window, WM_LBUTTONUP, 0, at);
}

// What each scale puts where, worked out by hand from the 96-DPI numbers
// (half pixels rounded away from zero).
struct ScaleCase {
    DWORD dpi;
    const wchar_t* screenshot;
    SIZE window;
    RECT installButton, checkBox;
    POINT minimizeMiddle, closeMiddle;   // client points in the middle of each caption button
    int closeHotFromRight, closeHotTop;  // the information box's close highlight: R - n, T + n
    POINT closePointer;                  // where the pointer stands on it: R - x, T + y
    const wchar_t* galleryScreenshot;
    int checkSquare;  // the check box's 13-pixel square
    int frameLine;    // the 1-pixel line of an edit's frame
};
const ScaleCase kScales[] = {
    // 750 x 450: the strip starts at 650; minimise 653..692, close 694..754, rows 2..29.
    {144,
     L"idle-window-150",
     {750, 450},
     {621, 392, 726, 429},
     {18, 338, 39, 359},
     {672, 15},
     {720, 15},
     53,
     6,
     {30, 18},
     L"gallery-150",
     20,
     2},
    // 1000 x 600: the strip starts at 866; minimise 870..922, close 924..1004, rows 2..38.
    {192,
     L"idle-window-200",
     {1000, 600},
     {828, 522, 968, 572},
     {24, 450, 52, 478},
     {896, 20},
     {960, 20},
     71,
     7,
     {40, 24},
     L"gallery-200",
     26,
     2},
};

class DpiWindowTest : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(DpiWindowTest, WindowUnitsAndCaptionAtTheScaledPlaces) {
    const ScaleCase& c = GetParam();
    ::SetCursorPos(5, 5);
    const int centreX = ::GetSystemMetrics(SM_CXSCREEN) / 2, centreY = ::GetSystemMetrics(SM_CYSCREEN) / 2;
    const std::uint32_t desktopAtCorner = screenRgb(centreX - c.window.cx / 2, centreY - c.window.cy / 2);
    ScreenDpi screen(c.dpi);
    ASSERT_TRUE(screen.set());
    Installer installer;
    ASSERT_TRUE(installer.window());
    HWND w = installer.window();
    const RECT rc = screenRectOf(w);
    EXPECT_EQ(rc.right - rc.left, c.window.cx);
    EXPECT_EQ(rc.bottom - rc.top, c.window.cy);
    EXPECT_EQ(rc.left, (::GetSystemMetrics(SM_CXSCREEN) - c.window.cx) / 2);

    const RECT install = rectInParent(installer.unit(kInstallButton));
    EXPECT_EQ(install.left, c.installButton.left);
    EXPECT_EQ(install.top, c.installButton.top);
    EXPECT_EQ(install.right, c.installButton.right);
    EXPECT_EQ(install.bottom, c.installButton.bottom);
    const RECT check = rectInParent(installer.unit(kAgreeCheck));
    EXPECT_EQ(check.left, c.checkBox.left);
    EXPECT_EQ(check.bottom, c.checkBox.bottom);

    // The rounded corner cuts the desktop's pixel out at the very corner; a
    // few scaled pixels in, the window's picture shows.
    const int inset = static_cast<int>(c.dpi) / 24;  // 4 pixels at 96
    EXPECT_TRUE(waitFor([&] { return screenRgb(rc.left + inset, rc.top + c.window.cy / 2) != desktopAtCorner; }));
    EXPECT_EQ(screenRgb(rc.left, rc.top), desktopAtCorner) << "the corner is not cut";
    EXPECT_NE(screenRgb(rc.left + inset, rc.top + inset), desktopAtCorner) << "no picture inside the corner";

    // "开始安装" is red inside its scaled rectangle; the hot outline shows at its scaled left edge.
    const RECT installOnScreen = screenRectOf(installer.unit(kInstallButton));
    EXPECT_TRUE(waitFor([&] { return redPixelsIn(installOnScreen) > 10; })) << "开始安装 is not red";
    const POINT leftEdge{installOnScreen.left, (installOnScreen.top + installOnScreen.bottom) / 2};
    const std::uint32_t resting = screenRgb(leftEdge.x, leftEdge.y);
    EXPECT_TRUE(pointUntil({(installOnScreen.left + installOnScreen.right) / 2, leftEdge.y},
                           [&] { return screenRgb(leftEdge.x, leftEdge.y) != resting; }))
        << "no hot outline at the scaled edge: " << std::hex << resting;
    ::SetCursorPos(5, 5);
    saveScreenshot(screenshotPath(c.screenshot));

    // The caption buttons answer at their scaled places: minimise, then close.
    clickClient(w, c.minimizeMiddle.x, c.minimizeMiddle.y);
    EXPECT_TRUE(waitFor([&] { return ::IsIconic(w) != FALSE; })) << "minimise did not answer at its scaled place";
    ::PostMessageW(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(waitFor([&] { return !::IsIconic(w); }));
    ASSERT_TRUE(settle(installer));
    clickClient(w, c.closeMiddle.x, c.closeMiddle.y);
    EXPECT_EQ(installer.waitExit(), 0) << "close did not answer at its scaled place";
}

TEST_P(DpiWindowTest, InformationBoxCloseButtonAtItsScaledPlace) {
    const ScaleCase& c = GetParam();
    ::SetCursorPos(5, 5);
    ScreenDpi screen(c.dpi);
    ASSERT_TRUE(screen.set());
    Installer installer;
    ASSERT_TRUE(installer.window());
    ::PostMessageW(installer.unit(kTermsLink), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    HWND box = waitForBox(installer, kInformationCaption);
    ASSERT_TRUE(box);
    EXPECT_TRUE(boxSkinnedAndFadedIn(box));
    const RECT r = screenRectOf(box);
    const POINT hot{r.right - c.closeHotFromRight + 3, r.top + c.closeHotTop + 1};
    EXPECT_FALSE(isRed(screenRgb(hot.x, hot.y))) << "red before the pointer came";
    const POINT pointer{r.right - c.closePointer.x, r.top + c.closePointer.y};
    EXPECT_TRUE(pointUntil(pointer, [&] { return isRed(screenRgb(hot.x, hot.y)); }))
        << "the close button did not turn red at its scaled place: " << std::hex << screenRgb(hot.x, hot.y);
    // At 96 DPI this point would be on the button; here it is in the caption band.
    const POINT unscaled{r.right - 20, r.top + 3};
    EXPECT_TRUE(pointUntil(unscaled, [&] { return !isRed(screenRgb(hot.x, hot.y)); }));
    ::SetCursorPos(5, 5);
    ::PostMessageW(box, WM_CLOSE, 0, 0);
    ASSERT_TRUE(waitFor([&] { return !::IsWindow(box); }));
    ::PostMessageW(installer.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(installer.waitExit(), 0);
}

std::wstring galleryPath() {
    return buildDir() + L"\\demo\\gallery\\gallery.exe";
}

bool isDark(std::uint32_t rgb) {
    return ((rgb >> 16) & 0xFF) < 120 && ((rgb >> 8) & 0xFF) < 120 && (rgb & 0xFF) < 120;
}

int brightness(std::uint32_t rgb) {
    return static_cast<int>(((rgb >> 16) & 0xFF) + ((rgb >> 8) & 0xFF) + (rgb & 0xFF));
}

// Percent of a 32-pixel grid over the screen that is pure black, as the
// desktop leaves what no window has painted yet.
int blackShare() {
    int black = 0, all = 0;
    for (int y = 16; y < ::GetSystemMetrics(SM_CYSCREEN); y += 32)
        for (int x = 16; x < ::GetSystemMetrics(SM_CXSCREEN); x += 32, ++all) black += screenRgb(x, y) == 0 ? 1 : 0;
    return all > 0 ? black * 100 / all : 100;
}

// From the control's left edge along a row: the first and the last dark
// pixel within `reach` columns, as (first, last); (-1, -1) for none.
std::pair<int, int> darkRun(int left, int y, int reach) {
    int first = -1, last = -1;
    for (int x = 0; x < reach; ++x) {
        if (!isDark(screenRgb(left + x, y))) continue;
        if (first < 0) first = x;
        last = x;
    }
    return {first, last};
}

// The gallery's controls as they stand at rest: the unchecked box's square
// (its dark 1-pixel outline, 13 pixels at 96) measured across and down, and
// the single-line edit's frame line (black at alpha 80 over the picture),
// which darkens the scaled number of pixel columns and not the next one. The
// gallery outgrows the 1024 x 768 screen at these scales, so it is moved to
// the screen's corner first, where its first two rows show.
TEST_P(DpiWindowTest, GalleryControlFramesAtTheScaledPlaces) {
    const ScaleCase& c = GetParam();
    ::SetCursorPos(5, 5);
    ScreenDpi screen(c.dpi);
    ASSERT_TRUE(screen.set());
    Installer gallery(L"", galleryPath(), L"皮肤控件一览");
    ASSERT_TRUE(gallery.window());
    ::SetWindowPos(gallery.window(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND check = ::GetDlgItem(gallery.window(), 202);  // unchecked, enabled
    HWND edit = ::GetDlgItem(gallery.window(), 401);   // single-line, with a client edge
    ASSERT_TRUE(check && edit);
    ASSERT_TRUE(waitFor([&] { return screenRectOf(gallery.window()).left == 0; }));
    // What lay off the screen comes in black until it is painted.
    ::RedrawWindow(gallery.window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    EXPECT_TRUE(waitFor([] { return blackShare() < 2; })) << "parts of the gallery were never painted";

    const RECT box = screenRectOf(check);
    const int middleY = (box.top + box.bottom) / 2;
    const int column = box.left + c.checkSquare / 2;
    auto squareDown = [&] {
        int top = -1, bottom = -1;
        for (int y = box.top; y < box.bottom; ++y) {
            if (!isDark(screenRgb(column, y))) continue;
            if (top < 0) top = y;
            bottom = y;
        }
        return std::pair<int, int>{top, bottom};
    };
    std::pair<int, int> across, down;
    // Scaled with a smoothing filter, an outline may spread over a second pixel.
    waitFor([&] {
        across = darkRun(box.left, middleY, c.checkSquare + 3);
        down = squareDown();
        return across.first == 0 && std::abs(across.second + 1 - c.checkSquare) <= 1 && down.first >= 0 &&
               std::abs(down.second - down.first + 1 - c.checkSquare) <= 1;
    });
    saveScreenshot(screenshotPath(c.galleryScreenshot));
    EXPECT_EQ(across.first, 0) << "no square at the check box's left edge";
    EXPECT_NEAR(across.second + 1, c.checkSquare, 1) << "square across";
    ASSERT_GE(down.first, 0) << "no square down the check box";
    EXPECT_NEAR(down.second - down.first + 1, c.checkSquare, 1) << "square down";
    EXPECT_NEAR(down.first - box.top, (box.bottom - box.top - c.checkSquare) / 2, 1) << "square not centred";

    const RECT field = screenRectOf(edit);
    auto columnBrightness = [&](int x) {
        int sum = 0;
        for (int dy = -3; dy <= 3; ++dy)
            sum += brightness(screenRgb(field.left + x, (field.top + field.bottom) / 2 + dy));
        return sum;
    };
    const int inside = columnBrightness(c.frameLine);
    for (int x = 0; x < c.frameLine; ++x)
        EXPECT_LT(columnBrightness(x) * 100, inside * 85) << "column " << x << " of the frame line is not dark";
    ::PostMessageW(gallery.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(gallery.waitExit(), 0);
}

INSTANTIATE_TEST_SUITE_P(Scales, DpiWindowTest, ::testing::ValuesIn(kScales),
                         [](const ::testing::TestParamInfo<ScaleCase>& info) {
                             return "Dpi" + std::to_string(info.param.dpi);
                         });

}  // namespace
}  // namespace pelmora::e2e
