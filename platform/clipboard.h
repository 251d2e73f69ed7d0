// The system clipboard, as the scan run sees it: the list text is set in one
// step. The Qt implementation lives beside this header; tests use a double.
#pragma once

#include <string_view>

namespace platform {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard's content with `utf8` as plain text, byte for
  // byte (carriage returns stay carriage returns). False when the clipboard
  // cannot be reached.
  virtual bool setText(std::string_view utf8) = 0;
  // As setText, for bytes in a block from growBlock that the caller gives
  // up and never reads again: an implementation that copies them may give
  // their memory back as it goes, so that a large list never exists twice.
  virtual bool setTextReleasing(std::string_view utf8) { return setText(utf8); }
  // After a failed setText: true when the clipboard was reachable but
  // another program owned it right afterwards (one that takes every new
  // content at once, such as a clipboard manager), false when the clipboard
  // could not be reached.
  virtual bool takenByOther() const { return false; }
  // After a failed setText: true when the process that keeps the clipboard
  // could not be started for a process limit.
  virtual bool shortOfProcesses() const { return false; }
};

}  // namespace platform
