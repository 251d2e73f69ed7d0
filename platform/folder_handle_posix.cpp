// POSIX folder handles: raw getdents64 on handles opened relative to the
// parent folder, the entry type taken from the directory entry whenever the
// file system provides it.
#include "platform/folder_handle.h"

#include <dirent.h>
#include <sys/resource.h>
#include <sys/vfs.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>


namespace platform {
namespace {

constexpr int kOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;
constexpr std::size_t kBufferSize = 64 * 1024;
// The most handles a walk holds open, however high the open-file limit:
// room for the most readers a pace keeps busy (64) and the folders kept
// for later above them; more would only hold kernel memory.
constexpr std::size_t kMostHandles = 512;
// What a process has open when /proc cannot tell: the standard streams and
// the few a library opens at start, generously.
constexpr std::size_t kOpenHandlesGuess = 16;

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

// Lists the folder open as `fd` into `out`. Returns 0, or the errno of the
// read that failed (`out` is then empty).
int listOpenFolder(int fd, std::vector<char>& buffer, std::vector<Entry>& out, const ListFilter& filter) {
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
      const EntryKind kind = kindOf(fd, name, entry->d_type, filter.resolveLinks, exists);
      if (exists && (!filter.keep || filter.keep(name, kind))) out.push_back({std::string(name), kind});
    }
  }
  return 0;
}

}  // namespace

