// The tree reader: folder listings for a depth-first walk, read either one
// by one on the walk's thread (FolderChain) or ahead of the walk by a few
// threads.
//
// The read-ahead keeps the part of the tree between the walk and its
// readers as nodes. A folder's sub-folders become nodes when its listing
// arrives; nodes not yet read wait ordered by their place in the walk's
// order, and readers always take the first, so that the listings read
// ahead are the ones the walk needs soonest (a last-in first-out list sent
// many readers deep into sub-trees the walk would reach last, filling the
// window with them while the walk waited for its next folder). The walk takes the
// listings strictly in its own order and waits only for the one it needs
// next; if that one is still waiting to be read, it is read before any
// other. At most `window` listings are in flight or done and not yet taken,
// so memory stays flat however far the readers could run ahead.
//
// Handles: a node keeps its folder's handle while some of its sub-folders
// still have to be opened from it, within handleBudget(). A node that
// could not keep one has its sub-folders opened from the nearest folder
// above that kept one, a name at a time, links never followed, as
// FolderChain reopens a level it gave up.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string_view>
#include <condition_variable>
#include <mutex>
#include <set>
#include <utility>
#include <thread>

#include "platform/filesystem.h"
#include "platform/folder_handle.h"

namespace platform {

class TreeReader::Impl {
 public:
  virtual ~Impl() = default;
  virtual bool start(const std::string& path, std::vector<Entry>& out) = 0;
  virtual const std::string* enterNext(std::vector<Entry>& out, bool& listed) = 0;
  virtual void leave() = 0;
};

namespace {

// Whether the sub-folders of a folder at `level` are entered.
bool descends(std::int32_t levels, std::int32_t level) { return levels == 0 || level < levels; }

// The names of the sub-folders in a listing, in order.
std::vector<std::string> subFolderNames(const std::vector<Entry>& entries) {
  std::vector<std::string> names;
  for (const Entry& e : entries)
    if (e.kind == EntryKind::Folder) names.push_back(e.name);
  return names;
}

// Every folder read on the walk's thread when the walk comes to it.
class SerialReader final : public TreeReader::Impl {
 public:
  SerialReader(bool resolveLinks, EntryFilter keep, std::int32_t levels)
      : resolveLinks_(resolveLinks), keep_(std::move(keep)), levels_(levels) {}

  bool start(const std::string& path, std::vector<Entry>& out) override {
    const bool ok = chain_.start(path) && chain_.list(out, resolveLinks_, keep_);
    if (!ok) out.clear();
    way_.push_back({descends(levels_, 0) ? subFolderNames(out) : std::vector<std::string>{}});
    return ok;
  }

  const std::string* enterNext(std::vector<Entry>& out, bool& listed) override {
    Level& here = way_.back();
    if (here.next == here.names.size()) return nullptr;
    const std::string& name = here.names[here.next++];
    listed = chain_.enter(name) && chain_.list(out, resolveLinks_, keep_);
    if (!listed) out.clear();
    const bool deeper = descends(levels_, static_cast<std::int32_t>(way_.size()));
    way_.push_back({deeper ? subFolderNames(out) : std::vector<std::string>{}});
    return &name;
  }

  void leave() override {
    way_.pop_back();
    chain_.leave();
  }

 private:
  struct Level {
    std::vector<std::string> names;  // sub-folders to enter, in order
    std::size_t next = 0;
  };
  const bool resolveLinks_;
  const EntryFilter keep_;
  const std::int32_t levels_;
  FolderChain chain_;
  std::vector<Level> way_;
};

// A folder between the walk and the readers.
struct Node {
  enum class State : std::uint8_t { Waiting, Reading, Done };

  Node* parent = nullptr;
  std::string name;  // within the parent; the whole path for the start folder
  std::int32_t level = 0;
  std::atomic<State> state = State::Waiting;  // Done is published with release
  bool listed = false;
  // Its place in the walk's order: a node comes before every node whose
  // order is greater. A folder's span is shared out among its sub-folders,
  // so that each sub-tree's orders lie within its own folder's span.
  double order = 0;
  double span = 1;
  std::shared_ptr<FolderHandle> handle;  // kept while sub-folders wait to be opened
  std::vector<Entry> entries;
  std::vector<std::unique_ptr<Node>> children;  // its sub-folders, in order
  std::size_t unopened = 0;  // children no reader has taken yet
  std::size_t entered = 0;   // children the walk has entered
};

class ReadAheadReader final : public TreeReader::Impl {
 public:
  ReadAheadReader(ReadAhead how, bool resolveLinks, EntryFilter keep, std::int32_t levels,
                  std::function<void()> whileWaiting)
      : handles_(handleBudget()), readers_(readersWithin(how.readers, handles_)), walkReads_(how.walkReads),
        window_(std::max<std::size_t>(how.window, readers_)), resolveLinks_(resolveLinks),
        keep_(std::move(keep)), levels_(levels), whileWaiting_(std::move(whileWaiting)),
        budget_(keptWithin(readers_, handles_)) {}

