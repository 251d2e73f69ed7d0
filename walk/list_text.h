// The list text that goes to the clipboard.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "walk/ordner_tabelle.h"

namespace zweigschau {

struct Liste {
  // UTF-8, every line ended by one carriage return. Folder lines are the
  // table's own block (valid while the table is unchanged); file lines are
  // built once, in a block of their own that the list holds.
  std::string_view Text;
  std::int32_t Zeilen = 0;  // number of lines in Text
  std::unique_ptr<std::string> Block;  // the file lines' block
};

// Builds the list from the table: one folder line per record ("a/x/" CR),
// or with NurOrdnerMitDateien one file line per stored file name ("a/" [TAB
// when MitTab] "x.mp3" CR). No header, no line feed, nothing after the last
// carriage return.
Liste ListenText(const OrdnerTabelle& Tabelle, bool NurOrdnerMitDateien, bool MitTab);

}  // namespace zweigschau
