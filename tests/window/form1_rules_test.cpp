// The control rules on the Qt window, where they need its real widgets: the
// keyboard, the focus, a path set by the program and a window never shown.
// The rules' table itself is tested on the plain window (tests/form1).
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

  AufzeichnendeZwischenablage zwischenablage;
  TestDialoge dialoge;
  Form1 form{zwischenablage, dialoge};
};

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

TEST_F(RulesTest, PathAssignedByProgramRunsTheChangeHandler) {
  klicke(form.ui.cbDateien);
  erwarte({true, false, false});
  form.steuerelemente().einblenden(zweigschau::Steuerelement::lblfertig, true);
  form.ui.txtPfadEingabe->setText("/somewhere");
  erwarte({true, true, false});
  EXPECT_FALSE(form.ui.lblfertig->isVisible());
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
