// The queues between a walk's thread and its reader threads (the protocol
// is drawn at the top of read_queue.cpp). The walk's thread sends
// self-contained read jobs; readers run them and post them back done.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <stop_token>
#include <thread>
#include <utility>
#include <vector>

#include "walk/read_pace.h"
#include "walk/tree_reader.h"

namespace zweigschau {

// A folder of the walk's tree (tree_reader.cpp); readers never look at one.
struct TreeNode;

// One folder to read: the request, filled in by the walk's thread, and the
// result, filled in by whoever runs it. While a reader holds it, nothing
// else touches it.
struct ReadJob {
  // The request.
  TreeNode* node = nullptr;    // the walk's folder it reads
  double order = 0;           // the walk's order: the smallest is read first
  std::string startPath;      // the start folder's path, when `base` is empty
  std::shared_ptr<const Folders::Open> base;  // the folder to open from
  std::vector<std::string> names;             // from `base` down to the folder
  bool keepHandle = false;                    // hand the opened folder back
  bool readersOnly = false;  // on another file system: never on the walk's thread

  // The result.
  std::unique_ptr<Folders::Open> handle;  // with keepHandle, when listed
  std::vector<Entry> entries;             // in the fixed order
  platform::Failure failure = platform::Failure::None;  // why it was not listed
  bool strained = false;  // the folders turned a try away for a moment

  std::unique_ptr<ReadJob> next;  // in the queue's list of done jobs
};

// Opens and lists the job's folder, sorts the entries and fills in the
// result. When the system is short of handles or memory for a moment, it
// tries again a few times; when it stays short, the failure is Short.
// When this program runs out of memory, the failure is NoMemory. Never
// throws.
void runJob(const Folders& folders, ReadJob& job) noexcept;

class ReadQueue : public std::enable_shared_from_this<ReadQueue> {
 public:
  // A queue with up to `readers` reader threads; fewer when the system
  // starts fewer (readers() tells), none at all included. Paced, a
  // ReadPace decides how many of them may be inside a job at once, and
  // threads are started only as the pace first allows them.
  static std::shared_ptr<ReadQueue> start(std::shared_ptr<const Folders> folders, unsigned readers,
                                          Pacing pacing = Pacing::Fixed);
  ~ReadQueue();

  unsigned readers() const { return readers_; }
  // How many listings the readers may have in flight now, as the pace last
  // allowed (any thread; without the lock, so a moment late).
  unsigned allowedNow() const { return allowedNow_.load(std::memory_order_relaxed); }

  // Walk's thread: queues `jobs` for the readers (may throw bad_alloc, in
  // which case none is queued).
  void submit(std::vector<std::unique_ptr<ReadJob>>& jobs);
  // Walk's thread: takes the job of `node`, queued with `order`, back if
  // no reader has taken it yet.
  std::unique_ptr<ReadJob> withdraw(double order, const TreeNode* node);
  // Walk's thread: takes the first waiting job, to run it itself; never
  // one for readers only.
  std::unique_ptr<ReadJob> takeFirst();
  // Walk's thread: moves the done jobs into `done`, in the order they were
  // done.
  void collect(std::vector<std::unique_ptr<ReadJob>>& done);
  // Walk's thread: the walk took `taken` more listings (the pace weighs
  // whether readers pay at its cheap level).
  void walked(unsigned taken);
  // Walk's thread: waits until a job is done, at most `most`. False on
  // timeout.
  bool await(std::chrono::milliseconds most);
  // Walk's thread, once: drops every job not taken, asks every reader to
  // stop and joins the idle ones. A reader inside a job is not waited for
  // (its folder may be on a share that does not answer): it is abandoned,
  // drops its job when the job returns, and ends.
  void stop();
  // The readers abandoned inside a job by any stop() that have not ended
  // yet (those that have are joined first).
  static std::size_t abandonedReaders();

 private:
  explicit ReadQueue(std::shared_ptr<const Folders> folders) : folders_(std::move(folders)) {}
  void readerLoop(std::stop_token stop, std::size_t reader);
  std::unique_ptr<ReadJob> nextJob(std::unique_lock<std::mutex>& lock, std::stop_token stop, std::size_t reader);
  void paceDone(const ReadJob& job, const ListingCost& cost);
  void spawnUpTo(unsigned count);
  unsigned allowed() const { return std::min(pace_ ? pace_->allowed() : readers_, most_); }
  bool mayTake() const;
  void checkInvariants() const;

  const std::shared_ptr<const Folders> folders_;
  unsigned readers_ = 0;  // the most reader threads; set by start()

  std::mutex mutex_;  // guards everything below
  std::condition_variable_any readerWake_;  // a job is waiting, or stop
  std::condition_variable walkWake_;    // a job is done
  // By the walk's order, the first next. Orders may tie deep in a tree
  // (tree_reader.cpp): the node keeps the keys apart, so that withdraw()
  // finds a job at once.
  using PendingKey = std::pair<double, const TreeNode*>;
  std::map<PendingKey, std::unique_ptr<ReadJob>> pending_;
  // Done jobs in the order done, a list so that posting one never
  // allocates: a reader cannot fail there.
  std::unique_ptr<ReadJob> doneFirst_;
  ReadJob* doneLast_ = nullptr;
  unsigned most_ = 0;     // readers_, or fewer once the system started no more
  unsigned spawned_ = 0;  // reader threads started
  unsigned alive_ = 0;    // readers started and not ended
  // For each reader started: its thread, whether it is inside a job, and
  // whether its loop has returned (read by whoever joins it).
  std::vector<std::jthread> threads_;
  std::vector<bool> inJob_;
  std::vector<std::shared_ptr<std::atomic<bool>>> ended_;
  unsigned busy_ = 0;   // readers inside a job; a reader takes one only
                        // while fewer than allowed() are
  std::optional<ReadPace> pace_;  // when paced
  std::chrono::steady_clock::time_point started_;  // the pace's origin
  bool walkWaiting_ = false;
  bool stopping_ = false;
  std::atomic<unsigned> allowedNow_ = 0;  // allowed(), for allowedNow()
};

}  // namespace zweigschau
