// File masks and the file search in one folder.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "walk/ordner_tabelle.h"

namespace zweigschau {

// A file mask with the wildcard rules of Windows file names: compared
// case-insensitively; "*" stands for any run of characters, "?" for exactly
// one; a trailing ".*" may also match nothing ("*.*" finds "README", "x.*"
// finds "x"); a trailing "." finds only names without a dot ("*." finds
// "README" but not "a.txt").
class DateiMaske {
 public:
  explicit DateiMaske(std::string_view Maske);
  bool passt(std::string_view Name) const;

 private:
  template <typename Char>
  bool passtAuf(std::basic_string_view<Char> muster, std::basic_string_view<Char> name) const;

  std::u32string muster_;      // upper-cased mask, trailing "." removed
  std::string asciiMuster_;    // the same when the mask is ASCII, else empty
  bool ohnePunkt_ = false;      // mask ended in "."
  bool punktSternOptional_ = false;  // mask ended in ".*"
};

// Lists the folder `Pfad` (surrounding blanks are ignored, the separator
// may be missing) and stores the list form of every file name that matches
// `Maske` in record `Index` of the table: its Dateien and LetzterDateiIndex.
// Files of any kind count, hidden ones and links to files included; folders
// and links to folders do not. Returns the number of names stored; 0 when
// the folder cannot be listed.
std::int32_t DateienSammeln(OrdnerTabelle& Tabelle, std::string Pfad,
                            std::size_t Index, const std::string& Maske);

}  // namespace zweigschau
