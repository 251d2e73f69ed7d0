// The scan run against a recording window and clipboard, on real trees.
#include <gtest/gtest.h>

#include "run/scan_run.h"
#include "scan_doubles.h"
#include "temp_tree.h"

using namespace zweigschau;
using namespace scan_doubles;
using testing_tree::TempTree;

TEST(ListeErstellen, ListOnTheClipboardInOneStep) {
  TempTree tree;
  tree.folders({"a/x", "b"});
  Umgebung u;
  // Blanks around, no separator at the end.
  std::string pfad = "  " + tree.root().substr(0, tree.root().size() - 1) + "  ";
  const ScanErgebnis r = u.lauf(pfad, false, 0, false);
  EXPECT_EQ(pfad, tree.root());  // trimmed, separator appended, written back
  EXPECT_EQ(r.ausgang, Ausgang::InZwischenablage);
  EXPECT_EQ(r.Anzahl, 3);
  EXPECT_EQ(r.Zeilen, 3);
  EXPECT_EQ(u.ablage.gesetzt.size(), 1u);
  EXPECT_EQ(u.ablage.inhalt, "a/\na/x/\nb/\n");
  EXPECT_EQ(u.fenster[Steuerelement::lblfertig].text, "3 in der Zwischenablage");
  EXPECT_EQ(u.fenster.ereignisse, "zeige:lblArbeite gesperrt frei aus zeige:lblfertig piep ");
  EXPECT_TRUE(u.tabelle.empty());  // its memory went to the list
}

TEST(ListeErstellen, EndPointsWithFullPathsIgnoreTheFileSwitches) {
  TempTree tree;
  tree.folders({"a/x", "b"});
  tree.file("b/lied.mp3");
  Umgebung u;
  u.fenster.gezeigt = false;  // a batch run: no beep
  std::string pfad = tree.root();
  const ScanErgebnis r = u.lauf(pfad, true, 0, true, "*.mp3", true);
  EXPECT_EQ(r.Zeilen, 2);
  const std::string wurzel = testing_tree::schräg(tree.root());
  EXPECT_EQ(u.ablage.inhalt, wurzel + "a/x/\n" + wurzel + "b/\n");
  EXPECT_EQ(u.fenster.ereignisse.find("piep"), std::string::npos);
}

TEST(ListeErstellen, FileLinesWithAndWithoutTab) {
  TempTree tree;
  tree.folders({"a", "b"});
  tree.file("a/eins.mp3");
  tree.file("a/zwei.wav");
  tree.file("b/drei.MP3");
  Umgebung u;
  std::string pfad = tree.root();
  u.lauf(pfad, false, 0, false, "*.mp3", true);
  EXPECT_EQ(u.ablage.inhalt, "a/\teins.mp3\nb/\tdrei.MP3\n");
  u.fenster[Steuerelement::cbTab].wert = 0;
  u.lauf(pfad, false, 0, false, "*.wav", true);
  EXPECT_EQ(u.ablage.inhalt, "a/zwei.wav\n");
  EXPECT_EQ(u.fenster[Steuerelement::lblfertig].text, "1 in der Zwischenablage");
}

