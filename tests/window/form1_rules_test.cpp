// The control rules: which controls are enabled after each user action,
// and which actions hide the status labels and move the focus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "doubles.h"
#include "window/form1.h"

namespace {

// Enabled states of cbDateien, cbTab and the other three file fields.
struct Zustand {
  bool dateien;
  bool tab;
  bool felder;  // cbNurOrdnerMitPassendenDateien, comMaskeName, comMaskeTyp alike
};

class RulesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(form.Form_Load({}).has_value());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  }

  // Checks the state; the three file fields must always agree.
  void erwarte(Zustand z) {
    const Ui::Form1& ui = form.ui;
    EXPECT_EQ(ui.cbDateien->isEnabled(), z.dateien) << "cbDateien";
    EXPECT_EQ(ui.cbTab->isEnabled(), z.tab) << "cbTab";
    EXPECT_EQ(ui.cbNurOrdnerMitPassendenDateien->isEnabled(), z.felder) << "cbNurOrdnerMitPassendenDateien";
    EXPECT_EQ(ui.comMaskeName->isEnabled(), z.felder) << "comMaskeName";
    EXPECT_EQ(ui.comMaskeTyp->isEnabled(), z.felder) << "comMaskeTyp";
  }
  void klicke(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2)); }
  void tippe(const char* text) { QTest::keyClicks(form.ui.txtPfadEingabe, text); }

  AufzeichnendeZwischenablage zwischenablage;
  TestDialoge dialoge;
  Form1 form{zwischenablage, dialoge};
};

TEST_F(RulesTest, EndpointsDisablesAllFileFieldsAndKeepsCheckMarks) {
  klicke(form.ui.optAlleOderLetzte0);
  ASSERT_TRUE(form.ui.optAlleOderLetzte0->isChecked());
  EXPECT_FALSE(form.ui.optAlleOderLetzte1->isChecked());
  erwarte({false, false, false});
  for (QCheckBox* cb : {form.ui.cbDateien, form.ui.cbTab, form.ui.cbNurOrdnerMitPassendenDateien})
    EXPECT_EQ(cb->checkState(), Qt::Checked);
}

TEST_F(RulesTest, FullPathsWithDateienCheckedEnablesAll) {
  klicke(form.ui.optAlleOderLetzte0);
  klicke(form.ui.optAlleOderLetzte1);
  erwarte({true, true, true});
}

TEST_F(RulesTest, FullPathsWithDateienUncheckedEnablesTabOnly) {
  klicke(form.ui.cbDateien);
  klicke(form.ui.optAlleOderLetzte0);
  klicke(form.ui.optAlleOderLetzte1);
  ASSERT_EQ(form.ui.cbDateien->checkState(), Qt::Unchecked);
  erwarte({true, true, false});
}

TEST_F(RulesTest, DateienToggledByUser) {
  klicke(form.ui.cbDateien);
  ASSERT_EQ(form.ui.cbDateien->checkState(), Qt::Unchecked);
  erwarte({true, false, false});  // unchecking also disables "mit Tab"
  klicke(form.ui.cbDateien);
  ASSERT_EQ(form.ui.cbDateien->checkState(), Qt::Checked);
  erwarte({true, true, true});
  // The space key toggles it too.
  form.ui.cbDateien->setFocus();
  QTest::keyClick(form.ui.cbDateien, Qt::Key_Space);
  ASSERT_EQ(form.ui.cbDateien->checkState(), Qt::Unchecked);
  erwarte({true, false, false});
}

TEST_F(RulesTest, PathChangeReappliesFullPathsRules) {
  tippe("x");
  erwarte({true, true, true});
  // Unchecking "&Dateien" disables "mit Tab"; the next keystroke in the path
  // box enables it again while the other three stay disabled.
  klicke(form.ui.cbDateien);
  erwarte({true, false, false});
  tippe("y");
  erwarte({true, true, false});
}

TEST_F(RulesTest, PathChangeInEndpointsModeChangesNothing) {
  klicke(form.ui.optAlleOderLetzte0);
  erwarte({false, false, false});
  tippe("abc");
  erwarte({false, false, false});
  // Also when the state differs from what the mode rules would give.
  form.ui.cbTab->setEnabled(true);
  tippe("d");
  EXPECT_TRUE(form.ui.cbTab->isEnabled());
}

TEST_F(RulesTest, PathAssignedByProgramRunsTheChangeHandler) {
  klicke(form.ui.cbDateien);
  erwarte({true, false, false});
  form.steuerelemente().einblenden(zweigschau::Steuerelement::lblfertig, true);
  form.ui.txtPfadEingabe->setText("/somewhere");
  erwarte({true, true, false});
  EXPECT_FALSE(form.ui.lblfertig->isVisible());
}

TEST_F(RulesTest, OptionHandlerIgnoresItsIndex) {
  klicke(form.ui.cbDateien);  // tab off
  form.optAlleOderLetzte_Click(0);  // member 1 is still selected
  erwarte({true, true, false});
  klicke(form.ui.optAlleOderLetzte0);
  form.optAlleOderLetzte_Click(1);  // member 0 selected: off, whatever the index says
  erwarte({false, false, false});
}

TEST_F(RulesTest, KeystrokeInPathBoxHidesEveryStatusLabel) {
  const Ui::Form1& ui = form.ui;
  for (auto label : {zweigschau::Steuerelement::lblArbeite, zweigschau::Steuerelement::lblfertig,
                     zweigschau::Steuerelement::lblNichtGefunden, zweigschau::Steuerelement::lblKeineUnterordner}) {
    form.steuerelemente().einblenden(label, true);
    tippe("z");
    for (QLabel* l : {ui.lblArbeite, ui.lblfertig, ui.lblNichtGefunden, ui.lblKeineUnterordner})
      EXPECT_FALSE(l->isVisible()) << l->objectName().toStdString();
  }
}

TEST_F(RulesTest, InklClickHidesResultAndFocusesPathBox) {
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  form.steuerelemente().textSetzen(zweigschau::Steuerelement::lblfertig, "7 in der Zwischenablage");
  form.steuerelemente().einblenden(zweigschau::Steuerelement::lblfertig, true);
  klicke(form.ui.cbinkl);
  EXPECT_EQ(form.ui.cbinkl->checkState(), Qt::Unchecked);
  EXPECT_FALSE(form.ui.lblfertig->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), form.ui.txtPfadEingabe);
  // The caption stays for the next time.
  EXPECT_EQ(form.ui.lblfertig->text(), "7 in der Zwischenablage");
}

TEST_F(RulesTest, HidingLabelsOnHiddenWindowLeavesFocusAlone) {
  AufzeichnendeZwischenablage z;
  TestDialoge d;
  Form1 unsichtbar(z, d);
  unsichtbar.steuerelemente().einblenden(zweigschau::Steuerelement::lblNichtGefunden, true);
  unsichtbar.AusgabeZeilenAusschalten();
  EXPECT_TRUE(unsichtbar.ui.lblNichtGefunden->isHidden());
  EXPECT_FALSE(unsichtbar.ui.txtPfadEingabe->hasFocus());
}

}  // namespace
