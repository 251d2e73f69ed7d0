// Reading ahead on a share: generated trees seen through slowfs, a FUSE
// model of a network share in which every request waits, give the same
// lists as read one folder after another, and the walk keeps calling back
// while it waits for a listing. Needs /dev/fuse; skipped without it.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/folder_handle.h"
#include "generated_tree.h"
#include "temp_tree_posix.h"
#include "walk/list_text.h"
#include "walk/walks.h"

using namespace zweigschau;
using testing_tree::PosixTree;

namespace {

constexpr long kFuseMagic = 0x65735546;

// slowfs mounted over `quelle` at `ziel` for as long as it lives.
class Freigabe {
 public:
  Freigabe(const std::string& quelle, const std::string& ziel, int verzögerungUs) : ziel_(ziel) {
    kind_ = fork();
    if (kind_ == 0) {
      const int leer = open("/dev/null", O_RDWR);
      dup2(leer, STDOUT_FILENO);
      dup2(leer, STDERR_FILENO);
      const std::string option = "delay_us=" + std::to_string(verzögerungUs);
      execl(ZS_SLOWFS, "slowfs", quelle.c_str(), ziel.c_str(), "-o", option.c_str(), "-f",
            static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; i < 500 && kind_ > 0; ++i) {
      struct statfs fs;
      if (statfs(ziel.c_str(), &fs) == 0 && fs.f_type == kFuseMagic) {
        bereit_ = true;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~Freigabe() {
    if (kind_ <= 0) return;
    const std::string befehl = "fusermount3 -u '" + ziel_ + "' 2>/dev/null";
    if (!bereit_ || std::system(befehl.c_str()) != 0) kill(kind_, SIGTERM);
    waitpid(kind_, nullptr, 0);
  }
  bool bereit() const { return bereit_; }

 private:
  std::string ziel_;
  pid_t kind_ = -1;
  bool bereit_ = false;
};

// One walk's outcome, relative to the start folder: result, list and levels.
std::string lauf(const std::string& start, int art, std::int32_t ebenen,
                 const std::optional<ReadAhead>& lesen) {
  OrdnerTabelle t;
  std::int32_t z = 0;
  const std::int32_t startPos = static_cast<std::int32_t>(start.size()) + 1;
  const bool dateien = art >= 2;
  const SammelErgebnis r = art == 0 ? EndpunkteSammeln(t, {.Pfad = start, .Ebenen = ebenen, .StartPos = startPos, .readAhead = lesen}, z)
                                  : OrdnerSammeln(t, {.Pfad = start, .Ebenen = ebenen, .StartPos = startPos, .Maske = art == 3 ? "*.MP3" : "", .readAhead = lesen}, z);
  std::string text = std::to_string(r.Anzahl) + "\n" + std::string(ListenText(t, dateien, dateien).Text) + "\n";
  for (const Ordner& o : t) text += std::to_string(o.Ebene) + ",";
  return text;
}

bool fuseDa() { return access("/dev/fuse", R_OK | W_OK) == 0; }

}  // namespace

TEST(VorauslesenAufFreigaben, TheSameListsAsReadingOneFolderAfterAnother) {
  if (!fuseDa()) GTEST_SKIP() << "no /dev/fuse here";
  for (unsigned seed : {3u, 4u}) {
    PosixTree tree;
    const std::string quelle = testing_tree::generiert(tree.root() + "quelle", 400, seed);
    tree.folders({"ziel"});
    const Freigabe freigabe(quelle, tree.path("ziel"), 100);
    ASSERT_TRUE(freigabe.bereit());
    const std::string start = tree.path("ziel") + "/";

    // The share is recognised as one: many readers, the walk never reads.
    const ReadAhead wie = readAheadFor(start);
    EXPECT_GT(wie.readers, 8u);
    EXPECT_FALSE(wie.walkReads);
    EXPECT_TRUE(readAheadFor(quelle + "/").walkReads);

    for (int art = 0; art < 4; ++art) {
      for (std::int32_t ebenen : {0, 2}) {
        const std::string erwartet = lauf(quelle + "/", art, ebenen, ReadAhead{0, 0, false});
        EXPECT_EQ(lauf(start, art, ebenen, std::nullopt), erwartet) << "mode " << art << ", levels " << ebenen;
        if (art == 1) {
          EXPECT_EQ(lauf(start, art, ebenen, ReadAhead{0, 0, false}), erwartet);
          EXPECT_EQ(lauf(start, art, ebenen, ReadAhead{3, 2, false}), erwartet);
        }
      }
    }
  }
}

TEST(VorauslesenAufFreigaben, TheWalkCallsBackWhileItWaits) {
  if (!fuseDa()) GTEST_SKIP() << "no /dev/fuse here";
  PosixTree tree;
  tree.folders({"quelle/a/b", "quelle/c", "ziel"});
  // Every request takes 30 ms: the start folder alone takes several.
  const Freigabe freigabe(tree.path("quelle"), tree.path("ziel"), 30000);
  ASSERT_TRUE(freigabe.bereit());
  OrdnerTabelle t;
  std::int32_t z = 0;
  std::vector<std::int32_t> gesehen;
  const std::string start = tree.path("ziel") + "/";
  const auto r = OrdnerSammeln(t, {.Pfad = start, .StartPos = static_cast<std::int32_t>(start.size()) + 1, .yield = [&](std::int32_t n) { gesehen.push_back(n); }}, z);
  EXPECT_EQ(r.Anzahl, 3);
  EXPECT_EQ(testing_tree::schräg(ListenText(t, false, false).Text), "a/\na/b/\nc/\n");
  // Called while the start folder was read (no record yet) and while later
  // folders were (one or more records), not only at multiples of 100.
  ASSERT_FALSE(gesehen.empty());
  EXPECT_EQ(gesehen.front(), 0);
  EXPECT_GT(std::count_if(gesehen.begin(), gesehen.end(), [](std::int32_t n) { return n > 0; }), 0);
}
