// Between the program and its clipboard server (internal to zs_clipboard).
#pragma once

#include <string_view>
#include <sys/types.h>

namespace platform {

// The byte the server writes back once it owns the clipboard.
inline constexpr char kClipboardServerReady = '1';

// How long the program waits for a hand-over at most.
inline constexpr int kHandOverTimeoutMs = 10000;

// Starts the clipboard server (this program again, detached) and sends it
// `text`; true once the server has confirmed that it owns the clipboard.
bool handToServer(std::string_view text);

// Gives `text` to wl-copy (found in PATH), which serves it in the background;
// true when wl-copy took it (exit status 0) within the timeout.
bool handToWlCopy(std::string_view text);

}  // namespace platform
