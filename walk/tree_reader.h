// The tree reader: the folder listings of a depth-first walk, each folder
// before its sub-folders and sub-folders in the fixed listing order, read
// either one by one on the walk's thread or ahead of the walk by reader
// threads. Both ways are the same code: the serial walk is the tree reader
// with no reader threads. Folders are opened relative to their parent's
// handle, or, when the handle budget made the parent give its handle up,
// from the nearest folder above that kept one, a name at a time, links
// never followed.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/folder_handle.h"

namespace zweigschau {

using platform::Entry;
using platform::EntryKind;

// The folders of a disk, as the tree reader opens and lists them: the
// system's (systemFolders) or, in tests, a fake. Every function may be
// called from several threads at once.
class Folders {
 public:
  using Failure = platform::Failure;

  // An opened folder; closed when destroyed.
  class Open {
   public:
    virtual ~Open() = default;
  };

  virtual ~Folders() = default;
  // Opens the start folder `path` into `out` (empty after a failure).
  virtual Failure openStart(const std::string& path, std::unique_ptr<Open>& out) const = 0;
  // Opens the sub-folder `name` of `parent` into `out`, never through a link.
  virtual Failure openChild(const Open& parent, const std::string& name,
                            std::unique_ptr<Open>& out) const = 0;
  // Lists `folder` into `out` in any order (empty after a failure). Each
  // opened folder is listed at most once.
  virtual Failure list(const Open& folder, std::vector<Entry>& out) const = 0;
  // How many folders may be open at once (see platform::handleBudget).
  virtual std::size_t handleBudget() const = 0;
  // The folders below the open `folder` on which another file system is
  // mounted, as paths relative to it (see platform::mountsBelow).
  virtual std::vector<std::string> mountsBelow(const Open& folder) const = 0;
};

// The system's folders, listed with `filter`.
std::shared_ptr<const Folders> systemFolders(platform::ListFilter filter);

// Lists the folder at `path` into `out` in the fixed order (empty after a
// failure).
platform::Failure listFolder(const std::string& path, std::vector<Entry>& out, const platform::ListFilter& filter);

// How the number of readers at work is set: fixed at `readers`, or by a
// ReadPace (read_pace.h) with `readers` as the most, found from the rate at
// which listings come back: on a share at once, on a disk only while the
// listings wait on the device (from the cache one reader works).
enum class Pacing : std::uint8_t { Fixed, Share, Disk };

// How a walk reads its folders. With readers > 0 up to that many threads
// read folder listings ahead of the walk, at most `window` listings in
// flight or waiting to be taken at once, and with walkReads the walk's own
// thread reads a folder it needs that no reader has started (on a local
// disk; on a share a read may hang, and the walk's thread must keep its
// window alive). With readers = 0 every folder is read on the walk's own
// thread when the walk comes to it.
struct ReadAhead {
  unsigned readers = 0;
  std::size_t window = 0;
  bool walkReads = false;
  Pacing pacing = Pacing::Fixed;
};

// The read-ahead for local disks and for shares (README, "Reading ahead",
// has the measurements behind them). A share is paced from up to 64
// readers: as many as the handle budget gives readers (512 handles at
// most, a quarter of them for readers at two handles each). A disk is paced
// from up to 16, half the depth of a disk's command queue (SATA's NCQ, which
// the rest of the system shares): on the disk measured, 32 in flight read a
// cold tree more slowly than 16, quiet or beside a busy loop; the
// handles not held for readers are kept for later, so that fewer folders
// are opened a name at a time from above. The window of 4,096 listings
// costs a few MiB at most and keeps even 64 readers fed.
inline constexpr unsigned kMostReaders = 64;
inline constexpr unsigned kMostDiskReaders = 16;
inline constexpr std::size_t kReadWindow = 4096;
inline constexpr ReadAhead kLocalReadAhead{kMostDiskReaders, kReadWindow, true, Pacing::Disk};
inline constexpr ReadAhead kRemoteReadAhead{kMostReaders, kReadWindow, false, Pacing::Share};

// The read-ahead that suits the file system holding `path`: a share's
// (a network share or a user-space file system, where each request waits
// for a round trip) or a disk's. ZWEIGSCHAU_READ_AHEAD=
// READERS[,WINDOW[,share|local]] sets it by hand, unpaced.
ReadAhead readAheadFor(const std::string& path);

// How a tree reader goes through its tree.
struct TreeReaderOptions {
  ReadAhead how{};
  // The descent as the walks' Ebenen limits it: 0 = all levels, n > 0 = no
  // sub-folder of a folder at level n is entered, n < 0 = none.
  std::int32_t levels = 0;
  // Called on the walk's thread about every 5 ms while it waits for a
  // listing.
  std::function<void()> whileWaiting{};
  // When set (from any thread), the walk ends: the reader gives no more
  // folders, within about 5 ms even while a reader thread is blocked.
  const std::atomic<bool>* cancel = nullptr;
};

// Reads a folder tree for a walk. The walk sees every folder's listing in
// the fixed order, whether read ahead or one by one. With reader threads,
// the walk's thread never opens or lists a folder on which another file
// system is mounted below the start folder, nor anything below it: a share
// there may not answer, and the walk's thread must stay free to keep the
// window alive and see a cancel. The sub-folders of a
// folder are the entries of kind Folder in its listing. Used by one thread,
// the walk's; the reader threads are its own. Ending it never waits for a
// reader inside a system call: such a reader is left to end when its call
// returns, and the process may end meanwhile.
class TreeReader {
 public:
  TreeReader(std::shared_ptr<const Folders> folders, TreeReaderOptions options);
  ~TreeReader();
  TreeReader(const TreeReader&) = delete;
  TreeReader& operator=(const TreeReader&) = delete;

  // Lists the start folder `path` into `out`. Failure::None, or why it
  // could not be listed (Denied, Short, Broken), or NoMemory, Cancelled.
  // Called once.
  platform::Failure start(const std::string& path, std::vector<Entry>& out);

  // The folder enterNext went down into, and how its listing went.
  struct Step {
    // Its name; nullptr when the current folder has no sub-folder left, lies
    // at the level limit, or the walk ends (`failure` NoMemory or Cancelled).
    const std::string* name = nullptr;
    // None: listed. Denied: an end point, silently. Short or Broken: an end
    // point whose contents are missing from the list.
    platform::Failure failure = platform::Failure::None;
  };

  // Goes down into the next sub-folder of the current folder that has not
  // been entered yet and lists it into `out` (empty when it cannot be
  // listed).
  Step enterNext(std::vector<Entry>& out);

  // Goes back up to the folder above the current one.
  void leave();

  class Engine;

 private:
  std::unique_ptr<Engine> engine_;
};

}  // namespace zweigschau
