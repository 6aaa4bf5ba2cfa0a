#include "skin/skin_engine.h"

#include <memory>
#include <utility>

#include "base/win32_util.h"
#include "gfx/app_icon.h"
#include "gfx/drawing_helpers.h"
#include "gfx/gdip_object.h"
#include "skin/controls/button_proc.h"
#include "skin/controls/class_procedures.h"
#include "skin/controls/containers.h"
#include "skin/controls/control_install.h"
#include "skin/controls/core/control_proc.h"
#include "skin/controls/core/control_settings.h"
#include "skin/controls/core/window_properties.h"
#include "skin/theme_images.h"
#include "skin/window/window_render.h"

namespace pelmora {
namespace {

std::unique_ptr<SkinEngine>& instance() {
    static std::unique_ptr<SkinEngine> engine;
    return engine;
}

COLORREF colourFromArgb(std::uint32_t argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

}  // namespace

SkinEngine::SkinEngine() {
    themeSettings().themeColour = ::GetSysColor(COLOR_BTNFACE);
}

SkinEngine::~SkinEngine() {
    // The icon goes while GDI+ is still up; GDI+ ends at most once per process
    // (a skinned window's WM_QUIT may have ended it already).
    appIcon_.reset();
    gdipShutdown();
}

void SkinEngine::loadAppIconOnce() {
    if (!appIcon_) appIcon_ = loadAppIcon();
}

LRESULT CALLBACK SkinEngine::windowProcThunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return skinEngine().skinnedWindowProc(window, message, wParam, lParam);
}

void SkinEngine::setControlSkinning(bool enabled, std::optional<int> alpha, std::optional<bool> trackBarFrame) {
    ControlSettings& settings = controlSettings();
    settings.controlSkinningEnabled = enabled;
    settings.backgroundAlpha = alpha.value_or(kDefaultBackgroundAlpha);
    settings.translucentBackgrounds = alpha.has_value();
    settings.trackBarFrameEnabled = trackBarFrame.value_or(true);
}

void SkinEngine::setSkinTheme(const SkinTheme& theme) {
    ThemeSettings& settings = themeSettings();
    ControlSettings& controls = controlSettings();
    const int accent = theme.accent.value_or(static_cast<int>(kDefaultAccentColour));
    if (accent != kAccentFromTheme) controls.accentColour = static_cast<COLORREF>(accent);

    if (theme.imageFile.empty() && theme.imageBytes.empty()) {
        // Only the accent changes unless a plain colour is given.
        if (!theme.colour) return;
        settings.themeBackground.clear();
        settings.themeBackground2x.clear();
        settings.themeColour = *theme.colour;
        if (accent == kAccentFromTheme) controls.accentColour = settings.themeColour;
    } else {
        const bool fromFile = !theme.imageFile.empty();
        const ByteBuffer image = fromFile ? readWholeFile(theme.imageFile) : theme.imageBytes;
        settings.themeColour = theme.colour ? *theme.colour : colourFromArgb(averageImageColour(image));
        if (accent == kAccentFromTheme) controls.accentColour = settings.themeColour;
        const int mode = theme.mode.value_or(static_cast<int>(BackgroundMode::TopLeft));
        settings.themeBackgroundMode = mode;
        const std::uint32_t fadeColour = argbFromColour(settings.themeColour);
        const bool faded =
            mode == static_cast<int>(BackgroundMode::LeftFaded) || mode == static_cast<int>(BackgroundMode::RightFaded);
        settings.themeBackground = faded      ? processedBackground(image, fadeColour, mode)
                                   : fromFile ? reencodeAsPng(image)
                                              : image;
        const bool fromFile2x = !theme.imageFile2x.empty();
        const ByteBuffer image2x = fromFile2x ? readWholeFile(theme.imageFile2x) : theme.imageBytes2x;
        settings.themeBackground2x = image2x.empty() ? ByteBuffer()
                                     : faded         ? processedBackground(image2x, fadeColour, mode)
                                     : fromFile2x    ? reencodeAsPng(image2x)
                                                     : image2x;
    }
    repaintSkinnedWindows();
}

void SkinEngine::repaintSkinnedWindows() {
    for (const auto& record : windowRecords()) {
        HWND window = record->window;
        if (!::IsWindowVisible(window)) continue;
        renderWindow(*record, nullptr, false);
        ::InvalidateRect(window, nullptr, FALSE);
        invalidateVisibleChildren(window);
    }
}

bool SkinEngine::setWindowBackground(HWND window, const ByteBuffer& image, std::optional<int> mode) {
    SkinnedWindowRecord* record = windowRecord(findWindowRecord(window));
    if (image.empty() || !record) return false;
    OwnBackground& own = record->background;
    if (mode) own.backgroundMode = *mode;
    own.ownBackgroundColour = averageImageColour(image);
    own.ownBackground = processedBackground(image, own.ownBackgroundColour, own.backgroundMode);
    record->image.needsRender = true;
    ::InvalidateRect(window, nullptr, FALSE);
    return true;
}

bool SkinEngine::setTitleStyle(HWND window, const TitleStyle& style) {
    SkinnedWindowRecord* record = windowRecord(findWindowRecord(window));
    if (!record) return false;
    TitleLook& title = record->title;
    if (style.fontFace) title.titleFontFace = *style.fontFace;
    if (style.fontSize) title.titleFontSize = *style.fontSize;
    if (style.colour) title.titleColour = *style.colour;
    if (style.outlineColour) title.titleOutlineColour = *style.outlineColour;
    if (style.bold) title.titleBold = *style.bold;
    paintTitle(*record, false, windowText(window));
    return true;
}

int SkinEngine::skinControlLayer(HWND window, std::optional<COLORREF> keyColour, std::optional<int> containerAlpha,
                                 std::optional<int> containerSpareOption) {
    const int owner = findOwnerWindowRecord(window);
    const COLORREF key = keyColour.value_or(::GetSysColor(COLOR_BTNFACE));
    if (!recordControlLayer(owner, window, key)) return 0;
    if (!::FindWindowExW(window, nullptr, nullptr, nullptr)) return 0;
    return skinContainerWindow(window, std::nullopt, containerAlpha, containerSpareOption);
}

void SkinEngine::setControlTextColour(HWND control, COLORREF colour) {
    if (!control) return;
    HWND target = control;
    if (hasWindowClass(control, L"ComboBox")) target = ::FindWindowExW(control, nullptr, L"Edit", nullptr);
    if (target) setPropValue(target, kPropTextColour, static_cast<std::intptr_t>(colour));
}

COLORREF SkinEngine::getThemeColour() const {
    return themeSettings().themeColour;
}

void SkinEngine::setHelpHandler(HWND window, CaptionHandler handler) {
    if (SkinnedWindowRecord* record = windowRecord(findWindowRecord(window)))
        record->caption.helpHandler = std::move(handler);
}

void SkinEngine::setMainMenuHandler(HWND window, CaptionHandler handler) {
    if (SkinnedWindowRecord* record = windowRecord(findWindowRecord(window)))
        record->caption.menuHandler = std::move(handler);
}

RECT SkinEngine::getCaptionStripRect(HWND window) const {
    const SkinnedWindowRecord* record = windowRecord(findWindowRecord(window));
    if (!record) return RECT{};
    const CaptionPart& caption = record->caption;
    return {caption.stripLeft, caption.stripTop, caption.stripLeft + caption.stripWidth,
            caption.stripTop + caption.stripHeight};
}

int SkinEngine::skinContainerWindow(HWND window, std::optional<COLORREF> colour, std::optional<int> alpha,
                                    std::optional<int> spareOption, std::optional<int> fillUnderChildren) {
    if (findControl<ContainerSkinRecord>(findOwnerWindowRecord(window), window)) return 0;
    return pelmora::skinContainerWindow(window, ContainerOptions{colour, alpha, spareOption, fillUnderChildren});
}

// --- Image buttons: a push button of a skinned window given pictures.

void SkinEngine::skinImageButton(HWND button, const ByteBuffer& image, int value, const std::wstring& text) {
    ButtonSkinRecord* record = takeImageButton(button, text);
    if (!record) return;
    record->kind = ButtonKind::ImageButton;
    record->image = image;
    record->imageOption = value;
    ::InvalidateRect(button, nullptr, FALSE);
}

void SkinEngine::skinStateImageButton(HWND button, const ByteBuffer& normal, const ByteBuffer& hover,
                                      const ByteBuffer& pressed, const ByteBuffer& disabled, const std::wstring& text) {
    ButtonSkinRecord* record = takeImageButton(button, text);
    if (!record) return;
    record->kind = ButtonKind::StateImageButton;
    record->image = normal;
    record->hoverImage = hover;
    record->pressedImage = pressed;
    record->disabledImage = disabled;
    ::InvalidateRect(button, nullptr, FALSE);
}

void SkinEngine::setContainerItemValue(HWND window, int value) {
    setContainerFillUnderChildren(window, value);
}

SkinEngine& skinEngine() {
    if (!instance()) instance() = std::make_unique<SkinEngine>();
    return *instance();
}

void startSkinModule() {
    SkinEngine& engine = skinEngine();
    gdipStartup();
    engine.loadAppIconOnce();
}

void endSkinModule() {
    instance().reset();
}

}  // namespace pelmora
