// The walks on Windows trees: attributes decide what is hidden, read-only
// and archive folders count, names with a lone surrogate show as one U+FFFD
// and are entered all the same, paths past MAX_PATH. (Links seen as
// reparse points: tests/windows/e2e.sh.)
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/wide_text.h"
#include "walk_runs.h"

using namespace zweigschau;
using namespace walk_runs;
using testing_tree::TempTree;

namespace {

void attribute(const TempTree& tree, const std::string& rel, DWORD attributes) {
  ASSERT_TRUE(SetFileAttributesW(platform::toWide(tree.path(rel)).c_str(), attributes)) << rel;
}

}  // namespace

TEST(WindowsWalks, HiddenAndSystemFoldersAreLeftOutOthersCount) {
  TempTree tree;
  tree.folders({"versteckt/tief", "system/tief", "nurlesen/innen", "archiv", "beides", "normal"});
  attribute(tree, "versteckt", FILE_ATTRIBUTE_HIDDEN);
  attribute(tree, "system", FILE_ATTRIBUTE_SYSTEM);
  attribute(tree, "beides", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  attribute(tree, "nurlesen", FILE_ATTRIBUTE_READONLY);
  attribute(tree, "nurlesen/innen", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  attribute(tree, "archiv", FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(endpunkte(tree.root()).text, "archiv/|normal/|nurlesen/innen/|");
  EXPECT_EQ(alle(tree.root()).text, "archiv/|normal/|nurlesen/|nurlesen/innen/|");
  attribute(tree, "nurlesen/innen", FILE_ATTRIBUTE_NORMAL);
  attribute(tree, "nurlesen", FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsWalks, HiddenFilesCountInTheFileSearch) {
  TempTree tree;
  tree.folders({"a"});
  tree.file("a/sichtbar.mp3");
  tree.file("a/versteckt.mp3");
  tree.file("a/system.mp3");
  attribute(tree, "a/versteckt.mp3", FILE_ATTRIBUTE_HIDDEN);
  attribute(tree, "a/system.mp3", FILE_ATTRIBUTE_SYSTEM);
  OrdnerTabelle t;
  std::int32_t z = 0;
  ASSERT_EQ(OrdnerSammeln(t, {.Pfad = tree.root(), .StartPos = relativ(tree.root()), .Maske = "*.MP3", .NurMitDateien = true}, z).Anzahl, 1);
  EXPECT_EQ(t[0].Dateien, (std::vector<std::string>{"sichtbar.mp3", "system.mp3", "versteckt.mp3"}));
}

TEST(WindowsWalks, LoneSurrogateShowsAsOneReplacementAndIsEntered) {
  TempTree tree;
  const std::wstring name = std::wstring(L"a") + wchar_t(0xD800) + L"b";
  const std::wstring ordner = platform::toWide(tree.root()) + name;
  if (!CreateDirectoryW(ordner.c_str(), nullptr)) {
    // NTFS holds such names; Wine's view of a Linux folder cannot.
    const DWORD fehler = GetLastError();
    ASSERT_NE(fehler, static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    GTEST_SKIP() << "this file system takes no name with a lone surrogate (error " << fehler << ")";
  }
  ASSERT_TRUE(CreateDirectoryW((ordner + L"\\innen").c_str(), nullptr));
  EXPECT_EQ(endpunkte(tree.root()).text, "a\xEF\xBF\xBD" "b/innen/|");
  EXPECT_EQ(alle(tree.root()).ebenen, "12");
}

TEST(WindowsWalks, PathsPastMaxPath) {
  TempTree tree;
  const std::string n50(50, 'n');
  std::string rel = "tief";
  for (int i = 0; i < 8; ++i) rel += "/" + n50;
  // The file system library may not take such paths; \\?\ does.
  std::wstring pfad = L"\\\\?\\" + platform::toWide(tree.root()) + L"tief";
  ASSERT_TRUE(CreateDirectoryW(pfad.c_str(), nullptr));
  for (int i = 0; i < 8; ++i) {
    pfad += L"\\" + platform::toWide(n50);
    ASSERT_TRUE(CreateDirectoryW(pfad.c_str(), nullptr));
  }
  ASSERT_GT(tree.root().size() + rel.size(), 400u);
  EXPECT_EQ(endpunkte(tree.root()).text, rel + "/|");
  EXPECT_EQ(endpunkte(tree.root(), 0, true).text, testing_tree::schräg(tree.root()) + rel + "/|");
  // A long start folder works as well.
  EXPECT_EQ(endpunkte(tree.path(rel.substr(0, rel.size() - 51)) + "\\").text, n50 + "/|");
}
