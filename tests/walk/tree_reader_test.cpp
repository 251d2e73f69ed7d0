// The tree reader over a fake disk: the walk's order in every way of
// reading, the window of listings read ahead, the handle budget, folders
// that fail, and a cancel while a reader is blocked on a folder.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "walk/tree_reader.h"

using namespace zweigschau;
using Clock = std::chrono::steady_clock;

namespace {

// A disk held in memory: each folder ("" the start, "a/b" below it) with
// its sub-folders. Listings come back in reverse order, so the reader must
// sort them. It counts what it is asked and how many folders are open.
class FakeFolders final : public Folders {
 public:
  std::map<std::string, std::vector<std::string>> tree;
  std::set<std::string> failing;    // cannot be listed
  std::set<std::string> throwing;   // listing runs out of memory
  std::string blocking = "-";       // listing waits until release()
  std::size_t budget = 512;

  void release() {
    std::lock_guard lock(m_);
    released_ = true;
    cv_.notify_all();
  }
  std::size_t listed() const { return listed_; }
  int maxOpen() const { return maxOpen_; }
  bool blocked() const { return blocked_; }

  std::unique_ptr<Open> openStart(const std::string& path, Failure& failure) const override {
    return open(path, failure);
  }
  std::unique_ptr<Open> openChild(const Open& parent, const std::string& name, Failure& failure) const override {
    const std::string& p = static_cast<const Handle&>(parent).path;
    return open(p.empty() ? name : p + "/" + name, failure);
  }
  bool list(const Open& folder, std::vector<Entry>& out, Failure& failure) const override {
    const std::string& path = static_cast<const Handle&>(folder).path;
    if (path == blocking) {
      std::unique_lock lock(m_);
      blocked_ = true;
      cv_.wait(lock, [this] { return released_; });
    }
    ++listed_;
    if (throwing.count(path)) throw std::bad_alloc();
    failure = failing.count(path) ? Failure::Lasting : Failure::None;
    if (failure != Failure::None) return false;
    const auto& names = tree.at(path);
    for (auto n = names.rbegin(); n != names.rend(); ++n) out.push_back({*n, EntryKind::Folder});
    out.push_back({"datei", EntryKind::File});
    return true;
  }
  std::size_t handleBudget() const override { return budget; }

 private:
  struct Handle final : Open {
    Handle(const FakeFolders& f, std::string p) : folders(f), path(std::move(p)) {}
    ~Handle() override { --folders.open_; }
    const FakeFolders& folders;
    std::string path;
  };
  std::unique_ptr<Open> open(const std::string& path, Failure& failure) const {
    failure = tree.count(path) ? Failure::None : Failure::Lasting;
    if (failure != Failure::None) return nullptr;
    const int now = ++open_;
    for (int seen = maxOpen_; now > seen && !maxOpen_.compare_exchange_weak(seen, now);) {
    }
    return std::make_unique<Handle>(*this, path);
  }

