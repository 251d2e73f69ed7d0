// Keeping the clipboard text after the program has ended. X11 and Wayland
// clipboards live in the owning process, so when the program ends while it
// owns the clipboard, a small background program (on X11) or wl-copy
// (Wayland without X11) takes the text over and serves it until another
// program takes the clipboard.
#pragma once

#include <optional>
#include <string_view>

#include "platform/clipboard.h"

namespace platform {

// The hidden argument that starts this program as the clipboard server.
inline constexpr const char* kClipboardServerArgument = "--zweigschau-clipboard-server";

// The small program (no Qt) that runs the clipboard server; this program
// runs it itself when that one is missing.
inline constexpr const char* kClipboardServerProgram = "zweigschau-clipboard-server";

// How the clipboard server ended. It prints nothing: the program that
// started it reports.
enum class ServerEnd {
  Served,     // served until another program took the clipboard or the display went away
  NotOwned,   // the clipboard could not be taken (or another program took it at once)
  NoText,     // the text did not arrive whole
  NoDisplay,  // the display could not be reached
};

// First thing in main(), before any Q*Application exists: if argv is exactly
// { program, kClipboardServerArgument } and stdin is the Unix stream socket
// the program hands its server (so that a folder of that name given on a
// terminal does not start it), runs the clipboard server and returns how it
// ended. Otherwise returns nothing at once, touching nothing.
std::optional<ServerEnd> runClipboardServerIfAsked(int argc, char** argv);

// The window's (Qt's) part, in clipboard_x11_wayland.cpp: call when the
// window's event loop is done, while the QGuiApplication still exists. If this process owns the clipboard
// and it holds text, hands the text over: on X11 to a detached server
// process (kClipboardServerProgram with the hidden argument; the text goes
// through a socket), waiting at most a few seconds for its "I own the
// clipboard" confirmation, never for its end; on Wayland to wl-copy. True when
// the text will outlive this process or there is nothing to keep; false when
// the hand-over failed (no server confirmation, wl-copy missing or failing).
bool keepClipboardAfterExit();

// The clipboard of a run that ends right after it: the text goes straight to
// whoever keeps it after this process, from the caller's own bytes: on X11
// (when DISPLAY is reachable) to the server, else on Wayland to wl-copy;
// without either it fails. Needs no toolkit.
class HandOverClipboard : public Clipboard {
 public:
  bool setText(std::string_view utf8) override;
  bool takenByOther() const override { return takenByOther_; }
  bool shortOfProcesses() const override { return shortOfProcesses_; }

 private:
  bool takenByOther_ = false;
  bool shortOfProcesses_ = false;
};

}  // namespace platform
