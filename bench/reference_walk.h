// The yardstick for the folder walks: a bare single-threaded walk that does
// the same listing work with nothing extra (no table, no Unicode ordering,
// no display conversion), so that the walks' cost can be stated as a ratio.
#pragma once

#include <cstdint>
#include <string>

namespace zsbench {

struct ReferenceResult {
  std::string text;          // one line per folder (or per *.mp3 file), each ended by "\n"
  std::int64_t folders = 0;  // folders listed, the start folder included
  std::int64_t ends = 0;     // folders below the start folder without sub-folders
  std::int64_t lines = 0;    // lines in text
  bool ok = false;           // false when the start folder could not be opened
};

// Walks the tree below `start` (a path ending in "/") depth-first with raw
// getdents64: folders opened relative to their parent with
// O_DIRECTORY|O_NOFOLLOW, d_type telling folders from the rest, hidden
// names (leading ".") and links skipped, siblings sorted by plain byte
// comparison. Without `mp3Lines` every folder path, the start folder first,
// is appended with "\n"; with it, every file whose name ends in ".mp3" (any
// case, hidden files included) gives a line "folder-path" TAB "name" "\n".
ReferenceResult referenceWalk(const std::string& start, bool mp3Lines);

}  // namespace zsbench
