// The scan run's home folder on POSIX ($HOME).
#include <gtest/gtest.h>

#include <cstdlib>

#include "run/scan_run.h"
#include "scan_doubles.h"
#include "temp_tree.h"

using namespace zweigschau;
using namespace scan_doubles;
using testing_tree::TempTree;

TEST(ListeErstellen, TildeIsTheHomeFolder) {
  TempTree tree;
  tree.folders({"home/Musik/Alben"});
  const char* alt = std::getenv("HOME");
  const std::string altHome = alt ? alt : "";
  setenv("HOME", tree.path("home").c_str(), 1);
  Umgebung u;
  std::string pfad = "~/Musik";
  u.lauf(pfad, true, 0, false);
  EXPECT_EQ(pfad, tree.path("home/Musik/"));
  EXPECT_EQ(u.ablage.inhalt, tree.path("home/Musik/") + "\n" + tree.path("home/Musik/Alben/") + "\n");
  pfad = "~";
  u.lauf(pfad, false, 1, false);
  EXPECT_EQ(u.ablage.inhalt, "Musik/\n");
  pfad = "~anders";  // only "~" alone or "~/" is the home folder
  EXPECT_EQ(u.lauf(pfad, false, 0, false).ausgang, Ausgang::NichtGefunden);
  if (alt) setenv("HOME", altHome.c_str(), 1);
}
