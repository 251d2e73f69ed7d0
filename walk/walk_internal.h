// Pieces shared by the walks and the file search; not part of the walk API.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/filesystem.h"
#include "walk/file_search.h"
#include "walk/ordner_tabelle.h"

namespace zweigschau {

// Stores in `ordner` the list form of every file among `eintraege` that
// matches `maske` (files of any kind and links to files; no folders, no
// links to folders) and returns how many there are.
std::int32_t DateienEintragen(Ordner& ordner, const std::vector<platform::Entry>& eintraege,
                              const DateiMaske& maske);

}  // namespace zweigschau