  ~ReadAheadReader() override {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    readerWake_.notify_all();
    for (std::thread& t : threads_) t.join();
  }

  bool start(const std::string& path, std::vector<Entry>& out) override {
    root_ = std::make_unique<Node>();
    root_->name = path;
    current_ = root_.get();
    {
      std::lock_guard lock(mutex_);
      urgent_ = root_.get();
    }
    try {
      for (unsigned i = 0; i < readers_; ++i) threads_.emplace_back([this] { readerLoop(); });
    } catch (const std::system_error&) {
      // Fewer threads than asked for; with none the walk reads for itself.
    }
    take(*root_, out);
    return root_->listed;
  }

  const std::string* enterNext(std::vector<Entry>& out, bool& listed) override {
    Node& here = *current_;
    if (here.entered == here.children.size()) return nullptr;
    Node& next = *here.children[here.entered++];
    take(next, out);
    listed = next.listed;
    current_ = &next;
    return &next.name;
  }

  void leave() override {
    Node* done = current_;
    current_ = done->parent;
    // Its whole sub-tree has been taken, so no reader refers to it any more.
    current_->children[current_->entered - 1].reset();
  }

 private:
  // Each reader (and the walk reading for itself) holds up to two handles:
  // the folder it reads and the one it read before, not closed yet. A
  // quarter of the budget goes to them, the rest to handles kept for later.
  static unsigned readersWithin(unsigned readers, std::size_t budget) {
    return static_cast<unsigned>(std::clamp<std::size_t>(budget / 8, 1, std::max(readers, 1u)));
  }
  static std::size_t keptWithin(unsigned readers, std::size_t budget) {
    const std::size_t busy = 2 * (static_cast<std::size_t>(readers) + 1);
    return std::min<std::size_t>(budget > busy ? budget - busy : 1, 1024);
  }

  // Waits until `node` is read and moves its listing into `out`. A node
  // that no reader has taken yet is read on the walk's thread when the walk
  // may read for itself, else read by the next free reader before any other.
  void take(Node& node, std::vector<Entry>& out) {
    FolderHandle spent;  // closed after the lock is released
    if (node.state.load(std::memory_order_acquire) != Node::State::Done) {
      std::unique_lock lock(mutex_);
      if (node.state.load(std::memory_order_relaxed) == Node::State::Waiting) {
        if (&node == urgent_) urgent_ = nullptr;
        else unlink(node);
        if (walkReads_ || threads_.empty()) {
          read(node, lock, spent);
        } else {
          urgent_ = &node;
          if (idle_ > 0) readerWake_.notify_one();
        }
      }
      lock.unlock();
      awaitRead(node, spent);
    }
    out = std::move(node.entries);
    node.entries = {};
    const std::size_t left = done_.fetch_sub(1, std::memory_order_relaxed) - 1;
    if (paused_.load(std::memory_order_relaxed) && left <= window_ / 2) {
      std::lock_guard lock(mutex_);
      if (paused_ && inFlight_ + done_ <= window_ / 2) {
        paused_ = false;
        readerWake_.notify_all();
      }
    }
  }

  // Waits for a reader to finish `node`. When the walk may read, it reads
  // other folders meanwhile, as a reader would; else it spins for a few
  // microseconds, as a local folder takes about that long, then sleeps,
  // waking every 20 ms for whileWaiting.
  void awaitRead(Node& node, FolderHandle& spent) {
    std::unique_lock lock(mutex_);
    while (walkReads_ && node.state.load(std::memory_order_acquire) != Node::State::Done) {
      Node* other = nextToRead();
      if (other == nullptr) break;
      read(*other, lock, spent);
    }
    lock.unlock();
    const auto spinUntil = std::chrono::steady_clock::now() + std::chrono::microseconds(50);
    while (node.state.load(std::memory_order_acquire) != Node::State::Done) {
      if (std::chrono::steady_clock::now() > spinUntil) break;
      std::this_thread::yield();
    }
    lock.lock();
    while (node.state.load(std::memory_order_acquire) != Node::State::Done) {
      awaited_ = &node;
      if (walkWake_.wait_for(lock, std::chrono::milliseconds(20)) == std::cv_status::timeout &&
          node.state.load(std::memory_order_acquire) != Node::State::Done && whileWaiting_) {
        lock.unlock();
        whileWaiting_();
        lock.lock();
      }
    }
    awaited_ = nullptr;
  }

