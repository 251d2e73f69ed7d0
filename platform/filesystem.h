// Folder listing for the walks: one folder's entries at a time, in a fixed
// order, with folders opened relative to their parent so that trees of any
// depth and paths of any length can be walked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What a directory entry is. Links are never followed into; a link is only
// resolved to tell a link to a folder from any other link.
enum class EntryKind : std::uint8_t {
  Folder,      // a real directory
  File,        // anything else that is not a link (regular file, fifo, device...)
  FolderLink,  // a symbolic link whose target is a directory
  OtherLink,   // a symbolic link to a file, or a dangling one
};

struct Entry {
  std::string name;  // raw bytes as the file system holds them, never "." or ".."
  EntryKind kind;
};

// Decides, while a folder is read, which entries a listing keeps. Entries
// left out cost neither a copy nor a place in the sort.
using EntryFilter = std::function<bool(std::string_view name, EntryKind kind)>;

// The fixed listing order: names compared case-insensitively by their
// Unicode upper case (code point by code point), ties broken by the exact
// name. The same on every file system, so lists are reproducible.
bool listedBefore(std::string_view a, std::string_view b);

// Sorts entries into the fixed listing order.
void sortEntries(std::vector<Entry>& entries);

// The chain of folders from a start folder down to the folder being walked.
// Each level is opened relative to the one above, and only a bounded number
// of levels is held open at once (a level whose handle was given up is
// reopened from the nearest open one when it is needed again), so a chain
// thousands of levels deep needs no more than a few dozen file descriptors.
class FolderChain {
 public:
  FolderChain();
  ~FolderChain();
  FolderChain(const FolderChain&) = delete;
  FolderChain& operator=(const FolderChain&) = delete;

  // Starts a new chain at `path` (an absolute or relative path). Returns
  // false when the folder cannot be opened; the chain is then empty.
  bool start(const std::string& path);

  // Goes one level down into the sub-folder `name` of the current folder.
  // Always adds a level (so that every enter is matched by one leave);
  // returns false when that folder cannot be opened, in which case listing
  // it fails.
  bool enter(const std::string& name);

  // Goes back up one level.
  void leave();

  // Number of levels; 1 right after a successful start.
  std::size_t depth() const { return levels_.size(); }

  // Lists the current folder into `out` (cleared first) in the fixed order,
  // keeping only the entries `keep` accepts (all when it is empty). With
  // resolveLinks false every link is reported as OtherLink without looking
  // at its target. Returns false when the folder cannot be listed (it
  // vanished, is unreadable, or could not be opened); `out` is then empty.
  bool list(std::vector<Entry>& out, bool resolveLinks, const EntryFilter& keep = {});

 private:
  struct Level {
    std::string name;  // name within the level above; the path for level 0
    int fd = -1;       // open handle, or -1 when given up or failed
    bool failed = false;
    bool listed = false;  // read before: rewind first
  };
  int handleOf(std::size_t level);
  void limitOpenHandles(std::size_t keep);

  std::vector<Level> levels_;
  std::vector<char> buffer_;
  std::size_t openCount_ = 0;
  std::size_t firstOpen_ = 1;  // levels 1 to firstOpen_ - 1 hold no handle
};

// Lists the folder at `path` into `out` in the fixed order; false when it
// cannot be listed.
bool listFolder(const std::string& path, std::vector<Entry>& out, bool resolveLinks,
                const EntryFilter& keep = {});

// The separator between folder names in paths and list lines.
inline constexpr char kSeparator = '/';

}  // namespace platform
