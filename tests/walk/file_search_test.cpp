// File masks and the file search, on real folders.
#include <gtest/gtest.h>

#include "temp_tree.h"
#include "walk/file_search.h"
#include "walk/list_text.h"
#include "walk/walks.h"

using namespace zweigschau;
using testing_tree::schraeg;
using testing_tree::TempTree;

TEST(DateiMaske, WindowsWildcardRules) {
  struct Fall {
    const char* maske;
    const char* name;
    bool passt;
  };
  const Fall faelle[] = {
      {"*.mp3", "Lied.MP3", true},       {"*.mp3", "Lied.mp3.txt", false},
      {"*.mp3", "mp3", false},           {"*.*", "README", true},
      {"*.*", "a.b.c", true},            {"*", ".versteckt", true},
      {"x.*", "x", true},                {"x.*", "x.txt", true},
      {"x.*", "xy", false},              {"*.", "README", true},
      {"*.", "a.txt", false},            {"x.", "x", true},
      {"?.txt", "a.txt", true},          {"?.txt", "ab.txt", false},
      {"a*b*c", "aXbYbZc", true},        {"a*b*c", "aXbYbZ", false},
      {"*ä*", "LÄNGE", true},            {"ÄRGER.*", "ärger.doc", true},
      {"*.doc", "kaputt\xFF.doc", true}, {"?.doc", "\xFF.doc", true},
      {".", "x", false},                 {"", "x", false},
  };
  for (const Fall& f : faelle)
    EXPECT_EQ(DateiMaske(f.maske).passt(f.name), f.passt) << f.maske << " / " << f.name;
}

TEST(DateiMaske, NameBisNull) {
  EXPECT_EQ(NameBisNull(std::string_view("abc\0def", 7)), "abc");
  EXPECT_EQ(NameBisNull(std::string_view("\0abc", 4)), "");
  EXPECT_EQ(NameBisNull("ohne"), "ohne");
}

TEST(DateienSammeln, FileLinesOfAFullWalk) {
  TempTree tree;
  tree.folders({"a/x", "b", "leer"});
  tree.file("a/y.mp3");
  tree.file("a/x.MP3");
  tree.file("a/x/tief.mp3");
  tree.file("b/text.txt");
  tree.file("ganz oben.mp3");
  OrdnerTabelle t;
  std::int32_t z = 0;
  const std::string start = tree.root();
  ASSERT_EQ(OrdnerSammeln(t, start, 0, static_cast<std::int32_t>(start.size()) + 1, z, "*.mp3", true), 4);
  Liste l = ListenText(t, true, true);
  EXPECT_EQ(schraeg(l.Text), "a/\tx.MP3\ra/\ty.mp3\ra/x/\ttief.mp3\r");
  EXPECT_EQ(l.Zeilen, 3);
  l = ListenText(t, true, false);
  EXPECT_EQ(schraeg(l.Text), "a/x.MP3\ra/y.mp3\ra/x/tief.mp3\r");

  // With full paths the start folder is recorded first and searched too.
  t.clear();
  z = 0;
  ASSERT_EQ(OrdnerSammeln(t, start, 1, 1, z, "*.mp3", true), 4);
  const std::string s = schraeg(start);
  EXPECT_EQ(schraeg(ListenText(t, true, false).Text), s + "ganz oben.mp3\r" + s + "a/x.MP3\r" + s + "a/y.mp3\r");
}

TEST(DateienSammeln, OnlyFoldersWithFilesDropsTheStartFolderOnly) {
  TempTree tree;
  tree.folders({"a", "b"});
  tree.file("a/lied.mp3");
  OrdnerTabelle t;
  std::int32_t z = 0;
  // The start folder holds no match and is dropped; its sub-folders stay.
  EXPECT_EQ(OrdnerSammeln(t, tree.root(), 0, 1, z, "*.mp3", true), 2);
  EXPECT_EQ(t.size(), 2u);
  EXPECT_EQ(schraeg(t[0].Pfad), schraeg(tree.root()) + "a/");
  EXPECT_EQ(schraeg(t[1].Pfad), schraeg(tree.root()) + "b/");
  EXPECT_TRUE(t[1].Dateien.empty());

  // Without a mask nothing is searched and nothing dropped.
  t.clear();
  z = 0;
  EXPECT_EQ(OrdnerSammeln(t, tree.root(), 0, 1, z, "", true), 3);
  for (const Ordner& o : t) EXPECT_TRUE(o.Dateien.empty());
}
