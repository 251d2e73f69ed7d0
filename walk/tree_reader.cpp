// The tree reader's engine. The walk's thread owns everything here: the
// tree of folders between the walk and its readers, their order, the window
// of listings read ahead and the handle budget. Reader threads only run
// self-contained jobs from the read queue (read_queue.cpp, where the
// protocol is drawn) and never see a node.
//
// A folder's sub-folders are names when its listing comes back, and
// become nodes as the read-ahead or the walk comes to them, so that a wide
// folder costs little more than its names. Folders with sub-folders not
// yet sent wait ordered by the place of the next one in the walk's order,
// and the first ones are sent, so that the listings read ahead are the ones the
// walk needs soonest. At most `window` listings are sent and not yet taken
// by the walk, so memory stays flat however far the readers could run
// ahead. The walk takes the listings strictly in its own order and waits
// only for the one it needs next; one not yet sent is sent (or read on the
// walk's thread) before any other.
//
// Node states, all changed on the walk's thread:
//   Unsent ──(job made: sent, or run on the walk's thread)──▶ Sent
//   Sent ──(its job comes back)──▶ Done ──(the walk takes its listing)──▶ taken
//
// Handles: a node keeps its folder's handle while some of its sub-folders'
// listings have not come back, within the budget. Its sub-folders are
// opened from it; a node that could not keep one has its sub-folders opened
// from the nearest folder above that kept one, a name at a time, links
// never followed. The start folder always keeps its handle. Without reader
// threads (the serial walk) the folders on the walk's way keep theirs, and
// when the budget is spent the one nearest the start gives its handle up.
#include "walk/tree_reader.h"

#include <algorithm>
#include <cassert>
#include <chrono>
#include <set>
#include <utility>

#include "walk/read_queue.h"

namespace zweigschau {

using platform::Failure;

struct TreeNode {
  enum class State : std::uint8_t { Unsent, Sent, Done };

  TreeNode* parent = nullptr;
  std::string name;  // within the parent; the whole path for the start folder
  std::int32_t level = 0;
  State state = State::Unsent;
  // Its place in the walk's order: a node comes before every node whose
  // order is greater. A folder's span is shared out among its sub-folders,
  // so that each sub-tree's orders lie within its own folder's span.
  double order = 0;
  double span = 1;
  TreeNode* base = nullptr;  // while Sent: the node its job opens from
  bool keeps = false;        // holds a place in the handle budget
  std::size_t users = 0;     // jobs sent that open from its handle
  std::shared_ptr<const Folders::Open> handle;
  std::vector<Entry> entries;
  platform::Failure failure = platform::Failure::None;  // of its listing, once Done
  // Its sub-folders, in order: their names from its listing, and a node for
  // each one the read-ahead or the walk has come to (a wide folder's
  // children cost only their names until then).
  std::vector<std::string> childNames;
  std::vector<std::unique_ptr<TreeNode>> children;  // the first ones of childNames
  double childSpan = 0;        // of each sub-folder's orders
  std::size_t unfinished = 0;  // children whose listing has not come back
  std::size_t entered = 0;     // children the walk has entered
  // On a file system mounted below the start folder, or on the way to one.
  bool otherFileSystem = false;
  bool mountBelow = false;
};

namespace {

// How often the walk's thread looks up from waiting for a reader: to see a
// cancel and to let the window repaint and answer assistive technology,
// whose every call waits for it (a call should take no more than 10 ms).
constexpr std::chrono::milliseconds kWaitStep{5};

// The walk tells the pace how far it got every this many listings: often
// enough for a measurement of a few hundred, seldom enough that the lock
// it takes costs nothing.
constexpr unsigned kTakesPerReport = 64;

// Listings sent ahead for each listing the pace lets the readers have in
// flight. A window far beyond what the readers can read keeps folders
// waiting with their handles, and the budget spent, so that more folders
// are opened a name at a time from far above: with one reader beside the
// walk, a window of 4,096 cost twice the processor time of 64. While the
// pace lets no reader work, nothing is sent: the walk reads as the serial
// walk does.
constexpr std::size_t kWindowPerReader = 64;

// Each reader (and the walk reading for itself) holds up to two handles:
// the folder it opens and the one it opens from on the way.
constexpr std::size_t kHandlesPerReader = 2;
// A quarter of the handle budget goes to the readers, the rest to handles
// kept for later: with half to the readers, a walk on a share asked for up
// to half again as many requests (fewer kept handles, more folders opened
// a name at a time).
constexpr std::size_t kReaderShare = 4;
// Handles kept for later, at the most. It bounds them where the budget
// does not (on Windows a handle is a path, and the system sets no limit);
// the window of listings read ahead needs far fewer.
constexpr std::size_t kMostKept = 1024;

// Frees a sub-tree without recursion: trees may be thousands of levels deep.
void dropTree(std::unique_ptr<TreeNode> top) {
  std::vector<std::unique_ptr<TreeNode>> stack;
  if (top) stack.push_back(std::move(top));
  while (!stack.empty()) {
    std::unique_ptr<TreeNode> node = std::move(stack.back());
    stack.pop_back();
    for (auto& child : node->children)
      if (child) stack.push_back(std::move(child));  // the walk's way back dropped some
  }
}

}  // namespace

class TreeReader::Engine {
 public:
  Engine(std::shared_ptr<const Folders> folders, TreeReaderOptions options);
  ~Engine();

