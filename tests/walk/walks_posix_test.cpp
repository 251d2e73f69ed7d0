// The walks on POSIX trees: links, hidden dot folders, modes, privileges
// dropped to "nobody", chains deeper than PATH_MAX under a handle limit,
// names that are not valid UTF-8.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

#include "temp_tree_posix.h"
#include "walk/file_search.h"
#include "walk_runs.h"

using namespace zweigschau;
using namespace walk_runs;
using testing_tree::PosixTree;

TEST(Walks, StartFolderThroughALink) {
  PosixTree tree;
  // A start folder given through a link is walked (as "find -H" does); only
  // links met inside the tree are never entered.
  tree.folders({"ziel/unten"});
  tree.link("ziel", "zeiger");
  EXPECT_EQ(endpunkte(tree.path("zeiger/")).text, "unten/|");
}

TEST(Walks, CaseTiesBrokenByTheExactName) {
  PosixTree tree;
  tree.folders({"b", "A", "a", "Z", "\xC3\xA4", "\xC3\x84", "10", "9", "_x"});
  // Upper case first, code point order, exact name breaks ties.
  EXPECT_EQ(alle(tree.root()).text, "10/|9/|A/|a/|b/|Z/|_x/|\xC3\x84/|\xC3\xA4/|");
}

TEST(Walks, NamesThatAreNotValidText) {
  PosixTree odd;
  odd.folders({"zeile\numbruch", "mit\ttab", "kaputt\xFF", "  blank  "});
  EXPECT_EQ(alle(odd.root()).text,
            "  blank  /|kaputt\xEF\xBF\xBD/|mit?tab/|zeile?umbruch/|");
}

TEST(Walks, HiddenFoldersAndLinksAreNotWalked) {
  PosixTree tree;
  tree.folders({"a/.versteckt/tief", ".git/objects", "b/c"});
  tree.link("../b", "a/zu_b");         // link to a folder: neither listed nor entered
  tree.link("..", "b/c/schleife");     // a loop
  tree.link("nirgends", "b/kaputt");   // dangling
  tree.file("b/datei");
  EXPECT_EQ(endpunkte(tree.root()).text, "a/|b/c/|");
  EXPECT_EQ(alle(tree.root()).text, "a/|b/|b/c/|");
}

TEST(Walks, ReadOnlyFoldersCount) {
  PosixTree tree;
  tree.folders({"nur/lesen", "x"});
  tree.mode("nur/lesen", 0555);
  tree.mode("nur", 0555);
  EXPECT_EQ(endpunkte(tree.root()).text, "nur/lesen/|x/|");
}

TEST(Walks, UnreadableFoldersAreRecordedAsEnds) {
  PosixTree tree;
  tree.folders({"a/zu/drin", "b/c", "offen"});
  tree.mode("a/zu", 0000);
  tree.mode("b", 0311);  // can enter, cannot list
  const std::string text = testing_tree::imKind(
      [&] {
        if (access(tree.path("a/zu").c_str(), R_OK) == 0) return std::string("still privileged");
        return endpunkte(tree.root()).text + "#" + alle(tree.root()).text;
      },
      /*niemand=*/true);
  // Every listable folder once; the ones that cannot be listed as ends.
  EXPECT_EQ(text, "a/zu/|b/|offen/|#a/|a/zu/|b/|offen/|");

  // An unreadable start folder is not found.
  tree.mode("a/zu", 0000);
  EXPECT_EQ(testing_tree::imKind([&] { return std::to_string(endpunkte(tree.path("a/zu/")).ergebnis); },
                                 true),
            "-1");
}