  mutable std::mutex m_;
  mutable std::condition_variable cv_;
  bool released_ = false;
  mutable std::atomic<bool> blocked_ = false;
  mutable std::atomic<std::size_t> listed_ = 0;
  mutable std::atomic<int> open_ = 0;
  mutable std::atomic<int> maxOpen_ = 0;
};

// A tree `depth` levels deep with `width` sub-folders in each folder, named
// so that their sorted order differs from the order they were made in.
std::shared_ptr<FakeFolders> breiterBaum(int width, int depth) {
  auto f = std::make_shared<FakeFolders>();
  std::vector<std::string> ebene{""};
  for (int d = 0; d < depth; ++d) {
    std::vector<std::string> naechste;
    for (const std::string& p : ebene) {
      for (int i = width - 1; i >= 0; --i) {
        const std::string name = std::string(1, static_cast<char>('a' + (i * 7) % 26)) + std::to_string(i);
        f->tree[p].push_back(name);
        naechste.push_back(p.empty() ? name : p + "/" + name);
      }
    }
    ebene = std::move(naechste);
  }
  for (const std::string& p : ebene) f->tree[p];
  return f;
}

// The walk as the walks make it: every folder entered, depth first, written
// as "path:listed:entries;".
std::string gang(std::shared_ptr<const Folders> folders, TreeReaderOptions o) {
  TreeReader leser(std::move(folders), std::move(o));
  std::vector<Entry> eintraege;
  std::string text = leser.start("", eintraege) ? "" : "!";
  text += ":" + std::to_string(eintraege.size()) + ";";
  std::vector<std::string> weg{""};
  while (!weg.empty()) {
    bool gelistet = false;
    if (const std::string* name = leser.enterNext(eintraege, gelistet)) {
      weg.push_back(weg.back() + "/" + *name);
      text += weg.back() + (gelistet ? ":" : ":!") + std::to_string(eintraege.size()) + ";";
      continue;
    }
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
  f->failing = {"a0/o2", "h1"};
  f->throwing = {"a0/a0/a0"};  // out of memory: unreadable, the walk goes on
  const std::string alle = gang(f, {.how = {0, 0, false}});
  EXPECT_EQ(alle.substr(0, 44), ":5;/a0:5;/a0/a0:5;/a0/a0/a0:!0;/a0/a0/h1:5;/");
  EXPECT_NE(alle.find(";/a0/o2:!0;/a0/v3:5;"), std::string::npos);
  EXPECT_NE(alle.find(";/h1:!0;/o2:5;"), std::string::npos);
  EXPECT_EQ(gang(f, {.how = {0, 0, false}, .levels = 1}), ":5;/a0:5;/h1:!0;/o2:5;/v3:5;");
  for (std::int32_t levels : {0, 2, -1}) {
    const std::string serial = gang(f, {.how = {0, 0, false}, .levels = levels});
    for (const ReadAhead& how : kArten) {
      SCOPED_TRACE(std::to_string(how.readers) + "," + std::to_string(how.window));
      EXPECT_EQ(gang(f, {.how = how, .levels = levels}), serial);
    }
  }
}

TEST(TreeReader, ReadsNoFurtherAheadThanItsWindow) {
  auto f = breiterBaum(300, 1);
  TreeReader leser(f, {.how = {4, 10, false}});
  std::vector<Entry> eintraege;
  ASSERT_TRUE(leser.start("", eintraege));
  // The readers have room for ten listings (the walk's next one among
  // them); wait until they have filled it.
  for (int i = 0; i < 200 && f->listed() < 11; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(f->listed(), 11u);  // the start folder and the window
  bool gelistet = false;
  ASSERT_NE(leser.enterNext(eintraege, gelistet), nullptr);
  leser.leave();
  for (int i = 0; i < 200 && f->listed() < 12; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(f->listed(), 12u);  // one taken, one more read
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

TEST(TreeReader, ACancelReturnsAtOnceWhileAReaderIsBlocked) {
  auto f = breiterBaum(3, 2);
  f->blocking = "h1";
  std::atomic<bool> abbruch = false;
  Clock::time_point gesetzt;
  int wartend = 0;
  std::weak_ptr<FakeFolders> beobachter = f;
  FakeFolders& platte = *f;  // kept alive by the blocked reader until released
  {
    TreeReader leser(std::move(f), {.how = {8, 64, false},
                                    .whileWaiting =
                                        [&] {
                                          if (++wartend == 5) {
                                            gesetzt = Clock::now();
                                            abbruch = true;
                                          }
                                        },
                                    .cancel = &abbruch});
    std::vector<Entry> eintraege;
    ASSERT_TRUE(leser.start("", eintraege));
    bool gelistet = false;
    const std::string* name = nullptr;
    while ((name = leser.enterNext(eintraege, gelistet)) != nullptr && *name != "h1") {
      while (leser.enterNext(eintraege, gelistet) != nullptr) leser.leave();
      leser.leave();
    }
    EXPECT_EQ(name, nullptr);
    EXPECT_TRUE(leser.cancelled());
    EXPECT_LT(Clock::now() - gesetzt, std::chrono::milliseconds(100));
    EXPECT_TRUE(platte.blocked());
  }
  // Ending the reader did not wait for the blocked one, which ends, and
  // lets go of the disk, once its folder answers.
  EXPECT_LT(Clock::now() - gesetzt, std::chrono::milliseconds(100));
  platte.release();
  for (int i = 0; i < 200 && !beobachter.expired(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_TRUE(beobachter.expired());
}

}  // namespace
