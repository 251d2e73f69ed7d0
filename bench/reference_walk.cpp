#include "bench/reference_walk.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

namespace zsbench {
namespace {

struct LinuxDirent64 {
  ino64_t d_ino;
  off64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
  char d_name[];
};

bool endsInMp3(std::string_view name) {
  if (name.size() < 4) return false;
  std::string_view ext = name.substr(name.size() - 4);
  return ext[0] == '.' && (ext[1] | 0x20) == 'm' && (ext[2] | 0x20) == 'p' && ext[3] == '3';
}

class Walker {
 public:
  Walker(ReferenceResult& result, bool mp3Lines) : r_(result), mp3Lines_(mp3Lines), buf_(64 * 1024) {}

  // Lists the folder open as `fd` (whose path is path_), emits its line(s),
  // then walks its sub-folders. Takes ownership of fd.
  void walk(int fd, std::size_t depth, bool isStart) {
    if (subs_.size() <= depth) subs_.resize(depth + 1);
    std::vector<std::string>& subs = subs_[depth];
    subs.clear();
    files_.clear();
    list(fd, subs);
    ++r_.folders;
    if (!isStart && subs.empty()) ++r_.ends;
    emit();
    std::sort(subs.begin(), subs.end());
    std::size_t keep = path_.size();
    for (const std::string& name : subs) {
      int sub = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      if (sub < 0) continue;
      path_.append(name).push_back('/');
      walk(sub, depth + 1, false);
      path_.resize(keep);
    }
    close(fd);
  }

  std::string path_;

 private:
  void list(int fd, std::vector<std::string>& subs) {
    for (;;) {
      long n = syscall(SYS_getdents64, fd, buf_.data(), buf_.size());
      if (n <= 0) return;
      for (long off = 0; off < n;) {
        auto* d = reinterpret_cast<LinuxDirent64*>(buf_.data() + off);
        off += d->d_reclen;
        const char* name = d->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
        unsigned char type = d->d_type;
        if (type == DT_UNKNOWN) {
          struct stat st;
          if (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
          type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISLNK(st.st_mode) ? DT_LNK : DT_REG;
        }
        if (type == DT_DIR) {
          if (name[0] != '.') subs.emplace_back(name);
        } else if (mp3Lines_ && type != DT_LNK && endsInMp3(name)) {
          files_.emplace_back(name);
        }
      }
    }
  }

  void emit() {
    if (!mp3Lines_) {
      r_.text.append(path_).push_back('\n');
      ++r_.lines;
      return;
    }
    std::sort(files_.begin(), files_.end());
    for (const std::string& f : files_) {
      r_.text.append(path_).append("\t").append(f).push_back('\n');
      ++r_.lines;
    }
  }

  ReferenceResult& r_;
  bool mp3Lines_;
  std::vector<char> buf_;
  std::vector<std::vector<std::string>> subs_;  // sub-folder names per depth, reused
  std::vector<std::string> files_;
};

}  // namespace

ReferenceResult referenceWalk(const std::string& start, bool mp3Lines) {
  ReferenceResult result;
  int fd = open(start.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return result;
  result.ok = true;
  Walker w(result, mp3Lines);
  w.path_ = start;
  w.walk(fd, 0, true);
  return result;
}

}  // namespace zsbench
