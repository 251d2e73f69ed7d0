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

}  // namespace zweigschau
