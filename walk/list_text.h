// The list text that goes to the clipboard.
#pragma once

#include <cstdint>
#include <string_view>

#include "walk/ordner_tabelle.h"

namespace zweigschau {

struct Liste {
  // UTF-8, every line ended by platform::kLineEnd; the table's text block
  // or the list's own Block.
  std::string_view Text;
  std::int32_t Zeilen = 0;  // number of lines in Text
  Bytes Block;
};

// Builds the list from the table: one folder line per record ("a/x/" and
// the line end), or with NurOrdnerMitDateien one file line per stored file
// name ("a/" [TAB when MitTab] "x.mp3" and the line end). The line end is
// platform::kLineEnd (a single CR on Windows, LF on POSIX). No header,
// nothing after the last line end. Folder lines are the table's own text block (valid while
// the table is unchanged); file lines are built once, in the list's Block.
Liste ListenText(const OrdnerTabelle& Tabelle, bool NurOrdnerMitDateien, bool MitTab);

// The same list from a table that is emptied on the way, so that table and
// list never exist whole side by side: folder lines take the table's text
// block over; file lines give the memory of each record back once it is
// written.
Liste ListenText(OrdnerTabelle&& Tabelle, bool NurOrdnerMitDateien, bool MitTab);

}  // namespace zweigschau
