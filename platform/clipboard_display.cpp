// Display reachability without Qt: libxcb for X11, a socket connect for
// Wayland.
#include "platform/clipboard_display.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {
namespace {

const char* envOrNull(const char* name) {
  const char* value = std::getenv(name);
  return (value != nullptr && *value != '\0') ? value : nullptr;
}

// The compositor's socket: WAYLAND_DISPLAY is a path when absolute, else a
// name inside XDG_RUNTIME_DIR.
std::string waylandSocketPath(const char* display) {
  if (display[0] == '/') return display;
  const char* runtime = envOrNull("XDG_RUNTIME_DIR");
  if (runtime == nullptr) return {};
  return std::string(runtime) + "/" + display;
}

bool waylandReachable() {
  if (envOrNull("WAYLAND_SOCKET") != nullptr) return true;  // handed-in fd
  const char* display = envOrNull("WAYLAND_DISPLAY");
  if (display == nullptr) return false;
  const std::string path = waylandSocketPath(display);
  sockaddr_un address{};
  if (path.empty() || path.size() >= sizeof(address.sun_path)) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address),
                          sizeof(address)) == 0;
  close(fd);
  return ok;
}

}  // namespace

bool x11Reachable() {
  if (envOrNull("DISPLAY") == nullptr) return false;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  const bool ok = xcb_connection_has_error(connection) == 0;
  xcb_disconnect(connection);  // also required for a failed connection
  return ok;
}

bool displayReachable() { return x11Reachable() || waylandReachable(); }

void preferX11() {
  if (envOrNull("QT_QPA_PLATFORM") != nullptr) return;
  if (x11Reachable()) setenv("QT_QPA_PLATFORM", "xcb", 1);
}

}  // namespace platform