TEST(ListeErstellen, OutcomesWithoutAList) {
  TempTree tree;
  tree.folders({"leer", "voll/unter"});
  Umgebung u;

  std::string pfad = tree.path("fehlt");
  EXPECT_EQ(u.lauf(pfad, true, 0, false).ausgang, Ausgang::NichtGefunden);
  EXPECT_EQ(u.fenster.ereignisse, "zeige:lblArbeite gesperrt frei aus zeige:lblNichtGefunden piep ");

  u.fenster.ereignisse.clear();
  pfad = tree.path("leer");
  EXPECT_EQ(u.lauf(pfad, false, 0, true).ausgang, Ausgang::KeineUnterordner);
  EXPECT_EQ(u.fenster.ereignisse, "zeige:lblArbeite gesperrt frei aus zeige:lblKeineUnterordner piep ");
  EXPECT_EQ(u.ablage.gesetzt.size(), 0u);
  EXPECT_EQ(u.ablage.inhalt, "vorher");

  // An empty or blank path: nothing runs, the window says the folder is
  // not found, as the batch run does.
  u.fenster.ereignisse.clear();
  pfad = "   ";
  EXPECT_EQ(u.lauf(pfad, true, 0, false).ausgang, Ausgang::LeererPfad);
  EXPECT_EQ(pfad, "");
  EXPECT_EQ(u.fenster.ereignisse, "zeige:lblArbeite aus zeige:lblNichtGefunden piep ");
  EXPECT_EQ(u.fenster[Steuerelement::lblNichtGefunden].text, "Ordner nicht gefunden");

  // Folders but no matching file: an empty list, and the count says so.
  u.fenster.ereignisse.clear();
  pfad = tree.path("voll");
  const ScanErgebnis r = u.lauf(pfad, false, 0, false, "*.mp3", true);
  EXPECT_EQ(r.ausgang, Ausgang::KeineZeilen);
  EXPECT_EQ(r.Anzahl, 1);
  EXPECT_EQ(u.ablage.inhalt, "");
  EXPECT_EQ(u.fenster.ereignisse, "zeige:lblArbeite gesperrt frei aus zeige:lblfertig piep ");
  EXPECT_EQ(u.fenster[Steuerelement::lblfertig].text, "0 in der Zwischenablage");

  // Cancelled while it walks: "abgebrochen" in the count label, no beep,
  // the clipboard untouched.
  for (int i = 0; i < 230; ++i) tree.folders({"voll/o" + std::to_string(1000 + i)});
  u.fenster.ereignisse.clear();
  u.fenster.abbrechenBei = u.fenster.nachgegeben + 1;
  u.ablage.inhalt = "vorher";
  pfad = tree.path("voll");
  EXPECT_EQ(u.lauf(pfad, false, 0, false).ausgang, Ausgang::Abgebrochen);
  EXPECT_EQ(u.fenster.ereignisse, "zeige:lblArbeite gesperrt frei aus zeige:lblfertig ");
  EXPECT_EQ(u.fenster[Steuerelement::lblfertig].text, "abgebrochen");
  EXPECT_EQ(u.ablage.inhalt, "vorher");
  EXPECT_TRUE(u.tabelle.empty());
}

TEST(ListeErstellen, ClipboardOutOfReach) {
  TempTree tree;
  tree.folders({"a"});
  Umgebung u;
  u.ablage.erreichbar = false;
  std::string pfad = tree.root();
  EXPECT_EQ(u.lauf(pfad, false, 0, false).ausgang, Ausgang::Fehler);
  // No result label, no beep, the window enabled, "arbeite ..." hidden.
  EXPECT_EQ(u.fenster.ereignisse, "zeige:lblArbeite gesperrt frei aus ");
  // Reachable, but taken by another program at once: told apart.
  u.ablage.genommen = true;
  EXPECT_EQ(u.lauf(pfad, false, 0, false).ausgang, Ausgang::Uebernommen);
}

TEST(ListeErstellen, ProgressWhileTheWindowIsLocked) {
  TempTree tree;
  for (int i = 0; i < 230; ++i) tree.folders({"o" + std::to_string(1000 + i)});
  Umgebung u;
  std::string pfad = tree.root();
  EXPECT_EQ(u.lauf(pfad, false, 0, false).Zeilen, 230);
  EXPECT_GT(u.fenster.nachgegeben, 0);
  EXPECT_EQ(u.fenster.ereignisse.find("NACHGEBEN-OHNE-SPERRE"), std::string::npos);
  // The count shown: the records made when the window last took its turn.
  const std::string zuletzt = u.fenster[Steuerelement::lblArbeite].text;
  ASSERT_EQ(zuletzt.rfind("arbeite ... ", 0), 0u) << zuletzt;
  const int zahl = std::stoi(zuletzt.substr(12));
  EXPECT_GE(zahl, 1) << zuletzt;
  EXPECT_LE(zahl, 230) << zuletzt;
}
