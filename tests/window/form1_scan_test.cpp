// "Scannen" on a real folder tree: the options gathered from the controls,
// the exact list on the clipboard and the status shown afterwards.
#include <gtest/gtest.h>

#include <QApplication>
#include <QRegularExpression>
#include <QTest>

#include "doubles.h"
#include "temp_ordner.h"
#include "window/form1.h"

namespace {

using zweigschau::Ausgang;

// The tree every scan test walks:
//   a/x/ (song.mp3, note.txt)   B/ (Track.MP3)   c/y/z/   Äpfel/ (lied.mp3)
//   .versteckt/ (hidden)        top.mp3
void BaueBaum(const TempOrdner& t) {
  t.ordner({"a/x", "B", "c/y/z", "Äpfel", ".versteckt/innen"});
  t.datei("a/x/song.mp3");
  t.datei("a/x/note.txt");
  t.datei("B/Track.MP3");
  t.datei("Äpfel/lied.mp3");
  t.datei("top.mp3");
}

// A window that records what it looks like whenever the run lets it
// process its events.
class BeobachtetesForm1 : public Form1 {
 public:
  using Form1::Form1;
  void ereignisseVerarbeiten() override {
    // The controls a person could start something with are off, but for
    // the one that keeps the focus (it takes no input); "Ende" stays.
    QWidget* fokus = QApplication::focusWidget();
    bool frei = !ui.cmdEnde->isEnabled();
    for (QWidget* w : {static_cast<QWidget*>(ui.txtPfadEingabe), static_cast<QWidget*>(ui.cmdScannen)})
      frei = frei || (w != fokus && w->isEnabled());
    freigegeben.push_back(frei);
    fokusse.push_back(fokus);
    if (fokusse.size() == 1) QTest::keyClick(fokus, Qt::Key_X);  // a key typed meanwhile
    arbeiteSichtbar.push_back(ui.lblArbeite->isVisible());
    arbeiteText.push_back(ui.lblArbeite->text());
    Form1::ereignisseVerarbeiten();
  }
  std::vector<bool> freigegeben;
  std::vector<QWidget*> fokusse;
  std::vector<bool> arbeiteSichtbar;
  QStringList arbeiteText;
};

class ScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    BaueBaum(baum);
    ASSERT_FALSE(form.Form_Load({}).has_value());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.ui.txtPfadEingabe->setText(baum.qWurzel());
  }

  // Runs "Scannen" and expects exactly one list on the clipboard.
  std::string scanne() {
    const std::size_t vorher = zwischenablage.gesetzt.size();
    QTest::mouseClick(form.ui.cmdScannen, Qt::LeftButton);
    EXPECT_EQ(zwischenablage.gesetzt.size(), vorher + 1) << "one set per run";
    return zwischenablage.gesetzt.empty() ? std::string() : zwischenablage.gesetzt.back();
  }
  void erwarteNurLabel(QLabel* sichtbar) {
    const Ui::Form1& ui = form.ui;
    for (QLabel* l : {ui.lblArbeite, ui.lblfertig, ui.lblNichtGefunden, ui.lblKeineUnterordner})
      EXPECT_EQ(l->isVisible(), l == sichtbar) << l->objectName().toStdString();
  }
  void erwarteFertig(int zeilen) {
    erwarteNurLabel(form.ui.lblfertig);
    EXPECT_EQ(form.ui.lblfertig->text().toStdString(), std::to_string(zeilen) + " in der Zwischenablage");
    EXPECT_EQ(form.letztesErgebnis().Zeilen, zeilen);
  }
  std::string w() const { return baum.wurzel(); }

  TempOrdner baum;
  AufzeichnendeZwischenablage zwischenablage;
  TestDialoge dialoge;
  BeobachtetesForm1 form{zwischenablage, dialoge};
};

TEST_F(ScanTest, FullPathsWithStartFolder) {
  form.ui.cbDateien->click();  // no file search: folder lines
  EXPECT_EQ(scanne(), w() + "/\n" + w() + "/a/\n" + w() + "/a/x/\n" + w() + "/B/\n" + w() + "/c/\n" +
                          w() + "/c/y/\n" + w() + "/c/y/z/\n" + w() + "/Äpfel/\n");
  erwarteFertig(8);
  EXPECT_EQ(dialoge.pieptöne, 1);
  EXPECT_TRUE(form.isEnabled());
  EXPECT_EQ(QApplication::focusWidget(), form.ui.txtPfadEingabe);
  // The path box keeps its text (no separator appended there).
  EXPECT_EQ(form.ui.txtPfadEingabe->text(), baum.qWurzel());
}

TEST_F(ScanTest, FullPathsRelative) {
  form.ui.cbDateien->click();
  form.ui.cbinkl->click();
  EXPECT_EQ(scanne(), "a/\na/x/\nB/\nc/\nc/y/\nc/y/z/\nÄpfel/\n");
  erwarteFertig(7);
}

