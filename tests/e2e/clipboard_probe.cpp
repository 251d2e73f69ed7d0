// Test driver for the clipboard: puts a file's bytes on the clipboard the
// way the program does and ends.
//   zs_clipboard_probe FILE            set the text, hand it over, exit
//   zs_clipboard_probe FILE --no-keep  set the text and exit without hand-over
// Exit status: 0 done, 2 usage or unreadable file, 3 clipboard failure
// (no display, text not set, hand-over failed).
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/clipboard_display_x11_wayland.h"
#include "platform/clipboard_x11_wayland.h"
#include "platform/clipboard_server_x11.h"
#include "platform/qt_start.h"

namespace {

bool readFile(const char* path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<platform::ServerEnd> end = platform::runClipboardServerIfAsked(argc, argv))
    return *end == platform::ServerEnd::Served ? 0 : 3;
  const bool keep = !(argc == 3 && std::strcmp(argv[2], "--no-keep") == 0);
  std::string text;
  if ((argc != 2 && keep) || !readFile(argv[1], text)) {
    std::fprintf(stderr, "usage: zs_clipboard_probe FILE [--no-keep]\n");
    return 2;
  }
  if (!platform::displayReachable()) {
    std::fprintf(stderr, "zs_clipboard_probe: no display reachable\n");
    return 3;
  }
  platform::preferX11();
  platform::guardQtStart([](const platform::QtStartProblem& problem) {
    std::fprintf(stderr, "zs_clipboard_probe: Qt does not start (%s)\n", problem.plugin.c_str());
    return 3;
  });
  QGuiApplication app(argc, argv);
  platform::qtStarted();
  platform::QtClipboard clipboard;
  if (!clipboard.setText(text)) {
    std::fprintf(stderr, "zs_clipboard_probe: clipboard not reachable\n");
    return 3;
  }
  if (keep && !platform::keepClipboardAfterExit()) {
    std::fprintf(stderr, "zs_clipboard_probe: hand-over failed\n");
    return 3;
  }
  return 0;
}
