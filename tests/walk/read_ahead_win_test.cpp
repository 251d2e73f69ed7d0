// The read-ahead on Windows trees: every way of reading gives the serial
// walk's text on generated trees, chains past MAX_PATH, long start paths,
// folders gone after their parent was listed; local folders, \\server\share
// paths and network drives get their settings.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/folder_handle.h"
#include "platform/wide_text.h"
#include "walk_runs.h"

using namespace zweigschau;
using namespace walk_runs;
using testing_tree::TempTree;

namespace {

// The serial walk first, then the default local setting, many readers with
// a small window, and the share setting.
const ReadAhead kArten[] = {{0, 0, false}, kLocalReadAhead, {8, 3, false},
                                      kRemoteReadAhead};

// One walk with the given way of reading: the end points (voll: full paths)
// or all folders.
Lauf lauf(bool nurEnden, const std::string& start, std::int32_t ebenen, bool voll,
          const ReadAhead& lesen, const YieldFn& yield = {}) {
  OrdnerTabelle t;
  std::int32_t z = 0;
  const std::int32_t startPos = voll ? 1 : relativ(start);
  const auto r = nurEnden ? EndpunkteSammeln(t, {.Pfad = start, .Ebenen = ebenen, .StartPos = startPos, .yield = yield, .readAhead = lesen}, z)
                          : OrdnerSammeln(t, {.Pfad = start, .Ebenen = ebenen, .StartPos = startPos, .yield = yield, .readAhead = lesen}, z);
  return auswerten(r.Anzahl, t);
}

// Expects every way of reading to give the serial walk's result on `start`,
// in both walks, at all levels and at `ebenen`.
void wieSeriell(const std::string& start, std::int32_t ebenen) {
  for (const bool nurEnden : {true, false}) {
    for (const std::int32_t e : {0, ebenen}) {
      const Lauf seriell = lauf(nurEnden, start, e, nurEnden, kArten[0]);
      for (const auto& lesen : kArten) {
        SCOPED_TRACE(std::to_string(lesen.readers) + " readers, window " + std::to_string(lesen.window) +
                     (nurEnden ? ", end points" : ", all folders") + ", levels " + std::to_string(e));
        const Lauf r = lauf(nurEnden, start, e, nurEnden, lesen);
        EXPECT_EQ(r.ergebnis, seriell.ergebnis);
        EXPECT_EQ(r.ebenen, seriell.ebenen);
        EXPECT_TRUE(r.text == seriell.text) << r.text.size() << " bytes instead of " << seriell.text.size();
      }
    }
  }
}

// ZWEIGSCHAU_READ_AHEAD removed for the test's time, restored after it.
class OhneVorgabe {
 public:
  OhneVorgabe() {
    if (const char* wert = std::getenv("ZWEIGSCHAU_READ_AHEAD")) {
      alt_ = wert;
      hatte_ = true;
    }
    _putenv_s("ZWEIGSCHAU_READ_AHEAD", "");
  }
  ~OhneVorgabe() {
    if (hatte_) _putenv_s("ZWEIGSCHAU_READ_AHEAD", alt_.c_str());
  }

 private:
  std::string alt_;
  bool hatte_ = false;
};

bool gleich(const ReadAhead& a, const ReadAhead& b) {
  return a.readers == b.readers && a.window == b.window && a.walkReads == b.walkReads;
}

}  // namespace

