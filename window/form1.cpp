#include "window/form1.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include "platform/session.h"
#include "startup/batch_run.h"
#include "startup/number.h"

namespace {

using zweigschau::StatusLabel;

// Leading and trailing space characters removed (only blanks, as the mask
// boxes are read).
QString OhneLeerzeichen(const QString& text) {
  qsizetype anfang = 0;
  qsizetype ende = text.size();
  while (anfang < ende && text[anfang] == u' ') ++anfang;
  while (ende > anfang && text[ende - 1] == u' ') --ende;
  return text.mid(anfang, ende - anfang);
}

// A walk calls nachgeben very often; the event loop runs at most this often.
constexpr qint64 kNachgebenAbstandMs = 30;

}  // namespace

// The icon lives in this static library; make sure its resource is linked.
static void IconEinbinden() { Q_INIT_RESOURCE(zweigschau); }

Form1::Form1(platform::Clipboard& zwischenablage, platform::Dialogs& dialoge, QWidget* parent)
    : QDialog(parent), zwischenablage_(zwischenablage), dialoge_(dialoge) {
  IconEinbinden();
  ui.setupUi(this);
  if (const std::string start = platform::defaultStartFolder(); !start.empty())
    ui.txtPfadEingabe->setText(QString::fromStdString(start));
  // The path box (first in tab order) has the focus when the window appears.
  ui.txtPfadEingabe->setFocus(Qt::OtherFocusReason);
  verbinden();
}

Form1::~Form1() = default;

void Form1::verbinden() {
  connect(ui.cbDateien, &QCheckBox::clicked, this, &Form1::cbDateien_Click);
  connect(ui.cbinkl, &QCheckBox::clicked, this, &Form1::cbinkl_Click);
  connect(ui.optAlleOderLetzte0, &QRadioButton::toggled, this, [this](bool an) {
    if (an) optAlleOderLetzte_Click(0);
  });
  connect(ui.optAlleOderLetzte1, &QRadioButton::toggled, this, [this](bool an) {
    if (an) optAlleOderLetzte_Click(1);
  });
  connect(ui.txtPfadEingabe, &QLineEdit::textChanged, this, &Form1::txtPfadEingabe_Change);
  connect(ui.cmdScannen, &QPushButton::clicked, this, &Form1::cmdScannen_Click);
  connect(ui.cmdOrdnerWählen, &QPushButton::clicked, this, &Form1::cmdOrdnerWählen_Click);
  connect(ui.cmdEnde, &QPushButton::clicked, this, &Form1::cmdEnde_Click);
}

// ---- Start-up, usage box, end ------------------------------------------

std::optional<int> Form1::Form_Load(const std::vector<std::string>& Argumente) {
  const zweigschau::StartEntscheidung start = zweigschau::StartEntscheiden(Argumente);
  switch (start.art) {
    case zweigschau::StartArt::Anleitung:
      Anleitung(true);
      return 0;
    case zweigschau::StartArt::Stapellauf:
      return Stapellauf(start.werte);
    case zweigschau::StartArt::Fenster:
      break;
  }
  DateiFelderAnAus(ui.optAlleOderLetzte1->isChecked());
  return std::nullopt;
}

int Form1::Stapellauf(const zweigschau::StapelWerte& werte) {
  return zweigschau::Stapellauf(*this, zwischenablage_, tabelle_, werte, letztesErgebnis_);
}

void Form1::Anleitung(bool UndBeenden) {
  QString text = QString::fromStdString(zweigschau::AnleitungsText());
  text.replace(u'\r', u'\n');
  dialoge_.information(this, QStringLiteral("MORVAs Zweigschau (Freeware)"), text);
  if (UndBeenden) cmdEnde_Click();
}

void Form1::Form_DblClick() { Anleitung(false); }

void Form1::cmdEnde_Click() {
  beendet_ = true;
  QDialog::done(QDialog::Rejected);
  QCoreApplication::quit();
}

void Form1::reject() { cmdEnde_Click(); }

void Form1::mouseDoubleClickEvent(QMouseEvent* event) {
  // Only a free spot of the window counts; a control's own double click
  // (a label's, the frame's) reaches here through its parent.
  if (childAt(event->position().toPoint()) == nullptr) {
    event->accept();
    Form_DblClick();
    return;
  }
  QDialog::mouseDoubleClickEvent(event);
}

// ---- Control rules -----------------------------------------------------

