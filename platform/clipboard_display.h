// Which window system this process can reach, checked without Qt: Qt ends
// the process when it cannot open its platform, so main() asks first.
#pragma once

namespace platform {

// True when an X server named by DISPLAY accepts a connection, or a Wayland
// compositor named by WAYLAND_DISPLAY (or WAYLAND_SOCKET) does. Safe to call
// before any Q*Application exists; opens and closes its own connections.
bool displayReachable();

// True when the X server named by DISPLAY accepts a connection.
bool x11Reachable();

// When an X server is reachable and the user has not chosen a Qt platform
// (QT_QPA_PLATFORM unset or empty), makes Qt use X11 (xcb). Qt's Wayland
// clipboard only works for a focused window, so a run without a shown window
// would silently leave nothing; through XWayland the X11 clipboard always
// works. Call before creating the application object.
void preferX11();

}  // namespace platform
