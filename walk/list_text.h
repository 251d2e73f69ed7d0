// The list text that goes to the clipboard.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "walk/ordner_tabelle.h"

namespace zweigschau {

struct Liste {
  std::string Text;         // UTF-8, every line ended by one carriage return
  std::int32_t Zeilen = 0;  // number of lines in Text
};

// Builds the list from the table: one folder line per record ("a/x/" CR),
// or with NurOrdnerMitDateien one file line per stored file name ("a/" [TAB
// when MitTab] "x.mp3" CR). No header, no line feed, nothing after the last
// carriage return.
Liste ListenText(const OrdnerTabelle& Tabelle, bool NurOrdnerMitDateien, bool MitTab);

// A name or path as it appears in list lines: valid UTF-8 stays as it is,
// a byte that is not valid UTF-8 becomes U+FFFD, and control characters
// (below U+0020, U+007F to U+009F) and the line and paragraph separators
// (U+2028, U+2029) become "?", so that one entry stays one line.
std::string AnzeigeText(std::string_view roh);

// `text` without the blanks (spaces only) at either end.
std::string OhneLeerzeichen(std::string_view text);

// True when `roh` is its own list form (valid UTF-8, none of the
// characters AnzeigeText replaces).
bool schonAnzeigbar(std::string_view roh);

// Appends AnzeigeText(roh) to `ziel`.
void AnzeigeTextAnhaengen(std::string& ziel, std::string_view roh);

}  // namespace zweigschau
