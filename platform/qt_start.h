// Starting Qt without its abort: when Qt cannot open a platform (its plugin
// is not installed, or the display went away after the check), Qt ends the
// process with SIGABRT and a core dump. Between guardQtStart and
// qtStarted that failure instead becomes one line naming what is missing
// and an ordinary exit status.
#pragma once

#include <functional>
#include <string>

namespace platform {

// Called when Qt cannot start, with one line (no line feed) that says what
// is missing, such as "Qt-Plattform \"wayland\" fehlt (Debian-Paket
// qt6-wayland)". It reports as it sees fit and returns the exit status; the
// process then ends at once with that status.
using QtStartFailure = std::function<int(const std::string& line)>;

// Call right before creating the application object. Until qtStarted, Qt's
// messages are held back, so that a failed start shows nothing but the
// caller's report.
void guardQtStart(QtStartFailure onFailure);

// Call once the application object exists: the held-back messages go out
// through the message handler that was in place before guardQtStart, which
// is restored.
void qtStarted();

// The line for a failed start, made from what Qt said while it tried:
// `notes` are its warnings, `fatal` its last word. Exposed for tests.
std::string qtStartFailureLine(const std::string& notes, const std::string& fatal);

}  // namespace platform
