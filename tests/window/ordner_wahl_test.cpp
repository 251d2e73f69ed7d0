// The folder picker: the button "&Ordner" with the dialog
// answered by the test double, and once through Qt's real file dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "doubles.h"
#include "temp_ordner.h"
#include "window/form1.h"

namespace {

class PickerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(form.Form_Load({}), std::nullopt);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  }
  AufzeichnendeZwischenablage zwischenablage;
  TestDialoge dialoge;
  Form1 form{zwischenablage, dialoge};
};

TEST_F(PickerTest, PickedFolderReplacesPathAndHidesLabels) {
  TempOrdner baum;
  dialoge.ordnerAntwort = "/home/user/Musik";
  form.ui.txtPfadEingabe->setText(" " + baum.qWurzel() + " ");
  form.ui.cbDateien->click();  // "mit Tab" off until the path changes
  form.steuerelemente().einblenden(zweigschau::Steuerelement::lblfertig, true);
  form.ui.cbinkl->setFocus();
  QTest::mouseClick(form.ui.cmdOrdnerWählen, Qt::LeftButton);
  ASSERT_EQ(dialoge.ordnerTitel.size(), 1);
  EXPECT_EQ(dialoge.ordnerTitel[0], "Wählen Sie einen Ordner");
  EXPECT_EQ(dialoge.ordnerStart[0], baum.qWurzel()) << "starts at the folder in the path box";
  EXPECT_EQ(form.ui.txtPfadEingabe->text(), "/home/user/Musik");  // as given, no separator added
  EXPECT_FALSE(form.ui.lblfertig->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), form.ui.txtPfadEingabe);
  EXPECT_TRUE(form.ui.cbTab->isEnabled()) << "the change handler ran";
}

TEST_F(PickerTest, CancelKeepsPathButHidesLabelsAndFocusesPathBox) {
  dialoge.ordnerAntwort = QString();
  form.ui.txtPfadEingabe->setText("/bleibt");
  form.steuerelemente().einblenden(zweigschau::Steuerelement::lblNichtGefunden, true);
  form.ui.txtEbenen->setFocus();
  QTest::mouseClick(form.ui.cmdOrdnerWählen, Qt::LeftButton);
  EXPECT_EQ(dialoge.ordnerStart[0], "/") << "no such folder: the nearest one above it";
  EXPECT_EQ(form.ui.txtPfadEingabe->text(), "/bleibt");
  EXPECT_FALSE(form.ui.lblNichtGefunden->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), form.ui.txtPfadEingabe);
}

TEST_F(PickerTest, OpensAtTheNearestFolderThatExists) {
  TempOrdner baum;
  baum.ordner({"a"});
  baum.datei("a/lied.mp3");
  const QString a = baum.qWurzel() + "/a";
  dialoge.ordnerAntwort = QString();
  for (const QString& text : {a + "/lied.mp3", a + "/neu/tiefer/", "\"file://" + a + "/neu\"", QString()}) {
    form.ui.txtPfadEingabe->setText(text);
    QTest::mouseClick(form.ui.cmdOrdnerWählen, Qt::LeftButton);
    EXPECT_EQ(dialoge.ordnerStart.back(), text.isEmpty() ? QDir::homePath() : a) << text.toStdString();
  }
}

// Qt's own folder dialog, found once it is open, given a typed path and
// accepted.
TEST_F(PickerTest, RealFolderDialogReturnsTypedFolder) {
  TempOrdner baum;
  baum.ordner({"gewählt/ä"});
  const QString ziel = baum.qWurzel() + "/gewählt/ä";
  bool gefunden = false;
  bool nurOrdner = false;
  QString titel, texte;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    gefunden = true;
    titel = dialog->windowTitle();
    texte = dialog->labelText(QFileDialog::LookIn) + "|" + dialog->labelText(QFileDialog::Accept) + "|" +
            dialog->labelText(QFileDialog::Reject);
    nurOrdner = dialog->fileMode() == QFileDialog::Directory &&
                dialog->testOption(QFileDialog::ShowDirsOnly) &&
                dialog->testOption(QFileDialog::DontUseNativeDialog);
    auto* eingabe = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(eingabe, nullptr);
    eingabe->clear();
    // Entered in one go, as pasted: typed character by character, the
    // dialog's completion would rewrite the text while it is being typed.
    eingabe->setText(ziel);
    QTest::keyClick(eingabe, Qt::Key_Return);
  });
  QTest::mouseClick(form.ui.cmdOrdnerWählen, Qt::LeftButton);
  ASSERT_TRUE(gefunden);
  EXPECT_EQ(titel, "Wählen Sie einen Ordner");
  EXPECT_EQ(texte.toStdString(), "Suchen in:|&Auswählen|Abbrechen") << "Qt's own texts in German";
  EXPECT_TRUE(nurOrdner);
  EXPECT_EQ(form.ui.txtPfadEingabe->text(), ziel);
  EXPECT_EQ(form.focusWidget(), form.ui.txtPfadEingabe);
}

TEST_F(PickerTest, RealFolderDialogCancelled) {
  form.ui.txtPfadEingabe->setText("/bleibt");
  bool gefunden = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    gefunden = true;
    dialog->reject();
  });
  QTest::mouseClick(form.ui.cmdOrdnerWählen, Qt::LeftButton);
  ASSERT_TRUE(gefunden);
  EXPECT_EQ(form.ui.txtPfadEingabe->text(), "/bleibt");
}

}  // namespace
