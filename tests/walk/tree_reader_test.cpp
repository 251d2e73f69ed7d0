// The tree reader over a fake disk: the walk's order in every way of
// reading, the window of listings read ahead, the handle budget, folders
// that fail, a cancel while a reader is blocked on a folder, and a disk's
// pace over listings that wait on the device or cost only the processor.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "walk/read_queue.h"
#include "walk/tree_reader.h"

using namespace zweigschau;
using Clock = std::chrono::steady_clock;
using platform::Failure;

namespace {

// A disk held in memory: each folder ("" the start, "a/b" below it) with
// its sub-folders. Listings come back in reverse order, so the reader must
// sort them. It counts what it is asked and how many folders are open.
class FakeFolders final : public Folders {
 public:
  std::map<std::string, std::vector<std::string>> tree;
  std::map<std::string, Failure> failing;  // cannot be listed, and why
  std::set<std::string> throwing;   // listing runs out of memory
  std::string blocking = "-";       // listing waits until release(), 5 s at most
  std::size_t budget = 512;
  std::vector<std::string> mounts;  // other file systems below the start
  // With it set, a listing it says comes from the device (by its number,
  // from 0 in the order the listings began) waits 1 ms off the processor;
  // any other spins 0.2 ms on it, as from the cache.
  std::function<bool(std::size_t)> fromDevice;
  // With it set, the most listings begun and not yet taken by the walk,
  // which counts what it took in *taken.
  const std::atomic<std::size_t>* taken = nullptr;

  // Each listing as it began: from the device, and how many listings were
  // in progress then, itself counted.
  struct Begun {
    bool device;
    int inProgress;
  };
  std::vector<Begun> begun() const { return {begun_.begin(), begun_.begin() + std::min(begun_.size(), next_.load())}; }
  std::size_t mostAhead() const { return mostAhead_; }

  void release() {
    std::lock_guard lock(m_);
    released_ = true;
    cv_.notify_all();
  }
  std::size_t listed() const { return listed_; }
  int maxOpen() const { return maxOpen_; }
  bool blocked() const { return blocked_; }

  Failure openStart(const std::string& path, std::unique_ptr<Open>& out) const override {
    return open(path, out);
  }
  Failure openChild(const Open& parent, const std::string& name, std::unique_ptr<Open>& out) const override {
    const std::string& p = static_cast<const Handle&>(parent).path;
    return open(p.empty() ? name : p + "/" + name, out);
  }
  Failure list(const Open& folder, std::vector<Entry>& out) const override {
    const std::string& path = static_cast<const Handle&>(folder).path;
    if (path == blocking) {
      std::unique_lock lock(m_);
      blocked_ = true;
      cv_.wait_for(lock, std::chrono::seconds(5), [this] { return released_; });
    }
    const std::size_t begun = ++listed_;
    if (taken != nullptr) raise(mostAhead_, begun - *taken);
    if (fromDevice) cost();
    if (throwing.count(path)) throw std::bad_alloc();
    if (failing.count(path)) return failing.at(path);
    const auto& names = tree.at(path);
    for (auto n = names.rbegin(); n != names.rend(); ++n) out.push_back({*n, EntryKind::Folder});
    out.push_back({"datei", EntryKind::File});
    return Failure::None;
  }
  std::size_t handleBudget() const override { return budget; }
  std::vector<std::string> mountsBelow(const Open&) const override { return mounts; }

 private:
  struct Handle final : Open {
    Handle(const FakeFolders& f, std::string p) : folders(f), path(std::move(p)) {}
    ~Handle() override { --folders.open_; }
    const FakeFolders& folders;
    std::string path;
  };
  template <typename T>
  static void raise(std::atomic<T>& most, T now) {
    for (T seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
    }
  }
  // Without a lock, so that the listings that cost only the processor
  // never wait for one another.
  void cost() const {
    const int inProgress = ++inProgress_;
    const std::size_t at = next_++;
    const bool device = fromDevice(at);
    if (at < begun_.size()) begun_[at] = {device, inProgress};
    if (device) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    } else {
      for (const auto end = Clock::now() + std::chrono::microseconds(200); Clock::now() < end;) {
      }
    }
    --inProgress_;
  }
  Failure open(const std::string& path, std::unique_ptr<Open>& out) const {
    if (!tree.count(path)) return Failure::Denied;
    raise(maxOpen_, ++open_);
    out = std::make_unique<Handle>(*this, path);
    return Failure::None;
  }

  mutable std::mutex m_;
  mutable std::condition_variable cv_;
  bool released_ = false;
  mutable std::atomic<bool> blocked_ = false;
  mutable std::atomic<std::size_t> listed_ = 0;
  mutable std::atomic<int> open_ = 0;
  mutable std::atomic<int> maxOpen_ = 0;
  mutable std::atomic<int> inProgress_ = 0;
  mutable std::vector<Begun> begun_ = std::vector<Begun>(4096);
  mutable std::atomic<std::size_t> next_ = 0;
  mutable std::atomic<std::size_t> mostAhead_ = 0;
};

