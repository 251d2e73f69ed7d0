// The read queue: how the walk's thread and the reader threads meet.
//
//   walk's thread                     one mutex                  readers
//   -------------                ----------------------          -------
//   submit(jobs) ─────────────▶  pending (by order)  ──────────▶ take the first
//     (wakes idle readers,                                       while busy <
//      as many as may start)                                     allowed, unlock,
//   withdraw / takeFirst  ◀────  pending                         run it (open,
//     (the walk runs it itself)                                  list, sort: no lock)
//   collect() ◀──────────────────  done (a list)  ◀───────────── post it back,
//   await() sleeps on walkWake       ▲                           tell the pace
//                                    │                           (wakes the walk
//                                    │                            if it waits, and
//                                    │                            readers the pace
//                                    │                            now allows)
//   stop(): drops pending and done, asks every reader to stop, joins the
//   threads of those that are idle; a reader inside a job (perhaps inside
//   a system call a share never answers) is abandoned: kept in a list of
//   its own, it drops its job when the job returns and ends, and is joined
//   by the next stop() or abandonedReaders().
//
// A job belongs to exactly one place at a time: the walk's thread, the
// pending set, one reader, or the done list. Readers touch only the job
// they hold and the two queues; the tree of folders, the order, the window
// and the handle budget are the walk's alone (tree_reader.cpp). A job
// carries the handle it opens from as a shared reference, so a reader that
// outlives its walk still holds what it needs; the queue itself is shared
// by the walk and its readers and goes when the last of them goes.
//
// On a share the pace (read_pace.h), under the same mutex, decides how many
// readers may be inside a job at once: readers beyond the pace wait idle
// although jobs are pending. A reader that posts a job tells the pace when
// it came back; when the pace allows more, that reader wakes as many idle
// ones, and starts new readers when the pace allows more than ever before.
// Without a pace every reader is started at once and may work.
//
// States of a reader: idle (waiting on readerWake), busy (inside a job,
// counted in busy_), ended (counted out of alive_). The invariants below
// are asserted in debug builds.
#include "walk/read_queue.h"

#include <algorithm>
#include <cassert>
#include <exception>
#include <new>
#include <system_error>
#include <thread>

#include "text/listing_order.h"

namespace zweigschau {
namespace {

platform::Failure openFolder(const Folders& folders, const ReadJob& job, std::unique_ptr<Folders::Open>& out) {
  if (!job.base) return folders.openStart(job.startPath, out);
  std::unique_ptr<Folders::Open> step;
  const Folders::Open* from = job.base.get();
  for (const std::string& name : job.names) {
    if (const platform::Failure failure = folders.openChild(*from, name, step); failure != platform::Failure::None)
      return failure;
    from = step.get();
  }
  out = std::move(step);
  return platform::Failure::None;
}

// A paced queue's levels. Never fewer than 4 in flight: any share or disk
// serves that many at once. It starts at 16: no share or disk measured was
// read faster with fewer, and each doubling from there costs a few round
// trips at a pace too slow. A disk whose listings come from the cache is
// read by one reader beside the walk, which reads too: listing costs only
// the processor then, and a second reader only takes turns with them.
constexpr unsigned kLeastInFlight = 4;
constexpr unsigned kStartInFlight = 16;
constexpr unsigned kCheapInFlight = 1;

// A folder the system could not open or list for want of handles or
// memory is tried again after a pause, four times longer each time: 1, 4,
// 16 and 64 ms, long enough for the other readers to close a handle or
// for a short peak to pass, short enough not to be felt.
constexpr int kLastAttempt = 4;
constexpr std::chrono::milliseconds kFirstPause{1};

// What a listing costs the thread that reads it, when the pace asks.
class Stopwatch {
 public:
  explicit Stopwatch(bool on) : on_(on) {
    if (!on_) return;
    start_ = std::chrono::steady_clock::now();
    work_ = platform::threadWork();
  }
  ListingCost cost() const {
    if (!on_) return {};
    const platform::ThreadWork work = platform::threadWork();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start_;
    const bool counted = work.blocks >= 0 && work_.blocks >= 0;
    const bool timed = work.cpuSeconds >= 0 && work_.cpuSeconds >= 0;
    return {true, wall.count(), counted ? work.blocks - work_.blocks : -1,
            timed ? work.cpuSeconds - work_.cpuSeconds : -1};
  }

