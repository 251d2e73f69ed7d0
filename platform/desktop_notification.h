// A message on the desktop, for a run that has no terminal to write to.
#pragma once

#include <string>

namespace platform {

// Posts `text` as a desktop notification of Zweigschau (the freedesktop
// notification service on the session's D-Bus). Does nothing where no
// session bus or no notification service is there; never starts a bus.
// Waits for the service's answer two seconds at the most.
void notifyDesktop(const std::string& text);

}  // namespace platform
