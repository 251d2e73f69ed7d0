// The window as it first appears: controls, captions, tooltips, start
// values, tab order, arrangement, status label colours, Alt+S.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <cstdlib>
#include <map>
#include <string>

#include "doubles.h"
#include "window/form1.h"

namespace {

using zweigschau::SteuerArt;
using zweigschau::SteuerZeile;

// The Qt class that draws each kind of control.
const char* Klasse(SteuerArt art) {
  switch (art) {
    case SteuerArt::Textfeld: return "QLineEdit";
    case SteuerArt::Kombinationsfeld: return "QComboBox";
    case SteuerArt::Kontrollkaestchen: return "QCheckBox";
    case SteuerArt::Optionsfeld: return "QRadioButton";
    case SteuerArt::Schaltflaeche: return "QPushButton";
    case SteuerArt::Rahmen: return "QGroupBox";
    case SteuerArt::Beschriftung: return "QLabel";
  }
  return "";
}

// The controls with a tooltip; the others have none.
const std::map<std::string, std::string> kTooltips = {
    {"comMaskeName", "Maske für den Dateinamen"},
    {"comMaskeTyp", "Maske für den Dateityp"},
    {"cbNurOrdnerMitPassendenDateien", "nur Ordner mit passende Dateien listen"},
    {"txtEbenen", "Tiefe der Ebenen (0=alle)"},
    {"cbinkl", "Liste inkl. Startverzeichnis"},
    {"cmdScannen", "Ordnerliste in die Zwischenablage"},
    {"txtPfadEingabe", "nur Ausgabe der letzten Ordner"},
};

QString TextVon(QWidget* w) {
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  return {};
}

class LayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(form.Form_Load({}).has_value());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  }
  QWidget* control(const char* name) { return form.findChild<QWidget*>(QString::fromUtf8(name)); }

  AufzeichnendeZwischenablage zwischenablage;
  TestDialoge dialoge;
  Form1 form{zwischenablage, dialoge};
};

TEST_F(LayoutTest, WindowCaptionIconAndSize) {
  EXPECT_EQ(form.windowTitle(), "MORVAs Zweigschau");
  const QImage icon = form.windowIcon().pixmap(32, 32).toImage();
  ASSERT_FALSE(icon.isNull());
  // A white page with black lines on it.
  int weiss = 0;
  int schwarz = 0;
  for (int y = 0; y < icon.height(); ++y)
    for (int x = 0; x < icon.width(); ++x) {
      const QColor c = icon.pixelColor(x, y);
      if (c.alpha() < 255) continue;
      if (c == Qt::white) ++weiss;
      if (c == Qt::black) ++schwarz;
    }
  EXPECT_GT(weiss, 100);
  EXPECT_GT(schwarz, 40);
  // The controls keep their places, so the window does not resize.
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  // It fits the screen it opens on, whatever the scale.
  const QRect frei = form.screen()->availableGeometry();
  EXPECT_LE(form.frameGeometry().width(), frei.width());
  EXPECT_LE(form.frameGeometry().height(), frei.height());
}

TEST_F(LayoutTest, EveryControlWithKindCaptionAndTooltip) {
  for (const SteuerZeile& z : zweigschau::kForm1Steuer) {
    SCOPED_TRACE(z.name);
    QWidget* w = control(z.name);
    ASSERT_NE(w, nullptr);
    EXPECT_STREQ(w->metaObject()->className(), Klasse(z.art));
    EXPECT_EQ(w->parentWidget(), &form) << "all controls are direct children of the window";
    // The path box starts with the temporary folder (FirstDisplayState).
    if (z.steuer != zweigschau::Steuerelement::txtPfadEingabe) {
      EXPECT_EQ(TextVon(w), QString::fromUtf8(z.text));
    }
    const auto tipp = kTooltips.find(z.name);
    EXPECT_EQ(w->toolTip(), QString::fromStdString(tipp == kTooltips.end() ? "" : tipp->second));
  }
  EXPECT_EQ(form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), qsizetype(zweigschau::kForm1Anzahl));
}

