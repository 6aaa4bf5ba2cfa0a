#include "skin/controls/core/control_settings.h"

namespace pelmora {

ControlSettings& controlSettings() {
    static ControlSettings settings;
    return settings;
}

}  // namespace pelmora
