#include "platform/entry_kind_win.h"

namespace platform {

EntryKind entryKindOf(DWORD attributes, DWORD reparseTag) {
  // No reparse point has tag 0; a file system that reports none (Wine's
  // for Unix symbolic links) is taken at its word that this is a link.
  const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
                    (reparseTag == 0 || IsReparseTagNameSurrogate(reparseTag));
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return link ? EntryKind::OtherLink : EntryKind::File;
  if (link) return EntryKind::FolderLink;
  if (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) return EntryKind::HiddenFolder;
  return EntryKind::Folder;
}

}  // namespace platform
