// The scan run's home folder on Windows (%USERPROFILE%).
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/wide_text.h"
#include "run/scan_run.h"
#include "scan_doubles.h"
#include "temp_tree.h"

using namespace zweigschau;
using namespace scan_doubles;
using testing_tree::TempTree;

TEST(ListeErstellen, TildeIsTheUserProfile) {
  TempTree tree;
  tree.folders({"profil/Musik/Alben"});
  const wchar_t* alt = _wgetenv(L"USERPROFILE");
  const std::wstring altProfil = alt ? alt : L"";
  _wputenv_s(L"USERPROFILE", platform::toWide(tree.path("profil")).c_str());
  Umgebung u;
  std::string pfad = "~\\Musik";
  u.lauf(pfad, true, 0, false);
  EXPECT_EQ(pfad, tree.path("profil/Musik/"));
  EXPECT_EQ(u.ablage.inhalt, testing_tree::schräg(tree.path("profil/Musik/")) + "\n" +
                                 testing_tree::schräg(tree.path("profil/Musik/Alben/")) + "\n");
  pfad = "~";
  u.lauf(pfad, false, 1, false);
  EXPECT_EQ(u.ablage.inhalt, "Musik/\n");
  pfad = "~/Musik";  // on Windows only "~" alone or "~\" is the profile
  EXPECT_EQ(u.lauf(pfad, false, 0, false).ausgang, Ausgang::NichtGefunden);
  _wputenv_s(L"USERPROFILE", altProfil.c_str());
}