TEST_F(ScanTest, FullPathsWithDepthLimit) {
  form.ui.cbDateien->click();
  form.ui.cbinkl->click();
  form.ui.txtEbenen->setText(" 1x");  // read as 1
  EXPECT_EQ(scanne(), "a/\nB/\nc/\nÄpfel/\n");
  erwarteFertig(4);
}

TEST_F(ScanTest, EndPoints) {
  form.ui.optAlleOderLetzte0->click();
  EXPECT_EQ(scanne(), w() + "/a/x/\n" + w() + "/B/\n" + w() + "/c/y/z/\n" + w() + "/Äpfel/\n");
  erwarteFertig(4);
  // Relative and limited to level 1: every folder of level 1.
  form.ui.cbinkl->click();
  form.ui.txtEbenen->setText("1");
  EXPECT_EQ(scanne(), "a/\nB/\nc/\nÄpfel/\n");
  erwarteFertig(4);
}

TEST_F(ScanTest, EndPointsIgnoreTheCheckedFileBoxes) {
  // "&Dateien" and "nur Ordner mit Dateien" stay checked but disabled.
  form.ui.optAlleOderLetzte0->click();
  form.ui.cbinkl->click();
  ASSERT_EQ(form.ui.cbDateien->checkState(), Qt::Checked);
  EXPECT_EQ(scanne(), "a/x/\nB/\nc/y/z/\nÄpfel/\n");
}

TEST_F(ScanTest, FileLinesWithTab) {
  form.ui.comMaskeTyp->setCurrentText(" mp3 ");  // blanks around are dropped
  EXPECT_EQ(scanne(), w() + "/\ttop.mp3\n" + w() + "/a/x/\tsong.mp3\n" + w() + "/B/\tTrack.MP3\n" + w() +
                          "/Äpfel/\tlied.mp3\n");
  erwarteFertig(4);
}

TEST_F(ScanTest, FileLinesWithoutTab) {
  form.ui.cbTab->click();
  form.ui.cbinkl->click();
  form.ui.comMaskeName->setCurrentText("s*");
  form.ui.comMaskeTyp->setCurrentText("mp3");
  EXPECT_EQ(scanne(), "a/x/song.mp3\n");
  erwarteFertig(1);
}

TEST_F(ScanTest, TwoRunsInARowWithDifferentMasks) {
  form.ui.cbinkl->click();
  form.ui.comMaskeTyp->setCurrentText("mp3");
  EXPECT_EQ(scanne(), "a/x/\tsong.mp3\nB/\tTrack.MP3\nÄpfel/\tlied.mp3\n");
  erwarteFertig(3);
  form.ui.comMaskeTyp->setCurrentText("txt");
  EXPECT_EQ(scanne(), "a/x/\tnote.txt\n");
  erwarteFertig(1);
  EXPECT_EQ(dialoge.pieptöne, 2);
}

TEST_F(ScanTest, MaskThatMatchesNothingLeavesTheClipboardEmpty) {
  form.ui.cbinkl->click();
  form.ui.comMaskeTyp->setCurrentText("wav");
  EXPECT_EQ(scanne(), "");
  erwarteNurLabel(form.ui.lblfertig);
  EXPECT_EQ(form.ui.lblfertig->text(), "0 in der Zwischenablage");
  EXPECT_EQ(form.letztesErgebnis().ausgang, Ausgang::KeineZeilen);
}

TEST_F(ScanTest, FolderNotFound) {
  form.ui.txtPfadEingabe->setText(baum.qWurzel() + "/fehlt");
  QTest::mouseClick(form.ui.cmdScannen, Qt::LeftButton);
  EXPECT_TRUE(zwischenablage.gesetzt.empty());
  erwarteNurLabel(form.ui.lblNichtGefunden);
  EXPECT_EQ(form.ui.lblNichtGefunden->text(), "Ordner nicht gefunden");
  EXPECT_EQ(form.letztesErgebnis().ausgang, Ausgang::NichtGefunden);
  EXPECT_TRUE(form.isEnabled());
}

TEST_F(ScanTest, NoSubFolders) {
  form.ui.txtPfadEingabe->setText(baum.qWurzel() + "/B");
  form.ui.optAlleOderLetzte0->click();
  QTest::mouseClick(form.ui.cmdScannen, Qt::LeftButton);
  EXPECT_TRUE(zwischenablage.gesetzt.empty());
  erwarteNurLabel(form.ui.lblKeineUnterordner);
  EXPECT_EQ(form.ui.lblKeineUnterordner->text(), "Keine Unter-Ordner");
  EXPECT_EQ(dialoge.pieptöne, 1);
}

