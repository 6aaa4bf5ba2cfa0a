#include "demo/gallery/gallery_art.h"

extern "C" {
extern const unsigned char gallery_background[], gallery_background_end[];
extern const unsigned char gallery_picture[], gallery_picture_end[];
extern const unsigned char gallery_caption[], gallery_caption_end[];
extern const unsigned char gallery_state_normal[], gallery_state_normal_end[];
extern const unsigned char gallery_state_hover[], gallery_state_hover_end[];
extern const unsigned char gallery_state_pressed[], gallery_state_pressed_end[];
extern const unsigned char gallery_state_disabled[], gallery_state_disabled_end[];
}

namespace pelmora::gallery {

ByteBuffer backgroundPicture() {
    return ByteBuffer(gallery_background, gallery_background_end);
}

ByteBuffer buttonPicture() {
    return ByteBuffer(gallery_picture, gallery_picture_end);
}

ByteBuffer captionGlyph() {
    return ByteBuffer(gallery_caption, gallery_caption_end);
}

ByteBuffer statePlate(PlateState state) {
    switch (state) {
        case PlateState::Hover:
            return ByteBuffer(gallery_state_hover, gallery_state_hover_end);
        case PlateState::Pressed:
            return ByteBuffer(gallery_state_pressed, gallery_state_pressed_end);
        case PlateState::Disabled:
            return ByteBuffer(gallery_state_disabled, gallery_state_disabled_end);
        case PlateState::Normal:
            break;
    }
    return ByteBuffer(gallery_state_normal, gallery_state_normal_end);
}

}  // namespace pelmora::gallery
