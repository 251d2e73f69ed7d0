// The program's side of keeping the clipboard: start a detached helper,
// send it the text through a socket, wait (bounded) for its answer.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "platform/clipboard_display_x11_wayland.h"
#include "platform/clipboard_handover_x11_wayland.h"
#include "platform/clipboard_server_x11.h"

extern char** environ;

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// What is left of the time until `deadline`, in ms for poll().
int msUntil(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// A child started with its own session, standard streams /dev/null except
// stdin, which is `input`; default signal handling and an empty signal mask.
class DetachedChild {
 public:
  // Starts `argv[0]` (searched in PATH when `searchPath`), handing it
  // `shownName` as its argv[0] when given; pid() is 0 on failure.
  DetachedChild(std::vector<const char*> argv, int input, bool searchPath,
                const char* shownName = nullptr) {
    const char* file = argv[0];
    if (shownName != nullptr) argv[0] = shownName;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK |
                                              POSIX_SPAWN_SETSIGDEF);
    auto* args = const_cast<char* const*>(argv.data());
    const int error = searchPath
        ? posix_spawnp(&pid_, file, &actions, &attributes, args, environ)
        : posix_spawn(&pid_, file, &actions, &attributes, args, environ);
    if (error != 0) pid_ = 0;
    error_ = error;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
  }
  pid_t pid() const { return pid_; }
  // posix_spawn's error when pid() is 0 (EAGAIN: a process limit).
  int error() const { return error_; }
  // Ends a child that failed to take over, and collects it.
  void kill() {
    if (pid_ > 0) { ::kill(pid_, SIGKILL); waitpid(pid_, nullptr, 0); }
    pid_ = 0;
  }

 private:
  pid_t pid_ = 0;
  int error_ = 0;
};

// Sends all bytes before `deadline`; MSG_NOSIGNAL: a dead reader is an error,
// not a SIGPIPE.
bool sendAll(int fd, const char* data, std::size_t size, Clock::time_point deadline) {
  while (size > 0) {
    pollfd ready{fd, POLLOUT, 0};
    const int r = poll(&ready, 1, msUntil(deadline));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return false;
    const ssize_t n = send(fd, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

ServerStart awaitConfirmation(int fd, Clock::time_point deadline) {
  for (;;) {
    pollfd ready{fd, POLLIN, 0};
    const int r = poll(&ready, 1, msUntil(deadline));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) return ServerStart::failed;
    char answer = 0;
    const ssize_t n = recv(fd, &answer, 1, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n == 1 && answer == kClipboardServerReady) return ServerStart::ready;
    if (n == 1 && answer == kClipboardServerTaken) return ServerStart::taken;
    return ServerStart::failed;
  }
}

// Collects the child; false (child left running) when it outlives `deadline`.
bool awaitExit(pid_t pid, int& status, Clock::time_point deadline) {
  for (;;) {
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) return true;
    if (r < 0 && errno != EINTR) return false;
    if (Clock::now() >= deadline) return false;
    usleep(5000);
  }
}

struct SocketPair {
  int mine = -1, theirs = -1;
  SocketPair() {
    int fds[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) == 0) {
      mine = fds[0];
      theirs = fds[1];
    }
  }
  ~SocketPair() { closeTheirs(); if (mine >= 0) close(mine); }
  void closeTheirs() { if (theirs >= 0) close(theirs); theirs = -1; }
};

// This program's real path, so that `ps` shows what a server started
// through /proc/self/exe is.
const std::string& ownName() {
  static const std::string name = [] {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string("/proc/self/exe");
  }();
  return name;
}

// The server program: the small one beside this program (build tree) or in
// libexec (installed); else this program itself, through /proc/self/exe,
// which serves as well but keeps more of the system mapped.
std::string serverProgram() {
  const std::string& self = ownName();
  const std::string folder = self.substr(0, self.rfind('/') + 1);
  for (const std::string& candidate : {folder + kClipboardServerProgram,
                                       folder + "../libexec/zweigschau/" + kClipboardServerProgram})
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  return "/proc/self/exe";
}