// A tree `depth` levels deep with `width` sub-folders in each folder, named
// so that their sorted order differs from the order they were made in.
std::shared_ptr<FakeFolders> breiterBaum(int width, int depth) {
  auto f = std::make_shared<FakeFolders>();
  std::vector<std::string> ebene{""};
  for (int d = 0; d < depth; ++d) {
    std::vector<std::string> nächste;
    for (const std::string& p : ebene) {
      for (int i = width - 1; i >= 0; --i) {
        const std::string name = std::string(1, static_cast<char>('a' + (i * 7) % 26)) + std::to_string(i);
        f->tree[p].push_back(name);
        nächste.push_back(p.empty() ? name : p + "/" + name);
      }
    }
    ebene = std::move(nächste);
  }
  for (const std::string& p : ebene) f->tree[p];
  return f;
}

// The walk as the walks make it: every folder entered, depth first, written
// as "path:listed:entries;".
// With `taken`, counts the listings it has taken there.
std::string gang(std::shared_ptr<const Folders> folders, TreeReaderOptions o,
                 std::atomic<std::size_t>* taken = nullptr) {
  std::atomic<std::size_t> ungezählt = 0;
  std::atomic<std::size_t>& genommen = taken != nullptr ? *taken : ungezählt;
  TreeReader leser(std::move(folders), std::move(o));
  std::vector<Entry> einträge;
  // How a listing went: "" listed, "!" denied, "~" short, "?" broken, "#" out
  // of memory, "x" cancelled.
  const auto wie = [](Failure f) { return std::string(1, "-!~?#x"[static_cast<int>(f)]).substr(f == Failure::None); };
  std::string text = wie(leser.start("", einträge));
  ++genommen;
  text += ":" + std::to_string(einträge.size()) + ";";
  std::vector<std::string> weg{""};
  while (!weg.empty()) {
    const TreeReader::Step schritt = leser.enterNext(einträge);
    if (schritt.name != nullptr) {
      ++genommen;
      weg.push_back(weg.back() + "/" + *schritt.name);
      text += weg.back() + ":" + wie(schritt.failure) + std::to_string(einträge.size()) + ";";
      continue;
    }
    if (schritt.failure != Failure::None) return text + wie(schritt.failure);
    weg.pop_back();
    if (!weg.empty()) leser.leave();
  }
  return text;
}

const ReadAhead kArten[] = {{0, 0, false},          {1, 4096, true},  {8, 3, false},
                            {8, 5, true},           {32, 4096, false}, {16, 3, false, Pacing::Share},
                            kRemoteReadAhead,       kLocalReadAhead};

TEST(TreeReader, EveryWayOfReadingGivesTheSerialWalk) {
  auto f = breiterBaum(4, 4);
  f->failing = {{"a0/o2", Failure::Denied}, {"h1", Failure::Broken}, {"a0/a0/a0", Failure::Short}};
  f->throwing = {"o2/h1"};  // out of memory: the walk ends there
  const std::string alle = gang(f, {.how = {0, 0, false}});
  EXPECT_EQ(alle.substr(0, 44), ":5;/a0:5;/a0/a0:5;/a0/a0/a0:~0;/a0/a0/h1:5;/");
  EXPECT_NE(alle.find(";/a0/o2:!0;/a0/v3:5;"), std::string::npos);
  EXPECT_NE(alle.find(";/h1:?0;/o2:5;"), std::string::npos);
  EXPECT_TRUE(alle.ends_with(";/o2/a0/v3/v3:1;#")) << alle;
  EXPECT_EQ(gang(f, {.how = {0, 0, false}, .levels = 1}), ":5;/a0:5;/h1:?0;/o2:5;/v3:5;");
  for (std::int32_t levels : {0, 2, -1}) {
    const std::string serial = gang(f, {.how = {0, 0, false}, .levels = levels});
    for (const ReadAhead& how : kArten) {
      SCOPED_TRACE(std::to_string(how.readers) + "," + std::to_string(how.window));
      EXPECT_EQ(gang(f, {.how = how, .levels = levels}), serial);
    }
  }
}

TEST(TreeReader, ReadsNoFurtherAheadThanItsWindow) {
  // Four readers with room for ten listings: never more than those, the
  // one the walk needs now and the one sent while the walk takes its own
  // are read and not yet taken, however far the readers could run.
  auto f = breiterBaum(300, 1);
  std::atomic<std::size_t> genommen = 0;
  f->taken = &genommen;
  EXPECT_EQ(gang(f, {.how = {4, 10, false}}, &genommen), gang(breiterBaum(300, 1), {}));
  EXPECT_EQ(f->listed(), 301u);
  EXPECT_LE(f->mostAhead(), 12u);
  EXPECT_GE(f->mostAhead(), 2u);
}

