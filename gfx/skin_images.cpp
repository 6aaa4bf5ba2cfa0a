#include "gfx/skin_images.h"

#include "gfx/gdip_graphics.h"
#include "gfx/gdip_image.h"
#include "gfx/gdip_image_attributes.h"
#include "gfx/picture_decode.h"

extern "C" {
#define PELMORA_GLYPH(symbol) extern const unsigned char symbol[], symbol##_end[];
PELMORA_GLYPH(glyph_caption_help)
PELMORA_GLYPH(glyph_caption_menu)
PELMORA_GLYPH(glyph_caption_minimize)
PELMORA_GLYPH(glyph_caption_maximize)
PELMORA_GLYPH(glyph_caption_restore)
PELMORA_GLYPH(glyph_caption_close)
PELMORA_GLYPH(glyph_dialog_close)
PELMORA_GLYPH(glyph_check_box_unchecked)
PELMORA_GLYPH(glyph_check_box_checked)
PELMORA_GLYPH(glyph_arrow_down)
PELMORA_GLYPH(glyph_arrow_up)
PELMORA_GLYPH(glyph_arrow_left)
PELMORA_GLYPH(glyph_arrow_right)
#undef PELMORA_GLYPH
}

namespace pelmora {

namespace {

struct Entry {
    const wchar_t* name;
    const unsigned char* begin;
    const unsigned char* end;
    SizeI size;
};

// In the order of the SkinImage enumeration.
const Entry kEntries[] = {
    {L"CaptionHelpGlyph", glyph_caption_help, glyph_caption_help_end, {26, 18}},
    {L"CaptionMenuGlyph", glyph_caption_menu, glyph_caption_menu_end, {26, 18}},
    {L"CaptionMinimizeGlyph", glyph_caption_minimize, glyph_caption_minimize_end, {26, 18}},
    {L"CaptionMaximizeGlyph", glyph_caption_maximize, glyph_caption_maximize_end, {26, 18}},
    {L"CaptionRestoreGlyph", glyph_caption_restore, glyph_caption_restore_end, {26, 18}},
    {L"CaptionCloseGlyph", glyph_caption_close, glyph_caption_close_end, {38, 18}},
    {L"DialogCloseGlyph", glyph_dialog_close, glyph_dialog_close_end, {38, 18}},
    {L"CheckBoxUncheckedImage", glyph_check_box_unchecked, glyph_check_box_unchecked_end, {13, 13}},
    {L"CheckBoxCheckedImage", glyph_check_box_checked, glyph_check_box_checked_end, {13, 13}},
    {L"ArrowDownImage", glyph_arrow_down, glyph_arrow_down_end, {7, 4}},
    {L"ArrowUpImage", glyph_arrow_up, glyph_arrow_up_end, {7, 4}},
    {L"ArrowLeftImage", glyph_arrow_left, glyph_arrow_left_end, {4, 7}},
    {L"ArrowRightImage", glyph_arrow_right, glyph_arrow_right_end, {4, 7}},
};
static_assert(sizeof kEntries / sizeof kEntries[0] == SkinImageSet::kAll.size());

const Entry& entry(SkinImage image) {
    return kEntries[static_cast<int>(image)];
}

}  // namespace

SkinImageBytes SkinImageSet::bytes(SkinImage image) {
    const Entry& e = entry(image);
    return {e.begin, static_cast<std::size_t>(e.end - e.begin)};
}

Bytes SkinImageSet::copy(SkinImage image) {
    const Entry& e = entry(image);
    return Bytes(e.begin, e.end);
}

const wchar_t* SkinImageSet::name(SkinImage image) {
    return entry(image).name;
}
SizeI SkinImageSet::size(SkinImage image) {
    return entry(image).size;
}

namespace {

bool decodeSkinImage(GdipBitmap& target, SkinImage image) {
    SkinImageBytes b = SkinImageSet::bytes(image);
    return decodePicture(target, b.data, b.size);
}

}  // namespace

bool drawSkinImage(GdipGraphics& graphics, SkinImage image, float x, float y) {
    GdipBitmap decoded;
    bool ok = decodeSkinImage(decoded, image) && graphics.drawImage(decoded, x, y);
    decoded.destroy();
    return ok;
}

bool drawSkinImageScaled(GdipGraphics& graphics, SkinImage image, const RectF& rect) {
    GdipBitmap decoded;
    return decodeSkinImage(decoded, image) && drawImageScaledSharp(graphics, decoded, rect);
}

bool drawSkinImageRect(GdipGraphics& graphics, SkinImage image, const RectF& rect) {
    GdipBitmap decoded;
    bool ok =
        decodeSkinImage(decoded, image) && graphics.drawImageRect(decoded, rect.x, rect.y, rect.width, rect.height);
    decoded.destroy();
    return ok;
}

}  // namespace pelmora
