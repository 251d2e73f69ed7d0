// The Windows clipboard: the list as CF_UNICODETEXT, set in one step and
// owned by a message-only window of this process. Windows keeps the text
// after the program has ended; no serving process is needed.
#pragma once

#include <string>

#include "platform/clipboard.h"

namespace platform {

class WinClipboard : public Clipboard {
 public:
  // `waitMs`: how long to keep trying while another program holds the
  // clipboard open.
  explicit WinClipboard(unsigned waitMs = 1000);
  ~WinClipboard() override;
  WinClipboard(const WinClipboard&) = delete;
  WinClipboard& operator=(const WinClipboard&) = delete;

  // Puts `utf8` on the clipboard as UTF-16 text, carriage returns kept.
  // False, with the clipboard left as it was, when it stays held open by
  // another program beyond the waiting time or cannot take the text.
  bool setText(std::string_view utf8) override;

 private:
  void* owner_ = nullptr;  // HWND of the message-only owner window
  unsigned waitMs_;
};

}  // namespace platform