// A disk's pace over a walk of 2,047 folders, whose first 400 listings
// and the rest each come from the device or from the cache. While listings
// wait on the device many readers work; while they cost only the processor
// one reader works beside the walk, so that at most two listings are in
// progress; the pace follows a switch within one walk. It is judged on the
// later part of each phase, after it had its time. The return from the
// device's level takes about 250 listings; on a busy machine some listings
// from the cache block too (a reader put aside holds a lock, such as the
// allocator's, that others then wait for), and it took 300 and more.
TEST(TreeReader, ADisksPaceFollowsWhereListingsWait) {
  // Where threads do not tell that they blocked (Windows), the pace weighs
  // processor time, counted by clock ticks: its verdicts take longer than
  // these phases last.
  if (platform::threadWork().blocks < 0) GTEST_SKIP() << "the system does not count blocks";
  struct Case {
    const char* name;
    bool erstGerät, dannGerät;  // each phase: from the device
  };
  for (const Case& c : {Case{"device", true, true}, Case{"cache", false, false},
                        Case{"device, then cache", true, false}, Case{"cache, then device", false, true}}) {
    SCOPED_TRACE(c.name);
    auto f = breiterBaum(2, 10);
    f->fromDevice = [&c](std::size_t n) { return n < 400 ? c.erstGerät : c.dannGerät; };
    gang(f, {.how = kLocalReadAhead});
    const std::vector<FakeFolders::Begun> begun = f->begun();
    ASSERT_EQ(begun.size(), 2047u);
    for (const auto& [from, to, gerät] : {std::tuple{250u, 400u, c.erstGerät}, std::tuple{1200u, 2047u, c.dannGerät}}) {
      int most = 0;
      for (std::size_t i = from; i < to; ++i) most = std::max(most, begun[i].inProgress);
      if (gerät) EXPECT_GT(most, 4) << "listings " << from << " to " << to;
      else EXPECT_LE(most, 2) << "listings " << from << " to " << to;
    }
  }
}

TEST(TreeReader, KeepsWithinTheHandleBudget) {
  for (const ReadAhead& how : kArten) {
    auto f = breiterBaum(5, 5);
    f->budget = 24;
    const std::string text = gang(f, {.how = how});
    EXPECT_EQ(text, gang(breiterBaum(5, 5), {.how = {0, 0, false}}));
    EXPECT_LE(f->maxOpen(), 24) << how.readers;
  }
}

// A folder that never answers, read by a reader: on a share, where only
// readers read, and below a local start folder as another file system's
// mount, which the walk's thread must leave to the readers too.
TEST(TreeReader, ACancelReturnsAtOnceWhileAReaderIsBlocked) {
  for (const auto& [how, mounts] : {std::pair{ReadAhead{8, 64, false}, std::vector<std::string>{}},
                                    std::pair{kLocalReadAhead, std::vector<std::string>{"h1"}}}) {
    SCOPED_TRACE(how.walkReads ? "mount below a disk" : "share");
    auto f = breiterBaum(3, 2);
    f->blocking = "h1";
    f->mounts = mounts;
    std::atomic<bool> abbruch = false;
    Clock::time_point gesetzt;
    int wartend = 0;
    std::weak_ptr<FakeFolders> beobachter = f;
    FakeFolders& platte = *f;  // kept alive by the blocked reader until released
    {
      TreeReader leser(std::move(f), {.how = how,
                                      .whileWaiting =
                                          [&] {
                                            if (++wartend == 5) {
                                              gesetzt = Clock::now();
                                              abbruch = true;
                                            }
                                          },
                                      .cancel = &abbruch});
      std::vector<Entry> einträge;
      ASSERT_EQ(leser.start("", einträge), Failure::None);
      TreeReader::Step schritt;
      while ((schritt = leser.enterNext(einträge)).name != nullptr && *schritt.name != "h1") {
        while (leser.enterNext(einträge).name != nullptr) leser.leave();
        leser.leave();
      }
      EXPECT_EQ(schritt.name, nullptr);
      EXPECT_EQ(schritt.failure, Failure::Cancelled);
      EXPECT_LT(Clock::now() - gesetzt, std::chrono::milliseconds(100));
      EXPECT_TRUE(platte.blocked());
    }
    // Ending the reader did not wait for the blocked one, which ends, and
    // lets go of the disk, once its folder answers.
    EXPECT_LT(Clock::now() - gesetzt, std::chrono::milliseconds(100));
    EXPECT_EQ(ReadQueue::abandonedReaders(), 1u);
    platte.release();
    for (int i = 0; i < 200 && !beobachter.expired(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_TRUE(beobachter.expired());
    EXPECT_EQ(ReadQueue::abandonedReaders(), 0u);
  }
}

}  // namespace
