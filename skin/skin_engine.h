// The one skin object behind the public operations (include/pelmora/skin.h):
// programs call those, the engine's own code and its tests use this. All
// per-window state lives in the window records and all process-wide state in
// the engine state (skin/state/engine_state.h).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/unique_resource.h"
#include "skin/controls/core/window_records.h"
#include "skin/state/engine_state.h"
#include "skin/window/status_bar.h"

namespace pelmora {

// Accent value that means "the theme colour itself".
constexpr int kAccentFromTheme = -1;

struct SkinWindowOptions {
    std::optional<int> captionHeight;  // raised to 25 when smaller
    std::optional<bool> captionActive, resizable, showHelp, showMenu, showTitle, captionGloss;
    std::optional<int> statusBarHeight;
    std::vector<StatusItem> statusItems;  // used when statusBarHeight > 0
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
    // The same picture at twice the size, drawn instead above 150 % (file
    // read when not empty, else the bytes; neither: the one picture scaled).
    std::wstring imageFile2x;
    ByteBuffer imageBytes2x;
};

// The skin object: its public surface is the operations the program drives
// the skinning with. The steps those operations and the window procedure are
// made of work on one window record each and live with the window layer
// (skin/window/); the state lives in the engine state (engine_state.h).
class SkinEngine {
public:
    SkinEngine();
    ~SkinEngine();  // destroys the application icon, then ends GDI+ (at most once per process)
    SkinEngine(const SkinEngine&) = delete;
    SkinEngine& operator=(const SkinEngine&) = delete;

    // The procedure handed to SetWindowLongPtr for skinned windows, bound to the single instance.
    static LRESULT CALLBACK windowProcThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // --- Switches, theme and per-window settings ------------------------------
    void setControlSkinning(bool enabled, std::optional<int> alpha = std::nullopt,
                            std::optional<bool> trackBarFrame = std::nullopt);
    void setSkinTheme(const SkinTheme& theme);
    bool setWindowBackground(HWND window, const ByteBuffer& image, std::optional<int> mode = std::nullopt);
    bool setTitleStyle(HWND window, const TitleStyle& style);
    // Puts `window` into the control layer with `keyColour` (the button face
    // when omitted) keyed out; a window with children is also made a container
    // with `containerAlpha` and `containerSpareOption` (see skinContainerWindow).
    int skinControlLayer(HWND window, std::optional<COLORREF> keyColour = std::nullopt,
                         std::optional<int> containerAlpha = std::nullopt,
                         std::optional<int> containerSpareOption = std::nullopt);
    void setControlTextColour(HWND control, COLORREF colour);
    COLORREF getThemeColour() const;
    void setHelpHandler(HWND window, CaptionHandler handler);
    void setMainMenuHandler(HWND window, CaptionHandler handler);
    RECT getCaptionStripRect(HWND window) const;

    // --- Top-level windows -----------------------------------------------------
    void skinWindow(HWND window, const SkinWindowOptions& options);
    // Changes what one status item shows and repaints it on screen; an omitted
    // value stays. An empty image takes the image away; a meter value below 0
    // takes the meter away, above 100 shows it full. False when the window has
    // no status bar or no such item (nothing changes then).
    bool updateStatusItem(HWND window, int itemIndex, std::optional<std::wstring> text = std::nullopt,
                          std::optional<ByteBuffer> image = std::nullopt, std::optional<int> meterValue = std::nullopt);
    // Changes the status bar's colours and text style and repaints the whole
    // bar. False when the window has no status bar.
    bool setStatusBarStyle(HWND window, const StatusBarStyleChange& change);

    // --- Caption buttons ---------------------------------------------------------
    bool addCaptionButton(HWND window, const ByteBuffer& image, const std::wstring& tooltip, CaptionHandler handler);
    bool setCaptionGlyphs(HWND window, const ByteBuffer& minimize, const ByteBuffer& maximize,
                          const ByteBuffer& restore, const ByteBuffer& close);

    // --- Image buttons ------------------------------------------------------
    // A push button drawn with one picture (value: picture beside the caption
    // when non-zero, above it when 0) or with a picture per state; `text` is
    // shown as the button's tooltip. A button the engine has not taken yet is
    // taken first; check boxes, radio buttons and buttons outside a skinned
    // window are left alone.
    void skinImageButton(HWND button, const ByteBuffer& image, int value, const std::wstring& text);
    void skinStateImageButton(HWND button, const ByteBuffer& normal, const ByteBuffer& hover, const ByteBuffer& pressed,
                              const ByteBuffer& disabled, const std::wstring& text);

    // --- Containers ------------------------------------------------------------
    // The container's caller value: whether its fill also lies under its
    // children (0: under the container only). The container is repainted.
    void setContainerItemValue(HWND window, int value);
    // Records `window` as a container of its skinned window: `colour` filled
    // under it with `alpha`, `spareOption` kept for the caller, and the fill
    // passed under its children unless `fillUnderChildren` is 0.
    int skinContainerWindow(HWND window, std::optional<COLORREF> colour = std::nullopt,
                            std::optional<int> alpha = std::nullopt, std::optional<int> spareOption = std::nullopt,
                            std::optional<int> fillUnderChildren = std::nullopt);

    // The application icon drawn beside the title; null when the program has none.
    HICON appIcon() const { return appIcon_.get(); }
    void loadAppIconOnce();

private:
    // Reached only through windowProcThunk: programs never call it.
    LRESULT skinnedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
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
