// Containers: windows whose children are skinned as a group (group boxes,
// toolbars, windows handed to the control layer that have children).
#pragma once

#include <windows.h>

#include <optional>

namespace pelmora {

struct ContainerOptions {
    std::optional<COLORREF> colour;        // fill passed to the children; none: no fill
    std::optional<int> alpha;              // 255 when not given
    std::optional<int> spareOption;        // kept for the caller; 0 when not given
    std::optional<int> fillUnderChildren;  // 0: the fill lies under the container only; 1 when not given
};

// Records `window` as a container of its owning skinned window and takes over
// its children. Returns the container's index, 0 when nothing was recorded.
// The container installer arrives with the container painter; until then no
// window is recorded as a container and this returns 0.
int skinContainerWindow(HWND window, const ContainerOptions& options);

}  // namespace pelmora
