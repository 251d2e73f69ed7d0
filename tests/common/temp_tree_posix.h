// POSIX-only additions to the test trees: links, modes, chains deeper than
// PATH_MAX, and child processes with fewer rights or handles.
#pragma once

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <string>

#include "temp_tree.h"

namespace testing_tree {

// A folder on a memory file system (tmpfs) where there is one, for trees
// of a hundred thousand folders; /tmp otherwise.
inline const char* speicherOrt() { return access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp"; }

class PosixTree : public TempTree {
 public:
  PosixTree() = default;
  // A new empty folder below `ort`.
  explicit PosixTree(const std::string& ort) : TempTree(ort) {}
  ~PosixTree() override {
    // rm walks relative to open folders, so it also removes chains deeper
    // than PATH_MAX; make everything writable first.
    const std::string q = "'" + root_ + "'";
    [[maybe_unused]] int rc = std::system(("chmod -R u+rwx " + q + " 2>/dev/null; rm -rf " + q).c_str());
  }

  void link(const std::string& ziel, const std::string& rel) const {
    if (symlink(ziel.c_str(), path(rel).c_str()) != 0) throw std::runtime_error("symlink " + rel);
  }
  void mode(const std::string& rel, mode_t m) const { chmod(path(rel).c_str(), m); }

  // Creates a chain of `count` nested folders named `name` below `rel`,
  // working relative to open folders so the chain may exceed PATH_MAX.
  void chain(const std::string& rel, const std::string& name, int count) const {
    int fd = open(path(rel).c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < count && fd >= 0; ++i) {
      mkdirat(fd, name.c_str(), 0755);
      const int next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
      close(fd);
      fd = next;
    }
    if (fd < 0) throw std::runtime_error("chain");
    close(fd);
  }
};

// Runs `arbeit` in a child process and returns what it returned (and the
// signal, should the child be killed by one). With
// `niemand` the child runs without privileges (permission tests mean nothing
// as root): root drops to user and group "nobody", anyone else already is
// unprivileged. With `handles` > 0 it may hold at most that many open files.
inline std::string imKind(const std::function<std::string()>& arbeit, bool niemand, int handles = 0) {
  int rohr[2];
  if (pipe(rohr) != 0) throw std::runtime_error("pipe");
  const pid_t kind = fork();
  if (kind == 0) {
    close(rohr[0]);
    std::string ergebnis = "cannot drop privileges";
    if (handles > 0) {
      rlimit grenze{static_cast<rlim_t>(handles), static_cast<rlim_t>(handles)};
      setrlimit(RLIMIT_NOFILE, &grenze);
    }
    if (!niemand || geteuid() != 0 ||
        (setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0))
      ergebnis = arbeit();
    [[maybe_unused]] auto n = write(rohr[1], ergebnis.data(), ergebnis.size());
    _exit(0);
  }
  close(rohr[1]);
  std::string ergebnis;
  char puffer[4096];
  for (ssize_t n; (n = read(rohr[0], puffer, sizeof puffer)) > 0;) ergebnis.append(puffer, n);
  close(rohr[0]);
  int status = 0;
  waitpid(kind, &status, 0);
  if (WIFSIGNALED(status)) ergebnis += "[killed by signal " + std::to_string(WTERMSIG(status)) + "]";
  return ergebnis;
}

}  // namespace testing_tree