TEST_F(LayoutTest, FirstDisplayState) {
  const Ui::Form1& ui = form.ui;
  EXPECT_EQ(ui.txtPfadEingabe->text(), QDir::toNativeSeparators(QDir::tempPath()));
  EXPECT_EQ(ui.txtEbenen->text(), "0");
  EXPECT_EQ(ui.comMaskeName->currentText(), "*");
  EXPECT_EQ(ui.comMaskeTyp->currentText(), "*");
  ASSERT_EQ(ui.comMaskeName->count(), 1);
  EXPECT_EQ(ui.comMaskeName->itemText(0), "*");
  const QStringList typen{"*", "mp3", "wav", "doc"};
  ASSERT_EQ(ui.comMaskeTyp->count(), typen.size());
  for (int i = 0; i < typen.size(); ++i) EXPECT_EQ(ui.comMaskeTyp->itemText(i), typen[i]);
  EXPECT_TRUE(ui.comMaskeName->isEditable());
  EXPECT_TRUE(ui.comMaskeTyp->isEditable());

  EXPECT_TRUE(ui.optAlleOderLetzte1->isChecked());
  EXPECT_FALSE(ui.optAlleOderLetzte0->isChecked());
  for (QCheckBox* cb : {ui.cbDateien, ui.cbTab, ui.cbNurOrdnerMitPassendenDateien, ui.cbinkl})
    EXPECT_EQ(cb->checkState(), Qt::Checked) << cb->objectName().toStdString();

  for (QWidget* w : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
  for (QLabel* l : {ui.lblArbeite, ui.lblfertig, ui.lblNichtGefunden, ui.lblKeineUnterordner})
    EXPECT_FALSE(l->isVisible()) << l->objectName().toStdString();
  EXPECT_TRUE(ui.Label1->isVisible());
  EXPECT_TRUE(ui.Label2->isVisible());

  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  EXPECT_EQ(QApplication::focusWidget(), ui.txtPfadEingabe)
      << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");
  EXPECT_TRUE(ui.cmdScannen->isDefault());
  EXPECT_FALSE(ui.cmdEnde->isDefault());
}

TEST_F(LayoutTest, TabOrder) {
  QStringList erwartet;
  for (int i = 0; i < int(zweigschau::kForm1Anzahl); ++i)
    if (const SteuerZeile& z = zweigschau::ZeileMitTabIndex(i); zweigschau::NimmtFokus(z))
      erwartet << QString::fromUtf8(z.name);
  QStringList kette;
  QWidget* w = form.ui.txtPfadEingabe;
  do {
    if (w->parentWidget() == &form && (w->focusPolicy() & Qt::TabFocus)) kette << w->objectName();
    w = w->nextInFocusChain();
  } while (w != form.ui.txtPfadEingabe && kette.size() < 40);
  EXPECT_EQ(kette, erwartet);
  // Labels and the frame never take the focus.
  for (QWidget* l : {static_cast<QWidget*>(form.ui.Label1), static_cast<QWidget*>(form.ui.Label2),
                     static_cast<QWidget*>(form.ui.fraMaske)})
    EXPECT_FALSE(l->focusPolicy() & Qt::TabFocus) << l->objectName().toStdString();
}

// Every caption is fully visible: each control is at least as large as its
// content needs, lies inside the window, and no two controls overlap
// (except the frame around the combo boxes and the status labels sharing
// their corner).
TEST_F(LayoutTest, CaptionsFitAndControlsDoNotOverlap) {
  const Ui::Form1& ui = form.ui;
  for (QWidget* w : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    SCOPED_TRACE(w->objectName().toStdString());
    EXPECT_TRUE(form.rect().contains(w->geometry())) << "inside the window";
    if (qobject_cast<QGroupBox*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w)) {
      EXPECT_GE(w->height(), w->minimumSizeHint().height());
      continue;
    }
    QSize nötig = w->sizeHint();
    if (auto* b = qobject_cast<QPushButton*>(w)) {
      // A push button's hint includes a minimum width; its caption needs less.
      nötig.setWidth(b->fontMetrics().horizontalAdvance(QString(b->text()).remove(u'&')) + 12);
    }
    if (w == ui.lblfertig) {
      // The longest caption a run writes into it.
      nötig = QSize(w->fontMetrics().horizontalAdvance("2147483647 in der Zwischenablage"),
                     w->fontMetrics().height());
    }
    if (w == ui.lblArbeite) {
      nötig = QSize(w->fontMetrics().horizontalAdvance("arbeite ... 2147483647"),
                     w->fontMetrics().height());
    }
    EXPECT_GE(w->width(), nötig.width());
    EXPECT_GE(w->height(), nötig.height());
  }
  const QList<QWidget*> status{ui.lblArbeite, ui.lblfertig, ui.lblNichtGefunden, ui.lblKeineUnterordner};
  const QList<QWidget*> maske{ui.fraMaske, ui.comMaskeName, ui.comMaskeTyp, ui.Label3};
  const auto alle = form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
  for (QWidget* a : alle)
    for (QWidget* b : alle) {
      if (a >= b) continue;
      if (status.contains(a) && status.contains(b)) continue;
      if (maske.contains(a) && maske.contains(b)) continue;
      EXPECT_FALSE(a->geometry().intersects(b->geometry()))
          << a->objectName().toStdString() << " overlaps " << b->objectName().toStdString();
    }
  // The combo boxes lie inside their frame, below its title.
  for (QWidget* c : {ui.comMaskeName, ui.comMaskeTyp}) {
    EXPECT_TRUE(ui.fraMaske->geometry().contains(c->geometry()));
    EXPECT_GE(c->y(), ui.fraMaske->y() + ui.fraMaske->fontMetrics().height());
  }
}

