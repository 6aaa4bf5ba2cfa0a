// The application icon the window and dialog painters draw.
#pragma once

#include "base/unique_resource.h"

namespace pelmora {

// Loads the icon from the module (the running executable when null): the
// icon resource 129 when the module has one, else the main icon group
// "DEFAULT_ICON". Empty when neither exists; the painters then draw no icon.
//
// Loaded once at start-up right after GDI+ has started; its owner (the skin
// object) destroys it when torn down, before GDI+ shuts down.
UniqueIcon loadAppIcon(HMODULE module = nullptr);

}  // namespace pelmora
