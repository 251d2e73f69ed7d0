// The handlers on the plain window: start-up choices, usage box, end, the
// options "Scannen" gathers (with the exact list of a real tree) and the
// folder picker.
#include <gtest/gtest.h>

#include "startup/command_line.h"
#include "temp_tree.h"
#include "test_fenster.h"

namespace {

using form1_test::TestFenster;
using testing_tree::TempTree;
using testing_tree::schräg;
using zweigschau::Ausgang;
using zweigschau::StartEntscheidenText;
using S = zweigschau::Steuerelement;

constexpr char kTitel[] = "MORVAs Zweigschau (Freeware)";

TEST(Form1Start, UsageBoxThenEnd) {
  TestFenster f;
  EXPECT_EQ(f.logik.Form_Load(StartEntscheidenText("/? /o:c:\\")), 0);
  ASSERT_EQ(f.meldungen.size(), 1u);
  EXPECT_EQ(f.meldungen[0].first, kTitel);
  EXPECT_EQ(f.meldungen[0].second, zweigschau::AnleitungsText());
  EXPECT_EQ(f.beendet, 1);
  EXPECT_TRUE(f.logik.beendet());
  EXPECT_TRUE(f.zwischenablage.gesetzt.empty());
}

TEST(Form1Start, DoubleClickShowsUsageAndGoesOn) {
  TestFenster f;
  ASSERT_FALSE(f.logik.Form_Load({}).has_value());
  f.logik.Form_DblClick();
  f.logik.Form_DblClick();
  EXPECT_EQ(f.meldungen.size(), 2u);
  EXPECT_EQ(f.beendet, 0);
  EXPECT_FALSE(f.logik.beendet());
}

TEST(Form1Start, EndeEndsTheProgram) {
  TestFenster f;
  ASSERT_FALSE(f.logik.Form_Load({}).has_value());
  f.klicke(S::cmdEnde);
  EXPECT_EQ(f.beendet, 1);
  EXPECT_TRUE(f.logik.beendet());
}

TEST(Form1Start, BatchRunUsesTheHiddenWindow) {
  TempTree baum;
  baum.folders({"a/x", "b"});
  TestFenster f;
  f.gezeigt = false;
  const std::string start = baum.root();
  EXPECT_EQ(f.logik.Form_Load(StartEntscheidenText("/o:\"" + start + "\" /i")), 0);
  ASSERT_EQ(f.zwischenablage.gesetzt.size(), 1u);
  EXPECT_EQ(schräg(f.zwischenablage.gesetzt[0]), "a/x/\nb/\n");
  EXPECT_EQ(f.pieptöne, 0);
  EXPECT_FALSE(f.fokus.has_value());
  EXPECT_TRUE(f.meldungen.empty());
  // A missing folder ends with status 1.
  TestFenster g;
  g.gezeigt = false;
  EXPECT_EQ(g.logik.Form_Load(StartEntscheidenText("/o:\"" + baum.path("fehlt") + "\"")), 1);
  EXPECT_TRUE(g.zwischenablage.gesetzt.empty());
}

// "Scannen" on a real tree:
//   a/x/ (song.mp3, note.txt)   B/ (Track.MP3)   c/y/z/   top.mp3
class ScannenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    baum.folders({"a/x", "B", "c/y/z"});
    baum.file("a/x/song.mp3");
    baum.file("a/x/note.txt");
    baum.file("B/Track.MP3");
    baum.file("top.mp3");
    ASSERT_FALSE(f.logik.Form_Load({}).has_value());
    f.textSetzen(S::txtPfadEingabe, "  " + baum.root().substr(0, baum.root().size() - 1));
  }
  std::string scanne() {
    const std::size_t vorher = f.zwischenablage.gesetzt.size();
    f.klicke(S::cmdScannen);
    if (f.zwischenablage.gesetzt.size() != vorher + 1) return "(no list)";
    return schräg(f.zwischenablage.gesetzt.back());
  }
  void erwarteNurLabel(S sichtbar) {
    for (S l : {S::lblArbeite, S::lblfertig, S::lblNichtGefunden, S::lblKeineUnterordner})
      EXPECT_EQ(f[l].sichtbar, l == sichtbar) << static_cast<int>(l);
  }
  TempTree baum;
  TestFenster f;
};