  Failure start(const std::string& path, std::vector<Entry>& out);
  Step enterNext(std::vector<Entry>& out);
  void leave();

 private:
  bool descends(std::int32_t level) const {
    return options_.levels == 0 || level < options_.levels;
  }
  bool cancelSeen();
  Failure take(TreeNode& node, std::vector<Entry>& out);
  void advance(TreeNode& node);
  void waitForReaders();
  std::unique_ptr<ReadJob> jobFor(TreeNode& node);
  void reserveHandle(TreeNode& node);
  void runHere(std::unique_ptr<ReadJob> job);
  void finish(std::unique_ptr<ReadJob> job);
  void addChildren(TreeNode& node);
  TreeNode& createChild(TreeNode& parent);
  void markMounts(TreeNode& child) const;
  void releaseHandle(TreeNode& node);
  void letGoIfUnused(TreeNode& node);
  void collect();
  void refill();
  std::size_t window() const;

  const std::shared_ptr<const Folders> folders_;
  const TreeReaderOptions options_;
  std::shared_ptr<ReadQueue> queue_;  // empty without reader threads
  std::size_t window_ = 0;            // listings sent and not taken, at most
  std::size_t budget_ = 1;            // handles kept below the start folder, at most

  std::vector<std::string> mounts_;  // below the start folder (Folders::mountsBelow)
  std::unique_ptr<TreeNode> root_;
  TreeNode* current_ = nullptr;
  // Folders whose listing came back with sub-folders not yet made nodes,
  // by the order of the next one.
  std::set<std::pair<double, TreeNode*>> unsent_;
  std::set<std::pair<std::int32_t, TreeNode*>> keeping_;  // nodes keeping a handle
  std::size_t outstanding_ = 0;  // Sent or Done, not yet taken
  unsigned taken_ = 0;           // listings taken since the pace last heard
  std::chrono::steady_clock::time_point lastWhileWaiting_;
  bool cancelled_ = false;
};

TreeReader::Engine::Engine(std::shared_ptr<const Folders> folders, TreeReaderOptions options)
    : folders_(std::move(folders)), options_(std::move(options)) {
  const std::size_t handles = folders_->handleBudget();
  const unsigned readers = options_.how.readers == 0 ? 0u
      : static_cast<unsigned>(std::clamp<std::size_t>(handles / kReaderShare / kHandlesPerReader, 1,
                                                      options_.how.readers));
  if (readers > 0) queue_ = ReadQueue::start(folders_, readers, options_.how.pacing);
  if (queue_ && queue_->readers() == 0) queue_.reset();  // no thread started: read serially
  const unsigned started = queue_ ? queue_->readers() : 0;
  // The start folder's handle is not counted in the budget, the others are.
  const std::size_t busy = kHandlesPerReader * (static_cast<std::size_t>(started) + 1) + 1;
  budget_ = std::min<std::size_t>(handles > busy ? handles - busy : 1, kMostKept);
  window_ = queue_ ? std::max<std::size_t>(options_.how.window, started) : 0;
}

TreeReader::Engine::~Engine() {
  if (queue_) queue_->stop();
  dropTree(std::move(root_));
}

bool TreeReader::Engine::cancelSeen() {
  if (!cancelled_ && options_.cancel != nullptr && options_.cancel->load(std::memory_order_relaxed))
    cancelled_ = true;
  return cancelled_;
}

Failure TreeReader::Engine::start(const std::string& path, std::vector<Entry>& out) {
  assert(!root_);
  root_ = std::make_unique<TreeNode>();
  root_->name = path;
  current_ = root_.get();
  lastWhileWaiting_ = std::chrono::steady_clock::now();
  return take(*root_, out);
}

TreeReader::Step TreeReader::Engine::enterNext(std::vector<Entry>& out) {
  TreeNode& here = *current_;
  if (cancelSeen()) return {nullptr, Failure::Cancelled};
  if (here.entered == here.childNames.size()) return {};
  if (here.entered == here.children.size()) createChild(here);
  TreeNode& next = *here.children[here.entered++];
  current_ = &next;
  const Failure failure = take(next, out);
  if (failure == Failure::Cancelled || failure == Failure::NoMemory) return {nullptr, failure};
  return {&next.name, failure};
}

void TreeReader::Engine::leave() {
  TreeNode* done = current_;
  assert(done->parent != nullptr);
  current_ = done->parent;
  // Its whole sub-tree has been taken (or the walk was cancelled), so no
  // job refers to it any more.
  assert(cancelled_ || done->entered == done->childNames.size() || !descends(done->level));
  dropTree(std::move(current_->children[current_->entered - 1]));
}

// Waits until `node` is Done and moves its listing into `out`; returns how
// its listing went, or Cancelled when the walk was cancelled meanwhile.
//
// Why the wait ends: the node is Unsent, pending or held by a reader.
// Unsent, advance() sends it or reads it here; pending, the walk withdraws
// and reads it (where the walk may read) or a reader takes it (a reader
// takes a pending job whenever fewer than the pace allows are busy, and
// one the walk may not read whenever no reader is busy); held,
// the reader posts it back when its system call returns. A share may hold
// that call for ever: then a cancel ends the wait, seen every kWaitStep.
// Every job sent comes back exactly once, so outstanding_ counts down to
// the node's own.
Failure TreeReader::Engine::take(TreeNode& node, std::vector<Entry>& out) {
  while (node.state != TreeNode::State::Done) {
    if (cancelSeen()) return Failure::Cancelled;
    advance(node);
  }
  out = std::move(node.entries);
  node.entries = {};
  assert(outstanding_ > 0);
  --outstanding_;
  if (queue_ && ++taken_ == kTakesPerReport) {
    queue_->walked(taken_);
    taken_ = 0;
  }
  collect();
  refill();
  return node.failure;
}

// One step towards `node` being Done: sends it, reads it or another folder
// on the walk's thread, or waits for the readers.
void TreeReader::Engine::advance(TreeNode& node) {
  const bool walkReads = !queue_ || (options_.how.walkReads && !node.otherFileSystem);
  if (node.state == TreeNode::State::Unsent) {
    std::unique_ptr<ReadJob> job = jobFor(node);
    if (walkReads) {
      runHere(std::move(job));
    } else {
      std::vector<std::unique_ptr<ReadJob>> one;
      one.push_back(std::move(job));
      queue_->submit(one);  // even beyond the window: the walk needs it now
    }
    return;
  }
  if (walkReads) {
    if (std::unique_ptr<ReadJob> job = queue_->withdraw(node.order, &node)) {
      runHere(std::move(job));
      return;
    }
    // A reader has it: read the next folder meanwhile, as a reader would.
    if (std::unique_ptr<ReadJob> other = queue_->takeFirst()) {
      runHere(std::move(other));
      collect();
      return;
    }
  }
  waitForReaders();
}

// Sleeps until a reader posts a job, at most kWaitStep; about every
// kWaitStep of waiting the caller's whileWaiting runs.
void TreeReader::Engine::waitForReaders() {
  queue_->await(kWaitStep);
  collect();
  refill();
  const auto now = std::chrono::steady_clock::now();
  if (now - lastWhileWaiting_ >= kWaitStep) {
    lastWhileWaiting_ = now;
    if (options_.whileWaiting) options_.whileWaiting();
  }
}

// The job that reads `node`: from the nearest folder above that kept its
// handle, down by name.
std::unique_ptr<ReadJob> TreeReader::Engine::jobFor(TreeNode& node) {
  assert(node.state == TreeNode::State::Unsent);
  auto job = std::make_unique<ReadJob>();
  job->node = &node;
  job->order = node.order;
  if (node.parent == nullptr) {
    job->startPath = node.name;
  } else {
    std::vector<const std::string*> way{&node.name};
    TreeNode* from = node.parent;
    for (; !from->handle; from = from->parent) {
      assert(from->parent != nullptr);  // the start folder keeps its handle
      way.push_back(&from->name);
    }
    job->base = from->handle;
    ++from->users;
    node.base = from;
    for (auto name = way.rbegin(); name != way.rend(); ++name) job->names.push_back(**name);
  }
  reserveHandle(node);
  job->keepHandle = node.keeps;
  job->readersOnly = node.otherFileSystem;
  node.state = TreeNode::State::Sent;
  ++outstanding_;
  return job;
}

// Decides whether `node` keeps its handle for its sub-folders.
void TreeReader::Engine::reserveHandle(TreeNode& node) {
  if (!descends(node.level)) return;
  if (node.parent == nullptr) {
    node.keeps = true;  // not counted: the start folder always keeps it
    return;
  }
  if (keeping_.size() >= budget_ && !queue_ && !keeping_.empty() && keeping_.begin()->second->users == 0) {
    TreeNode& oldest = *keeping_.begin()->second;  // the one nearest the start
    oldest.handle.reset();
    releaseHandle(oldest);
  }
  if (keeping_.size() >= budget_) return;
  node.keeps = true;
  keeping_.emplace(node.level, &node);
}

void TreeReader::Engine::releaseHandle(TreeNode& node) {
  if (!node.keeps || node.parent == nullptr) return;
  node.keeps = false;
  keeping_.erase({node.level, &node});
}

void TreeReader::Engine::runHere(std::unique_ptr<ReadJob> job) {
  runJob(*folders_, *job);
  finish(std::move(job));
}

// Takes a job's result into its node.
void TreeReader::Engine::finish(std::unique_ptr<ReadJob> job) {
  TreeNode& node = *job->node;
  assert(node.state == TreeNode::State::Sent);
  node.state = TreeNode::State::Done;
  node.failure = job->failure;
  node.entries = std::move(job->entries);
  if (node.parent == nullptr) {
    if (job->handle) mounts_ = folders_->mountsBelow(*job->handle);
    node.mountBelow = !mounts_.empty();
  }
  if (node.failure == Failure::None && descends(node.level)) addChildren(node);
  if (node.keeps && !node.childNames.empty() && job->handle) {
    node.handle = std::move(job->handle);
  } else {
    releaseHandle(node);
    job.reset();  // closes the handle
  }
  if (TreeNode* base = std::exchange(node.base, nullptr)) {
    assert(base->users > 0);
    --base->users;
    letGoIfUnused(*base);
  }
  if (TreeNode* parent = node.parent) {
    assert(parent->unfinished > 0);
    --parent->unfinished;
    letGoIfUnused(*parent);
  }
}

// Closes the handle of `node` once no sub-folder and no job needs it.
void TreeReader::Engine::letGoIfUnused(TreeNode& node) {
  if (node.parent == nullptr || node.unfinished > 0 || node.users > 0) return;
  node.handle.reset();
  releaseHandle(node);
}

// The sub-folders in the listing of `node`, waiting to be made nodes and
// sent in the walk's order.
void TreeReader::Engine::addChildren(TreeNode& node) {
  for (Entry& e : node.entries)
    if (e.kind == EntryKind::Folder) node.childNames.push_back(e.name);
  // Past the precision of a double (trees hundreds of levels deep) orders
  // may tie; that only changes which of them is read first.
  node.childSpan = node.span / static_cast<double>(std::max<std::size_t>(node.childNames.size(), 1));
  node.unfinished = node.childNames.size();
  if (!node.childNames.empty()) unsent_.emplace(node.order, &node);
}

// The node of the next sub-folder of `parent`, Unsent.
TreeNode& TreeReader::Engine::createChild(TreeNode& parent) {
  const std::size_t i = parent.children.size();
  assert(i < parent.childNames.size());
  auto child = std::make_unique<TreeNode>();
  child->parent = &parent;
  child->name = std::move(parent.childNames[i]);
  child->level = parent.level + 1;
  child->order = parent.order + parent.childSpan * static_cast<double>(i);
  child->span = parent.childSpan;
  if (parent.mountBelow) markMounts(*child);
  child->otherFileSystem = child->otherFileSystem || parent.otherFileSystem;
  unsent_.erase({child->order, &parent});
  if (i + 1 < parent.childNames.size())
    unsent_.emplace(parent.order + parent.childSpan * static_cast<double>(i + 1), &parent);
  parent.children.push_back(std::move(child));
  return *parent.children.back();
}

// Marks `child` of a folder on the way to a mount: a mount itself, or on
// the way to another.
void TreeReader::Engine::markMounts(TreeNode& child) const {
  std::string path = child.name;
  for (const TreeNode* up = child.parent; up->parent != nullptr; up = up->parent)
    path = up->name + platform::kSeparator + path;
  for (const std::string& mount : mounts_) {
    if (mount == path) child.otherFileSystem = true;
    if (mount.size() > path.size() && mount.compare(0, path.size(), path) == 0 && mount[path.size()] == platform::kSeparator)
      child.mountBelow = true;
  }
}

void TreeReader::Engine::collect() {
  if (!queue_) return;
  std::vector<std::unique_ptr<ReadJob>> done;
  queue_->collect(done);
  for (auto& job : done) finish(std::move(job));
}

// Sends the first waiting nodes while the window has room.
void TreeReader::Engine::refill() {
  if (!queue_ || cancelled_) return;
  std::vector<std::unique_ptr<ReadJob>> batch;
  const std::size_t window = this->window();
  while (outstanding_ < window && !unsent_.empty()) batch.push_back(jobFor(createChild(*unsent_.begin()->second)));
  if (!batch.empty()) queue_->submit(batch);
  assert(outstanding_ <= window_ + 1);
  assert(keeping_.size() <= budget_);
}

// The listings that may be sent and not yet taken now: the options'
// window, or, paced, as much as the pace's level needs.
std::size_t TreeReader::Engine::window() const {
  if (options_.how.pacing == Pacing::Fixed) return window_;
  return std::min<std::size_t>(queue_->allowedNow() * kWindowPerReader, window_);
}

TreeReader::TreeReader(std::shared_ptr<const Folders> folders, TreeReaderOptions options)
    : engine_(std::make_unique<Engine>(std::move(folders), std::move(options))) {}

TreeReader::~TreeReader() = default;

platform::Failure TreeReader::start(const std::string& path, std::vector<Entry>& out) {
  return engine_->start(path, out);
}

TreeReader::Step TreeReader::enterNext(std::vector<Entry>& out) { return engine_->enterNext(out); }

void TreeReader::leave() { engine_->leave(); }

}  // namespace zweigschau
