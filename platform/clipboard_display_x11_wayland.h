// Which window system this process can reach, checked without Qt: Qt ends
// the process when it cannot open its platform, so main() asks first.
#pragma once

namespace platform {

// True when an X server named by DISPLAY accepts a connection, or a Wayland
// compositor named by WAYLAND_DISPLAY (or WAYLAND_SOCKET) does. Safe to call
// before any Q*Application exists. See x11Reachable for the one connection
// it keeps.
bool displayReachable();

// True when the X server named by DISPLAY accepts a connection; retries for
// up to half a second (an X server refuses while it resets after its last
// client left), so an unreachable DISPLAY costs that long. The
// connection stays open until the program ends (one idle socket), so that an
// X server without other clients does not reset, and refuse Qt, between this
// check and Qt's own connection.
bool x11Reachable();

// When an X server is reachable and the user has not chosen a Qt platform
// (QT_QPA_PLATFORM unset or empty), makes Qt use X11 (xcb). Qt's Wayland
// clipboard only works for a focused window, so a run without a shown window
// would silently leave nothing; through XWayland the X11 clipboard always
// works. Call before creating the application object.
void preferX11();

}  // namespace platform