TEST_F(ScannenTest, FileLinesWithTrimmedMaskBoxes) {
  f[S::cbinkl].wert = 0;
  f[S::comMaskeName].text = " * ";
  f[S::comMaskeTyp].text = "  mp3 ";
  EXPECT_EQ(scanne(), "a/x/\tsong.mp3\nB/\tTrack.MP3\n");
  erwarteNurLabel(S::lblfertig);
  EXPECT_EQ(f[S::lblfertig].text, "2 in der Zwischenablage");
  EXPECT_EQ(f.pieptöne, 1);
  EXPECT_EQ(f.fokus, S::txtPfadEingabe);
  EXPECT_TRUE(f.aktiv);
  // The path box keeps its blanks.
  EXPECT_EQ(f[S::txtPfadEingabe].text.substr(0, 2), "  ");
  // Without "mit Tab", and the run also honours a grayed box.
  f[S::cbTab].wert = 0;
  EXPECT_EQ(scanne(), "a/x/song.mp3\nB/Track.MP3\n");
  f[S::cbTab].wert = 2;
  EXPECT_EQ(scanne(), "a/x/\tsong.mp3\nB/\tTrack.MP3\n");
}

TEST_F(ScannenTest, FolderLinesWhenOnlyFoldersWithFilesIsOff) {
  f[S::cbinkl].wert = 0;
  f[S::cbNurOrdnerMitPassendenDateien].wert = 0;
  EXPECT_EQ(scanne(), "a/\na/x/\nB/\nc/\nc/y/\nc/y/z/\n");
  // "&Dateien" unchecked: no mask, and the other box no longer counts.
  f[S::cbNurOrdnerMitPassendenDateien].wert = 1;
  f.klicke(S::cbDateien);
  EXPECT_EQ(scanne(), "a/\na/x/\nB/\nc/\nc/y/\nc/y/z/\n");
}

TEST_F(ScannenTest, EndpointsWithStartFolderAndDepth) {
  f.klicke(S::optAlleOderLetzte0);
  const std::string w = schräg(baum.root());
  EXPECT_EQ(scanne(), w + "a/x/\n" + w + "B/\n" + w + "c/y/z/\n");
  f[S::txtEbenen].text = " 1x";
  EXPECT_EQ(scanne(), w + "a/\n" + w + "B/\n" + w + "c/\n");
  // Beyond 16 bits: clamped, not wrapped to a small depth.
  f[S::txtEbenen].text = "65537";
  EXPECT_EQ(scanne(), w + "a/x/\n" + w + "B/\n" + w + "c/y/z/\n");
}

TEST_F(ScannenTest, WindowDisabledWithLiveCountWhileWalking) {
  // The walk lets events through every hundred records.
  for (int i = 0; i < 250; ++i) baum.folders({"c/y/z/" + std::to_string(i)});
  f[S::cbinkl].wert = 0;
  f[S::cbDateien].wert = 0;
  scanne();
  EXPECT_EQ(f[S::lblfertig].text, "256 in der Zwischenablage");
  ASSERT_FALSE(f.aufnahmen.empty());
  for (const auto& a : f.aufnahmen) {
    EXPECT_FALSE(a.aktiv);
    EXPECT_TRUE(a.arbeiteSichtbar);
    EXPECT_EQ(a.arbeiteText.rfind("arbeite ...", 0), 0u) << a.arbeiteText;
  }
  EXPECT_TRUE(f.aktiv);
}

TEST_F(ScannenTest, NotFoundAndNoSubfolders) {
  f.textSetzen(S::txtPfadEingabe, baum.path("fehlt"));
  EXPECT_EQ(scanne(), "(no list)");
  erwarteNurLabel(S::lblNichtGefunden);
  EXPECT_EQ(f.logik.letztesErgebnis().ausgang, Ausgang::NichtGefunden);
  f.textSetzen(S::txtPfadEingabe, baum.path("c/y/z"));
  EXPECT_EQ(scanne(), "(no list)");
  erwarteNurLabel(S::lblKeineUnterordner);
  // A path of any length is no crash, just not found.
  f.textSetzen(S::txtPfadEingabe, baum.root() + std::string(40000, 'p'));
  EXPECT_EQ(scanne(), "(no list)");
  erwarteNurLabel(S::lblNichtGefunden);
}

// An empty path: nothing is walked, and the window says the folder is not
// found, as the batch run does; "arbeite ..." does not stay.
TEST_F(ScannenTest, BlankPathSaysFolderNotFound) {
  f.textSetzen(S::txtPfadEingabe, "   ");
  EXPECT_EQ(scanne(), "(no list)");
  erwarteNurLabel(S::lblNichtGefunden);
  EXPECT_EQ(f.pieptöne, 1);
}

TEST_F(ScannenTest, NoBeepWhileTheWindowIsHidden) {
  f.gezeigt = false;
  f[S::cbDateien].wert = 0;
  EXPECT_NE(scanne(), "(no list)");
  EXPECT_EQ(f.pieptöne, 0);
}

