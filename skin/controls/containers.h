// Containers: windows whose children are skinned as a group (group boxes,
// toolbars, windows handed to the control layer that have children).
#pragma once

#include <windows.h>

#include <optional>

namespace pelmora {

struct ContainerOptions {
    std::optional<COLORREF> colour;        // fill passed to the children; none: no fill
    std::optional<int> alpha;              // 255 when not given
    std::optional<int> spareOption;        // accepted from the skin object's caller; nothing reads it
    std::optional<int> fillUnderChildren;  // 0: the fill lies under the container only; 1 when not given
};

// Records `window` as a container of its owning skinned window, takes over its
// children (the class installers that work inside a container) and subclasses
// it with containerProc. Returns the container's index, 0 when nothing was
// recorded: the window lies in no skinned window, is a container already, or
// runs another engine procedure.
int skinContainerWindow(HWND window, const ContainerOptions& options);

// Changes whether the container's fill lies under its children too, and
// repaints it with them. False when `window` is not a recorded container.
bool setContainerFillUnderChildren(HWND window, int value);

// The procedure of recorded containers: the services a skinned window gives
// its own children (owner-drawn buttons, control colours, commands and
// notifications to the child's class), the group box's frame and caption, and
// repaints when the container is shown or moved.
LRESULT CALLBACK containerProc(HWND container, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace pelmora
