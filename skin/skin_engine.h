// The one skin object through which the program drives the skinning of its
// windows, and the process-wide theme settings it keeps. All per-window state
// lives in the window records (skin/controls/window_records.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/unique_resource.h"
#include "skin/controls/window_records.h"

namespace pelmora {

// How a background picture is placed in a window's client area.
enum class BackgroundMode : int { LeftFaded = 0, RightFaded = 1, Centred = 2, Stretched = 3, TopLeft = 4 };

// How a caption button is drawn.
enum class CaptionButtonLook { Normal, Highlight, Pressed };

class GdipGraphics;

struct ThemeSettings {
    COLORREF themeColour = ::GetSysColor(COLOR_BTNFACE);  // window fill where no picture covers it
    ByteBuffer themeBackground;                           // PNG painted into windows without their own
    int themeBackgroundMode = static_cast<int>(BackgroundMode::TopLeft);
    bool firstSizePending = true;    // the first WM_SIZE of any skinned window does not re-render
    bool dialogFadeStarted = false;  // a skinned dialog's fade-in is running
};
ThemeSettings& themeSettings();

// Accent value that means "the theme colour itself".
constexpr int kAccentFromTheme = -1;

struct SkinWindowOptions {
    std::optional<int> captionHeight;  // raised to 25 when smaller
    std::optional<bool> captionActive, resizable, showHelp, showMenu, showTitle, captionGloss;
    std::optional<int> statusBarHeight;
    ByteBuffer ownBackground;
    std::optional<int> backgroundMode;
};

struct TitleStyle {
    std::optional<std::wstring> fontFace;
    std::optional<int> fontSize;
    std::optional<COLORREF> colour;
    std::optional<COLORREF> outlineColour;
    std::optional<bool> bold;
};

struct SkinTheme {
    std::wstring imageFile;  // read when not empty
    ByteBuffer imageBytes;   // used when no file is named
    std::optional<COLORREF> colour;
    std::optional<int> accent;  // a COLORREF, or kAccentFromTheme
    std::optional<int> mode;    // BackgroundMode; 4 when omitted
};

class SkinEngine {
public:
    SkinEngine();
    ~SkinEngine();  // destroys the application icon, then ends GDI+ (at most once per process)
    SkinEngine(const SkinEngine&) = delete;
    SkinEngine& operator=(const SkinEngine&) = delete;

    // Plain callbacks bound to the single instance: the procedure handed to
    // SetWindowLongPtr for skinned windows, and the caption-button command.
    static LRESULT CALLBACK windowProcThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void runCaptionButtonThunk(int recordIndex, int buttonIndex);

    // --- Switches, theme and per-window settings ------------------------------
    void setControlSkinning(bool enabled, std::optional<int> alpha = std::nullopt,
                            std::optional<bool> trackBarFrame = std::nullopt);
    void setSkinTheme(const SkinTheme& theme);
    bool setWindowBackground(HWND window, const ByteBuffer& image, std::optional<int> mode = std::nullopt);
    bool setTitleStyle(HWND window, const TitleStyle& style);
    int skinControlLayer(HWND window, std::optional<COLORREF> backgroundColour = std::nullopt,
                         std::optional<int> value2 = std::nullopt, std::optional<int> value3 = std::nullopt);
    void setControlTextColour(HWND control, COLORREF colour);
    COLORREF getThemeColour() const;
    void setHelpHandler(HWND window, CaptionHandler handler);
    void setMainMenuHandler(HWND window, CaptionHandler handler);
    RECT getCaptionStripRect(HWND window) const;

    // --- Top-level windows: skinning, composing and presenting ---------------
    // These arrive with the window layer; until then skinWindow records nothing
    // and the window keeps painting itself.
    LRESULT skinnedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void skinWindow(HWND window, const SkinWindowOptions& options);
    void renderWindow(int recordIndex, HDC dc, bool present);
    void presentWindow(int recordIndex, HDC dc);
    void paintTitle(int recordIndex, std::optional<bool> keepBackground = std::nullopt,
                    std::optional<std::wstring> text = std::nullopt);
    void restoreBackgroundRect(int recordIndex, const RECT& rect);
    void restoreStatusBarRect(int recordIndex, const RECT& rect);
    void beginMoveOrResize(int recordIndex, LPARAM point, const RECT& client);
    void updateResizeCursor(int recordIndex, LPARAM point, const RECT& client);
    void layoutDockedChildren(int recordIndex);
    void setStatusBar(int recordIndex, int height, const std::vector<std::wstring>& items);
    void layoutStatusBar(int recordIndex);
    void updateStatusItem(HWND window, int itemIndex, std::optional<std::wstring> text = std::nullopt);

    // --- Caption buttons (arrive with the caption-button layer) --------------
    void runCaptionButton(int recordIndex, int buttonIndex);
    bool addCaptionButton(HWND window, const ByteBuffer& image, const std::wstring& tooltip, CaptionHandler handler);
    void layoutCaptionTooltips(int recordIndex);
    int hitTestCaptionButtons(int recordIndex, int x, int y);
    int findMaximizeButton(int recordIndex);
    bool setCaptionGlyphs(HWND window, const ByteBuffer& minimize, const ByteBuffer& maximize,
                          const ByteBuffer& restore, const ByteBuffer& close);
    // Redraws one button in the composed image (alpha: highlight strength) and,
    // with `present`, copies it to the visible window.
    void paintCaptionButton(int recordIndex, int buttonIndex, CaptionButtonLook look, int alpha, bool present);
    void paintCaptionStrip(int recordIndex, int buttonIndex, GdipGraphics& graphics);
    void paintStatusItem(int recordIndex, int itemIndex);

    // --- Image buttons ------------------------------------------------------
    // A push button drawn with one picture (value: picture beside the caption
    // when non-zero, above it when 0) or with a picture per state; `text` is
    // shown as the button's tooltip. A button the engine has not taken yet is
    // taken first; check boxes, radio buttons and buttons outside a skinned
    // window are left alone.
    void skinImageButton(HWND button, const ByteBuffer& image, int value, const std::wstring& text);
    void skinStateImageButton(HWND button, const ByteBuffer& normal, const ByteBuffer& hover, const ByteBuffer& pressed,
                              const ByteBuffer& disabled, const std::wstring& text);

    // --- Containers (arrive with their painter) -------------------------------
    void setContainerItemValue(HWND window, int value);
    int skinContainerWindow(HWND window, std::optional<COLORREF> colour = std::nullopt,
                            std::optional<int> alpha = std::nullopt, std::optional<int> option = std::nullopt,
                            std::optional<int> value = std::nullopt);

    // The application icon drawn beside the title; null when the program has none.
    HICON appIcon() const { return appIcon_.get(); }
    void loadAppIconOnce();

    int borderWidth = 0;     // frame width used by caption layout, title placement and edge tests
    int hotButtonIndex = 0;  // caption button last hit, shared by all windows; 0 none

private:
    void repaintSkinnedWindows();

    UniqueIcon appIcon_;
};

// The single skin object: made by startSkinModule (or on first use), destroyed
// by endSkinModule.
SkinEngine& skinEngine();

// Module start-up: the skin object, then GDI+ (version 1), then the
// application icon. Idempotent.
void startSkinModule();
// Program end: destroys the skin object; GDI+ ends with it. Idempotent.
void endSkinModule();

}  // namespace pelmora