void Form1::DateiFelderAnAus(bool AnAus) {
  ui.cbTab->setEnabled(AnAus);
  ui.cbNurOrdnerMitPassendenDateien->setEnabled(AnAus && ui.cbDateien->checkState() == Qt::Checked);
  ui.comMaskeName->setEnabled(AnAus && ui.cbDateien->checkState() == Qt::Checked);
  ui.comMaskeTyp->setEnabled(AnAus && ui.cbDateien->checkState() == Qt::Checked);
}

void Form1::AusgabeZeilenAusschalten() {
  ui.lblArbeite->setVisible(false);
  ui.lblfertig->setVisible(false);
  ui.lblNichtGefunden->setVisible(false);
  ui.lblKeineUnterordner->setVisible(false);
  if (isVisible()) ui.txtPfadEingabe->setFocus(Qt::OtherFocusReason);
}

void Form1::cbDateien_Click() { DateiFelderAnAus(ui.cbDateien->checkState() != Qt::Unchecked); }

void Form1::cbinkl_Click() { AusgabeZeilenAusschalten(); }

void Form1::optAlleOderLetzte_Click(int /*Index*/) {
  const bool komplettePfade = ui.optAlleOderLetzte1->isChecked();
  ui.cbDateien->setEnabled(komplettePfade);
  DateiFelderAnAus(komplettePfade);
}

void Form1::txtPfadEingabe_Change() {
  AusgabeZeilenAusschalten();
  if (ui.optAlleOderLetzte1->isChecked()) optAlleOderLetzte_Click(1);
}

// ---- Scan run ----------------------------------------------------------

void Form1::cmdScannen_Click() {
  AusgabeZeilenAusschalten();
  std::string Pfad = ui.txtPfadEingabe->text().toStdString();
  const bool MitStartordner = ui.cbinkl->checkState() == Qt::Checked;
  const std::int32_t Ebenen = zweigschau::ZahlLesen(ui.txtEbenen->text().toStdString());
  const bool NurEndpunkte = ui.optAlleOderLetzte0->isChecked();
  const bool dateien = ui.cbDateien->checkState() == Qt::Checked;
  std::string Maske;
  if (dateien) {
    Maske = (OhneLeerzeichen(ui.comMaskeName->currentText()) + u'.' +
             OhneLeerzeichen(ui.comMaskeTyp->currentText()))
                .toStdString();
  }
  const bool NurOrdnerMitDateien =
      dateien && ui.cbNurOrdnerMitPassendenDateien->checkState() == Qt::Checked;
  letztesErgebnis_ = zweigschau::ListeErstellen(*this, zwischenablage_, tabelle_, Pfad,
                                                MitStartordner, Ebenen, NurEndpunkte, Maske,
                                                NurOrdnerMitDateien);
}

QLabel* Form1::statusLabel(StatusLabel label) const {
  switch (label) {
    case StatusLabel::Arbeite:
      return ui.lblArbeite;
    case StatusLabel::Fertig:
      return ui.lblfertig;
    case StatusLabel::NichtGefunden:
      return ui.lblNichtGefunden;
    case StatusLabel::KeineUnterordner:
      return ui.lblKeineUnterordner;
  }
  return ui.lblArbeite;
}

void Form1::zeigen(StatusLabel label) { statusLabel(label)->setVisible(true); }

void Form1::setzeText(StatusLabel label, const std::string& text) {
  statusLabel(label)->setText(QString::fromStdString(text));
}

void Form1::fensterFreigeben(bool frei) { setEnabled(frei); }

void Form1::nachgeben() {
  if (seitNachgeben_.isValid() && seitNachgeben_.elapsed() < kNachgebenAbstandMs) return;
  QCoreApplication::processEvents();
  seitNachgeben_.start();
}

bool Form1::sichtbar() const { return isVisible(); }

void Form1::piep() { dialoge_.beep(); }

bool Form1::mitTab() const { return ui.cbTab->checkState() != Qt::Unchecked; }

// ---- Folder picker -----------------------------------------------------

void Form1::cmdOrdnerWählen_Click() {
  if (!ordnerWahl_) ordnerWahl_ = std::make_unique<OrdnerWahl>(dialoge_);
  const QString gewählt = ordnerWahl_->OrdnerWählen(this);
  if (!gewählt.isEmpty()) ui.txtPfadEingabe->setText(gewählt);
  AusgabeZeilenAusschalten();
}
