// The Pelmora skin engine: skins a program's own top-level windows, their
// standard controls and the message boxes they show. This header is all a
// program needs; link the `pelmora_skin` library.
//
//     pelmora::skin::startSkinModule();
//     HWND window = CreateWindowExW(...);          // a plain window with its controls
//     pelmora::skin::setControlSkinning(true);
//     pelmora::skin::skinWindow(window, {});
//     ...message loop...
//     pelmora::skin::endSkinModule();
//
// Every operation acts on the calling thread's windows and must be called from
// the thread that created them. Colours are COLORREF (0x00BBGGRR); pictures
// are PNG, JPEG, BMP or GIF file contents.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pelmora::skin {

// The contents of a picture file.
using ByteBuffer = std::vector<std::uint8_t>;
// Runs when a caption button (help, main menu or one of the program's own) is clicked.
using CaptionHandler = std::function<void()>;

// How a window's picture covers it.
enum class BackgroundMode : int {
    LeftFaded = 0,   // at the left, fading into the theme colour towards the right
    RightFaded = 1,  // at the right, fading into the theme colour towards the left
    Centred = 2,
    Stretched = 3,
    TopLeft = 4,  // at its own size from the top-left corner
};

// Where an image button's picture sits against its caption.
enum class ImagePlacement : int {
    AboveText = 0,
    BesideText = 1,  // at the left (centred when the button has no caption)
};

// The colour of highlights (hot borders, meters, selected items): a colour of
// its own, or whatever the theme colour is.
struct Accent {
    static Accent fromTheme() { return Accent{true, 0}; }
    static Accent colour(COLORREF value) { return Accent{false, value}; }
    bool followsTheme = false;
    COLORREF value = 0;
};

// One part of a skinned window's status bar.
struct StatusItem {
    std::wstring text;
    int width = -1;       // pixels; -1 takes the rest of the bar
    ByteBuffer image;     // drawn at the item's left; empty for none
    int meterValue = -1;  // 0..100 shows a small meter at the item's right; below 0 none
};

// The look of every item of a status bar; an omitted value stays as it is.
struct StatusBarStyle {
    std::optional<COLORREF> textColour;  // white at first
    std::optional<std::wstring> fontFace;
    std::optional<int> fontSize;  // points
    std::optional<bool> bold;
    std::optional<COLORREF> fillColour;  // laid over the picture under the bar
    std::optional<int> fillAlpha;        // 0..255; 0 (the default) shows the picture alone
};

// What skinWindow makes of a window; omitted values take the engine's defaults.
struct WindowOptions {
    std::optional<int> captionHeight;  // raised to 25 when smaller
    std::optional<bool> captionActive, resizable, showHelp, showMenu, showTitle, captionGloss;
    int statusBarHeight = 0;              // 0: no status bar
    std::vector<StatusItem> statusItems;  // the bar's items, left to right
    ByteBuffer ownBackground;             // a picture for this window instead of the theme's
    std::optional<BackgroundMode> backgroundMode;
};

// The title drawn in the caption; an omitted value stays as it is.
struct TitleStyle {
    std::optional<std::wstring> fontFace;
    std::optional<int> fontSize;  // points
    std::optional<COLORREF> colour;
    std::optional<COLORREF> outlineColour;
    std::optional<bool> bold;
};

// The picture and colours every skinned window shares.
struct Theme {
    std::wstring imageFile;          // read when not empty
    ByteBuffer imageBytes;           // used when no file is named
    std::optional<COLORREF> colour;  // the picture's average colour when omitted
    std::optional<Accent> accent;    // the engine's default accent when omitted
    BackgroundMode mode = BackgroundMode::TopLeft;
    // The same picture at twice the size, drawn instead when the window is
    // above 150 % (file read when not empty, else the bytes; neither: the
    // one picture is scaled).
    std::wstring imageFile2x;
    ByteBuffer imageBytes2x;
};

// A window with children (a group box, a toolbar, a panel) drawn over its
// skinned window's picture.
struct ContainerOptions {
    std::optional<COLORREF> fillColour;  // laid under the container; none: the picture shows through
    int fillAlpha = 255;
    bool fillUnderChildren = true;  // false: the fill lies under the container only
    int userValue = 0;              // kept with the container for the program; the engine never reads it
};

// --- The module -------------------------------------------------------------
// Starts the engine (and GDI+) before the first window is skinned. Idempotent.
void startSkinModule();
// Ends the engine at program end, after the last skinned window. Idempotent.
void endSkinModule();

