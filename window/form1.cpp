#include "window/form1.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include "platform/session.h"

using zweigschau::Steuerelement;

// The icon lives in this static library; make sure its resource is linked.
static void IconEinbinden() { Q_INIT_RESOURCE(zweigschau); }

Form1::Form1(platform::Clipboard& zwischenablage, platform::Dialogs& dialoge, QWidget* parent)
    : QDialog(parent),
      Form1Logik(static_cast<zweigschau::Steuerelemente&>(*this), zwischenablage),
      dialoge_(dialoge) {
  IconEinbinden();
  ui.setupUi(this);
  if (const std::string start = platform::defaultStartFolder(); !start.empty())
    ui.txtPfadEingabe->setText(QString::fromStdString(start));
  // The path box (first in tab order) has the focus when the window appears.
  ui.txtPfadEingabe->setFocus(Qt::OtherFocusReason);
  verbinden();
  // A disabled window gets no keys; Escape must still reach a running scan.
  QCoreApplication::instance()->installEventFilter(this);
}

Form1::~Form1() = default;

// The handlers are Form1Logik's, so each connection goes through a lambda.
void Form1::verbinden() {
  connect(ui.cbDateien, &QCheckBox::clicked, this, [this] { cbDateien_Click(); });
  connect(ui.cbinkl, &QCheckBox::clicked, this, [this] { cbinkl_Click(); });
  connect(ui.optAlleOderLetzte0, &QRadioButton::toggled, this, [this](bool an) {
    if (an) optAlleOderLetzte_Click(0);
  });
  connect(ui.optAlleOderLetzte1, &QRadioButton::toggled, this, [this](bool an) {
    if (an) optAlleOderLetzte_Click(1);
  });
  connect(ui.txtPfadEingabe, &QLineEdit::textChanged, this, [this] { txtPfadEingabe_Change(); });
  connect(ui.cmdScannen, &QPushButton::clicked, this, [this] { cmdScannen_Click(); });
  connect(ui.cmdOrdnerWählen, &QPushButton::clicked, this, [this] { cmdOrdnerWählen_Click(); });
  connect(ui.cmdEnde, &QPushButton::clicked, this, [this] { cmdEnde_Click(); });
}

std::optional<int> Form1::Form_Load(const std::vector<std::string>& Argumente) {
  return Form1Logik::Form_Load(zweigschau::StartEntscheiden(Argumente));
}

void Form1::reject() { cmdEnde_Click(); }

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (scanLaeuft() && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    Abbrechen();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

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

// ---- The controls for the shared rules ---------------------------------

QWidget* Form1::widget(Steuerelement s) const {
  switch (s) {
    case Steuerelement::comMaskeName: return ui.comMaskeName;
    case Steuerelement::comMaskeTyp: return ui.comMaskeTyp;
    case Steuerelement::cbTab: return ui.cbTab;
    case Steuerelement::cbNurOrdnerMitPassendenDateien: return ui.cbNurOrdnerMitPassendenDateien;
    case Steuerelement::cbDateien: return ui.cbDateien;
    case Steuerelement::optAlleOderLetzte1: return ui.optAlleOderLetzte1;
    case Steuerelement::optAlleOderLetzte0: return ui.optAlleOderLetzte0;
    case Steuerelement::txtEbenen: return ui.txtEbenen;
    case Steuerelement::cbinkl: return ui.cbinkl;
    case Steuerelement::cmdEnde: return ui.cmdEnde;
    case Steuerelement::cmdOrdnerWaehlen: return ui.cmdOrdnerWählen;
    case Steuerelement::cmdScannen: return ui.cmdScannen;
    case Steuerelement::txtPfadEingabe: return ui.txtPfadEingabe;
    case Steuerelement::fraMaske: return ui.fraMaske;
    case Steuerelement::lblArbeite: return ui.lblArbeite;
    case Steuerelement::Label2: return ui.Label2;
    case Steuerelement::lblKeineUnterordner: return ui.lblKeineUnterordner;
    case Steuerelement::lblNichtGefunden: return ui.lblNichtGefunden;
    case Steuerelement::lblfertig: return ui.lblfertig;
    case Steuerelement::Label1: return ui.Label1;
  }
  return ui.txtPfadEingabe;
}

int Form1::wert(Steuerelement s) const {
  if (auto* cb = qobject_cast<QCheckBox*>(widget(s))) {
    switch (cb->checkState()) {
      case Qt::Unchecked: return 0;
      case Qt::Checked: return 1;
      case Qt::PartiallyChecked: return 2;
    }
  }
  if (auto* b = qobject_cast<QAbstractButton*>(widget(s))) return b->isChecked() ? 1 : 0;
  return 0;
}

void Form1::freigeben(Steuerelement s, bool an) { widget(s)->setEnabled(an); }

void Form1::einblenden(Steuerelement s, bool an) { widget(s)->setVisible(an); }

std::string Form1::text(Steuerelement s) const {
  QWidget* w = widget(s);
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text().toStdString();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText().toStdString();
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text().toStdString();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text().toStdString();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title().toStdString();
  return {};
}

void Form1::textSetzen(Steuerelement s, const std::string& text) {
  const QString t = QString::fromStdString(text);
  QWidget* w = widget(s);
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(t);  // raises textChanged
  else if (auto* c = qobject_cast<QComboBox*>(w)) c->setCurrentText(t);
  else if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(t);
  else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(t);
  else if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(t);
}

void Form1::fokusSetzen(Steuerelement s) { widget(s)->setFocus(Qt::OtherFocusReason); }

bool Form1::fensterGezeigt() const { return isVisible(); }

void Form1::fensterAktiv(bool an) { setEnabled(an); }

void Form1::ereignisseVerarbeiten() { QCoreApplication::processEvents(); }

void Form1::signalton() { dialoge_.beep(); }

void Form1::meldung(const std::string& titel, const std::string& text) {
  QString zeilen = QString::fromStdString(text);
  zeilen.replace(u'\r', u'\n');
  dialoge_.information(this, QString::fromStdString(titel), zeilen);
}

std::string Form1::ordnerDialog(const std::string& titel) {
  return dialoge_.chooseFolder(this, QString::fromStdString(titel), QDir::homePath()).toStdString();
}

void Form1::beenden() {
  QDialog::done(QDialog::Rejected);
  QCoreApplication::quit();
}