TEST(Walks, DeepChainsAndLongPathsWithFewHandles) {
  PosixTree tree;
  tree.chain("", "k", 3000);
  const std::string lang(200, 'n');
  tree.chain("", lang, 50);  // paths of over 10,000 bytes
  const std::string text = testing_tree::imKind(
      [&] {
        OrdnerTabelle t;
        std::int32_t z = 0;
        const auto alleErgebnis = OrdnerSammeln(t, {.Pfad = tree.root(), .StartPos = relativ(tree.root()), .Maske = "*"}, z);
        const std::size_t tiefstes = t.back().Pfad.size();
        OrdnerTabelle e;
        z = 0;
        const auto endErgebnis = EndpunkteSammeln(e, {.Pfad = tree.root()}, z);
        return std::to_string(alleErgebnis.Anzahl) + " " + std::to_string(tiefstes) + " " +
               std::to_string(endErgebnis.Anzahl) + " " + std::to_string(e[0].Pfad.size() - tree.root().size()) +
               " " + std::to_string(e[1].Pfad.size() - tree.root().size());
      },
      false, /*handles=*/64);
  // 3050 folders, the last one 50 names of 200 bytes deep; the two ends are
  // the chains' deepest folders, "k/" 3000 times and the long names.
  EXPECT_EQ(text, "3050 10050 2 6000 10050");
}

TEST(Walks, C1ControlsAndLineSeparatorsShowAsQuestionMarks) {
  PosixTree odd;
  odd.folders({"nel\xC2\x85/tief\xE2\x80\xA8"});
  EXPECT_EQ(alle(odd.root()).text, "nel?/|nel?/tief?/|");
  odd.file("nel\xC2\x85/absatz\xE2\x80\xA9.txt");
  OrdnerTabelle t;
  EXPECT_EQ(DateienSammeln(t, odd.path("nel\xC2\x85"), 0, "*.txt"), 1);
  EXPECT_EQ(t[0].Dateien, std::vector<std::string>{"absatz?.txt"});
}

// A start folder whose path is longer than the system lets one open() take
// is found all the same, with links and ".." resolved as open() resolves
// them: ".." goes up from where a link led.
TEST(Walks, StartFoldersBeyondThePathLengthLimit) {
  PosixTree tree;
  tree.folders({"a/x", "tief/ziel/unten"});
  tree.link("tief/ziel", "zeiger");
  tree.file("datei");
  std::string polster;
  for (int i = 0; i < 2100; ++i) polster += "./";  // 4,200 bytes
  const std::string lang = tree.root() + polster;

  EXPECT_EQ(endpunkte(lang + "a/").text, "x/|");
  EXPECT_EQ(alle(lang + "a/", 0, true).text, lang + "a/|" + lang + "a/x/|");
  EXPECT_EQ(endpunkte(lang + "zeiger/").text, "unten/|");
  EXPECT_EQ(endpunkte(lang + "zeiger/../ziel/").text, "unten/|");
  EXPECT_EQ(endpunkte(lang + "a//x/..//").text, "x/|");
  EXPECT_EQ(endpunkte(tree.root() + "a" + std::string(6000, '/')).text, "x/|");
  EXPECT_EQ(endpunkte(lang + "fehlt/").ergebnis, -1);
  EXPECT_EQ(endpunkte(lang + "datei/").ergebnis, -1);
  EXPECT_EQ(endpunkte(lang + "zeiger/../a/").ergebnis, -1);  // tief/a does not exist

  // A path of real names, 40 of 200 bytes, and one relative to the
  // current folder.
  const std::string name(200, 'n');
  tree.chain("", name, 40);
  std::string tief = tree.root();
  for (int i = 0; i < 35; ++i) tief += name + "/";
  EXPECT_EQ(endpunkte(tief).text.size(), 5 * 201 + 1);
  EXPECT_EQ(endpunkte(tief, 0, true).text.size(), tief.size() + 5 * 201 + 1);
  const std::string vorher = std::filesystem::current_path();
  std::filesystem::current_path(tree.root());
  EXPECT_EQ(endpunkte(polster + "tief/").text, "ziel/unten/|");
  std::filesystem::current_path(vorher);
}

// The walks keep their place in the tree on the heap, not on the call
// stack: a chain far deeper than any stack could recurse gives its one end.
TEST(Walks, AHundredThousandLevelsGiveTheirOneLine) {
  PosixTree tree(testing_tree::speicherOrt());
  tree.chain("", "k", 100000);
  const std::string text = testing_tree::imKind(
      [&] {
        OrdnerTabelle t;
        std::int32_t z = 0;
        const auto r = EndpunkteSammeln(t, {.Pfad = tree.root(), .StartPos = relativ(tree.root())}, z);
        const Liste l = ListenText(t, false, false);
        return std::to_string(r.Anzahl) + " " + std::to_string(l.Zeilen) + "|" + std::string(l.Text);
      },
      false, /*handles=*/64);
  std::string zeile;
  for (int i = 0; i < 100000; ++i) zeile += "k/";
  const std::string erwartet = "1 1|" + zeile + "\n";
  EXPECT_TRUE(text == erwartet) << text.size() << " bytes: " << text.substr(0, 80) << " ... "
                                << text.substr(text.size() > 80 ? text.size() - 80 : 0);
}

