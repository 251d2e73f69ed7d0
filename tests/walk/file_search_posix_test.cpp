// The file search on POSIX trees: links to files and folders, dangling
// links.
#include <gtest/gtest.h>

#include "temp_tree_posix.h"
#include "walk/file_search.h"

using namespace zweigschau;
using testing_tree::PosixTree;

TEST(DateienSammeln, FilesOfEveryKindButNoFolders) {
  PosixTree tree;
  tree.folders({"d/unter.mp3"});
  tree.file("d/b.mp3");
  tree.file("d/A.MP3");
  tree.file("d/.versteckt.mp3");
  tree.file("d/text.txt");
  tree.file("d/ vorn und hinten .mp3");  // blanks belong to the name here
  tree.link("b.mp3", "d/zeiger.mp3");        // link to a file: counts
  tree.link("unter.mp3", "d/ordner.mp3");    // link to a folder: does not
  tree.link("nirgends", "d/kaputt.mp3");     // dangling link: a file entry all the same
  OrdnerTabelle t;
  EXPECT_EQ(DateienSammeln(t, "  " + tree.path("d") + "  ", 2, "*.mp3"), 6);
  ASSERT_EQ(t.size(), 3u);
  EXPECT_EQ(t[2].Dateien, (std::vector<std::string>{" vorn und hinten .mp3", ".versteckt.mp3", "A.MP3",
                                                    "b.mp3", "kaputt.mp3", "zeiger.mp3"}));
  EXPECT_EQ(t[2].LetzterDateiIndex, 5);

  EXPECT_EQ(DateienSammeln(t, tree.path("d/"), 0, "*.wav"), 0);
  EXPECT_TRUE(t[0].Dateien.empty());
  EXPECT_EQ(t[0].LetzterDateiIndex, -1);
  EXPECT_EQ(DateienSammeln(t, tree.path("fehlt"), 0, "*"), 0);
}

// "*" cannot stand in a Windows file name.
TEST(DateienSammeln, StarsInFileNamesDoNotHideThemFromTheMask) {
  PosixTree tree;
  for (const char* name : {"*a.txt", "b.txt", "*", "**x"}) tree.file(name);
  OrdnerTabelle t;
  EXPECT_EQ(DateienSammeln(t, tree.root(), 0, "*"), 4);
  EXPECT_EQ(t[0].Dateien, (std::vector<std::string>{"*", "**x", "*a.txt", "b.txt"}));
  EXPECT_EQ(DateienSammeln(t, tree.root(), 0, "*.txt"), 2);
  EXPECT_EQ(t[0].Dateien, (std::vector<std::string>{"*a.txt", "b.txt"}));
  EXPECT_EQ(DateienSammeln(t, tree.root(), 0, "*x"), 1);
}
