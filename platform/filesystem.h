// Folder listing for the walks: one folder's entries at a time, in a fixed
// order (text/listing_order.h), with folders reached relative to their
// parent so that trees of any depth and paths of any length can be walked.
// One implementation per platform: folder_handle_posix.cpp (getdents64 on
// handles opened relative to the parent) and folder_handle_win.cpp
// (FindFirstFileExW on long \\?\ paths).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What a directory entry is. Links (POSIX symbolic links, Windows reparse
// points such as junctions) are never followed into.
enum class EntryKind : std::uint8_t {
  Folder,        // a real folder the walks enter
  HiddenFolder,  // a real folder the platform hides: POSIX a name that begins
                 // with ".", Windows the hidden or system attribute
  File,          // anything else that is not a link (regular file, fifo, device...)
  FolderLink,    // a link whose target is a folder (a junction on Windows)
  OtherLink,     // a link to a file, or a dangling one
};

struct Entry {
  // The name as the file system holds it, never "." or "..": POSIX the raw
  // bytes; Windows the UTF-16 name in UTF-8, a lone surrogate as its
  // three-byte form, so that every name converts back exactly.
  std::string name;
  EntryKind kind;
};

// Decides, while a folder is read, which entries a listing keeps. Entries
// left out cost neither a copy nor a place in the sort.
using EntryFilter = std::function<bool(std::string_view name, EntryKind kind)>;

// The chain of folders from a start folder down to the folder being walked.
// Each level is reached from the one above, and only a bounded number of
// system handles is held at once, so a chain thousands of levels deep needs
// no more than a few dozen of them.
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
  std::size_t depth() const;

  // Lists the current folder into `out` (cleared first) in the fixed order,
  // keeping only the entries `keep` accepts (all when it is empty). With
  // resolveLinks false a link may be reported as OtherLink without looking
  // at its target. Returns false when the folder cannot be listed (it
  // vanished, is unreadable, or could not be opened); `out` is then empty.
  bool list(std::vector<Entry>& out, bool resolveLinks, const EntryFilter& keep = {});

 private:
  struct State;  // per platform: handles or paths of the levels
  std::unique_ptr<State> state_;
};

// How a walk reads its folders. With readers > 0 that many threads read
// folder listings ahead of the walk, at most `window` listings in flight or
// waiting to be taken at once, and with walkReads the walk's own thread
// reads a folder it needs that no reader has started (on a local disk; on a
// share a read may hang, and the walk's thread must keep its window alive).
// With readers = 0 every folder is read on the walk's own thread when the
// walk comes to it.
struct ReadAhead {
  unsigned readers = 0;
  std::size_t window = 0;
  bool walkReads = false;
};

// The read-ahead that suits the file system holding `path`: many readers
// on a network share or a user-space file system, where each request waits
// for a round trip, and few on a local disk.
ReadAhead readAheadFor(const std::string& path);

// Reads a folder tree for a walk that goes through it depth first, each
// folder before its sub-folders and sub-folders in the fixed listing order.
// The walk sees every folder's listing exactly as FolderChain::list gives
// it, whether the listings are read ahead on other threads or one by one on
// the walk's thread. The sub-folders of a folder are the entries of kind
// Folder in its listing.
class TreeReader {
 public:
  // `resolveLinks` and `keep` are used for every listing, from the
  // threads of the read-ahead too: `keep` must be safe to call from them.
  // `levels` limits the descent as the walks' Ebenen does: 0 = all levels,
  // n > 0 = no sub-folder of a folder at level n is entered, n < 0 = none.
  // `whileWaiting` is called about every 20 ms while the walk waits for a
  // listing.
  TreeReader(ReadAhead how, bool resolveLinks, EntryFilter keep, std::int32_t levels,
             std::function<void()> whileWaiting);
  ~TreeReader();  // ends and joins every thread of the read-ahead
  TreeReader(const TreeReader&) = delete;
  TreeReader& operator=(const TreeReader&) = delete;

  // Lists the start folder `path` into `out`; false when it cannot be
  // listed. Called once.
  bool start(const std::string& path, std::vector<Entry>& out);

  // Goes down into the next sub-folder of the current folder that has not
  // been entered yet and lists it into `out` (empty, with `listed` false,
  // when it cannot be listed). Returns its name, or nullptr when the current
  // folder has none left or lies at the level limit.
  const std::string* enterNext(std::vector<Entry>& out, bool& listed);

  // Goes back up to the folder above the current one.
  void leave();

  class Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// Lists the folder at `path` into `out` in the fixed order; false when it
// cannot be listed.
bool listFolder(const std::string& path, std::vector<Entry>& out, bool resolveLinks,
                const EntryFilter& keep = {});

// The separator between folder names in paths and list lines.
#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

}  // namespace platform
