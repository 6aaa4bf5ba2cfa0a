#include "skin/controls/control_settings.h"

namespace pelmora {

ControlSettings& controlSettings() {
    static ControlSettings settings;
    return settings;
}

}  // namespace pelmora
