// The folder picker behind the button "&Ordner": shows the system's folder
// dialog and hands back the chosen folder's path.
#pragma once

#include <string>
#include <string_view>

#include "run/steuerelemente.h"

namespace zweigschau {

class OrdnerWahl {
 public:
  // Shows the modal folder dialog "Wählen Sie einen Ordner", owned by
  // `hWndDesAufruffensters` (the path box's text is not handed to it); only
  // file-system folders can be chosen. Returns the chosen folder's path
  // exactly as the dialog gives it, whatever its length, or "" on cancel.
  std::string OrdnerWählen(Steuerelemente& hWndDesAufruffensters);

  // The folder the dialog opens at for the path box's text `Pfadtext`, read
  // as a scan run reads it (blanks, quotes, a file URI, "~"): the nearest
  // folder that exists at or above it, without a trailing separator; ""
  // when the text is empty or no such folder exists.
  static std::string StartOrdner(std::string_view Pfadtext);

  // The part of `StringWert` before its first NUL character; the whole text
  // when it holds none.
  static std::string NullTrim(std::string_view StringWert);
};

}  // namespace zweigschau
