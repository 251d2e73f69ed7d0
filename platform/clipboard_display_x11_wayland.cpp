// Display reachability without Qt: libxcb for X11, a socket connect for
// Wayland.
#include "platform/clipboard_display_x11_wayland.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {
namespace {

constexpr int kX11Attempts = 10;  // at most half a second for an X server
constexpr useconds_t kX11RetryMicroseconds = 50000;

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

// libxcb writes an X server's refusal ("Authorization required, ...",
// "Invalid MIT-MAGIC-COOKIE-1 key") to standard error, once for every
// attempt; the program says in its own one line that the display is out of
// reach. While one lives, standard error goes to /dev/null.
class QuietStandardError {
 public:
  QuietStandardError() : saved_(fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0)) {
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ >= 0 && null >= 0) dup2(null, STDERR_FILENO);
    if (null >= 0) close(null);
  }
  ~QuietStandardError() {
    if (saved_ < 0) return;
    dup2(saved_, STDERR_FILENO);
    close(saved_);
  }
  QuietStandardError(const QuietStandardError&) = delete;
  QuietStandardError& operator=(const QuietStandardError&) = delete;

 private:
  int saved_;
};

}  // namespace

// The connection made by the check stays open until the program ends: an X
// server whose last client disconnects resets itself and refuses new
// connections meanwhile, so closing it would let Qt's own connection, made
// a moment later, fail on a display that nothing else uses (a bare Xvfb).
bool x11Reachable() {
  static xcb_connection_t* held = nullptr;
  if (held != nullptr && xcb_connection_has_error(held) == 0) return true;
  if (envOrNull("DISPLAY") == nullptr) return false;
  if (held != nullptr) xcb_disconnect(held);
  held = nullptr;
  // A server resetting after another program's exit refuses for a moment.
  const QuietStandardError quiet;
  for (int attempt = 0; attempt < kX11Attempts; ++attempt) {
    if (attempt > 0) usleep(kX11RetryMicroseconds);
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) == 0) {
      held = connection;
      return true;
    }
    xcb_disconnect(connection);  // also required for a failed connection
  }
  return false;
}

bool displayReachable() { return x11Reachable() || waylandReachable(); }

void preferX11() {
  if (envOrNull("QT_QPA_PLATFORM") != nullptr) return;
  if (x11Reachable()) setenv("QT_QPA_PLATFORM", "xcb", 1);
}

}  // namespace platform