TEST(ReadAheadWindows, GeneratedTreesAsSerially) {
  // The Windows stage makes them with the benchmark's generator (on Linux,
  // seen through Wine's Z: drive): names with blanks, umlauts, mixed case,
  // hidden dot folders, files for the masks.
  const char* ort = std::getenv("ZWEIGSCHAU_TEST_TREES");
  if (ort == nullptr) GTEST_SKIP() << "ZWEIGSCHAU_TEST_TREES names no folder of generated trees";
  std::vector<std::string> bäume;
  for (const auto& e : std::filesystem::directory_iterator(testing_tree::fsPfad(ort))) {
    const std::u8string pfad = e.path().u8string();
    bäume.push_back(std::string(pfad.begin(), pfad.end()) + "\\");
  }
  std::sort(bäume.begin(), bäume.end());
  ASSERT_GE(bäume.size(), 5u);
  const char* masken[] = {"", "", "*.mp3", "*.j?g"};
  for (std::size_t i = 0; i < bäume.size(); ++i) {
    for (int art = 0; art < 4; ++art) {
      const std::int32_t ebenen = (i + art) % 3 == 0 ? 0 : static_cast<std::int32_t>((i + art) % 4);
      const bool voll = (i + art) % 2 == 0;
      const auto text = [&](const ReadAhead& lesen) {
        OrdnerTabelle t;
        std::int32_t z = 0;
        const std::int32_t startPos = voll ? 1 : relativ(bäume[i]);
        const auto r = art == 0 ? EndpunkteSammeln(t, {.Pfad = bäume[i], .Ebenen = ebenen, .StartPos = startPos, .readAhead = lesen}, z)
                                : OrdnerSammeln(t, {.Pfad = bäume[i], .Ebenen = ebenen, .StartPos = startPos, .Maske = masken[art], .NurMitDateien = art == 3, .readAhead = lesen}, z);
        std::string ebenenText;
        for (const Ordner& o : t) ebenenText += std::to_string(o.Ebene) + ",";
        return std::to_string(r.Anzahl) + "\n" + std::string(ListenText(t, art >= 2, art >= 2).Text) + "\n" + ebenenText;
      };
      const std::string erwartet = text(kArten[0]);
      ASSERT_GT(erwartet.size(), 2u);
      for (const auto& lesen : kArten)
        ASSERT_TRUE(text(lesen) == erwartet) << bäume[i] << ", mode " << art << ", levels " << ebenen
                                             << ", readers " << lesen.readers << ", window " << lesen.window;
    }
  }
}