 private:
  bool on_;
  std::chrono::steady_clock::time_point start_;
  platform::ThreadWork work_;
};

// Frees a list of done jobs one by one: a long chain of owners would
// recurse as deep.
void dropList(std::unique_ptr<ReadJob> first) {
  while (first) first = std::move(first->next);
}

}  // namespace

void runJob(const Folders& folders, ReadJob& job) noexcept {
  using platform::Failure;
  try {
    for (int attempt = 0;; ++attempt) {
      std::unique_ptr<Folders::Open> handle;
      job.failure = openFolder(folders, job, handle);
      if (job.failure == Failure::None) job.failure = folders.list(*handle, job.entries);
      if (job.failure == Failure::None) {
        text::sortEntries(job.entries);
        if (job.keepHandle) job.handle = std::move(handle);
        return;
      }
      job.entries.clear();
      if (job.failure != Failure::Short) return;
      job.strained = true;
      if (attempt == kLastAttempt) return;
      handle.reset();
      std::this_thread::sleep_for(kFirstPause * (1 << (2 * attempt)));
    }
  } catch (const std::bad_alloc&) {
    job.failure = Failure::NoMemory;
  } catch (const std::exception&) {
    job.failure = Failure::Broken;
  }
  job.handle.reset();
  std::vector<Entry>().swap(job.entries);
}

std::shared_ptr<ReadQueue> ReadQueue::start(std::shared_ptr<const Folders> folders, unsigned readers,
                                            Pacing pacing) {
  std::shared_ptr<ReadQueue> queue(new ReadQueue(std::move(folders)));
  std::lock_guard lock(queue->mutex_);
  queue->readers_ = queue->most_ = readers;
  const unsigned least = std::min(readers, kLeastInFlight), start = std::min(readers, kStartInFlight);
  if (pacing == Pacing::Share && readers > 0) queue->pace_.emplace(least, start, readers);
  if (pacing == Pacing::Disk && readers > 0)
    queue->pace_.emplace(ReadPace::forDisk(kCheapInFlight, least, start, readers,
                                           std::max(1u, std::thread::hardware_concurrency())));
  if (queue->pace_) queue->started_ = std::chrono::steady_clock::now();
  queue->spawnUpTo(queue->allowed());
  queue->readers_ = queue->most_;
  queue->allowedNow_.store(queue->allowed(), std::memory_order_relaxed);
  return queue;
}

// Starts reader threads until `count` have been started; when the system
// starts no more, no more are tried. Under the lock.
void ReadQueue::spawnUpTo(unsigned count) {
  while (spawned_ < std::min(count, most_)) {
    try {
      // The thread holds the queue: abandoned inside a system call, it
      // outlives the walk (stop()).
      const std::size_t reader = threads_.size();
      inJob_.reserve(reader + 1);
      ended_.reserve(reader + 1);
      auto ended = std::make_shared<std::atomic<bool>>(false);
      threads_.emplace_back([queue = shared_from_this(), reader, ended](std::stop_token stop) {
        queue->readerLoop(stop, reader);
        ended->store(true);
      });
      inJob_.push_back(false);
      ended_.push_back(std::move(ended));
      ++spawned_;
      ++alive_;
    } catch (const std::exception&) {
      most_ = spawned_;  // the walk reads for itself, or the readers there are
    }
  }
}

ReadQueue::~ReadQueue() {
  // After stop() no thread is left here. Without it (the walk's engine
  // failed while it was made) none is waited for.
  for (std::jthread& t : threads_)
    if (t.joinable()) t.detach();
  dropList(std::move(doneFirst_));
}

namespace {

// A reader abandoned inside a system call, and whether its loop returned.
struct Abandoned {
  std::jthread thread;
  std::shared_ptr<const std::atomic<bool>> ended;
};

// The readers left inside a system call when their walk ended (on a share
// that never answers): the only threads that outlive their walk. Never
// destroyed, for destroying one would wait for the share at the program's
// end; joined as soon as they have ended.
std::mutex& abandonedMutex() {
  static auto* mutex = new std::mutex;
  return *mutex;
}
std::vector<Abandoned>& abandoned() {
  static auto* list = new std::vector<Abandoned>;
  return *list;
}

// Joins the abandoned readers that have ended; returns how many are left.
// Under abandonedMutex().
std::size_t joinEnded() {
  std::erase_if(abandoned(), [](Abandoned& a) {
    if (!a.ended->load()) return false;
    a.thread.join();  // its loop returned: the thread is ending
    return true;
  });
  return abandoned().size();
}

}  // namespace

std::size_t ReadQueue::abandonedReaders() {
  std::lock_guard lock(abandonedMutex());
  return joinEnded();
}

// Whether a reader may take the first pending job: while fewer than the
// pace allows are busy, and, whatever the pace allows, when none is and the
// walk may not read that job itself (it waits for it).
bool ReadQueue::mayTake() const {
  if (pending_.empty()) return false;
  return busy_ < allowed() || (busy_ == 0 && pending_.begin()->second->readersOnly);
}

void ReadQueue::checkInvariants() const {
  assert(busy_ <= alive_);
  assert(alive_ <= spawned_ && spawned_ <= most_ && most_ <= readers_);
  assert((doneFirst_ == nullptr) == (doneLast_ == nullptr));
  assert(!stopping_ || (pending_.empty() && doneFirst_ == nullptr));
}

void ReadQueue::submit(std::vector<std::unique_ptr<ReadJob>>& jobs) {
  std::size_t wake = jobs.size();  // readers that may start one of them
  {
    std::lock_guard lock(mutex_);
    wake = std::min<std::size_t>(wake, allowed() > busy_ ? allowed() - busy_ : 0);
    assert(!stopping_);
    for (auto& job : jobs) {
      const PendingKey key{job->order, job->node};
      pending_.emplace(key, std::move(job));
    }
    if (wake == 0 && mayTake()) {
      // A job the walk may not read: a reader takes it whatever the pace
      // allows, started for it when the pace has not started one yet.
      spawnUpTo(1);
      wake = 1;
    }
    checkInvariants();
  }
  if (wake >= readers_) readerWake_.notify_all();
  else for (std::size_t i = 0; i < wake; ++i) readerWake_.notify_one();
  jobs.clear();
}

std::unique_ptr<ReadJob> ReadQueue::withdraw(double order, const TreeNode* node) {
  std::lock_guard lock(mutex_);
  const auto at = pending_.find({order, node});
  if (at == pending_.end()) return nullptr;
  std::unique_ptr<ReadJob> taken = std::move(at->second);
  pending_.erase(at);
  return taken;
}

std::unique_ptr<ReadJob> ReadQueue::takeFirst() {
  std::lock_guard lock(mutex_);
  const auto first = pending_.begin();
  if (first == pending_.end() || first->second->readersOnly) return nullptr;
  std::unique_ptr<ReadJob> taken = std::move(first->second);
  pending_.erase(first);
  return taken;
}

void ReadQueue::collect(std::vector<std::unique_ptr<ReadJob>>& done) {
  std::unique_ptr<ReadJob> first;
  {
    std::lock_guard lock(mutex_);
    first = std::move(doneFirst_);
    doneLast_ = nullptr;
  }
  while (first) {
    std::unique_ptr<ReadJob> rest = std::move(first->next);
    done.push_back(std::move(first));
    first = std::move(rest);
  }
}

void ReadQueue::walked(unsigned taken) {
  if (!pace_) return;
  std::lock_guard lock(mutex_);
  const unsigned before = allowed();
  const std::chrono::duration<double> at = std::chrono::steady_clock::now() - started_;
  WalkWork work;
  if (pace_->measuresWalkAt(at.count())) {
    const platform::ThreadWork walk = platform::threadWork();
    work = {platform::idleProcessorSeconds(), walk.blocks, walk.cpuSeconds};
  }
  pace_->walked(at.count(), taken, work);
  spawnUpTo(allowed());
  for (unsigned i = before; i < allowed(); ++i) readerWake_.notify_one();
  allowedNow_.store(allowed(), std::memory_order_relaxed);
}

bool ReadQueue::await(std::chrono::milliseconds most) {
  std::unique_lock lock(mutex_);
  walkWaiting_ = true;
  const bool done = walkWake_.wait_for(lock, most, [this] { return doneFirst_ != nullptr; });
  walkWaiting_ = false;
  return done;
}

// Every reader is told to stop. The idle ones are joined, not left to end
// by themselves: on Windows a thread still ending while the process ends
// can deadlock the end of the process (the thread holds the loader lock,
// the C runtime's exit holds what the thread's own end needs). A reader
// inside a job may be inside a system call that a share never answers:
// it joins the abandoned ones, and ends when the call returns.
void ReadQueue::stop() {
  std::map<PendingKey, std::unique_ptr<ReadJob>> waiting;
  std::unique_ptr<ReadJob> dropped;
  std::vector<std::jthread> idle;
  std::vector<Abandoned> busy;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    waiting.swap(pending_);
    dropped = std::move(doneFirst_);
    doneLast_ = nullptr;
    for (std::size_t i = 0; i < threads_.size(); ++i) {
      threads_[i].request_stop();
      if (inJob_[i]) busy.push_back({std::move(threads_[i]), ended_[i]});
      else idle.push_back(std::move(threads_[i]));
    }
    assert(busy.size() == busy_);
    checkInvariants();
  }
  readerWake_.notify_all();
  // Closing their handles happens here, without the lock.
  waiting.clear();
  dropList(std::move(dropped));
  for (std::jthread& t : idle) t.join();
  if (busy.empty()) return;
  std::lock_guard lock(abandonedMutex());
  joinEnded();
  for (Abandoned& a : busy) abandoned().push_back(std::move(a));
}

