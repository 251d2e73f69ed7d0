// Start-up: usage box, batch run or window; the usage box on a double
// click; "Ende" and Escape.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "doubles.h"
#include "temp_ordner.h"
#include "window/form1.h"

namespace {

using zweigschau::Ausgang;

const QString kAnleitungTitel = "MORVAs Zweigschau (Freeware)";

class StartupTest : public ::testing::Test {
 protected:
  // Runs Form_Load and returns its result; the batch run's stderr line
  // lands in `fehlerausgabe`.
  std::optional<int> lade(const std::vector<std::string>& argumente) {
    ::testing::internal::CaptureStderr();
    const std::optional<int> status = form.Form_Load(argumente);
    fehlerausgabe = ::testing::internal::GetCapturedStderr();
    return status;
  }

  TempOrdner baum;
  AufzeichnendeZwischenablage zwischenablage;
  TestDialoge dialoge;
  Form1 form{zwischenablage, dialoge};
  std::string fehlerausgabe;
};

TEST_F(StartupTest, UsageBoxWinsOverEverythingAndEnds) {
  baum.ordner({"a"});
  EXPECT_EQ(lade({"/o:" + baum.wurzel(), "/?"}), 0);
  ASSERT_EQ(dialoge.meldungen.size(), 1u);
  EXPECT_EQ(dialoge.meldungen[0].titel, kAnleitungTitel);
  const QStringList zeilen = dialoge.meldungen[0].text.split(u'\n');
  ASSERT_EQ(zeilen.size(), 8) << dialoge.meldungen[0].text.toStdString();
  EXPECT_EQ(zeilen[0], "BefehlsZeilen-Parameter:");
  EXPECT_EQ(zeilen[1], "");
  EXPECT_EQ(zeilen[2], "/o:..\t = Ordnername");
  EXPECT_EQ(zeilen[7], "/n\t = nur Ordner mit passenden Dateien");
  EXPECT_FALSE(dialoge.meldungen[0].text.contains(u'\r'));
  EXPECT_TRUE(zwischenablage.gesetzt.empty()) << "no scan run";
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(form.beendet());
}

TEST_F(StartupTest, NoArgumentsOpensTheWindowWithFileFieldsOn) {
  EXPECT_EQ(lade({}), std::nullopt);
  EXPECT_TRUE(form.ui.cbTab->isEnabled());
  EXPECT_TRUE(form.ui.cbNurOrdnerMitPassendenDateien->isEnabled());
  EXPECT_TRUE(form.ui.comMaskeName->isEnabled());
  EXPECT_TRUE(form.ui.comMaskeTyp->isEnabled());
  EXPECT_TRUE(dialoge.meldungen.empty());
  EXPECT_TRUE(zwischenablage.gesetzt.empty());
  EXPECT_FALSE(form.beendet());
}

TEST_F(StartupTest, UnknownKeysOpenTheWindow) {
  EXPECT_EQ(lade({"/a", "/x:y", "stray"}), std::nullopt);
  EXPECT_TRUE(dialoge.meldungen.empty());
  EXPECT_TRUE(zwischenablage.gesetzt.empty());
}

TEST_F(StartupTest, BatchRunListsEndPointsWithoutShowingOrBeeping) {
  baum.ordner({"a/x", "b", "Ü"});
  EXPECT_EQ(lade({"/o:" + baum.wurzel()}), 0);
  ASSERT_EQ(zwischenablage.gesetzt.size(), 1u);
  const std::string w = baum.wurzel();
  EXPECT_EQ(zwischenablage.gesetzt[0], w + "/a/x/\n" + w + "/b/\n" + w + "/Ü/\n");
  EXPECT_EQ(fehlerausgabe, "");
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(dialoge.pieptöne, 0);
  EXPECT_TRUE(dialoge.meldungen.empty());
  EXPECT_EQ(form.letztesErgebnis().ausgang, Ausgang::InZwischenablage);
}

TEST_F(StartupTest, BatchRunWithDepthRelativeAndIgnoredMask) {
  baum.ordner({"a/x/y", "b"});
  baum.datei("a/f.mp3");
  EXPECT_EQ(lade({"/o:" + baum.wurzel(), "/i", "/e:1", "/d:*.mp3", "/n"}), 0);
  ASSERT_EQ(zwischenablage.gesetzt.size(), 1u);
  EXPECT_EQ(zwischenablage.gesetzt[0], "a/\nb/\n");  // folder lines, whatever the mask
}

TEST_F(StartupTest, BatchRunFolderNotFound) {
  EXPECT_EQ(lade({"/o:" + baum.wurzel() + "/fehlt"}), 1);
  EXPECT_EQ(fehlerausgabe, "Ordner nicht gefunden\n");
  EXPECT_TRUE(zwischenablage.gesetzt.empty());
  EXPECT_EQ(dialoge.pieptöne, 0);
}

TEST_F(StartupTest, BatchRunWithoutPathValue) {
  EXPECT_EQ(lade({"/o:"}), 1);
  EXPECT_EQ(fehlerausgabe, "Ordner nicht gefunden\n");
  EXPECT_TRUE(zwischenablage.gesetzt.empty());
  EXPECT_FALSE(form.ui.lblArbeite->isVisibleTo(&form)) << "\"arbeite ...\" must not stay";
}

TEST_F(StartupTest, BatchRunNoSubFolders) {
  EXPECT_EQ(lade({"/o:" + baum.wurzel()}), 2);
  EXPECT_EQ(fehlerausgabe, "Keine Unter-Ordner\n");
  EXPECT_TRUE(zwischenablage.gesetzt.empty());
}

TEST_F(StartupTest, BatchRunClipboardUnreachable) {
  baum.ordner({"a"});
  zwischenablage.erreichbar = false;
  EXPECT_EQ(lade({"/o:" + baum.wurzel()}), 3);
  EXPECT_EQ(fehlerausgabe, "Zwischenablage nicht erreichbar\n");
  EXPECT_FALSE(form.ui.lblArbeite->isVisibleTo(&form));
  EXPECT_FALSE(form.ui.lblfertig->isVisibleTo(&form));
}

class WindowTest : public StartupTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(lade({}), std::nullopt);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  }
};