TEST(ReadAheadWindows, ChainPastMaxPathWithSiblingsAsSerially) {
  // Each folder of the chain holds "a", the next one and "z", as deep as the
  // file system takes it: to the 32,767 limit on NTFS, about 4,096 bytes
  // under Wine, whose Linux paths end there.
  TempTree tree;
  std::wstring pfad = L"\\\\?\\" + platform::toWide(tree.root());
  pfad.pop_back();
  const std::wstring glied(100, L'k');
  std::int32_t ebenen = 0;
  while (CreateDirectoryW((pfad + L"\\" + glied).c_str(), nullptr)) {
    ASSERT_TRUE(CreateDirectoryW((pfad + L"\\a").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((pfad + L"\\z").c_str(), nullptr));
    pfad += L"\\" + glied;
    ++ebenen;
  }
  ASSERT_GT(pfad.size(), 1000u);
  // The ends: "a" and "z" beside each link of the chain, and its last one.
  const Lauf seriell = lauf(true, tree.root(), 0, false, kArten[0]);
  EXPECT_EQ(seriell.ergebnis, 2 * ebenen + 1);
  EXPECT_EQ(seriell.text.substr(0, 8), "a/|" + std::string(5, 'k'));
  EXPECT_EQ(seriell.text.substr(seriell.text.size() - 3), "z/|");
  wieSeriell(tree.root(), ebenen / 2);
}

TEST(ReadAheadWindows, StartPathsNearTheLimit) {
  TempTree tree;
  tree.folders({"a/b", "c"});
  // A start path of over 32,000 characters that names the tree through
  // "name\.." and "." steps is the tree itself; one past 32,767 is not found.
  std::string lang = tree.root();
  while (lang.size() + 204 < 32700) lang += std::string(200, 'x') + "\\..\\";
  while (lang.size() < 32700) lang += ".\\";
  const Lauf r = lauf(false, lang, 0, false, kArten[0]);
  EXPECT_EQ(r.ergebnis, 3);
  EXPECT_EQ(r.text, "a/|a/b/|c/|");
  wieSeriell(lang, 1);
  while (lang.size() < 32800) lang += ".\\";
  for (const auto& lesen : kArten) EXPECT_EQ(lauf(true, lang, 0, false, lesen).ergebnis, -1);
}

TEST(ReadAheadWindows, FoldersGoneAfterTheirParentWasListed) {
  // After the 100th end, c is replaced by a file and d with its sub-tree is
  // removed. Read serially, or with one reader one listing ahead, neither
  // has been read then: both cannot be listed and are ends. Readers further
  // ahead may have listed them before; c is an end either way.
  struct Art {
    ReadAhead lesen;
    std::vector<std::string> möglich;
  };
  const Art arten[] = {{{0, 0, false}, {"c/|d/|e/|"}},
                       {{1, 1, false}, {"c/|d/|e/|"}},
                       {{8, 3, false}, {"c/|d/|e/|", "c/|d/x/|e/|", "c/|d/x/y/|e/|"}},
                       {kLocalReadAhead, {"c/|d/|e/|", "c/|d/x/|e/|", "c/|d/x/y/|e/|"}}};
  for (const Art& art : arten) {
    SCOPED_TRACE(std::to_string(art.lesen.readers) + " readers, window " + std::to_string(art.lesen.window));
    TempTree tree;
    for (int i = 0; i < 100; ++i) tree.folders({"a/f" + std::to_string(100 + i)});
    tree.folders({"c", "d/x/y", "e"});
    int aufrufe = 0;
    const Lauf r = lauf(true, tree.root(), 0, false, art.lesen, [&](std::int32_t zähler) {
      if (zähler != 100 || aufrufe++ > 0) return;
      tree.remove("c");
      tree.file("c");
      for (const char* rel : {"d/x/y", "d/x", "d"}) tree.remove(rel);
    });
    EXPECT_GE(aufrufe, 1);
    ASSERT_EQ(r.text.find("a/f199/|"), 792u);
    const std::string ende = r.text.substr(800);
    EXPECT_NE(std::find(art.möglich.begin(), art.möglich.end(), ende), art.möglich.end()) << ende;
  }
}

TEST(ReadAheadWindows, LocalFoldersAndSharesGetTheirSettings) {
  OhneVorgabe ohne;
  TempTree tree;
  EXPECT_FALSE(platform::onShare(tree.root()));
  EXPECT_TRUE(gleich(readAheadFor(tree.root()), kLocalReadAhead));
  // A \\server\share path is a share without asking the server.
  for (const char* share : {"\\\\server\\musik\\Alben\\", "\\\\?\\UNC\\server\\musik"}) {
    EXPECT_TRUE(platform::onShare(share)) << share;
    EXPECT_TRUE(gleich(readAheadFor(share), kRemoteReadAhead)) << share;
  }
  _putenv_s("ZWEIGSCHAU_READ_AHEAD", "8,3");
  EXPECT_TRUE(gleich(readAheadFor(tree.root()), {8, 3, kLocalReadAhead.walkReads}));
  _putenv_s("ZWEIGSCHAU_READ_AHEAD", "0");
  EXPECT_EQ(readAheadFor("\\\\server\\musik\\").readers, 0u);
}

TEST(ReadAheadWindows, NetworkDrivesGetTheShareSetting) {
  // The Windows stage maps a network drive under Wine; elsewhere there may
  // be none.
  std::string laufwerk;
  const DWORD laufwerke = GetLogicalDrives();
  for (char c = 'A'; c <= 'Z' && laufwerk.empty(); ++c) {
    const std::string wurzel = std::string(1, c) + ":\\";
    if ((laufwerke >> (c - 'A') & 1) && GetDriveTypeA(wurzel.c_str()) == DRIVE_REMOTE) laufwerk = wurzel;
  }
  if (laufwerk.empty()) GTEST_SKIP() << "no network drive";
  OhneVorgabe ohne;
  TempTree tree(laufwerk);
  tree.folders({"Alben/Rock", "Alben/Jazz/alt", "Hörspiele"});
  for (int i = 0; i < 50; ++i) tree.folders({"viele/o" + std::to_string(100 + i) + "/innen"});
  EXPECT_TRUE(platform::onShare(tree.root()));
  EXPECT_TRUE(gleich(readAheadFor(tree.root()), kRemoteReadAhead));
  // Also in the \\?\ form, and below the path limit.
  EXPECT_TRUE(platform::onShare("\\\\?\\" + tree.path("Alben")));
  wieSeriell(tree.root(), 1);
  const Lauf r = lauf(true, tree.root(), 0, false, kRemoteReadAhead);
  EXPECT_EQ(r.ergebnis, 53);
  const std::string anfang = "Alben/Jazz/alt/|Alben/Rock/|H\xC3\xB6rspiele/|viele/o100/innen/|";
  EXPECT_EQ(r.text.substr(0, anfang.size()), anfang);
}