// A request to stop (SIGTERM, SIGINT, SIGHUP) that comes while the list is
// handed over is held back until the outcome is known, so that the run's
// status and the clipboard agree: when the list went over, the run ends
// as having put it there, and a later request changes nothing; else the
// request ends the run as it would have, the helper gone and the
// clipboard as it was.
volatile sig_atomic_t heldStop = 0;

class StopsHeld {
 public:
  StopsHeld() {
    struct sigaction hold {};
    hold.sa_handler = [](int signal) { heldStop = signal; };
    sigemptyset(&hold.sa_mask);
    for (std::size_t i = 0; i < std::size(kStops); ++i) sigaction(kStops[i], &hold, &before_[i]);
  }
  // The hand-over failed: a request held back now takes effect. (After one
  // that succeeded the requests stay held back: the run is about to end.)
  void release() {
    for (std::size_t i = 0; i < std::size(kStops); ++i) sigaction(kStops[i], &before_[i], nullptr);
    if (heldStop != 0) raise(heldStop);
  }

 private:
  static constexpr int kStops[] = {SIGTERM, SIGINT, SIGHUP};
  struct sigaction before_[std::size(kStops)] {};
};

}  // namespace

ServerStart handToServer(std::string_view text) {
  SocketPair channel;
  if (channel.mine < 0) return ServerStart::noProcess;
  const std::string program = serverProgram();
  DetachedChild server({program.c_str(), kClipboardServerArgument, nullptr}, channel.theirs, false,
                       program == "/proc/self/exe" ? ownName().c_str() : nullptr);
  channel.closeTheirs();
  if (server.pid() == 0)
    return server.error() == EAGAIN || server.error() == ENOMEM ? ServerStart::noProcess
                                                                : ServerStart::failed;
  const auto deadline = Clock::now() + std::chrono::milliseconds(kHandOverTimeoutMs);
  const std::uint64_t size = static_cast<std::uint64_t>(text.size());
  const bool sent = sendAll(channel.mine, reinterpret_cast<const char*>(&size), sizeof size, deadline) &&
                    sendAll(channel.mine, text.data(), text.size(), deadline) &&
                    shutdown(channel.mine, SHUT_WR) == 0;
  const ServerStart answer = sent ? awaitConfirmation(channel.mine, deadline) : ServerStart::failed;
  if (answer != ServerStart::ready) server.kill();
  return answer;  // a server that took over lives on; it is never waited for
}

bool handToWlCopy(std::string_view text) {
  SocketPair channel;
  if (channel.mine < 0) return false;
  DetachedChild wlCopy({"wl-copy", "--type", "text/plain;charset=utf-8", nullptr},
                       channel.theirs, true);
  channel.closeTheirs();
  if (wlCopy.pid() == 0) return false;  // not installed
  const auto deadline = Clock::now() + std::chrono::milliseconds(kHandOverTimeoutMs);
  const bool sent = sendAll(channel.mine, text.data(), text.size(), deadline);
  close(channel.mine);
  channel.mine = -1;
  int status = 0;
  if (!awaitExit(wlCopy.pid(), status, deadline)) {
    wlCopy.kill();
    return false;
  }
  return sent && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A run without a window needs no toolkit: the list goes to the display
// the session names, X11 first (as the window prefers it).
bool HandOverClipboard::setText(std::string_view utf8) {
  // A run ends right after this: once the list went over, requests to stop
  // stay held back until it has ended.
  StopsHeld stops;
  bool handedOver = false;
  if (x11Reachable()) {
    const ServerStart start = handToServer(utf8);
    takenByOther_ = start == ServerStart::taken;
    shortOfProcesses_ = start == ServerStart::noProcess;
    handedOver = start == ServerStart::ready;
  } else if (displayReachable()) {
    handedOver = handToWlCopy(utf8);
  }
  if (!handedOver) stops.release();
  return handedOver;
}

}  // namespace platform