// --- Switches, theme and per-window settings -----------------------------------
// Turns the skinning of standard controls on or off; `alpha` (0..255) makes
// their backgrounds show the window's picture through them.
void setControlSkinning(bool enabled, std::optional<int> alpha = std::nullopt,
                        std::optional<bool> trackBarFrame = std::nullopt);
// Sets the theme and repaints every skinned window.
void setSkinTheme(const Theme& theme);
// Gives one skinned window a picture of its own; false when it is not skinned or the picture is empty.
bool setWindowBackground(HWND window, const ByteBuffer& image, std::optional<BackgroundMode> mode = std::nullopt);
// Changes how the caption's title is drawn; false when the window is not skinned.
bool setTitleStyle(HWND window, const TitleStyle& style);
// Shows the window's picture where a child paints `keyColour` (the button face
// when omitted); a child with children of its own also becomes a container.
void skinControlLayer(HWND child, std::optional<COLORREF> keyColour = std::nullopt,
                      const ContainerOptions& container = {});
// Draws a skinned control's text in `colour`.
void setControlTextColour(HWND control, COLORREF colour);
// The theme's colour (the picture's average unless set).
COLORREF getThemeColour();
// What the caption's help and main-menu buttons run.
void setHelpHandler(HWND window, CaptionHandler handler);
void setMainMenuHandler(HWND window, CaptionHandler handler);
// Where the caption buttons lie, in client coordinates; empty when the window is not skinned.
RECT getCaptionStripRect(HWND window);

// --- Top-level windows ---------------------------------------------------------
// Skins a top-level window and the standard controls in it.
void skinWindow(HWND window, const WindowOptions& options);
// Changes one status item (the first is 1) and repaints it; an omitted value
// stays, an empty image takes the image away. False when there is no such item.
bool updateStatusItem(HWND window, int itemIndex, std::optional<std::wstring> text = std::nullopt,
                      std::optional<ByteBuffer> image = std::nullopt, std::optional<int> meterValue = std::nullopt);
// Changes the look of the whole status bar; false when the window has none.
bool setStatusBarStyle(HWND window, const StatusBarStyle& style);

// --- Caption buttons -------------------------------------------------------------
// Adds a button of the program's own before the standard ones.
bool addCaptionButton(HWND window, const ByteBuffer& image, const std::wstring& tooltip, CaptionHandler handler);
// Replaces the pictures of the minimise, maximise, restore and close buttons.
bool setCaptionGlyphs(HWND window, const ByteBuffer& minimize, const ByteBuffer& maximize, const ByteBuffer& restore,
                      const ByteBuffer& close);

// --- Image buttons ----------------------------------------------------------------
// Draws a push button of a skinned window with a picture; `tooltip` shows under the pointer.
void skinImageButton(HWND button, const ByteBuffer& image, ImagePlacement placement, const std::wstring& tooltip);
// Draws a push button with one picture per state.
void skinStateImageButton(HWND button, const ByteBuffer& normal, const ByteBuffer& hover, const ByteBuffer& pressed,
                          const ByteBuffer& disabled, const std::wstring& tooltip);

// --- Containers --------------------------------------------------------------------
// Draws a window with children over its skinned window's picture; false when
// it is one already or not inside a skinned window.
bool skinContainerWindow(HWND window, const ContainerOptions& options = {});
// Changes whether a container's fill lies under its children, and repaints it.
void setContainerItemValue(HWND window, bool fillUnderChildren);

// --- Pictures ----------------------------------------------------------------------
// Copies `rect` (client coordinates) of a skinned window's composed picture to
// `dc`, for a child that shows what lies beneath it. False before the first paint.
bool copyComposedImage(HWND window, HDC dc, const RECT& rect);
// A picture file decoded into a bitmap the caller owns (DeleteObject); null when it cannot be read.
HBITMAP loadPictureBitmap(const ByteBuffer& image);

// --- Message boxes -----------------------------------------------------------------
// While this object lives, the next message box the calling thread shows is
// skinned. Made right before the box:
//     const pelmora::skin::SkinNextMessageBox skinned;
//     MessageBoxW(owner, text, caption, MB_OK);
class SkinNextMessageBox {
public:
    SkinNextMessageBox();
    ~SkinNextMessageBox();
    SkinNextMessageBox(const SkinNextMessageBox&) = delete;
    SkinNextMessageBox& operator=(const SkinNextMessageBox&) = delete;

private:
    struct Hook;
    std::unique_ptr<Hook> hook_;
};

}  // namespace pelmora::skin
