// What the program learns about its user's session: the home folder and the
// folder the window offers at start. One implementation per platform.
#pragma once

#include <string>

namespace platform {

// The user's home folder (POSIX: $HOME, else the password database;
// Windows: %USERPROFILE%), without a trailing separator. "~" when none is
// known, so that a path built from it is simply not found.
std::string homeFolder();

// The start folder the window shows before the user types one: POSIX the
// temporary folder ($TMPDIR, else /tmp); empty on Windows, where the
// window keeps the path of its design.
std::string defaultStartFolder();

}  // namespace platform
