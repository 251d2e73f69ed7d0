// The batch run on real trees: the exit statuses, the list it leaves and
// that the window stays unseen.
#include <gtest/gtest.h>

#include "startup/batch_run.h"
#include "startup/command_line.h"
#include "temp_tree.h"

using namespace zweigschau;
using testing_tree::schraeg;
using testing_tree::TempTree;

namespace {

class Ablage : public platform::Clipboard {
 public:
  bool setText(std::string_view text) override {
    if (!erreichbar) return false;
    inhalt = schraeg(std::string(text));
    return true;
  }
  std::string inhalt = "vorher";
  bool erreichbar = true;
};

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
  Ablage ablage;
  ablage.erreichbar = erreichbar;
  OrdnerTabelle tabelle;
  ScanErgebnis ergebnis;
  const int status = Stapellauf(fenster, ablage, tabelle, start.werte, ergebnis);
  return {status, ablage.inhalt, ergebnis.ausgang};
}

}  // namespace

TEST(Stapellauf, ExitStatusForEveryOutcome) {
  EXPECT_EQ(StapelAusgangVon(Ausgang::InZwischenablage).status, 0);
  EXPECT_EQ(StapelAusgangVon(Ausgang::InZwischenablage).meldung, nullptr);
  EXPECT_EQ(StapelAusgangVon(Ausgang::LeererPfad).status, 1);
  EXPECT_STREQ(StapelAusgangVon(Ausgang::NichtGefunden).meldung, "Ordner nicht gefunden");
  EXPECT_EQ(StapelAusgangVon(Ausgang::KeineUnterordner).status, 2);
  EXPECT_STREQ(StapelAusgangVon(Ausgang::KeineZeilen).meldung, "Keine Unter-Ordner");
  EXPECT_EQ(StapelAusgangVon(Ausgang::Fehler).status, 3);
  EXPECT_STREQ(StapelAusgangVon(Ausgang::Fehler).meldung, "Zwischenablage nicht erreichbar");
  EXPECT_EQ(StapelAusgangVon(Ausgang::Uebernommen).status, 3);
  EXPECT_STREQ(StapelAusgangVon(Ausgang::Uebernommen).meldung,
               "Zwischenablage von einem anderen Programm übernommen");
}

TEST(Stapellauf, EndPointsFromTheRawCommandLine) {
  TempTree tree;
  tree.folders({"musik/a/x", "musik/b", "leer"});
  tree.file("musik/b/lied.mp3");
  const std::string musik = tree.path("musik");
  // The raw rule lower-cases the start path; the list shows it so.
  const std::string klein = schraeg(BefehlszeilenParameterText("/o:" + musik, "/o:"));
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
