// The public operations (include/pelmora/skin.h): each turns the typed
// options into what the skin object and the window layer keep, then forwards.
#include <type_traits>
#include <utility>

#include "gfx/gdip_image.h"
#include "pelmora/skin.h"
#include "skin/controls/containers.h"
#include "skin/dialog/message_box_hook.h"
#include "skin/skin_engine.h"
#include "skin/window/window_render.h"

namespace pelmora::skin {
namespace {

// The records keep the same buffers and handlers: no copy between the two sides.
static_assert(std::is_same_v<ByteBuffer, pelmora::ByteBuffer>);
static_assert(std::is_same_v<CaptionHandler, pelmora::CaptionHandler>);

// The window layer keeps a background mode as the number of its enumerator.
static_assert(static_cast<int>(BackgroundMode::LeftFaded) == static_cast<int>(pelmora::BackgroundMode::LeftFaded));
static_assert(static_cast<int>(BackgroundMode::RightFaded) == static_cast<int>(pelmora::BackgroundMode::RightFaded));
static_assert(static_cast<int>(BackgroundMode::Centred) == static_cast<int>(pelmora::BackgroundMode::Centred));
static_assert(static_cast<int>(BackgroundMode::Stretched) == static_cast<int>(pelmora::BackgroundMode::Stretched));
static_assert(static_cast<int>(BackgroundMode::TopLeft) == static_cast<int>(pelmora::BackgroundMode::TopLeft));

std::optional<int> modeNumber(std::optional<BackgroundMode> mode) {
    if (!mode) return std::nullopt;
    return static_cast<int>(*mode);
}

pelmora::StatusItem internalItem(const StatusItem& item) {
    return {item.text, item.width, item.image, item.meterValue < 0 ? kNoStatusMeter : item.meterValue};
}

pelmora::ContainerOptions internalContainer(const ContainerOptions& options) {
    return {options.fillColour, options.fillAlpha, options.userValue, options.fillUnderChildren ? 1 : 0};
}

}  // namespace

void startSkinModule() {
    pelmora::startSkinModule();
}

void endSkinModule() {
    pelmora::endSkinModule();
}

void setControlSkinning(bool enabled, std::optional<int> alpha, std::optional<bool> trackBarFrame) {
    skinEngine().setControlSkinning(enabled, alpha, trackBarFrame);
}

void setSkinTheme(const Theme& theme) {
    pelmora::SkinTheme internal;
    internal.imageFile = theme.imageFile;
    internal.imageBytes = theme.imageBytes;
    internal.imageFile2x = theme.imageFile2x;
    internal.imageBytes2x = theme.imageBytes2x;
    internal.colour = theme.colour;
    if (theme.accent)
        internal.accent = theme.accent->followsTheme ? kAccentFromTheme : static_cast<int>(theme.accent->value);
    internal.mode = static_cast<int>(theme.mode);
    skinEngine().setSkinTheme(internal);
}

bool setWindowBackground(HWND window, const ByteBuffer& image, std::optional<BackgroundMode> mode) {
    return skinEngine().setWindowBackground(window, image, modeNumber(mode));
}

bool setTitleStyle(HWND window, const TitleStyle& style) {
    return skinEngine().setTitleStyle(
        window, pelmora::TitleStyle{style.fontFace, style.fontSize, style.colour, style.outlineColour, style.bold});
}

void skinControlLayer(HWND child, std::optional<COLORREF> keyColour, const ContainerOptions& container) {
    // Only a child with children becomes a container; its fill comes from the
    // window's picture, so the options' fill colour does not apply here.
    const pelmora::ContainerOptions options = internalContainer(container);
    skinEngine().skinControlLayer(child, keyColour, options.alpha, options.spareOption);
}

void setControlTextColour(HWND control, COLORREF colour) {
    skinEngine().setControlTextColour(control, colour);
}

COLORREF getThemeColour() {
    return skinEngine().getThemeColour();
}

void setHelpHandler(HWND window, CaptionHandler handler) {
    skinEngine().setHelpHandler(window, std::move(handler));
}

void setMainMenuHandler(HWND window, CaptionHandler handler) {
    skinEngine().setMainMenuHandler(window, std::move(handler));
}

RECT getCaptionStripRect(HWND window) {
    return skinEngine().getCaptionStripRect(window);
}

void skinWindow(HWND window, const WindowOptions& options) {
    SkinWindowOptions internal;
    internal.captionHeight = options.captionHeight;
    internal.captionActive = options.captionActive;
    internal.resizable = options.resizable;
    internal.showHelp = options.showHelp;
    internal.showMenu = options.showMenu;
    internal.showTitle = options.showTitle;
    internal.captionGloss = options.captionGloss;
    if (options.statusBarHeight > 0) internal.statusBarHeight = options.statusBarHeight;
    for (const StatusItem& item : options.statusItems) internal.statusItems.push_back(internalItem(item));
    internal.ownBackground = options.ownBackground;
    internal.backgroundMode = modeNumber(options.backgroundMode);
    skinEngine().skinWindow(window, internal);
}

bool updateStatusItem(HWND window, int itemIndex, std::optional<std::wstring> text, std::optional<ByteBuffer> image,
                      std::optional<int> meterValue) {
    return skinEngine().updateStatusItem(window, itemIndex, std::move(text), std::move(image), meterValue);
}

bool setStatusBarStyle(HWND window, const StatusBarStyle& style) {
    return skinEngine().setStatusBarStyle(window, StatusBarStyleChange{style.textColour, style.fontFace, style.fontSize,
                                                                       style.bold, style.fillColour, style.fillAlpha});
}

bool addCaptionButton(HWND window, const ByteBuffer& image, const std::wstring& tooltip, CaptionHandler handler) {
    return skinEngine().addCaptionButton(window, image, tooltip, std::move(handler));
}

bool setCaptionGlyphs(HWND window, const ByteBuffer& minimize, const ByteBuffer& maximize, const ByteBuffer& restore,
                      const ByteBuffer& close) {
    return skinEngine().setCaptionGlyphs(window, minimize, maximize, restore, close);
}

void skinImageButton(HWND button, const ByteBuffer& image, ImagePlacement placement, const std::wstring& tooltip) {
    skinEngine().skinImageButton(button, image, static_cast<int>(placement), tooltip);
}

void skinStateImageButton(HWND button, const ByteBuffer& normal, const ByteBuffer& hover, const ByteBuffer& pressed,
                          const ByteBuffer& disabled, const std::wstring& tooltip) {
    skinEngine().skinStateImageButton(button, normal, hover, pressed, disabled, tooltip);
}

bool skinContainerWindow(HWND window, const ContainerOptions& options) {
    const pelmora::ContainerOptions internal = internalContainer(options);
    return skinEngine().skinContainerWindow(window, internal.colour, internal.alpha, internal.spareOption,
                                            internal.fillUnderChildren) != 0;
}

void setContainerItemValue(HWND window, bool fillUnderChildren) {
    skinEngine().setContainerItemValue(window, fillUnderChildren ? 1 : 0);
}

bool copyComposedImage(HWND window, HDC dc, const RECT& rect) {
    return pelmora::copyComposedImage(window, dc, rect);
}

HBITMAP loadPictureBitmap(const ByteBuffer& image) {
    GdipBitmap bitmap;
    if (!bitmap.loadFromMemory(image)) return nullptr;
    return bitmap.toHbitmap().release();
}

struct SkinNextMessageBox::Hook {
    pelmora::SkinNextMessageBox scope;
};

SkinNextMessageBox::SkinNextMessageBox() : hook_(std::make_unique<Hook>()) {}

SkinNextMessageBox::~SkinNextMessageBox() = default;

}  // namespace pelmora::skin