namespace {

// Rights and folders that are gone leave an end point; a lack of handles
// or memory may pass; anything else (EIO, ENOTCONN, ETIMEDOUT, EHOSTDOWN,
// ESTALE...) is an error that leaves the list short.
Failure failureOf(int error) {
  switch (error) {
    case 0: return Failure::None;
    case EACCES: case EPERM: case ENOENT: case ENOTDIR: case ELOOP: return Failure::Denied;
    case EMFILE: case ENFILE: case ENOMEM: case EINTR: case EAGAIN: return Failure::Short;
    default: return Failure::Broken;
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

Failure FolderHandle::openStart(const std::string& path, FolderHandle& out) {
  out = FolderHandle();
  out.fd_ = open(path.c_str(), kOpenFlags & ~O_NOFOLLOW);
  if (out.fd_ < 0 && errno == ENAMETOOLONG) out.fd_ = openLongPath(path, kOpenFlags & ~O_NOFOLLOW);
  return out.fd_ < 0 ? failureOf(errno) : Failure::None;
}

Failure FolderHandle::openChild(const std::string& name, FolderHandle& out) const {
  out = FolderHandle();
  if (fd_ < 0) return Failure::Denied;
  out.fd_ = openat(fd_, name.c_str(), kOpenFlags);
  return out.fd_ < 0 ? failureOf(errno) : Failure::None;
}

Failure FolderHandle::list(std::vector<Entry>& out, const ListFilter& filter) const {
  thread_local std::vector<char> buffer(kBufferSize);
  out.clear();
  if (fd_ < 0) return Failure::Denied;
  return failureOf(listOpenFolder(fd_, buffer, out, filter));
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
  return kOpenHandlesGuess;
}

namespace {

// A mount table field with its escapes ("\040" for a blank) decoded.
std::string unescapeMountField(const std::string& field) {
  const auto octal = [&](std::size_t i) { return i < field.size() && field[i] >= '0' && field[i] <= '7'; };
  std::string text;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
      text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
      i += 3;
    } else {
      text += field[i];
    }
  }
  return text;
}

}  // namespace

std::string fullPath(const std::string& path) {
  std::string whole = path;
  if (whole.empty() || whole[0] != '/') {
    char* here = getcwd(nullptr, 0);
    if (here == nullptr) return path;
    whole = std::string(here) + '/' + path;
    std::free(here);
  }
  std::vector<std::string> names;
  std::istringstream steps(whole);
  for (std::string name; std::getline(steps, name, '/');) {
    if (name == "..") {
      if (!names.empty()) names.pop_back();
    } else if (!name.empty() && name != ".") {
      names.push_back(name);
    }
  }
  std::string result;
  for (const std::string& name : names) result += '/' + name;
  if (result.empty() || path.back() == '/') result += '/';
  return result;
}

std::vector<std::string> mountsBelow(const FolderHandle& folder) {
  std::vector<std::string> below;
  // The folder's whole path, as the system keeps it with the handle.
  std::string start(PATH_MAX, '\0');
  const ssize_t length = folder.fd_ < 0 ? -1
      : readlink(("/proc/self/fd/" + std::to_string(folder.fd_)).c_str(), start.data(), start.size());
  if (length <= 0 || static_cast<std::size_t>(length) >= start.size() || start[0] != '/') return below;
  start.resize(static_cast<std::size_t>(length));
  if (start.back() != '/') start += '/';
  std::ifstream table("/proc/self/mountinfo");
  std::string line;
  while (std::getline(table, line)) {
    // "id parent major:minor root mount-point options ...": the fifth field.
    std::istringstream fields(line);
    std::string field;
    for (int i = 0; i < 5 && fields >> field; ++i) {
    }
    const std::string point = unescapeMountField(field);
    if (point.size() > start.size() && point.compare(0, start.size(), start) == 0)
      below.push_back(point.substr(start.size()));
  }
  return below;
}

ThreadWork threadWork() {
  // Not the processor time: getrusage splits it by clock ticks, and
  // asking for it precisely costs another system call.
  struct rusage usage;
  if (getrusage(RUSAGE_THREAD, &usage) != 0) return {};
  return {static_cast<std::int64_t>(usage.ru_nvcsw), -1};
}

double idleProcessorSeconds() {
  // The first line of /proc/stat: "cpu  user nice system idle iowait ...",
  // in clock ticks. A processor waiting for the device is free to run a
  // thread too.
  const int file = ::open("/proc/stat", O_RDONLY | O_CLOEXEC);
  if (file < 0) return -1;
  char text[256];
  const ssize_t got = ::read(file, text, sizeof text - 1);
  ::close(file);
  if (got <= 0) return -1;
  text[got] = '\0';
  unsigned long long ticks[5] = {};
  if (std::sscanf(text, "cpu %llu %llu %llu %llu %llu", &ticks[0], &ticks[1], &ticks[2], &ticks[3], &ticks[4]) != 5)
    return -1;
  const long perSecond = sysconf(_SC_CLK_TCK);
  return perSecond > 0 ? static_cast<double>(ticks[3] + ticks[4]) / perSecond : -1;
}

std::size_t handleBudget() {
  struct rlimit limit;
  if (getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return kMostHandles;
  const std::size_t open = openHandles();
  const std::size_t free = limit.rlim_cur > open ? static_cast<std::size_t>(limit.rlim_cur) - open : 0;
  return std::min(kMostHandles, free / 2);
}

bool addressSpaceLimited() {
  for (const int resource : {RLIMIT_AS, RLIMIT_DATA}) {
    struct rlimit limit;
    if (getrlimit(resource, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) return true;
  }
  return false;
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

namespace platform {

StartFailure whyStartFailed(const std::string& path) {
  std::string name = path;
  while (name.size() > 1 && name.back() == '/') name.pop_back();  // "x/" is no file
  int fd = open(name.c_str(), O_PATH | O_CLOEXEC);
  if (fd < 0 && errno == ENAMETOOLONG) fd = openLongPath(name, O_PATH | O_CLOEXEC);
  if (fd < 0) return errno == EACCES ? StartFailure::noAccess : StartFailure::missing;
  struct stat status {};
  const bool folder = fstat(fd, &status) == 0 && S_ISDIR(status.st_mode);
  close(fd);
  // A folder that is there but could not be listed: its rights forbid it.
  return folder ? StartFailure::noAccess : StartFailure::notFolder;
}

}  // namespace platform
