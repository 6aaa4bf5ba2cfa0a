// The installer window's form: every unit with its id, kind, place, flags,
// texts, colours, alignment and font. The window is built from this table.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "base/dpi_scale.h"

namespace pelmora {

inline constexpr std::uint32_t kInstallerWindowId = 0x52010001;

enum class UnitKind { Window, EditBox, Label, Button, CheckBox, ProgressBar, Timer, TransparentLabel, ArchiveUnit };

// Every unit of the installer window, in the form's order.
enum class UnitRole {
    InstallerWindow,
    FinishButton,
    InfoTimer,
    InfoLabel,
    PayloadZip,
    TitleLabel,
    StatusLabel,
    PercentLabel,
    AgreeLabel,
    TermsLinkLabel,
    AgreeCheckBox,
    ProgressTimer,
    InstallProgress,
    FolderLabel,
    InstallButton,
    PathEdit,
    BrowseButton,
};
inline constexpr int kUnitCount = 17;

enum class HAlign { Left, Centre, Right };
enum class VAlign { Top, Centre, Bottom };

// Unit flags as stored in the form.
enum UnitFlag : std::uint32_t { kVisible = 1, kDisabled = 2, kTabStop = 4 };

// The colour value that stands for the system button-face colour.
inline constexpr COLORREF kButtonFaceColour = 0xFF000000;

struct FontChoice {
    const wchar_t* face;  // nullptr: the stock DEFAULT_GUI_FONT
    int height;
    int weight;
    int charset;
};

struct UnitEntry {
    UnitRole role;
    const wchar_t* storedName;
    std::uint32_t id;
    UnitKind kind;
    int x, y, width, height;  // client coordinates; the window's own entry is its outer size
    std::uint32_t flags;
    const wchar_t* caption;  // caption, content or title
    COLORREF textColour;
    COLORREF backColour;
    HAlign hAlign;
    VAlign vAlign;
    bool wordWrap;
    FontChoice font;
    bool handCursor;
};

const std::array<UnitEntry, kUnitCount>& installerUnits();
const UnitEntry& unitEntry(UnitRole role);

// Control ids of the units: 1000 + the unit's place in the form + 1. The
// dialog manager turns Enter and Esc into commands from IDOK (1) and IDCANCEL
// (2), and the small ids up to IDCONTINUE (11) belong to it; a unit with such
// an id would be clicked by a key press whether it is shown or not.
inline constexpr int kControlIdBase = 1001;  // the id place 0 (the window) would have
int controlIdOf(UnitRole role);
// The unit a control id belongs to; false for an id that is no unit's.
bool roleOfControlId(int id, UnitRole* role);

// DrawText flags of labels: no clipping, the horizontal alignment, then either
// word wrap (vertical alignment ignored) or a single line with the vertical one.
UINT labelTextFormat(HAlign h, VAlign v, bool wordWrap);

// Where a window of the given outer size sits when centred on the screen.
POINT centredOrigin(int screenWidth, int screenHeight, int width, int height);

// The terms link follows the agreement label's text, so the two read as one
// sentence in any language ("I accept" + "the terms"): it starts the form's
// gap after the label's text (6 px after the 84 px of "我已阅读并同意") and is
// as wide as its own text, never wider than the form's box, so only the text
// takes clicks. With the product's own texts this is the form's place exactly.
// A width of 0 (the text could not be measured) keeps the form's box. The
// text widths are pixels at `dpi`, and so is the rectangle.
inline constexpr int kTermsLinkGap = 6;
RECT termsLinkRect(int agreeTextWidth, int linkTextWidth, UINT dpi = kBaseDpi);

}  // namespace pelmora
