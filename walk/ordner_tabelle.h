// The folder table that the walks fill and the list text reads.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace zweigschau {

// One recorded folder.
struct Ordner {
  // The folder's path in list form (see AnzeigeText), always ending in the
  // separator; the whole path or the part behind the start folder.
  std::string Pfad;
  // 0 = start folder, 1 = its sub-folders, and so on.
  std::int32_t Ebene = 0;
  // Index of the last name in Dateien; -1 while there is none.
  std::int32_t LetzterDateiIndex = -1;
  // Matching file names in list form, in listing order.
  std::vector<std::string> Dateien;
};

// Records in the order the walk made them. A deque grows without copying
// what it already holds, so a huge walk never needs twice its memory.
using OrdnerTabelle = std::deque<Ordner>;

}  // namespace zweigschau