// The next job for a reader, or nothing when it must end.
std::unique_ptr<ReadJob> ReadQueue::nextJob(std::unique_lock<std::mutex>& lock, std::stop_token stop,
                                            std::size_t reader) {
  readerWake_.wait(lock, stop, [this] { return stopping_ || mayTake(); });
  if (stopping_ || stop.stop_requested()) return nullptr;
  std::unique_ptr<ReadJob> job = std::move(pending_.begin()->second);
  pending_.erase(pending_.begin());
  ++busy_;
  inJob_[reader] = true;
  return job;
}

// Tells the pace that `job` came back; wakes the readers it now allows.
void ReadQueue::paceDone(const ReadJob& job, const ListingCost& cost) {
  if (!pace_) return;
  const unsigned before = allowed();
  const std::chrono::duration<double> at = std::chrono::steady_clock::now() - started_;
  pace_->done(at.count(), busy_, job.strained, cost);
  // This reader takes a job itself if one waits; the others are woken,
  // or started when the pace allows more than ever before.
  spawnUpTo(allowed());
  for (unsigned i = before; i < allowed(); ++i) readerWake_.notify_one();
  allowedNow_.store(allowed(), std::memory_order_relaxed);
}

void ReadQueue::readerLoop(std::stop_token stop, std::size_t reader) {
  std::unique_lock lock(mutex_);
  while (std::unique_ptr<ReadJob> job = nextJob(lock, stop, reader)) {
    const bool weighs = pace_ && pace_->weighsNext();
    lock.unlock();
    const Stopwatch watch(weighs);
    runJob(*folders_, *job);
    const ListingCost cost = watch.cost();
    job->base.reset();  // closing may wait for a server: not under the lock
    lock.lock();
    if (!stopping_) paceDone(*job, cost);
    --busy_;
    inJob_[reader] = false;
    if (stopping_) {
      // The walk is gone: nobody takes the job.
      lock.unlock();
      job.reset();
      lock.lock();
      break;
    }
    ReadJob* last = job.get();
    (doneLast_ != nullptr ? doneLast_->next : doneFirst_) = std::move(job);
    doneLast_ = last;
    checkInvariants();
    if (walkWaiting_) walkWake_.notify_one();
  }
  --alive_;
  checkInvariants();
}

}  // namespace zweigschau
