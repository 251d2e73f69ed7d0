// Reading ahead changes nothing in the lists: 50 trees from the benchmark's
// generator (different seeds and sizes, with links and loops added), walked
// in every mode and at several depth limits one folder at a time and with
// several read-ahead settings, compared byte for byte.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>

#include "generated_tree.h"
#include "temp_tree_posix.h"
#include "walk/list_text.h"
#include "walk/walks.h"

using namespace zweigschau;
using testing_tree::PosixTree;
using testing_tree::TempTree;

namespace {

// One walk's whole outcome: result, list text and levels.
std::string lauf(const std::string& start, int art, std::int32_t ebenen, bool voll,
                 const ReadAhead& lesen) {
  OrdnerTabelle t;
  std::int32_t z = 0;
  const std::int32_t startPos = voll ? 1 : static_cast<std::int32_t>(start.size()) + 1;
  SammelErgebnis r;
  bool mitDateien = false;
  switch (art) {
    case 0: r = EndpunkteSammeln(t, {.Pfad = start, .Ebenen = ebenen, .StartPos = startPos, .readAhead = lesen}, z); break;
    case 1: r = OrdnerSammeln(t, {.Pfad = start, .Ebenen = ebenen, .StartPos = startPos, .readAhead = lesen}, z); break;
    case 2: r = OrdnerSammeln(t, {.Pfad = start, .Ebenen = ebenen, .StartPos = startPos, .Maske = "*.mp3", .readAhead = lesen}, z); mitDateien = true; break;
    default: r = OrdnerSammeln(t, {.Pfad = start, .Ebenen = ebenen, .StartPos = startPos, .Maske = "*.j?g", .NurMitDateien = true, .readAhead = lesen}, z); mitDateien = true; break;
  }
  std::string text = std::to_string(r.Anzahl) + "\n" + std::string(ListenText(t, mitDateien, mitDateien).Text) + "\n";
  for (const Ordner& o : t) text += std::to_string(o.Ebene) + ",";
  return text;
}

// Links into a generated tree: a loop to the start folder, a link to a
// sibling folder, a dangling link and a link to a file, in folders chosen
// by the seed.
void linksHinzu(const std::string& root, unsigned seed) {
  std::vector<std::filesystem::path> ordner;
  for (const auto& e : std::filesystem::recursive_directory_iterator(root))
    if (e.is_directory() && !e.is_symlink()) ordner.push_back(e.path());
  if (ordner.empty()) return;
  const auto& a = ordner[seed % ordner.size()];
  const auto& b = ordner[(seed * 7 + 3) % ordner.size()];
  std::filesystem::create_directory_symlink(root, a / "Schleife");
  std::filesystem::create_directory_symlink(b, a / "zu b");
  std::filesystem::create_symlink(a / "fehlt", b / "ins Leere.mp3");
  std::filesystem::create_symlink(a / "Schleife", b / "Kette.jpg");
}

}  // namespace

namespace {

// The threads this process runs.
std::size_t threads() {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/task")) ++n;
  return n;
}

}  // namespace

TEST(Vorauslesen, GeneratedTreesGiveTheSameListsAsReadingOneByOne) {
  const std::size_t threadsBefore = threads();
  const ReadAhead serial{0, 0, false};
  const ReadAhead arten[] = {
      {1, 4096, true},  // a local disk: one reader, the walk reads too
      {2, 2, true},     // a window so small that readers keep stalling
      {8, 5, false},    // a share: only readers read, the walk waits
      {32, 4096, false, Pacing::Share},  // a share, the pace deciding how many read
      kLocalReadAhead,  // a disk, paced while listings wait on it
  };
  // tmpfs when there is one: the trees are many.
  const std::string ort = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "";
  const std::int32_t grenzen[] = {1, 2, 4, -1, 3};
  for (unsigned seed = 1; seed <= 50; ++seed) {
    TempTree tree(ort);
    const unsigned folders = 5 + (seed * 97) % 700;
    const std::string root = testing_tree::generiert(tree.root() + "t", folders, seed);
    linksHinzu(root, seed);
    const std::string start = root + "/";
    for (int art = 0; art < 4; ++art) {
      // Every tree without a limit and at one limit; each limit on ten trees.
      for (std::int32_t ebenen : {0, grenzen[(seed + static_cast<unsigned>(art)) % 5]}) {
        const bool voll = (seed + static_cast<unsigned>(art)) % 2 == 0;
        const std::string erwartet = lauf(start, art, ebenen, voll, serial);
        for (const ReadAhead& lesen : arten) {
          ASSERT_EQ(lauf(start, art, ebenen, voll, lesen), erwartet)
              << "seed " << seed << ", " << folders << " folders, mode " << art << ", levels " << ebenen
              << ", readers " << lesen.readers << ", window " << lesen.window;
        }
      }
    }
  }
  // Every reader has ended with its walk (a reader counted out is gone
  // from the system a moment later).
  for (int i = 0; i < 100 && threads() != threadsBefore; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(threads(), threadsBefore);
}

namespace {

// Every folder with all its files, then the ends, for each setting given,
// separated by "#".
std::string alleArten(const std::string& start, std::initializer_list<ReadAhead> arten) {
  std::string text;
  for (const ReadAhead& lesen : arten) text += lauf(start, 2, 0, true, lesen) + lauf(start, 0, 0, false, lesen) + "#";
  return text;
}

}  // namespace

TEST(Vorauslesen, ShortOfHandlesOrThreadsTheListsStayWhole) {
  PosixTree tree;
  const std::string start = testing_tree::generiert(tree.root() + "t", 1500, 11) + "/";
  const ReadAhead serial{0, 0, false}, lokal{1, 4096, true}, teilen = kRemoteReadAhead;
  const std::string einzeln = alleArten(start, {serial});
  ASSERT_GT(einzeln.size(), 30000u);
  const std::string erwartet = einzeln + einzeln + einzeln;

  // Only 16 handles left free: the readers must make do with them, with as
  // many as the walk reading by itself needs for the tree's 12 levels.
  const std::string knapp = testing_tree::imKind(
      [&] {
        std::vector<int> belegt;
        for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) belegt.push_back(fd);
        for (int i = 0; i < 16 && !belegt.empty(); ++i) {
          close(belegt.back());
          belegt.pop_back();
        }
        return alleArten(start, {serial, lokal, teilen});
      },
      false, /*handles=*/128);
  EXPECT_TRUE(knapp == erwartet) << knapp.substr(0, 400);

  // No thread can be started: the walk reads every folder itself.
  const std::string ohneThreads = testing_tree::imKind(
      [&] {
        const rlimit keine{0, 0};
        if (setrlimit(RLIMIT_NPROC, &keine) != 0) return std::string("setrlimit");
        return alleArten(start, {serial, lokal, teilen});
      },
      /*niemand=*/true);
  EXPECT_TRUE(ohneThreads == erwartet) << ohneThreads.substr(0, 400);
}