TEST(Form1Ordner, PickedFolderReplacesPathAndRunsTheChangeHandler) {
  TestFenster f;
  ASSERT_FALSE(f.logik.Form_Load({}).has_value());
  f.klicke(S::cbDateien);  // "mit Tab" off until the path changes
  f.logik.steuerelemente().einblenden(zweigschau::Steuerelement::lblfertig, true);
  f.fokus = S::cbinkl;
  f.ordnerAntwort = std::string("c:\\Musik\0Rest", 13);
  f.klicke(S::cmdOrdnerWaehlen);
  ASSERT_EQ(f.ordnerTitel.size(), 1u);
  EXPECT_EQ(f.ordnerTitel[0], "W\xC3\xA4hlen Sie einen Ordner");
  EXPECT_EQ(f[S::txtPfadEingabe].text, "c:\\Musik");  // up to the NUL, as given
  EXPECT_FALSE(f[S::lblfertig].sichtbar);
  EXPECT_EQ(f.fokus, S::txtPfadEingabe);
  EXPECT_TRUE(f[S::cbTab].frei) << "the change handler ran";
}

TEST(Form1Ordner, LongPathComesBackWhole) {
  TestFenster f;
  ASSERT_FALSE(f.logik.Form_Load({}).has_value());
  f.ordnerAntwort = "\\\\?\\c:\\" + std::string(5000, 'x');
  f.klicke(S::cmdOrdnerWaehlen);
  EXPECT_EQ(f[S::txtPfadEingabe].text, f.ordnerAntwort);
}

TEST(Form1Ordner, CancelKeepsPathButHidesLabelsAndFocusesPathBox) {
  TestFenster f;
  ASSERT_FALSE(f.logik.Form_Load({}).has_value());
  f.textSetzen(S::txtPfadEingabe, "c:\\bleibt");
  f.logik.steuerelemente().einblenden(zweigschau::Steuerelement::lblNichtGefunden, true);
  f.fokus = S::txtEbenen;
  f.ordnerAntwort.clear();
  f.klicke(S::cmdOrdnerWaehlen);
  f.klicke(S::cmdOrdnerWaehlen);
  EXPECT_EQ(f.ordnerTitel.size(), 2u);
  EXPECT_EQ(f[S::txtPfadEingabe].text, "c:\\bleibt");
  EXPECT_FALSE(f[S::lblNichtGefunden].sichtbar);
  EXPECT_EQ(f.fokus, S::txtPfadEingabe);
}

// Dropped items: the first folder among them counts, else a file's folder;
// the path box takes it as from the picker. Umlauts in the names.
TEST(Form1Ordner, DroppedFolderOrFileFolderFillsThePathBox) {
  TempTree baum;
  baum.folders({"\xC3\x84rzte", "b"});
  baum.file("\xC3\x84rzte/lied.mp3");
  TestFenster f;
  ASSERT_FALSE(f.logik.Form_Load({}).has_value());
  f.textSetzen(S::txtPfadEingabe, "c:\\vorher");
  struct Fall {
    std::vector<std::string> abgelegt;
    std::string pfad;
  };
  const Fall fälle[] = {
      {{baum.path("\xC3\x84rzte/lied.mp3"), baum.path("b")}, baum.path("b")},
      {{baum.path("\xC3\x84rzte/lied.mp3")}, baum.path("\xC3\x84rzte")},
      {{baum.path("b"), baum.path("\xC3\x84rzte")}, baum.path("b")},
  };
  for (const Fall& fall : fälle) {
    f.logik.steuerelemente().einblenden(zweigschau::Steuerelement::lblfertig, true);
    f.fokus = S::cbinkl;
    f.logik.OrdnerAbgelegt(fall.abgelegt);
    EXPECT_EQ(f[S::txtPfadEingabe].text, fall.pfad);
    EXPECT_FALSE(f[S::lblfertig].sichtbar);
    EXPECT_EQ(f.fokus, S::txtPfadEingabe);
  }
  f.logik.OrdnerAbgelegt({});
  EXPECT_EQ(f[S::txtPfadEingabe].text, baum.path("b")) << "nothing dropped, nothing changed";
}

TEST(NullTrim, CutsAtTheFirstNul) {
  using zweigschau::OrdnerWahl;
  EXPECT_EQ(OrdnerWahl::NullTrim(std::string("abc\0def\0", 8)), "abc");
  EXPECT_EQ(OrdnerWahl::NullTrim(""), "");
  EXPECT_EQ(OrdnerWahl::NullTrim(std::string("\0x", 2)), "");
  EXPECT_EQ(OrdnerWahl::NullTrim(std::string("\xC3\x84" "bc\0def", 7)), "\xC3\x84" "bc");
  EXPECT_EQ(OrdnerWahl::NullTrim("ohne"), "ohne");
  const std::string lang(259, 'p');
  EXPECT_EQ(OrdnerWahl::NullTrim(lang + '\0' + std::string(40, ' ')), lang);
}

}  // namespace
