// What a Windows directory entry is, from its find data.
#pragma once

#include <windows.h>

#include "platform/folder_handle.h"

namespace platform {

// The kind of an entry with these attributes and, for a reparse point, this
// reparse tag (WIN32_FIND_DATAW::dwReserved0). Only name surrogates are
// links (symbolic links, junctions, mount points: tag bit 0x20000000); a
// folder or file behind any other reparse point (cloud-file placeholders,
// projected or deduplicated files) is an ordinary one. A reparse point
// without a tag counts as a link, as before. Folders with the
// hidden or system attribute are hidden; read-only and archive ones count.
EntryKind entryKindOf(DWORD attributes, DWORD reparseTag);

}  // namespace platform
