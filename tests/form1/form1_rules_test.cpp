// The control rules on the plain window: the table of enabled states and
// the hiding of the status labels on input. "&Dateien" toggled by the user
// (rows 4 and 5), the "inkl." click and a hidden window are tested on the Qt
// window (tests/window), with its keyboard and focus.
#include <gtest/gtest.h>

#include "test_fenster.h"

namespace {

using form1_test::TestFenster;
using S = zweigschau::Steuerelement;

// Enabled states of cbDateien, cbTab and the other three file fields.
struct Zustand {
  bool dateien;
  bool tab;
  bool felder;  // cbNurOrdnerMitPassendenDateien, comMaskeName, comMaskeTyp alike
};

constexpr S kStatusLabels[] = {S::lblArbeite, S::lblfertig, S::lblNichtGefunden,
                               S::lblKeineUnterordner};

class RegelnTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_FALSE(f.logik.Form_Load({}).has_value()); }

  void erwarte(Zustand z) {
    EXPECT_EQ(f[S::cbDateien].frei, z.dateien) << "cbDateien";
    EXPECT_EQ(f[S::cbTab].frei, z.tab) << "cbTab";
    EXPECT_EQ(f[S::cbNurOrdnerMitPassendenDateien].frei, z.felder) << "cbNurOrdnerMitPassendenDateien";
    EXPECT_EQ(f[S::comMaskeName].frei, z.felder) << "comMaskeName";
    EXPECT_EQ(f[S::comMaskeTyp].frei, z.felder) << "comMaskeTyp";
  }
  void erwarteKeinLabel() {
    for (S l : kStatusLabels) EXPECT_FALSE(f[l].sichtbar) << static_cast<int>(l);
  }

  TestFenster f;
};

TEST_F(RegelnTest, AfterLoadEveryControlIsEnabledAndNoLabelShows) {
  for (int i = 0; i < 20; ++i) EXPECT_TRUE(f[static_cast<S>(i)].frei) << i;
  erwarteKeinLabel();
  EXPECT_EQ(f[S::optAlleOderLetzte1].wert, 1);
  // Loading sets no value of its own.
  EXPECT_EQ(f[S::txtPfadEingabe].text, "d:\\temp");
  EXPECT_TRUE(f.meldungen.empty());
}

TEST_F(RegelnTest, LoadWithEndpointsSelectedDisablesTheFileFields) {
  TestFenster g;
  g[S::optAlleOderLetzte1].wert = 0;
  g[S::optAlleOderLetzte0].wert = 1;
  ASSERT_FALSE(g.logik.Form_Load({}).has_value());
  EXPECT_FALSE(g[S::cbTab].frei);
  EXPECT_FALSE(g[S::comMaskeTyp].frei);
}

// Row 1: "&nur Endpunkte" selected.
TEST_F(RegelnTest, EndpointsDisablesAllFileFieldsAndKeepsCheckMarks) {
  f.klicke(S::optAlleOderLetzte0);
  ASSERT_EQ(f[S::optAlleOderLetzte0].wert, 1);
  EXPECT_EQ(f[S::optAlleOderLetzte1].wert, 0);
  erwarte({false, false, false});
  for (S cb : {S::cbDateien, S::cbTab, S::cbNurOrdnerMitPassendenDateien}) EXPECT_EQ(f[cb].wert, 1);
}

// Rows 2 and 3: "&komplette Pfade" selected, with and without "&Dateien".
TEST_F(RegelnTest, FullPathsSelectedFollowsDateien) {
  f.klicke(S::optAlleOderLetzte0);
  f.klicke(S::optAlleOderLetzte1);
  erwarte({true, true, true});
  f.klicke(S::cbDateien);
  f.klicke(S::optAlleOderLetzte0);
  f.klicke(S::optAlleOderLetzte1);
  ASSERT_EQ(f[S::cbDateien].wert, 0);
  erwarte({true, true, false});
}

// A grayed "&Dateien" counts as on for the click, as not checked for the
// three fields that need it checked.
TEST_F(RegelnTest, GrayedDateienEnablesTabOnly) {
  f[S::cbDateien].wert = 2;
  f.logik.cbDateien_Click();
  erwarte({true, true, false});
}

// Rows 6 and 7: the path changes in "&komplette Pfade" mode.
TEST_F(RegelnTest, PathChangeReappliesFullPathsRules) {
  f[S::cbTab].frei = false;
  f.tippe("x");
  erwarte({true, true, true});
  f.klicke(S::cbDateien);
  erwarte({true, false, false});
  f.tippe("y");
  erwarte({true, true, false});
}

// Row 8: in "&nur Endpunkte" mode a path change changes nothing, even where
// the states differ from what the mode rules would give.
TEST_F(RegelnTest, PathChangeInEndpointsModeChangesNothing) {
  f.klicke(S::optAlleOderLetzte0);
  f[S::cbTab].frei = true;
  f[S::comMaskeName].frei = true;
  f.tippe("abc");
  EXPECT_FALSE(f[S::cbDateien].frei);
  EXPECT_TRUE(f[S::cbTab].frei);
  EXPECT_TRUE(f[S::comMaskeName].frei);
  EXPECT_FALSE(f[S::comMaskeTyp].frei);
  EXPECT_FALSE(f[S::cbNurOrdnerMitPassendenDateien].frei);
  EXPECT_EQ(f[S::txtPfadEingabe].text, "d:\\tempabc");
}

TEST_F(RegelnTest, OptionHandlerIgnoresItsIndex) {
  f.klicke(S::cbDateien);                // tab off
  f.logik.optAlleOderLetzte_Click(0);    // member 1 is still selected
  erwarte({true, true, false});
  f.klicke(S::optAlleOderLetzte0);
  f.logik.optAlleOderLetzte_Click(1);    // member 0 selected, whatever the index says
  erwarte({false, false, false});
}

TEST_F(RegelnTest, DisabledControlsTakeNoClick) {
  f.klicke(S::optAlleOderLetzte0);
  f.klicke(S::cbDateien);
  EXPECT_EQ(f[S::cbDateien].wert, 1);
  erwarte({false, false, false});
}

TEST_F(RegelnTest, KeystrokeInPathBoxHidesEveryStatusLabel) {
  for (S label : kStatusLabels) {
    f.logik.steuerelemente().einblenden(label, true);
    f.fokus.reset();
    f.tippe("z");
    erwarteKeinLabel();
    EXPECT_EQ(f.fokus, S::txtPfadEingabe);
  }
  // In "&nur Endpunkte" mode too.
  f.klicke(S::optAlleOderLetzte0);
  f.logik.steuerelemente().einblenden(S::lblfertig, true);
  f.tippe("q");
  erwarteKeinLabel();
}

TEST_F(RegelnTest, FileFieldsOnOffReadsDateienForEachField) {
  f.logik.DateiFelderAnAus(false);
  erwarte({true, false, false});
  f[S::cbDateien].wert = 0;
  f.logik.DateiFelderAnAus(true);
  erwarte({true, true, false});
  EXPECT_TRUE(f[S::fraMaske].frei) << "the frame is never changed";
}

}  // namespace