// Both walks on a thread with a small stack (256 KiB, a quarter of a
// Windows main thread's): 5,000 levels and a few siblings on the way.
TEST(Walks, DeepTreesNeedNoDeepStack) {
  PosixTree tree(testing_tree::speicherOrt());
  tree.chain("", "k", 5000);
  tree.folders({"k/a", "k/k/b", "z"});
  const std::string text = testing_tree::imKind(
      [&] {
        std::string ergebnis;
        const auto laufen = [&] {
          OrdnerTabelle t;
          std::int32_t z = 0;
          const auto alleErgebnis = OrdnerSammeln(t, {.Pfad = tree.root(), .StartPos = relativ(tree.root()), .Maske = "*"}, z);
          ergebnis = std::to_string(alleErgebnis.Anzahl) + " ";
          ergebnis.append(t[0].Pfad).append(t[1].Pfad).append(t[2].Pfad).append(t[3].Pfad);
          ergebnis.append(std::to_string(t[5001].Pfad.size())).append(t[5002].Pfad);
          OrdnerTabelle e;
          z = 0;
          const auto endErgebnis = EndpunkteSammeln(e, {.Pfad = tree.root(), .StartPos = relativ(tree.root())}, z);
          ergebnis += " " + std::to_string(endErgebnis.Anzahl) + " ";
          ergebnis.append(e[0].Pfad).append(e[1].Pfad);
          ergebnis.append(std::to_string(e[2].Pfad.size())).append(e[3].Pfad);
        };
        pthread_attr_t attr;
        pthread_attr_init(&attr);
        pthread_attr_setstacksize(&attr, 256 * 1024);
        pthread_t faden;
        const auto start = [](void* f) -> void* {
          (*static_cast<decltype(laufen)*>(f))();
          return nullptr;
        };
        if (pthread_create(&faden, &attr, start, const_cast<void*>(static_cast<const void*>(&laufen))) != 0)
          return std::string("no thread");
        pthread_join(faden, nullptr);
        return ergebnis;
      },
      false, /*handles=*/64);
  // Pre-order: k/, then k/a/ before k/k/, k/k/b/ before k/k/k/; the deepest
  // is 5,000 times "k/"; z/ last. The ends: k/a/, k/k/b/, the chain's end, z/.
  EXPECT_EQ(text, "5003 k/k/a/k/k/k/k/b/10000z/ 4 k/a/k/k/b/10000z/");
}

// A start folder that exists but cannot be opened for want of handles is
// not a missing folder: the walk says so.
TEST(Walks, NoHandleLeftIsNotAMissingFolder) {
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
  // The sanitizers' own checks need a free handle (a pipe) to tell whether
  // memory can be read, and report faults that are none without one.
  GTEST_SKIP() << "needs every handle taken, which the sanitizers cannot bear";
#endif
#endif
  testing_tree::TempTree tree;
  tree.folders({"a"});
  const std::string ergebnis = testing_tree::imKind(
      [&] {
        std::vector<int> belegt;
        for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) belegt.push_back(fd);
        OrdnerTabelle t;
        std::int32_t z = 0;
        const auto r = EndpunkteSammeln(t, {.Pfad = tree.root(), .readAhead = ReadAhead{0, 0, false}}, z);
        for (int fd : belegt) close(fd);
        const bool knapp = r.Fehler == platform::Failure::Short && r.Anzahl == -1;
        return (knapp ? "knapp " : "? ") + std::to_string(EndpunkteSammeln(t, {.Pfad = tree.root()}, z).Anzahl);
      },
      false, /*handles=*/64);
  EXPECT_EQ(ergebnis, "knapp 1");
}
