// The walks on POSIX trees: links, hidden dot folders, modes, privileges
// dropped to "nobody", chains deeper than PATH_MAX under a handle limit,
// names that are not valid UTF-8.
#include <gtest/gtest.h>

#include <unistd.h>

#include "temp_tree_posix.h"
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
        const auto alleErgebnis = OrdnerSammeln(t, tree.root(), 0, relativ(tree.root()), z, "*", false);
        const std::size_t tiefstes = t.back().Pfad.size();
        OrdnerTabelle e;
        z = 0;
        const auto endErgebnis = EndpunkteSammeln(e, tree.root(), 0, 1, z);
        return std::to_string(alleErgebnis) + " " + std::to_string(tiefstes) + " " +
               std::to_string(endErgebnis) + " " + std::to_string(e[0].Pfad.size() - tree.root().size()) +
               " " + std::to_string(e[1].Pfad.size() - tree.root().size());
      },
      false, /*handles=*/64);
  // 3050 folders, the last one 50 names of 200 bytes deep; the two ends are
  // the chains' deepest folders, "k/" 3000 times and the long names.
  EXPECT_EQ(text, "3050 10050 2 6000 10050");
}
