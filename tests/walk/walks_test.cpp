// The walks on real folder trees, compared as the exact list text; on every
// platform. POSIX-only cases (links, modes, privileges, handle limits) are
// in walks_posix_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

#include "walk_runs.h"

using namespace zweigschau;
using namespace walk_runs;
using testing_tree::schräg;
using testing_tree::TempTree;

TEST(Walks, EndPointsOfASmallTree) {
  TempTree tree;
  tree.folders({"a/x", "b"});
  auto r = endpunkte(tree.root());
  EXPECT_EQ(r.ergebnis, 2);
  EXPECT_EQ(r.text, "a/x/|b/|");
  EXPECT_EQ(r.ebenen, "21");

  r = endpunkte(tree.root(), 1);
  EXPECT_EQ(r.text, "a/|b/|");
  EXPECT_EQ(r.ebenen, "11");

  r = endpunkte(tree.root(), -1);
  EXPECT_EQ(r.ergebnis, 0);
  EXPECT_EQ(r.text, "");

  r = endpunkte(tree.root(), 0, true);
  const std::string wurzel = schräg(tree.root());
  EXPECT_EQ(r.text, wurzel + "a/x/|" + wurzel + "b/|");
}

TEST(Walks, FullPathsInPreOrder) {
  TempTree tree;
  tree.folders({"a/x", "b"});
  auto r = alle(tree.root());
  EXPECT_EQ(r.ergebnis, 3);
  EXPECT_EQ(r.text, "a/|a/x/|b/|");
  EXPECT_EQ(r.ebenen, "121");

  r = alle(tree.root(), 0, true);
  EXPECT_EQ(r.ergebnis, 4);
  const std::string wurzel = schräg(tree.root());
  EXPECT_EQ(r.text, wurzel + "|" + wurzel + "a/|" + wurzel + "a/x/|" + wurzel + "b/|");
  EXPECT_EQ(r.ebenen, "0121");

  r = alle(tree.root(), 1);
  EXPECT_EQ(r.text, "a/|b/|");

  // A negative depth stops at the start folder, which only the full paths show.
  EXPECT_EQ(alle(tree.root(), -3).ergebnis, 0);
  EXPECT_EQ(alle(tree.root(), -3, true).text, wurzel + "|");
}

TEST(Walks, StartFolderFoundOrNot) {
  TempTree tree;
  tree.folders({"leer"});
  tree.file("datei");
  EXPECT_EQ(endpunkte(tree.path("leer/")).ergebnis, 0);
  EXPECT_EQ(alle(tree.path("leer/")).ergebnis, 0);
  EXPECT_EQ(endpunkte(tree.path("fehlt/")).ergebnis, -1);
  EXPECT_EQ(alle(tree.path("fehlt/"), 0, true).ergebnis, -1);
  EXPECT_EQ(endpunkte(tree.path("datei/")).ergebnis, -1);
}

TEST(Walks, FixedSiblingOrder) {
  TempTree tree;
  tree.folders({"b", "A", "Z", "\xC3\x89", "\xC3\xA4", "10", "9", "_x", "  blank"});
  // Compared by upper case, code point by code point (names that differ
  // only in case are in walks_posix_test.cpp: Windows cannot hold both).
  EXPECT_EQ(alle(tree.root()).text, "  blank/|10/|9/|A/|b/|Z/|_x/|\xC3\xA4/|\xC3\x89/|");
}

TEST(Walks, ManySiblingsAllListedOnceInOrder) {
  TempTree tree;
  std::string erwartet;
  for (int i = 0; i < 1000; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "o%04d", i);
    tree.folders({name});
    erwartet += std::string(name) + "/|";
  }
  EXPECT_EQ(endpunkte(tree.root()).text, erwartet);
  EXPECT_EQ(alle(tree.root()).text, erwartet);
}

TEST(Walks, FoldersVanishingDuringTheWalk) {
  // Read one by one, b/weg and c are gone when the walk comes to them: b is
  // an end, and so is c, which cannot be listed. Read ahead, b/weg may have
  // been listed before it went; c is an end either way.
  const struct {
    ReadAhead lesen;
    std::vector<std::string> möglich;
  } arten[] = {{{0, 0}, {"b/|c/|d/|"}}, {{1, 256}, {"b/|c/|d/|", "b/weg/|c/|d/|"}},
               {{8, 3}, {"b/|c/|d/|", "b/weg/|c/|d/|"}}};
  for (const auto& art : arten) {
    SCOPED_TRACE(art.lesen.readers);
    TempTree tree;
    for (int i = 0; i < 100; ++i) tree.folders({"a/f" + std::to_string(100 + i)});
    tree.folders({"b/weg", "c", "d"});
    OrdnerTabelle t;
    std::int32_t z = 0;
    int aufrufe = 0;
    // After the 100th end the walk lets the caller run: remove folders it has
    // seen but not yet entered.
    const auto r = EndpunkteSammeln(
        t,
        {.Pfad = tree.root(),
         .StartPos = relativ(tree.root()),
         .yield =
             [&](std::int32_t zähler) {
               if (zähler == 100 && aufrufe++ == 0) {
                 tree.remove("b/weg");
                 tree.remove("c");
               }
             },
         .readAhead = art.lesen},
        z);
    EXPECT_GE(aufrufe, 1);
    EXPECT_EQ(r.Anzahl, static_cast<std::int32_t>(t.size()));
    const std::string text = sichtbar(ListenText(t, false, false).Text);
    const std::string ende = text.substr(std::min(text.size(), text.find("f199/|") + 6));
    EXPECT_NE(std::find(art.möglich.begin(), art.möglich.end(), ende), art.möglich.end()) << ende;
  }
}

TEST(Walks, YieldReportsTheCountAfterEveryFolder) {
  TempTree tree;
  for (int i = 0; i < 250; ++i) tree.folders({"o" + std::to_string(1000 + i)});
  OrdnerTabelle t;
  std::int32_t z = 0;
  std::vector<std::int32_t> gesehen;
  // (A walk that waits for a listing also calls back in between.)
  OrdnerSammeln(t, {.Pfad = tree.root(), .yield = [&](std::int32_t n) {
    if (n > 0 && (gesehen.empty() || gesehen.back() != n)) gesehen.push_back(n);
  }}, z);
  EXPECT_EQ(z, 251);
  // Every count from the first sub-folder's on (the start folder's record
  // is made before its listing is done).
  std::vector<std::int32_t> jeder(250);
  std::iota(jeder.begin(), jeder.end(), 2);
  EXPECT_EQ(gesehen, jeder);
}

TEST(Walks, PlatformSeparatorAndOverlongStartPath) {
  TempTree tree;
  tree.folders({"a/x"});
  OrdnerTabelle t;
  std::int32_t z = 0;
  ASSERT_EQ(EndpunkteSammeln(t, {.Pfad = tree.root(), .StartPos = relativ(tree.root())}, z).Anzahl, 1);
  EXPECT_EQ(t[0].Pfad, std::string("a") + platform::kSeparator + "x" + platform::kSeparator);
  // Longer than any path the system takes: not found, no crash.
  const std::string lang = tree.root() + std::string(40000, 'n') + "/";
  EXPECT_EQ(endpunkte(lang).ergebnis, -1);
  EXPECT_EQ(alle(lang, 0, true).ergebnis, -1);
}
