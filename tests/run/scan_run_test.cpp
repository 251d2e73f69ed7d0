// The scan run against a recording window and clipboard, on real trees.
#include <gtest/gtest.h>

#include <cstdlib>

#include "run/scan_run.h"
#include "temp_tree.h"

using namespace zweigschau;
using testing_tree::TempTree;

namespace {

const char* name(StatusLabel l) {
  switch (l) {
    case StatusLabel::Arbeite: return "arbeite";
    case StatusLabel::Fertig: return "fertig";
    case StatusLabel::NichtGefunden: return "nicht";
    default: return "keine";
  }
}

// Records what the run did to the window, as one line of events.
class Fenster : public Anzeige {
 public:
  void zeigen(StatusLabel l) override { ereignisse += std::string("zeige:") + name(l) + " "; }
  void setzeText(StatusLabel l, const std::string& t) override {
    if (l == StatusLabel::Fertig) fertigText = t;
    if (l == StatusLabel::Arbeite) arbeiteText = t;
  }
  void AusgabeZeilenAusschalten() override { ereignisse += "aus "; }
  void fensterFreigeben(bool frei) override {
    gesperrt = !frei;
    ereignisse += frei ? "frei " : "gesperrt ";
  }
  void nachgeben() override {
    if (!gesperrt) ereignisse += "NACHGEBEN-OHNE-SPERRE ";
    ++nachgegeben;
  }
  bool sichtbar() const override { return istSichtbar; }
  void piep() override { ereignisse += "piep "; }
  bool mitTab() const override { return tab; }

  std::string ereignisse, fertigText, arbeiteText;
  bool gesperrt = false, istSichtbar = true, tab = true;
  int nachgegeben = 0;
};

class Ablage : public platform::Clipboard {
 public:
  bool setText(const std::string& text) override {
    ++gesetzt;
    inhalt = text;
    return erreichbar;
  }
  std::string inhalt = "vorher";
  int gesetzt = 0;
  bool erreichbar = true;
};

struct Umgebung {
  Fenster fenster;
  Ablage ablage;
  OrdnerTabelle tabelle;
  ScanErgebnis lauf(std::string& pfad, bool mitStart, std::int32_t ebenen, bool nurEnden,
                    const std::string& maske = "", bool nurMitDateien = false) {
    return ListeErstellen(fenster, ablage, tabelle, pfad, mitStart, ebenen, nurEnden, maske, nurMitDateien);
  }
};

}  // namespace

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
  EXPECT_EQ(u.ablage.gesetzt, 1);
  EXPECT_EQ(u.ablage.inhalt, "a/\ra/x/\rb/\r");
  EXPECT_EQ(u.fenster.fertigText, "3 in der Zwischenablage");
  EXPECT_EQ(u.fenster.ereignisse, "zeige:arbeite gesperrt frei aus zeige:fertig piep ");
  EXPECT_EQ(u.tabelle.size(), 3u);
}

TEST(ListeErstellen, EndPointsWithFullPathsIgnoreTheFileSwitches) {
  TempTree tree;
  tree.folders({"a/x", "b"});
  tree.file("b/lied.mp3");
  Umgebung u;
  u.fenster.istSichtbar = false;  // a batch run: no beep
  std::string pfad = tree.root();
  const ScanErgebnis r = u.lauf(pfad, true, 0, true, "*.mp3", true);
  EXPECT_EQ(r.Zeilen, 2);
  EXPECT_EQ(u.ablage.inhalt, tree.root() + "a/x/\r" + tree.root() + "b/\r");
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
  EXPECT_EQ(u.ablage.inhalt, "a/\teins.mp3\rb/\tdrei.MP3\r");
  u.fenster.tab = false;
  u.lauf(pfad, false, 0, false, "*.wav", true);
  EXPECT_EQ(u.ablage.inhalt, "a/zwei.wav\r");
  EXPECT_EQ(u.fenster.fertigText, "1 in der Zwischenablage");
}

TEST(ListeErstellen, OutcomesWithoutAList) {
  TempTree tree;
  tree.folders({"leer", "voll/unter"});
  Umgebung u;

  std::string pfad = tree.path("fehlt");
  EXPECT_EQ(u.lauf(pfad, true, 0, false).ausgang, Ausgang::NichtGefunden);
  EXPECT_EQ(u.fenster.ereignisse, "zeige:arbeite gesperrt frei aus zeige:nicht piep ");

  u.fenster.ereignisse.clear();
  pfad = tree.path("leer");
  EXPECT_EQ(u.lauf(pfad, false, 0, true).ausgang, Ausgang::KeineUnterordner);
  EXPECT_EQ(u.fenster.ereignisse, "zeige:arbeite gesperrt frei aus zeige:keine piep ");
  EXPECT_EQ(u.ablage.gesetzt, 0);
  EXPECT_EQ(u.ablage.inhalt, "vorher");

  // An empty or blank path: nothing runs and no label stays on screen.
  u.fenster.ereignisse.clear();
  pfad = "   ";
  EXPECT_EQ(u.lauf(pfad, true, 0, false).ausgang, Ausgang::LeererPfad);
  EXPECT_EQ(pfad, "");
  EXPECT_EQ(u.fenster.ereignisse, "zeige:arbeite aus ");

  // Folders but no matching file: an empty list, no label.
  u.fenster.ereignisse.clear();
  pfad = tree.path("voll");
  const ScanErgebnis r = u.lauf(pfad, false, 0, false, "*.mp3", true);
  EXPECT_EQ(r.ausgang, Ausgang::KeineZeilen);
  EXPECT_EQ(r.Anzahl, 1);
  EXPECT_EQ(u.ablage.inhalt, "");
  EXPECT_EQ(u.fenster.ereignisse, "zeige:arbeite gesperrt frei aus piep ");
}

TEST(ListeErstellen, ClipboardOutOfReach) {
  TempTree tree;
  tree.folders({"a"});
  Umgebung u;
  u.ablage.erreichbar = false;
  std::string pfad = tree.root();
  EXPECT_EQ(u.lauf(pfad, false, 0, false).ausgang, Ausgang::Fehler);
  // No result label, no beep, the window enabled, "arbeite ..." hidden.
  EXPECT_EQ(u.fenster.ereignisse, "zeige:arbeite gesperrt frei aus ");
}

TEST(ListeErstellen, ProgressWhileTheWindowIsLocked) {
  TempTree tree;
  for (int i = 0; i < 230; ++i) tree.folders({"o" + std::to_string(1000 + i)});
  Umgebung u;
  std::string pfad = tree.root();
  EXPECT_EQ(u.lauf(pfad, false, 0, false).Zeilen, 230);
  EXPECT_GT(u.fenster.nachgegeben, 0);
  EXPECT_EQ(u.fenster.ereignisse.find("NACHGEBEN-OHNE-SPERRE"), std::string::npos);
  EXPECT_EQ(u.fenster.arbeiteText, "arbeite ... 200");
}

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
  EXPECT_EQ(u.ablage.inhalt, tree.path("home/Musik/") + "\r" + tree.path("home/Musik/Alben/") + "\r");
  pfad = "~";
  u.lauf(pfad, false, 1, false);
  EXPECT_EQ(u.ablage.inhalt, "Musik/\r");
  pfad = "~anders";  // only "~" alone or "~/" is the home folder
  EXPECT_EQ(u.lauf(pfad, false, 0, false).ausgang, Ausgang::NichtGefunden);
  if (alt) setenv("HOME", altHome.c_str(), 1);
}
