// Pieces shared by the walks and the file search; not part of the walk API.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/folder_handle.h"
#include "walk/file_search.h"
#include "walk/ordner_tabelle.h"

namespace zweigschau {

// True for what the file search counts as a file: anything but a folder
// (hidden or not) or a link to a folder.
inline bool istDatei(platform::EntryKind kind) {
  return kind != platform::EntryKind::Folder && kind != platform::EntryKind::HiddenFolder &&
         kind != platform::EntryKind::FolderLink;
}

// Stores as the file names of record `Index` the list form of every file
// among `einträge` (a listing already filtered by the mask; the names are
// changed in place) and returns how many there are.
std::int32_t DateienEintragen(OrdnerTabelle& Tabelle, std::size_t Index,
                              std::vector<platform::Entry>& einträge);

}  // namespace zweigschau
