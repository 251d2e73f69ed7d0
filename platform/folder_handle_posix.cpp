// POSIX folder listing: raw getdents64 on handles opened relative to the
// parent folder, the entry type taken from the directory entry whenever the
// file system provides it.
#include "platform/filesystem.h"

#include <dirent.h>
#include <sys/resource.h>
#include <sys/vfs.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>

#include "platform/folder_handle.h"
#include "text/listing_order.h"

namespace platform {
namespace {

constexpr int kOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;
constexpr std::size_t kMaxOpenHandles = 48;
constexpr std::size_t kBufferSize = 64 * 1024;

EntryKind kindOf(int dirFd, const char* name, unsigned char type, bool resolveLinks,
                 bool& exists) {
  exists = true;
  struct stat st;
  if (type == DT_UNKNOWN) {
    if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
      exists = false;  // vanished between listing and looking
      return EntryKind::File;
    }
    type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
  }
  if (type == DT_DIR) return name[0] == '.' ? EntryKind::HiddenFolder : EntryKind::Folder;
  if (type != DT_LNK) return EntryKind::File;
  if (resolveLinks && fstatat(dirFd, name, &st, 0) == 0 && S_ISDIR(st.st_mode))
    return EntryKind::FolderLink;
  return EntryKind::OtherLink;
}

// Opens `path` as open() would, also when the whole path is longer than
// one open() may take: it is opened piece by piece, each piece a run of
// whole names, relative to the folder the pieces before it led to. Within
// and between pieces links are followed and ".." goes up from where they
// led, exactly as path resolution does for the whole path.
int openLongPath(const std::string& path, int flags) {
  constexpr std::size_t kPiece = PATH_MAX / 2;
  int dir = AT_FDCWD;
  std::size_t begin = 0;
  while (begin != std::string::npos && path.size() - begin > kPiece) {
    const std::size_t end = path.rfind('/', begin + kPiece);
    if (end == std::string::npos || end < begin) break;  // no name is this long
    // Only search rights are needed on the way, as for a whole path.
    const int next = openat(dir, path.substr(begin, end + 1 - begin).c_str(),
                            O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dir != AT_FDCWD) close(dir);
    if (next < 0) return -1;
    dir = next;
    begin = path.find_first_not_of('/', end);  // a piece never starts at the root
  }
  const char* rest = begin == std::string::npos ? "." : path.c_str() + begin;
  const int fd = openat(dir, rest, flags);
  if (dir != AT_FDCWD) close(dir);
  return fd;
}

// Lists the folder open as `fd` into `out` in the fixed order. Returns 0,
// or the errno of the read that failed (`out` is then empty).
int listOpenFolder(int fd, std::vector<char>& buffer, std::vector<Entry>& out, bool resolveLinks,
                   const EntryFilter& keep) {
  out.clear();
  for (;;) {
    const ssize_t got = getdents64(fd, buffer.data(), buffer.size());
    if (got == 0) break;
    if (got < 0) {
      out.clear();
      return errno;
    }
    for (ssize_t at = 0; at < got;) {
      const auto* entry = reinterpret_cast<const struct dirent64*>(buffer.data() + at);
      at += entry->d_reclen;
      const char* name = entry->d_name;
      if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
      bool exists;
      const EntryKind kind = kindOf(fd, name, entry->d_type, resolveLinks, exists);
      if (exists && (!keep || keep(name, kind))) out.push_back({std::string(name), kind});
    }
  }
  text::sortEntries(out);
  return 0;
}

}  // namespace

struct FolderChain::State {
  struct Level {
    std::string name;  // name within the level above; the path for level 0
    int fd = -1;       // open handle, or -1 when given up or failed
    bool failed = false;
    bool listed = false;  // read before: rewind first
  };
  int handleOf(std::size_t level);
  void limitOpenHandles(std::size_t keep);

  std::vector<Level> levels_;
  std::vector<char> buffer_ = std::vector<char>(kBufferSize);
  std::size_t openCount_ = 0;
  std::size_t firstOpen_ = 1;  // levels 1 to firstOpen_ - 1 hold no handle
};

FolderChain::FolderChain() : state_(std::make_unique<State>()) {}

FolderChain::~FolderChain() {
  while (!state_->levels_.empty()) leave();
}

std::size_t FolderChain::depth() const { return state_->levels_.size(); }

bool FolderChain::start(const std::string& path) {
  while (!state_->levels_.empty()) leave();
  auto& levels_ = state_->levels_;
  // The start folder may itself be reached through a link; links met
  // inside the tree are never followed.
  int fd = open(path.c_str(), kOpenFlags & ~O_NOFOLLOW);
  if (fd < 0 && errno == ENAMETOOLONG) fd = openLongPath(path, kOpenFlags & ~O_NOFOLLOW);
  if (fd < 0) return false;
  levels_.push_back({path, fd, false});
  state_->openCount_ = 1;
  state_->firstOpen_ = 1;
  return true;
}

bool FolderChain::enter(const std::string& name) {
  auto& levels_ = state_->levels_;
  const int parent = levels_.empty() ? -1 : state_->handleOf(levels_.size() - 1);
  levels_.push_back({name, -1, false});
  const int fd = parent < 0 ? -1 : openat(parent, name.c_str(), kOpenFlags);
  if (fd < 0) {
    levels_.back().failed = true;
    return false;
  }
  levels_.back().fd = fd;
  ++state_->openCount_;
  state_->firstOpen_ = std::min(state_->firstOpen_, levels_.size() - 1);
  state_->limitOpenHandles(levels_.size() - 1);
  return true;
}

