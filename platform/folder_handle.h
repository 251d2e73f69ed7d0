// An opened folder that any thread may list and open sub-folders from: the
// piece of the platform that the tree reader's threads use. One
// implementation per platform, beside FolderChain (folder_handle_posix.cpp:
// a directory handle; folder_handle_win.cpp: the folder's long path).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/filesystem.h"

namespace platform {

class FolderHandle {
 public:
  // Why an open or a listing failed. Transient failures (no handle or no
  // memory left for the moment) may succeed when tried again; the others
  // will not (the folder is missing, unreadable, not a folder, a link).
  enum class Failure { None, Lasting, Transient };

  FolderHandle() = default;
  ~FolderHandle();
  FolderHandle(FolderHandle&& other) noexcept;
  FolderHandle& operator=(FolderHandle&& other) noexcept;
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;

  // Opens the start folder `path`, which may itself be reached through a
  // link, as FolderChain::start does.
  static FolderHandle openStart(const std::string& path, Failure& failure);

  // Opens the sub-folder `name` of this folder; a link is never followed.
  FolderHandle openChild(const std::string& name, Failure& failure) const;

  // Lists this folder as FolderChain::list lists the current folder. A
  // handle is listed at most once: to try again, open the folder again.
  bool list(std::vector<Entry>& out, bool resolveLinks, const EntryFilter& keep,
            Failure& failure) const;

  bool isOpen() const;

 private:
#ifdef _WIN32
  std::wstring path_;  // long form, without a trailing separator
#else
  int fd_ = -1;
#endif
};

// The read-ahead for local disks and for shares (see readAheadFor), chosen
// by measurement (scripts/bench, scripts/bench slow; 2 cores).
// A local disk: listing a folder costs the processor, not waiting, so one
// reader beside the walk, which reads too, keeps both cores busy; a second
// reader only adds switching (400,000 folders on tmpfs: serial 2.15 s, one
// reader 1.38 s, two and three readers slower than one).
// A share: every request waits for a round trip, so many readers keep
// many requests in flight; 32 took a 10,000-folder tree at 0.5 ms from
// 32.7 s to 1.8 s, 64 gained little more. The window of 4,096 listings costs
// a few MiB at most and never held the readers back; below 256 they stall.
inline constexpr ReadAhead kLocalReadAhead{1, 4096, true};
inline constexpr ReadAhead kRemoteReadAhead{32, 4096, false};

// Whether `path` lies on a network share or a user-space file system, where
// every request waits for a reply.
bool onShare(const std::string& path);

// How many handles a tree reader may hold open at once, its readers' and
// the ones it keeps for later together: on POSIX half of the handles the
// open-file limit leaves free, so that the rest of the program (display
// connection, clipboard, libraries) keeps ample room; on Windows no limit
// (a handle is a path).
std::size_t handleBudget();

}  // namespace platform
