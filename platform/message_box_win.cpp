#include "platform/message_box_win.h"

#include <windows.h>

#include "platform/wide_text.h"

namespace platform {

void showInformation(const std::string& title, const std::string& text) {
  MessageBoxW(nullptr, toWide(text).c_str(), toWide(title).c_str(), MB_OK | MB_ICONINFORMATION);
}

void showError(const std::string& title, const std::string& text) {
  MessageBoxW(nullptr, toWide(text).c_str(), toWide(title).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace platform