  void readerLoop() {
    FolderHandle spent;  // the last folder read, closed once the lock is free
    std::unique_lock lock(mutex_);
    for (;;) {
      Node* node = nullptr;
      for (;;) {
        if (stopping_) return;
        if ((node = nextToRead()) != nullptr) break;
        if (spent.isOpen()) {
          lock.unlock();
          spent = FolderHandle();
          lock.lock();
          continue;
        }
        ++idle_;
        readerWake_.wait(lock);
        --idle_;
      }
      read(*node, lock, spent);
    }
  }

  // The node a reader should read now, taken off the waiting list; nullptr
  // when there is none or the window is full.
  Node* nextToRead() {
    if (Node* node = urgent_) {
      urgent_ = nullptr;
      return node;
    }
    if (waiting_.empty() || paused_) return nullptr;
    if (inFlight_ + done_ >= window_) {
      paused_ = true;
      return nullptr;
    }
    Node* node = waiting_.begin()->second;
    unlink(*node);
    return node;
  }

  // Opens and lists `node`, the lock released meanwhile, and hangs its
  // sub-folders into the tree. `spent` is closed while the lock is free and
  // receives the handle of `node` when the node does not keep it.
  void read(Node& node, std::unique_lock<std::mutex>& lock, FolderHandle& spent) {
    node.state.store(Node::State::Reading, std::memory_order_relaxed);
    ++inFlight_;
    // The nearest folder above that kept its handle, and the names from
    // there down to the parent.
    std::shared_ptr<FolderHandle> base;
    std::vector<const std::string*> way;
    if (Node* parent = node.parent) {
      Node* kept = parent;
      for (; !kept->handle; kept = kept->parent) way.push_back(&kept->name);
      base = kept->handle;
      if (--parent->unopened == 0) letGo(*parent);
    }
    lock.unlock();
    spent = FolderHandle();

    std::vector<Entry> entries;
    FolderHandle handle;
    bool listed = false;
    std::vector<std::unique_ptr<Node>> children;
    try {
      listed = openAndList(node, base.get(), way, handle, entries);
      if (listed && descends(levels_, node.level)) children = subFolders(node, entries);
    } catch (...) {
      // Out of memory while listing: the folder counts as unreadable, as
      // it would for the walk's own thread.
      listed = false;
      entries.clear();
      children.clear();
    }
    base.reset();

    lock.lock();
    node.entries = std::move(entries);
    node.listed = listed;
    node.unopened = children.size();
    node.children = std::move(children);
    if (node.unopened > 0 && (node.parent == nullptr || kept_ < budget_)) {
      if (node.parent != nullptr) ++kept_;
      node.handle = std::make_shared<FolderHandle>(std::move(handle));
    }
    for (const auto& child : node.children) push(*child);
    --inFlight_;
    ++done_;
    const bool awaited = awaited_ == &node;
    const std::size_t wake = std::min(idle_, node.unopened);
    // From here on the walk may take the node without the lock, and free it.
    node.state.store(Node::State::Done, std::memory_order_release);
    if (awaited) walkWake_.notify_one();
    for (std::size_t i = 0; i < wake; ++i) readerWake_.notify_one();
    spent = std::move(handle);  // closing may wait for a server: not under the lock
  }

  // Opens `node` from `base` along `way` (in reverse) and lists it. Tries
  // again a few times when the system is short of handles or memory.
  bool openAndList(const Node& node, const FolderHandle* base, const std::vector<const std::string*>& way,
                   FolderHandle& handle, std::vector<Entry>& entries) const {
    for (int attempt = 0;; ++attempt) {
      FolderHandle::Failure failure = FolderHandle::Failure::None;
      handle = open(node, base, way, failure);
      const bool listed = failure == FolderHandle::Failure::None &&
                          handle.list(entries, resolveLinks_, keep_, failure);
      if (listed || failure != FolderHandle::Failure::Transient || attempt == 4) return listed;
      handle = FolderHandle();
      std::this_thread::sleep_for(std::chrono::milliseconds(1 << (2 * attempt)));
    }
  }

  static FolderHandle open(const Node& node, const FolderHandle* base,
                           const std::vector<const std::string*>& way, FolderHandle::Failure& failure) {
    if (base == nullptr) return FolderHandle::openStart(node.name, failure);
    FolderHandle step;
    const FolderHandle* from = base;
    for (auto name = way.rbegin(); name != way.rend(); ++name) {
      step = from->openChild(**name, failure);
      if (failure != FolderHandle::Failure::None) return FolderHandle();
      from = &step;
    }
    return from->openChild(node.name, failure);
  }

