#include "skin/skin_engine.h"

#include <memory>
#include <utility>

#include "gfx/app_icon.h"
#include "gfx/drawing_helpers.h"
#include "gfx/gdip_object.h"
#include "skin/controls/button_proc.h"
#include "skin/controls/class_procedures.h"
#include "skin/controls/containers.h"
#include "skin/controls/control_install.h"
#include "skin/controls/control_proc.h"
#include "skin/controls/control_settings.h"
#include "skin/controls/window_properties.h"
#include "skin/theme_images.h"

namespace pelmora {
namespace {

std::unique_ptr<SkinEngine>& instance() {
    static std::unique_ptr<SkinEngine> engine;
    return engine;
}

COLORREF colourFromArgb(std::uint32_t argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

std::wstring windowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

// A background picture as the window will paint it: faded into `colour` at
// one edge for the two faded modes, else as given.
ByteBuffer processedBackground(const ByteBuffer& image, std::uint32_t colour, int mode) {
    if (mode == static_cast<int>(BackgroundMode::LeftFaded)) return fadeBackgroundEdge(image, colour, FadeSide::Right);
    if (mode == static_cast<int>(BackgroundMode::RightFaded)) return fadeBackgroundEdge(image, colour, FadeSide::Left);
    return image;
}

}  // namespace

ThemeSettings& themeSettings() {
    static ThemeSettings settings;
    return settings;
}

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

void SkinEngine::runCaptionButtonThunk(int recordIndex, int buttonIndex) {
    skinEngine().runCaptionButton(recordIndex, buttonIndex);
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
    }
    repaintSkinnedWindows();
}

void SkinEngine::repaintSkinnedWindows() {
    for (int index = 1; index <= windowRecordCount(); ++index) {
        HWND window = windowRecord(index)->window;
        if (!::IsWindowVisible(window)) continue;
        renderWindow(index, nullptr, false);
        ::InvalidateRect(window, nullptr, FALSE);
        invalidateVisibleChildren(window);
    }
}

bool SkinEngine::setWindowBackground(HWND window, const ByteBuffer& image, std::optional<int> mode) {
    SkinnedWindowRecord* record = windowRecord(findWindowRecord(window));
    if (image.empty() || !record) return false;
    if (mode) record->backgroundMode = *mode;
    record->ownBackgroundColour = averageImageColour(image);
    record->ownBackground = processedBackground(image, record->ownBackgroundColour, record->backgroundMode);
    record->needsRender = true;
    ::InvalidateRect(window, nullptr, FALSE);
    return true;
}

bool SkinEngine::setTitleStyle(HWND window, const TitleStyle& style) {
    const int index = findWindowRecord(window);
    SkinnedWindowRecord* record = windowRecord(index);
    if (!record) return false;
    if (style.fontFace) record->titleFontFace = *style.fontFace;
    if (style.fontSize) record->titleFontSize = *style.fontSize;
    if (style.colour) record->titleColour = *style.colour;
    if (style.outlineColour) record->titleOutlineColour = *style.outlineColour;
    if (style.bold) record->titleBold = *style.bold;
    paintTitle(index, std::nullopt, windowText(window));
    return true;
}

int SkinEngine::skinControlLayer(HWND window, std::optional<COLORREF> backgroundColour, std::optional<int> value2,
                                 std::optional<int> value3) {
    const int owner = findOwnerWindowRecord(window);
    const COLORREF key = backgroundColour.value_or(::GetSysColor(COLOR_BTNFACE));
    if (!recordControlLayer(owner, window, key)) return 0;
    if (!::FindWindowExW(window, nullptr, nullptr, nullptr)) return 0;
    return skinContainerWindow(window, std::nullopt, value2, value3);
}

void SkinEngine::setControlTextColour(HWND control, COLORREF colour) {
    if (!control) return;
    wchar_t className[32] = {};
    ::GetClassNameW(control, className, 32);
    HWND target = control;
    if (lstrcmpiW(className, L"ComboBox") == 0) target = ::FindWindowExW(control, nullptr, L"Edit", nullptr);
    if (target) setPropValue(target, kPropTextColour, static_cast<std::intptr_t>(colour));
}

COLORREF SkinEngine::getThemeColour() const {
    return themeSettings().themeColour;
}

void SkinEngine::setHelpHandler(HWND window, CaptionHandler handler) {
    if (SkinnedWindowRecord* record = windowRecord(findWindowRecord(window))) record->helpHandler = std::move(handler);
}

void SkinEngine::setMainMenuHandler(HWND window, CaptionHandler handler) {
    if (SkinnedWindowRecord* record = windowRecord(findWindowRecord(window))) record->menuHandler = std::move(handler);
}

RECT SkinEngine::getCaptionStripRect(HWND window) const {
    const SkinnedWindowRecord* record = windowRecord(findWindowRecord(window));
    if (!record) return RECT{};
    return {record->stripLeft, record->stripTop, record->stripLeft + record->stripWidth,
            record->stripTop + record->stripHeight};
}

int SkinEngine::skinContainerWindow(HWND window, std::optional<COLORREF> colour, std::optional<int> alpha,
                                    std::optional<int> option, std::optional<int> value) {
    if (findContainer(findOwnerWindowRecord(window), window)) return 0;
    return pelmora::skinContainerWindow(window, ContainerOptions{colour, alpha, option, value});
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

// The container operation arrives with the container painter; until then it
// has nothing to act on.
void SkinEngine::setContainerItemValue(HWND, int) {}

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