TEST_F(WindowTest, DoubleClickOnFreeSpotShowsUsageBoxRepeatedly) {
  // Between the "Ebenen" label and the option buttons nothing lies.
  const QPoint frei(form.ui.txtEbenen->geometry().right() + 8, form.ui.optAlleOderLetzte1->y() + 4);
  ASSERT_EQ(form.childAt(frei), nullptr);
  QTest::mouseDClick(&form, Qt::LeftButton, {}, frei);
  ASSERT_EQ(dialoge.meldungen.size(), 1u);
  EXPECT_EQ(dialoge.meldungen[0].titel, kAnleitungTitel);
  EXPECT_EQ(dialoge.meldungen[0].text.count(u'\n'), 7);
  EXPECT_FALSE(form.beendet());
  EXPECT_TRUE(form.isVisible());
  QTest::mouseDClick(&form, Qt::LeftButton, {}, frei);
  EXPECT_EQ(dialoge.meldungen.size(), 2u);
}

TEST_F(WindowTest, DoubleClickOnAControlShowsNoUsageBox) {
  QTest::mouseDClick(form.ui.Label2, Qt::LeftButton);
  QTest::mouseDClick(form.ui.fraMaske, Qt::LeftButton, {}, QPoint(4, form.ui.fraMaske->height() - 4));
  EXPECT_TRUE(dialoge.meldungen.empty());
}

TEST_F(WindowTest, UsageBoxIsAnInformationBoxWithOk) {
  // The real message box, answered by pressing its OK button.
  platform::QtDialogs echt;
  QMessageBox::Icon symbol = QMessageBox::NoIcon;
  QString titel;
  QString text;
  int knöpfe = -1;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    symbol = box->icon();
    titel = box->windowTitle();
    text = box->text();
    knöpfe = int(box->buttons().size());
    QAbstractButton* ok = box->button(QMessageBox::Ok);
    ASSERT_NE(ok, nullptr);
    ok->click();
  });
  echt.information(&form, kAnleitungTitel, "Zeile 1\nZeile 2");
  EXPECT_EQ(symbol, QMessageBox::Information);
  EXPECT_EQ(titel, kAnleitungTitel);
  EXPECT_EQ(text, "Zeile 1\nZeile 2");
  EXPECT_EQ(knöpfe, 1);
}

TEST_F(WindowTest, EndeClosesTheWindow) {
  QTest::mouseClick(form.ui.cmdEnde, Qt::LeftButton);
  EXPECT_TRUE(form.beendet());
  EXPECT_FALSE(form.isVisible());
}

TEST_F(WindowTest, EscapeEnds) {
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  EXPECT_TRUE(form.beendet());
  EXPECT_FALSE(form.isVisible());
}

TEST_F(WindowTest, ClosingTheWindowEnds) {
  form.close();
  EXPECT_TRUE(form.beendet());
}

TEST_F(WindowTest, EndeStopsTheEventLoop) {
  QTimer::singleShot(0, form.ui.cmdEnde, &QPushButton::click);
  QTimer notbremse;
  notbremse.setSingleShot(true);
  QObject::connect(&notbremse, &QTimer::timeout, [] { QCoreApplication::exit(99); });
  notbremse.start(10000);
  EXPECT_EQ(QApplication::exec(), 0);
}

}  // namespace