  // New nodes for the sub-folders in `entries`.
  static std::vector<std::unique_ptr<Node>> subFolders(const Node& node, const std::vector<Entry>& entries) {
    std::vector<std::unique_ptr<Node>> children;
    for (const Entry& e : entries) {
      if (e.kind != EntryKind::Folder) continue;
      auto child = std::make_unique<Node>();
      child->parent = const_cast<Node*>(&node);
      child->name = e.name;
      child->level = node.level + 1;
      children.push_back(std::move(child));
    }
    // Past the precision of a double (trees hundreds of levels deep) orders
    // may tie; that only changes which of them is read first.
    const double span = node.span / static_cast<double>(std::max<std::size_t>(children.size(), 1));
    for (std::size_t i = 0; i < children.size(); ++i) {
      children[i]->order = node.order + span * static_cast<double>(i);
      children[i]->span = span;
    }
    return children;
  }

  // Drops the handle `node` kept for its sub-folders once all are opened.
  void letGo(Node& node) {
    if (node.handle && node.parent != nullptr) --kept_;
    if (node.parent != nullptr) node.handle.reset();
  }

  void push(Node& node) {
    waiting_.emplace(node.order, &node);
  }

  void unlink(Node& node) {
    waiting_.erase({node.order, &node});
  }

  const std::size_t handles_;  // handles the read-ahead may hold at once
  const unsigned readers_;
  const bool walkReads_;
  const std::size_t window_;
  const bool resolveLinks_;
  const EntryFilter keep_;
  const std::int32_t levels_;
  const std::function<void()> whileWaiting_;
  const std::size_t budget_;

  std::unique_ptr<Node> root_;
  Node* current_ = nullptr;  // the walk's folder; only the walk's thread uses it
  std::vector<std::thread> threads_;

  std::mutex mutex_;  // guards everything below and the nodes' scheduling fields
  std::condition_variable readerWake_;
  std::condition_variable walkWake_;
  // The nodes no reader has taken, the walk's next one first.
  std::set<std::pair<double, Node*>> waiting_;
  Node* urgent_ = nullptr;   // to be read before anything else: the walk needs it
  Node* awaited_ = nullptr;  // the walk sleeps until this one is done
  std::size_t inFlight_ = 0;
  std::atomic<std::size_t> done_ = 0;  // read and not yet taken by the walk
  std::size_t kept_ = 0;  // handles kept by nodes below the start folder
  std::size_t idle_ = 0;  // readers waiting for work
  std::atomic<bool> paused_ = false;  // the window was full: wait until it is half empty
  bool stopping_ = false;
};

}  // namespace

ReadAhead readAheadFor(const std::string& path) {
  ReadAhead how = onShare(path) ? kRemoteReadAhead : kLocalReadAhead;
  // ZWEIGSCHAU_READ_AHEAD=READERS[,WINDOW[,share|local]] sets it by hand:
  // for measurements, tests, and file systems that are better read
  // otherwise. "share" keeps the walk's thread from reading, "local" lets it.
  if (const char* text = std::getenv("ZWEIGSCHAU_READ_AHEAD")) {
    char* end = nullptr;
    const unsigned long readers = std::strtoul(text, &end, 10);
    unsigned long window = how.window;
    bool walkReads = how.walkReads;
    if (end != text && *end == ',') window = std::strtoul(end + 1, &end, 10);
    if (end != text && *end == ',') {
      const std::string_view art(end + 1);
      walkReads = art == "local";
      end += art == "local" || art == "share" ? 1 + art.size() : 0;
    }
    if (end != text && *end == '\0' && readers <= 256 && window <= (1ul << 20))
      how = {static_cast<unsigned>(readers), static_cast<std::size_t>(window), walkReads};
  }
  return how;
}

TreeReader::TreeReader(ReadAhead how, bool resolveLinks, EntryFilter keep, std::int32_t levels,
                       std::function<void()> whileWaiting) {
  if (how.readers == 0)
    impl_ = std::make_unique<SerialReader>(resolveLinks, std::move(keep), levels);
  else
    impl_ = std::make_unique<ReadAheadReader>(how, resolveLinks, std::move(keep), levels,
                                              std::move(whileWaiting));
}

TreeReader::~TreeReader() = default;

bool TreeReader::start(const std::string& path, std::vector<Entry>& out) { return impl_->start(path, out); }

const std::string* TreeReader::enterNext(std::vector<Entry>& out, bool& listed) {
  return impl_->enterNext(out, listed);
}

void TreeReader::leave() { impl_->leave(); }

}  // namespace platform
