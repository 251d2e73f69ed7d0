// An opened folder: the piece of the operating system that the tree reader
// (walk/tree_reader.h) uses to open and list folders, from any thread. One
// implementation per system: folder_handle_posix.cpp (a directory handle,
// sub-folders opened relative to it, getdents64) and folder_handle_win.cpp
// (the folder's long \\?\ path, FindFirstFileExW).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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
// left out cost neither a copy nor a place in the sort. Called from the
// threads of the read-ahead too.
using EntryFilter = std::function<bool(std::string_view name, EntryKind kind)>;

// What a listing keeps.
struct ListFilter {
  EntryFilter keep;           // the entries kept; all when empty
  bool resolveLinks = false;  // POSIX: tell links to folders from other links
                              // (one more look per link); Windows knows it anyway
};

// Why opening or listing a folder failed. Every step from the system call
// up to the run's outcome returns one of these as its value; nothing on
// that way throws, returns a null or a sentinel, or is asked afterwards.
enum class Failure : std::uint8_t {
  None,
  Denied,     // may not be listed for its rights, or is gone (vanished, no
              // longer a folder, a link): an end point, silently
  Short,      // the system had no handle or memory left for the moment:
              // worth another try
  Broken,     // any other error (I/O, a share's lost connection): the
              // folder's contents are missing from the list
  NoMemory,   // this program ran out of memory: the run ends
  Cancelled,  // the walk was cancelled: the run ends
};

class FolderHandle {
 public:
  FolderHandle() = default;
  ~FolderHandle();
  FolderHandle(FolderHandle&& other) noexcept;
  FolderHandle& operator=(FolderHandle&& other) noexcept;
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;

  // Opens the start folder `path` into `out`, which may itself be reached
  // through a link, and may be longer than the system's path limit.
  static Failure openStart(const std::string& path, FolderHandle& out);

  // Opens the sub-folder `name` of this folder into `out`; a link is never
  // followed.
  Failure openChild(const std::string& name, FolderHandle& out) const;

  // Lists this folder into `out` (cleared first), in the order the file
  // system gives, keeping what `filter` keeps; `out` is empty after a
  // failure. A handle is listed at most once: to try again, open the
  // folder again.
  Failure list(std::vector<Entry>& out, const ListFilter& filter) const;

  bool isOpen() const;

  friend std::vector<std::string> mountsBelow(const FolderHandle& folder);

 private:
#ifdef _WIN32
  std::wstring path_;  // long form, without a trailing separator
#else
  int fd_ = -1;
#endif
};

// Why a start folder that could not be listed failed: it does not exist
// (also: a path one of whose parts is not a folder), it is something other
// than a folder, or it exists and may not be listed.
enum class StartFailure { missing, notFolder, noAccess };
StartFailure whyStartFailed(const std::string& path);

// Whether `path` lies on a network share or a user-space file system, where
// every request waits for a reply.
bool onShare(const std::string& path);

// `path` as a whole path, the form a start folder's entries carry: a
// relative path taken from the current folder, "." and ".." steps and
// doubled separators resolved by their names alone, as a shell's cd does,
// a trailing separator kept. The file system is not asked (a share may not
// answer). Unchanged when the current folder is not known, and on Windows
// a \\?\ path.
std::string fullPath(const std::string& path);

// The folders strictly below the open `folder` on which another file
// system is mounted, as paths relative to it, names joined by kSeparator.
// Found in the system's tables, without touching any folder by its path: a
// share that does not answer stalls whoever opens or looks at its folder.
// None on Windows, where a volume mounted in a folder is a reparse point,
// which the walks never enter.
std::vector<std::string> mountsBelow(const FolderHandle& folder);

// What the calling thread has spent since it started, as far as the
// system counts it cheaply (-1 where it does not): how often the thread
// blocked (POSIX: voluntary context switches; a listing that blocked
// waited for the device or a server, one from the page cache does not
// block), and its processor time (Windows, which does not count blocks).
struct ThreadWork {
  std::int64_t blocks = -1;
  double cpuSeconds = -1;
};
ThreadWork threadWork();

// The time the machine's processors have been idle, summed over them, in
// seconds from a fixed origin (-1 where the system does not tell). Two
// readings tell how many processors nobody wanted in between: whether a
// reader beside the walk would find one free.
double idleProcessorSeconds();

// How many handles a tree reader may hold open at once, its readers' and
// the ones it keeps for later together: on POSIX half of the handles the
// open-file limit leaves free, so that the rest of the program (display
// connection, clipboard, libraries) keeps ample room; on Windows no limit
// (a handle is a path).
std::size_t handleBudget();

// Whether the process's address space or data is limited (POSIX ulimit -v,
// -d); never on Windows.
bool addressSpaceLimited();

// The separator between folder names in paths and list lines.
#ifdef _WIN32
inline constexpr char kSeparator = '\\';
// The quotes a copied path may come enclosed in ("copy as path" gives
// double quotes; a Windows name cannot hold one).
inline constexpr const char* kPathQuotes = "\"";
#else
inline constexpr char kSeparator = '/';
// The quotes a copied path may come enclosed in (a file manager or a shell
// gives double or single quotes).
inline constexpr const char* kPathQuotes = "\"'";
#endif

// The end of every line of the list: a single carriage return on Windows;
// a line feed on POSIX, the text convention that every consumer there
// expects (wc -l, grep, editors, terminals).
#ifdef _WIN32
inline constexpr char kLineEnd = '\r';
#else
inline constexpr char kLineEnd = '\n';
#endif

}  // namespace platform
