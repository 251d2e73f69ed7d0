// The clipboard server: a detached process that owns the X11 clipboard with
// the text its parent handed over and ends when another program takes the
// clipboard or the display goes away.
#include "platform/clipboard_server_x11.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QTimer>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cerrno>
#include <limits>

#include "platform/clipboard_handover_x11_wayland.h"
#include "platform/clipboard_x11_wayland.h"

namespace platform {
namespace {

enum ExitCode { kServed = 0, kNotOwned = 1, kNoText = 2, kNoDisplay = 3 };

bool readExactly(int fd, char* out, std::size_t size) {
  while (size > 0) {
    const ssize_t n = read(fd, out, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    out += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// The text as the parent sent it: an 8-byte length, then the bytes. A
// parent that died half-way leaves a short read: nothing is served then.
bool receiveText(int fd, QByteArray& text) {
  std::uint64_t size = 0;
  if (!readExactly(fd, reinterpret_cast<char*>(&size), sizeof size)) return false;
  if (size > static_cast<std::uint64_t>(std::numeric_limits<qsizetype>::max() / 2)) return false;
  text.resize(static_cast<qsizetype>(size));
  return readExactly(fd, text.data(), static_cast<std::size_t>(size));
}

// Leaves nothing of the caller's world open: no inherited descriptor (a
// pipe held here would keep `out=$(zweigschau ...)` waiting), no folder.
void detachFromCaller() {
  close_range(3, ~0U, 0);
  if (chdir("/") != 0) { /* "/" always exists; nothing sensible to do */ }
}

void replaceWithDevNull(int fd) {
  const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
  if (devNull < 0) return;
  dup2(devNull, fd);
  close(devNull);
}

// Serves until the clipboard belongs to someone else; Qt itself ends the
// process when the X connection breaks, and the check then fails as well.
int serve(QGuiApplication& app) {
  auto quitWhenLost = [&app] {
    if (!thisProcessOwnsClipboard()) app.quit();
  };
  QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, &app,
                   [quitWhenLost](QClipboard::Mode mode) {
                     if (mode == QClipboard::Clipboard) quitWhenLost();
                   });
  QTimer check;
  QObject::connect(&check, &QTimer::timeout, &app, quitWhenLost);
  check.start(500);
  app.exec();
  return kServed;
}

int runServer(char* program) {
  detachFromCaller();
  const int channel = 0;  // the socket to the parent arrives as stdin
  QByteArray text;
  if (!receiveText(channel, text)) return kNoText;
  if (std::getenv("DISPLAY") == nullptr) return kNoDisplay;
  setenv("QT_QPA_PLATFORM", "xcb", 1);  // Wayland needs a focused window
  unsetenv("SESSION_MANAGER");          // not a session client
  int qtArgc = 1;
  char* qtArgv[] = {program, nullptr};
  QGuiApplication app(qtArgc, qtArgv);
  if (!setClipboardUtf8(text)) return kNotOwned;
  text = QByteArray();  // the clipboard's mime data keeps the bytes
  // A parent that gave up waiting kills this process; one that died after
  // sending the whole text cannot be told, and the text is served anyway.
  const char confirmation = kClipboardServerReady;
  send(channel, &confirmation, 1, MSG_NOSIGNAL);
  replaceWithDevNull(channel);
  return serve(app);
}

}  // namespace

int runClipboardServerIfAsked(int argc, char** argv) {
  if (argc != 2 || std::strcmp(argv[1], kClipboardServerArgument) != 0) return -1;
  return runServer(argv[0]);
}

}  // namespace platform