TEST_F(ScanTest, BlankPathWalksNothingAndSaysFolderNotFound) {
  form.ui.txtPfadEingabe->setText("   ");
  QTest::mouseClick(form.ui.cmdScannen, Qt::LeftButton);
  EXPECT_TRUE(zwischenablage.gesetzt.empty());
  erwarteNurLabel(form.ui.lblNichtGefunden);
  EXPECT_EQ(form.letztesErgebnis().ausgang, Ausgang::LeererPfad);
  EXPECT_EQ(form.ui.txtPfadEingabe->text(), "   ");
}

TEST_F(ScanTest, ClipboardFailureShowsNoResultAndNoBeep) {
  form.ui.cbDateien->click();
  zwischenablage.erreichbar = false;
  QTest::mouseClick(form.ui.cmdScannen, Qt::LeftButton);
  EXPECT_EQ(zwischenablage.gesetzt.size(), 1u);
  erwarteNurLabel(nullptr);  // "arbeite ..." hidden as well
  EXPECT_EQ(dialoge.pieptöne, 0);
  EXPECT_EQ(form.letztesErgebnis().ausgang, Ausgang::Fehler);
  EXPECT_TRUE(form.isEnabled());
}

TEST_F(ScanTest, PathWithBlanksAroundIsTrimmedForTheRunOnly) {
  form.ui.cbDateien->click();
  form.ui.cbinkl->click();
  form.ui.txtPfadEingabe->setText("  " + baum.qWurzel() + "/c/  ");
  EXPECT_EQ(scanne(), "y/\ny/z/\n");
  EXPECT_EQ(form.ui.txtPfadEingabe->text(), "  " + baum.qWurzel() + "/c/  ");
}

TEST_F(ScanTest, EnterInThePathBoxScans) {
  form.ui.cbDateien->click();
  form.ui.txtPfadEingabe->setFocus();
  QTest::keyClick(form.ui.txtPfadEingabe, Qt::Key_Return);
  ASSERT_EQ(zwischenablage.gesetzt.size(), 1u);
  erwarteFertig(8);
}

TEST_F(ScanTest, EnterInOtherControlsScans) {
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  int läufe = 0;
  for (QWidget* w : std::initializer_list<QWidget*>{form.ui.txtEbenen, form.ui.comMaskeName, form.ui.comMaskeTyp,
                                                    form.ui.cbinkl, form.ui.optAlleOderLetzte1, form.ui.cbTab}) {
    for (Qt::Key taste : {Qt::Key_Return, Qt::Key_Enter}) {
      SCOPED_TRACE(w->objectName().toStdString());
      w->setFocus();
      ASSERT_NE(QApplication::focusWidget(), nullptr);
      QTest::keyClick(QApplication::focusWidget(), taste);
      EXPECT_EQ(zwischenablage.gesetzt.size(), std::size_t(++läufe));
    }
  }
  // The mask boxes keep their lists: Enter adds no item.
  EXPECT_EQ(form.ui.comMaskeName->count(), 1);
  EXPECT_EQ(form.ui.comMaskeTyp->count(), 4);
}

TEST_F(ScanTest, ControlsButEndeAndTheFocusedOneDisabledWhileTheWalkRuns) {
  // Enough folders for the walk to yield several times.
  for (int i = 0; i < 300; ++i) ASSERT_TRUE(QDir(baum.qWurzel()).mkpath(QString("viele/%1").arg(i)));
  form.ui.optAlleOderLetzte0->click();
  // Enter in the path box: the box keeps the focus throughout the scan.
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  form.ui.txtPfadEingabe->setFocus();
  QTest::keyClick(form.ui.txtPfadEingabe, Qt::Key_Return);
  ASSERT_FALSE(form.freigegeben.empty()) << "the walk never yielded";
  EXPECT_EQ(form.ui.txtPfadEingabe->text(), baum.qWurzel()) << "no key reached it";
  EXPECT_FALSE(form.ui.txtPfadEingabe->isReadOnly());
  for (std::size_t i = 0; i < form.freigegeben.size(); ++i) {
    EXPECT_FALSE(form.freigegeben[i]) << "yield " << i;
    EXPECT_EQ(form.fokusse[i], form.ui.txtPfadEingabe) << "yield " << i;
    EXPECT_TRUE(form.arbeiteSichtbar[i]) << "yield " << i;
    EXPECT_TRUE(form.arbeiteText[i].startsWith("arbeite ...")) << form.arbeiteText[i].toStdString();
  }
  // The count of folders recorded so far shows behind "arbeite ...".
  EXPECT_TRUE(form.arbeiteText.last().contains(QRegularExpression("^arbeite \\.\\.\\. [1-9][0-9]*$")))
      << form.arbeiteText.last().toStdString();
  EXPECT_TRUE(form.ui.cmdScannen->isEnabled());
  erwarteFertig(304);
}

}  // namespace
