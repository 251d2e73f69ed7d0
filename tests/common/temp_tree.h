// Real folder trees in a temporary folder, for tests of the walks.
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

namespace testing_tree {

// A folder on a memory file system (tmpfs) where there is one, for trees
// of a hundred thousand folders; /tmp otherwise.
inline const char* speicherOrt() { return access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp"; }

class TempTree {
 public:
  // A new empty folder below `ort`.
  explicit TempTree(const std::string& ort = "/tmp") {
    std::string muster = ort + "/zweigschau-test-XXXXXX";
    if (mkdtemp(muster.data()) == nullptr) throw std::runtime_error("mkdtemp");
    root_ = muster;
    chmod(root_.c_str(), 0755);  // reachable for the unprivileged tests too
  }
  ~TempTree() {
    // rm walks relative to open folders, so it also removes chains deeper
    // than PATH_MAX; make everything writable first.
    const std::string q = "'" + root_ + "'";
    [[maybe_unused]] int rc = std::system(("chmod -R u+rwx " + q + " 2>/dev/null; rm -rf " + q).c_str());
  }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The root with a trailing separator, as the scan run hands it to a walk.
  std::string root() const { return root_ + "/"; }
  std::string path(const std::string& rel) const { return root_ + "/" + rel; }

  // Creates folders (and their parents), relative to the root.
  void folders(std::initializer_list<std::string> rels) const {
    for (const auto& rel : rels) mkdirs(rel);
  }
  void file(const std::string& rel, const std::string& inhalt = "") const {
    const int fd = open(path(rel).c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0) throw std::runtime_error("create " + rel);
    [[maybe_unused]] auto n = write(fd, inhalt.data(), inhalt.size());
    close(fd);
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

 private:
  void mkdirs(const std::string& rel) const {
    for (std::size_t pos = rel.find('/'); pos != std::string::npos; pos = rel.find('/', pos + 1))
      mkdir(path(rel.substr(0, pos)).c_str(), 0755);
    mkdir(path(rel).c_str(), 0755);
  }
  std::string root_;
};

// Runs `arbeit` in a child process and returns what it returned (and the
// signal, should the child be killed by one). With `niemand` the child runs
// without privileges (permission tests mean nothing as root): root drops to
// user and group "nobody", anyone else already is unprivileged. With
// `handles` > 0 it may hold at most that many open files.
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
