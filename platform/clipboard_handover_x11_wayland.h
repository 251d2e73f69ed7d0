// Between the program and its clipboard server (internal to zs_clipboard).
#pragma once

#include <string_view>
#include <sys/types.h>

namespace platform {

// The byte the server writes back once it owns the clipboard, and the one it
// writes when another program owned the clipboard right after it tried.
inline constexpr char kClipboardServerReady = '1';
inline constexpr char kClipboardServerTaken = '2';

// How long the program waits for a hand-over at most.
inline constexpr int kHandOverTimeoutMs = 10000;

// How starting the clipboard server went.
enum class ServerStart {
  ready,      // it confirmed that it owns the clipboard
  taken,      // it said another program owned the clipboard right after
  noProcess,  // no process could be started (process or memory limit)
  failed,     // anything else: it ended, broke off or did not answer in time
};

// Starts the clipboard server (this program again, detached) and sends it
// `text`. A server that does not confirm is ended and collected.
ServerStart handToServer(std::string_view text);

// Gives `text` to wl-copy (found in PATH), which serves it in the background;
// true when wl-copy took it (exit status 0) within the timeout.
bool handToWlCopy(std::string_view text);

}  // namespace platform