// The arrangement: top to bottom and left to right as the window is drawn.
TEST_F(LayoutTest, Arrangement) {
  const Ui::Form1& ui = form.ui;
  auto unter = [](QWidget* oben, QWidget* unten) { return oben->geometry().bottom() < unten->y(); };
  auto links = [](QWidget* l, QWidget* r) { return l->geometry().right() < r->x(); };
  EXPECT_TRUE(unter(ui.Label1, ui.txtPfadEingabe));
  EXPECT_TRUE(links(ui.Label1, ui.lblArbeite));
  EXPECT_TRUE(links(ui.txtPfadEingabe, ui.cmdOrdnerWählen));
  EXPECT_TRUE(unter(ui.txtPfadEingabe, ui.Label2));
  EXPECT_TRUE(unter(ui.Label2, ui.txtEbenen));
  EXPECT_TRUE(links(ui.txtEbenen, ui.cbinkl));
  EXPECT_TRUE(links(ui.cbinkl, ui.cbDateien));
  EXPECT_TRUE(unter(ui.cbinkl, ui.optAlleOderLetzte0));
  EXPECT_TRUE(unter(ui.optAlleOderLetzte0, ui.optAlleOderLetzte1));
  EXPECT_TRUE(unter(ui.cbDateien, ui.cbTab));
  EXPECT_TRUE(unter(ui.cbTab, ui.cbNurOrdnerMitPassendenDateien));
  EXPECT_TRUE(links(ui.optAlleOderLetzte1, ui.cbNurOrdnerMitPassendenDateien));
  EXPECT_TRUE(unter(ui.optAlleOderLetzte1, ui.fraMaske));
  EXPECT_TRUE(links(ui.comMaskeName, ui.comMaskeTyp));
  EXPECT_TRUE(unter(ui.fraMaske, ui.cmdScannen));
  EXPECT_TRUE(links(ui.cmdScannen, ui.cmdEnde));
  // Three status labels share one place; lblfertig reaches further left.
  EXPECT_EQ(ui.lblKeineUnterordner->geometry(), ui.lblArbeite->geometry());
  EXPECT_EQ(ui.lblNichtGefunden->geometry(), ui.lblArbeite->geometry());
  EXPECT_LT(ui.lblfertig->x(), ui.lblArbeite->x());
  EXPECT_EQ(ui.lblfertig->y(), ui.lblArbeite->y());
  for (QLabel* l : {ui.lblArbeite, ui.lblfertig, ui.lblNichtGefunden, ui.lblKeineUnterordner})
    EXPECT_TRUE(l->alignment() & Qt::AlignHCenter) << l->objectName().toStdString();
}

int Abstand(QColor a, QColor b) {
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

// Counts the pixels of `bild` with exactly colour `farbe`.
int Pixel(const QImage& bild, QColor farbe) {
  int n = 0;
  for (int y = 0; y < bild.height(); ++y)
    for (int x = 0; x < bild.width(); ++x) n += bild.pixelColor(x, y).rgb() == farbe.rgb();
  return n;
}

// Counts the pixels of `bild` nearer to `schrift` than to `hinten`: the
// text, anti-aliased edges included.
int SchriftPixel(const QImage& bild, QColor schrift, QColor hinten) {
  int n = 0;
  for (int y = 0; y < bild.height(); ++y)
    for (int x = 0; x < bild.width(); ++x) {
      const QColor c = bild.pixelColor(x, y);
      n += Abstand(c, schrift) < Abstand(c, hinten);
    }
  return n;
}

TEST_F(LayoutTest, StatusLabelColours) {
  struct Farben {
    zweigschau::Steuerelement label;
    QLabel* widget;
    QColor hinten;
    QColor schrift;
  };
  const Ui::Form1& ui = form.ui;
  const Farben fälle[] = {
      {zweigschau::Steuerelement::lblArbeite, ui.lblArbeite, QColor(0, 0, 192), QColor(255, 255, 255)},
      {zweigschau::Steuerelement::lblKeineUnterordner, ui.lblKeineUnterordner, QColor(255, 255, 0), Qt::black},
      {zweigschau::Steuerelement::lblNichtGefunden, ui.lblNichtGefunden, QColor(255, 128, 128), Qt::black},
      {zweigschau::Steuerelement::lblfertig, ui.lblfertig, QColor(192, 255, 192), QColor(0, 64, 0)},
  };
  for (const Farben& f : fälle) {
    SCOPED_TRACE(f.widget->objectName().toStdString());
    form.AusgabeZeilenAusschalten();
    form.steuerelemente().einblenden(f.label, true);
    ASSERT_TRUE(f.widget->isVisible());
    const QImage bild = f.widget->grab().toImage();
    const int fläche = bild.width() * bild.height();
    EXPECT_GT(Pixel(bild, f.hinten), fläche / 2) << "background";
    EXPECT_GT(SchriftPixel(bild, f.schrift, f.hinten), 20) << "text";
  }
}

TEST_F(LayoutTest, AltSFocusesPathBox) {
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  form.ui.txtEbenen->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), form.ui.txtEbenen);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), form.ui.txtPfadEingabe);
}

}  // namespace