void FolderChain::leave() {
  auto& levels_ = state_->levels_;
  if (levels_.empty()) return;
  if (levels_.back().fd >= 0) {
    close(levels_.back().fd);
    --state_->openCount_;
  }
  levels_.pop_back();
}

// The handle of `level`, reopening it from the nearest open level above it
// when it was given up to save handles.
int FolderChain::State::handleOf(std::size_t level) {
  Level& target = levels_[level];
  if (target.fd >= 0 || target.failed) return target.fd;
  std::size_t open = level;
  while (open > 0 && levels_[open].fd < 0) --open;
  if (levels_[open].fd < 0) return -1;
  int fd = levels_[open].fd;
  for (std::size_t k = open + 1; k <= level; ++k) {
    const int next = openat(fd, levels_[k].name.c_str(), kOpenFlags);
    if (fd != levels_[open].fd) close(fd);
    fd = next;
    if (fd < 0) {
      target.failed = true;
      return -1;
    }
  }
  target.fd = fd;
  ++openCount_;
  firstOpen_ = std::min(firstOpen_, level);
  limitOpenHandles(level);
  return fd;
}

// Gives up the handles nearest the start (never level 0, never `keep` or the
// level right above it) until at most kMaxOpenHandles are open. The search
// starts behind the levels known to hold none, so that going one level
// deeper costs the same at any depth.
void FolderChain::State::limitOpenHandles(std::size_t keep) {
  std::size_t i = std::max<std::size_t>(firstOpen_, 1);
  for (; openCount_ > kMaxOpenHandles && i + 1 < keep; ++i) {
    if (levels_[i].fd < 0) continue;
    close(levels_[i].fd);
    levels_[i].fd = -1;
    --openCount_;
  }
  firstOpen_ = std::max(firstOpen_, i);
}

bool FolderChain::list(std::vector<Entry>& out, bool resolveLinks, const EntryFilter& keep) {
  out.clear();
  auto& levels_ = state_->levels_;
  if (levels_.empty()) return false;
  State::Level& level = levels_.back();
  const int fd = state_->handleOf(levels_.size() - 1);
  if (fd < 0 || (level.listed && lseek(fd, 0, SEEK_SET) < 0)) return false;
  level.listed = true;
  return listOpenFolder(fd, state_->buffer_, out, resolveLinks, keep) == 0;
}

bool listFolder(const std::string& path, std::vector<Entry>& out, bool resolveLinks,
                const EntryFilter& keep) {
  FolderChain chain;
  if (!chain.start(path)) {
    out.clear();
    return false;
  }
  return chain.list(out, resolveLinks, keep);
}

namespace {

FolderHandle::Failure failureOf(int error) {
  switch (error) {
    case 0: return FolderHandle::Failure::None;
    case EMFILE: case ENFILE: case ENOMEM: case EINTR: case EAGAIN: return FolderHandle::Failure::Transient;
    default: return FolderHandle::Failure::Lasting;
  }
}

}  // namespace

FolderHandle::~FolderHandle() {
  if (fd_ >= 0) close(fd_);
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

FolderHandle FolderHandle::openStart(const std::string& path, Failure& failure) {
  FolderHandle handle;
  handle.fd_ = open(path.c_str(), kOpenFlags & ~O_NOFOLLOW);
  if (handle.fd_ < 0 && errno == ENAMETOOLONG) handle.fd_ = openLongPath(path, kOpenFlags & ~O_NOFOLLOW);
  failure = handle.fd_ < 0 ? failureOf(errno) : Failure::None;
  return handle;
}

FolderHandle FolderHandle::openChild(const std::string& name, Failure& failure) const {
  FolderHandle handle;
  handle.fd_ = fd_ < 0 ? -1 : openat(fd_, name.c_str(), kOpenFlags);
  failure = handle.fd_ < 0 ? (fd_ < 0 ? Failure::Lasting : failureOf(errno)) : Failure::None;
  return handle;
}

bool FolderHandle::list(std::vector<Entry>& out, bool resolveLinks, const EntryFilter& keep,
                        Failure& failure) const {
  thread_local std::vector<char> buffer(kBufferSize);
  out.clear();
  if (fd_ < 0) {
    failure = Failure::Lasting;
    return false;
  }
  failure = failureOf(listOpenFolder(fd_, buffer, out, resolveLinks, keep));
  return failure == Failure::None;
}

bool FolderHandle::isOpen() const { return fd_ >= 0; }

// The number of handles this process has open, as far as it can tell.
std::size_t openHandles() {
  std::size_t count = 0;
  if (DIR* fds = opendir("/proc/self/fd")) {
    while (readdir(fds) != nullptr) ++count;
    closedir(fds);
    return count > 3 ? count - 3 : 0;  // ".", ".." and the listing's own
  }
  return 16;
}

std::size_t handleBudget() {
  struct rlimit limit;
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return 512;
  const std::size_t open = openHandles();
  const std::size_t free = limit.rlim_cur > open ? static_cast<std::size_t>(limit.rlim_cur) - open : 0;
  return std::min<std::size_t>(512, free / 2);
}

bool onShare(const std::string& path) {
  struct statfs fs;
  bool remote = false;
  if (statfs(path.c_str(), &fs) == 0) {
    switch (static_cast<unsigned long>(fs.f_type)) {
      case 0x65735546:  // FUSE (sshfs, gvfs shares, rclone...)
      case 0x6969:      // NFS
      case 0x517B:      // SMB
      case 0xFF534D42:  // CIFS
      case 0xFE534D42:  // SMB2
      case 0x01021997:  // 9P
      case 0x00C36400:  // Ceph
      case 0x5346414F:  // AFS
      case 0x73757245:  // Coda
        remote = true;
        break;
      default:
        break;
    }
  }
  return remote;
}

}  // namespace platform
