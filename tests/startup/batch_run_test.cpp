// The batch run on real trees: the exit statuses, the list it leaves and
// that the window stays unseen.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "startup/batch_run.h"
#include "startup/command_line.h"
#include "temp_tree.h"
#include "test_doubles.h"

using namespace zweigschau;
using testing_tree::schräg;
using testing_tree::TempTree;

namespace {

struct Stapel {
  int status;
  std::string inhalt;
  Ausgang ausgang;
};

// A batch run as the raw command line `zeile` asks for it.
Stapel lauf(const std::string& zeile, bool erreichbar = true) {
  const StartEntscheidung start = StartEntscheidenText(zeile);
  EXPECT_EQ(start.art, StartArt::Stapellauf) << zeile;
  OhneFenster fenster;
  testing_doubles::TestAblage ablage;
  ablage.erreichbar = erreichbar;
  OrdnerTabelle tabelle;
  ScanErgebnis ergebnis;
  const int status = Stapellauf(fenster, ablage, tabelle, start.werte, ergebnis);
  return {status, ablage.inhalt, ergebnis.ausgang};
}

}  // namespace

// The table has one row per outcome, in the enum's order, and README and
// the man page show each row's status with its line.
TEST(Stapellauf, OneTableOfOutcomesShownInReadmeAndManPage) {
  const auto lesen = [](const char* pfad) {
    std::ifstream datei(pfad);
    return std::string(std::istreambuf_iterator<char>(datei), {});
  };
  const std::string readme = lesen(ZS_SOURCE_DIR "/README.md");
  const std::string man = lesen(ZS_SOURCE_DIR "/app/zweigschau.1");
  ASSERT_FALSE(readme.empty() || man.empty());
  for (std::size_t i = 0; i < kAusgängeAnzahl; ++i) {
    const AusgangsZeile& zeile = kAusgänge[i];
    EXPECT_EQ(static_cast<std::size_t>(zeile.ausgang), i);
    EXPECT_EQ(&AusgangsZeileVon(zeile.ausgang), &zeile);
    EXPECT_EQ(zeile.meldung == nullptr, zeile.status == 0) << i;
    if (zeile.meldung == nullptr) continue;
    const std::string status = std::to_string(zeile.status);
    EXPECT_NE(readme.find("| " + status + " | " + zeile.meldung + " |"), std::string::npos) << zeile.meldung;
    std::string roff = zeile.meldung;
    for (const auto& [umlaut, mit] : {std::pair{"ü", "\\(:u"}, std::pair{"ä", "\\(:a"}})
      if (const std::size_t at = roff.find(umlaut); at != std::string::npos) roff.replace(at, 2, mit);
    const std::size_t stelle = man.find('"' + roff + '"');
    ASSERT_NE(stelle, std::string::npos) << zeile.meldung;
    const std::size_t absatz = man.rfind(".B ", stelle);
    ASSERT_NE(absatz, std::string::npos) << zeile.meldung;
    EXPECT_EQ(man.substr(absatz + 3, status.size() + 1), status + "\n") << zeile.meldung;
  }
  EXPECT_EQ(static_cast<std::size_t>(Ausgang::Abgebrochen) + 1, kAusgängeAnzahl);
}

// A line's placeholders take their values; a value is never read as one.
TEST(Stapellauf, PlaceholdersOfALine) {
  EXPECT_EQ(AusgangsMeldung(Ausgang::Teilliste, 12), "Liste unvollständig: 12 Ordner nicht lesbar");
  Platzhalter werte;
  werte.plattform = "D";
  werte.paket = "qt6-wayland";
  EXPECT_EQ(AusgangsMeldung(Ausgang::PlattformPaketFehlt, werte),
            "zweigschau: Qt-Plattform \"D\" fehlt (Debian-Paket qt6-wayland)");
}

TEST(Stapellauf, WhatAContextMenuRunTells) {
  EXPECT_EQ(KontextmenüMeldung({Ausgang::InZwischenablage, 1, 1}), "1 Zeile in der Zwischenablage");
  EXPECT_EQ(KontextmenüMeldung({Ausgang::InZwischenablage, 2, 2}), "2 Zeilen in der Zwischenablage");
  EXPECT_EQ(KontextmenüMeldung({Ausgang::NichtGefunden, -1, 0}, "d:\\fehlt"), "Ordner nicht gefunden:\nd:\\fehlt");
}

TEST(Stapellauf, EndPointsFromTheRawCommandLine) {
  TempTree tree;
  tree.folders({"musik/a/x", "musik/b", "leer"});
  tree.file("musik/b/lied.mp3");
  const std::string musik = tree.path("musik");
  // The raw rule lower-cases the start path; the list shows it so.
  const std::string klein = schräg(BefehlszeilenParameterText("/o:" + musik, "/o:"));
  // End points with the start folder; "/d:" and "/n" do not change the list.
  Stapel s = lauf("/o:" + musik + " /d:*.mp3 /n");
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.inhalt, klein + "/a/x/\n" + klein + "/b/\n");
  // Without the start folder, one level.
  s = lauf("/i /e:1 /o:\"" + musik + "\"");
  EXPECT_EQ(s.inhalt, "a/\nb/\n");

  s = lauf("/o:" + tree.path("fehlt"));
  EXPECT_EQ(s.status, 1);
  EXPECT_EQ(s.inhalt, "vorher");
  s = lauf("/o:");
  EXPECT_EQ(s.status, 1);
  EXPECT_EQ(s.ausgang, Ausgang::LeererPfad);
  s = lauf("/o:" + tree.path("leer"));
  EXPECT_EQ(s.status, 2);
  EXPECT_EQ(s.inhalt, "vorher");
  // Longer than any path the system takes.
  s = lauf("/o:" + musik + "/" + std::string(40000, 'n'));
  EXPECT_EQ(s.status, 1);
  EXPECT_EQ(s.ausgang, Ausgang::NichtGefunden);
  s = lauf("/o:" + musik, /*erreichbar=*/false);
  EXPECT_EQ(s.status, 3);
  EXPECT_EQ(s.ausgang, Ausgang::Fehler);
}
