#include "window/form1.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QAbstractItemView>
#include <QCompleter>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QUrl>
#include <QMouseEvent>


#include "platform/folder_handle.h"
#include "platform/session.h"

using zweigschau::Steuerelement;

// The icon lives in this static library; make sure its resource is linked.
static void IconEinbinden() { Q_INIT_RESOURCE(zweigschau); }

namespace {

// The four status labels are alerts to assistive technology, named by
// their text: a screen reader speaks one when it appears, as a sighted
// person sees it appear where nothing was.
class StatusAnzeigeZugang : public QAccessibleWidget {
 public:
  explicit StatusAnzeigeZugang(QLabel* label) : QAccessibleWidget(label, QAccessible::AlertMessage) {}
  QString text(QAccessible::Text art) const override {
    if (art == QAccessible::Name) return static_cast<const QLabel*>(widget())->text();
    return QAccessibleWidget::text(art);
  }
};

QAccessibleInterface* StatusAnzeigenAlsAlarm(const QString& klasse, QObject* objekt) {
  if (klasse != QLatin1String("QLabel")) return nullptr;
  for (const zweigschau::SteuerZeile& z : zweigschau::kForm1Steuer)
    if (zweigschau::IstStatusAnzeige(z) && objekt->objectName() == QLatin1String(z.name))
      return new StatusAnzeigeZugang(static_cast<QLabel*>(objekt));
  return nullptr;
}

}  // namespace

Form1::Form1(platform::Clipboard& zwischenablage, platform::Dialogs& dialoge, QWidget* parent)
    : QDialog(parent),
      Form1Logik(static_cast<zweigschau::Steuerelemente&>(*this), zwischenablage),
      dialoge_(dialoge) {
  IconEinbinden();
  static const bool alarmeEingerichtet = (QAccessible::installFactory(StatusAnzeigenAlsAlarm), true);
  (void)alarmeEingerichtet;
  ui.setupUi(this);
  // Captions, start texts and the tab order are the control table's.
  for (const zweigschau::SteuerZeile& z : zweigschau::kForm1Steuer) {
    steuer_[static_cast<std::size_t>(z.steuer)] = findChild<QWidget*>(QString::fromUtf8(z.name));
    Q_ASSERT(steuer_[static_cast<std::size_t>(z.steuer)] != nullptr);
    textSetzen(z.steuer, z.text);
  }
  QWidget* vorher = nullptr;
  for (int i = 0; i < static_cast<int>(zweigschau::kForm1Anzahl); ++i) {
    const zweigschau::SteuerZeile& z = zweigschau::ZeileMitTabIndex(i);
    if (!zweigschau::NimmtFokus(z)) continue;
    if (vorher != nullptr) setTabOrder(vorher, widget(z.steuer));
    vorher = widget(z.steuer);
  }
  if (const std::string start = platform::defaultStartFolder(); !start.empty())
    ui.txtPfadEingabe->setText(QString::fromStdString(start));
  // The path box (first in tab order) has the focus when the window appears.
  ui.txtPfadEingabe->setFocus(Qt::OtherFocusReason);
  setAcceptDrops(true);
  // On Linux a screen reader names an editable combo box by its text; the
  // box's own line edit, which has the focus while a person types, carries
  // the name a sighted person reads beside it.
  for (QComboBox* maske : {ui.comMaskeName, ui.comMaskeTyp})
    maske->lineEdit()->setAccessibleName(maske->accessibleName());
  verbinden();
  // One filter for the whole application: a disabled window gets no keys,
  // yet Escape must reach a running scan; the mask boxes, the option pair,
  // the path box and its completions' list are handled there too.
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
  connect(ui.txtPfadEingabe, &QLineEdit::textChanged, this, [this](const QString& text) {
    // The path box is one line: a pasted line break (from a terminal or an
    // editor) ends the path there, as in a Windows edit box.
    static const QRegularExpression zeilenumbruch("[\\r\\n]");
    if (const qsizetype umbruch = text.indexOf(zeilenumbruch); umbruch >= 0) {
      ui.txtPfadEingabe->setText(text.left(umbruch));  // raises textChanged again
      return;
    }
    txtPfadEingabe_Change();
  });
  connect(ui.cmdScannen, &QPushButton::clicked, this, [this] { cmdScannen_Click(); });
  connect(ui.cmdOrdnerWählen, &QPushButton::clicked, this, [this] { cmdOrdnerWählen_Click(); });
  connect(ui.cmdEnde, &QPushButton::clicked, this, [this] { cmdEnde_Click(); });
}

std::optional<int> Form1::Form_Load(const std::vector<std::string>& Argumente) {
  zweigschau::StartEntscheidung start = zweigschau::StartEntscheiden(Argumente);
  // A folder named relative to the current one ("zweigschau .") is shown
  // as the folder it is, in the form the run gives it.
  if (!start.ordner.empty()) start.ordner = platform::fullPath(start.ordner);
  std::optional<int> ende = Form1Logik::Form_Load(start);
  // Only a window that is shown offers completions: a batch run starts no
  // thread of the folder model.
  if (!ende) OrdnerVervollständigen();
  return ende;
}

void Form1::reject() { cmdEnde_Click(); }

void Form1::setVisible(bool visible) {
  if (visible && !angepasst_) {
    angepasst_ = true;
    AnBildschirmAnpassen();
  }
  QDialog::setVisible(visible);
}

// The window keeps its design's arrangement; on a screen too small for it
// (a large scale on a small screen) all of it is drawn smaller, places,
// sizes and font alike, by the factor that lets it fit with its frame, as
// a smaller scale would draw it. It never grows beyond its design.
void Form1::AnBildschirmAnpassen() {
  // Room for the frame's borders beside the title bar, in logical pixels.
  constexpr int kRahmen = 8;
  const QScreen* bildschirm = screen();
  if (bildschirm == nullptr) return;
  const QSize frei = bildschirm->availableGeometry().size() -
                     QSize(kRahmen, kRahmen + style()->pixelMetric(QStyle::PM_TitleBarHeight));
  const double faktor = std::min({1.0, frei.width() / double(width()), frei.height() / double(height())});
  if (faktor >= 1.0 || faktor <= 0.0) return;
  const auto skaliert = [faktor](const QRect& r) {
    return QRect(qRound(r.x() * faktor), qRound(r.y() * faktor), qRound(r.width() * faktor),
                 qRound(r.height() * faktor));
  };
  for (QWidget* steuer : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) steuer->setGeometry(skaliert(steuer->geometry()));
  QFont schrift = font();
  if (schrift.pointSizeF() > 0)
    schrift.setPointSizeF(schrift.pointSizeF() * faktor);
  else
    schrift.setPixelSize(qRound(schrift.pixelSize() * faktor));
  setFont(schrift);
  setFixedSize(skaliert(rect()).size());
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

// The path box offers the folders that begin with what is typed. The model
// reads folders on its own thread, so a slow share never stalls the window;
// the text changes only when the user picks a completion. The model is
// never destroyed: its destructor would wait for that thread, which may be
// inside a request to a share that no longer answers, and the program
// must be able to end all the same.
void Form1::OrdnerVervollständigen() {
  auto* ordner = new QFileSystemModel;
  // The list is read afresh as the person types; watching the folders read
  // gains nothing and, for a folder without the right to read it, makes Qt
  // print "inotify_add_watch(...) failed" on stderr.
  ordner->setOption(QFileSystemModel::DontWatchForChanges);
  ordner->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
  ordner->setRootPath(QString());
  auto* vervollständiger = new QCompleter(ordner, this);
  vervollständiger->setCompletionMode(QCompleter::PopupCompletion);
  ui.txtPfadEingabe->setCompleter(vervollständiger);
  vorschläge_ = vervollständiger->popup();
}

namespace {

// The local paths of a drag, or none when it carries no local file.
std::vector<std::string> LokalePfade(const QMimeData* daten) {
  std::vector<std::string> pfade;
  if (daten == nullptr || !daten->hasUrls()) return pfade;
  for (const QUrl& url : daten->urls())
    if (url.isLocalFile()) pfade.push_back(QDir::toNativeSeparators(url.toLocalFile()).toStdString());
  return pfade;
}

// Takes a drag as a copy, or refuses it when the source offers no copy:
// the window only reads what is dropped, and a source told that its items
// were moved may delete them (a file manager its files, an editor its text).
bool AlsKopieAnnehmen(QDropEvent* event) {
  if (!(event->possibleActions() & Qt::CopyAction)) {
    event->ignore();
    return false;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  return true;
}

}  // namespace

// While a scan runs the window is disabled and takes no drop.
void Form1::dragEnterEvent(QDragEnterEvent* event) {
  if (isEnabled() && !LokalePfade(event->mimeData()).empty()) AlsKopieAnnehmen(event);
}

void Form1::dropEvent(QDropEvent* event) {
  const std::vector<std::string> pfade = LokalePfade(event->mimeData());
  if (!isEnabled() || pfade.empty() || !AlsKopieAnnehmen(event)) return;
  OrdnerAbgelegt(pfade);
}

// Drops onto the boxes (the line edits and the combo boxes' edit fields
// take drops of their own, before the window sees them). Folders and files
// go to the path box as a drop onto the window does, never into a box as
// text. Text dragged from another program is a path in the path box: it
// replaces the text there as a whole (its first line, as one path); the
// other boxes refuse it. Text moved between the window's own boxes is theirs.
bool Form1::AblageAufFeld(QLineEdit* feld, QDropEvent* ziehen) {
  const bool abgelegt = ziehen->type() == QEvent::Drop;
  if (!isEnabled()) {
    ziehen->ignore();
    return true;
  }
  if (!LokalePfade(ziehen->mimeData()).empty()) {
    if (abgelegt)
      dropEvent(ziehen);
    else
      AlsKopieAnnehmen(ziehen);
    return true;
  }
  if (ziehen->source() != nullptr) return false;
  if (feld != ui.txtPfadEingabe || !ziehen->mimeData()->hasText()) {
    ziehen->ignore();
    return true;
  }
  if (AlsKopieAnnehmen(ziehen) && abgelegt) {
    QString pfad = ziehen->mimeData()->text().section(u'\n', 0, 0);
    if (pfad.endsWith(u'\r')) pfad.chop(1);
    ui.txtPfadEingabe->setText(pfad);  // raises txtPfadEingabe_Change
  }
  return true;
}

namespace {

// True for an event that would give the control keeping the focus during a
// scan some input: keys but Tab (Escape is taken before), clicks, the
// wheel, its access key, a drop.
bool IstEingabe(QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      const int taste = static_cast<QKeyEvent*>(event)->key();
      return taste != Qt::Key_Tab && taste != Qt::Key_Backtab;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool Form1::eventFilter(QObject* objekt, QEvent* event) {
  // A disabled window gets no keys: Escape cancels a running scan from here.
  if (scanLäuft() && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    Abbrechen();
    return true;
  }
  // A click beside the open completions' list closes it, and a click on a
  // button of the window presses that button too: the list would take the
  // click for itself, and the person would have to click twice.
  if (vorschläge_ != nullptr && objekt == vorschläge_ && event->type() == QEvent::MouseButtonPress) {
    const auto* maus = static_cast<QMouseEvent*>(event);
    const QPoint wo = maus->globalPosition().toPoint();
    if (!vorschläge_->rect().contains(vorschläge_->mapFromGlobal(wo))) {
      vorschläge_->hide();
      auto* knopf = qobject_cast<QAbstractButton*>(childAt(mapFromGlobal(wo)));
      if (knopf != nullptr && knopf->isEnabled() && maus->button() == Qt::LeftButton) knopf->click();
      return true;
    }
  }
  // The control that keeps the focus during a scan takes no input.
  if (scanLäuft() && ruhend_ != nullptr && IstEingabe(event)) {
    auto* ziel = qobject_cast<QWidget*>(objekt);
    if (ziel != nullptr && (ziel == ruhend_ || ruhend_->isAncestorOf(ziel))) {
      event->ignore();
      return true;
    }
  }
  // The completions' list takes Enter, Tab and Escape while it is open.
  // Without a completion chosen they mean what they mean in the path box:
  // the list closes and Enter scans, Tab moves on.
  if (vorschläge_ != nullptr && objekt == vorschläge_ && event->type() == QEvent::KeyPress &&
      !vorschläge_->currentIndex().isValid()) {
    const auto* taste = static_cast<QKeyEvent*>(event);
    const bool enter = taste->key() == Qt::Key_Return || taste->key() == Qt::Key_Enter;
    const bool tab = taste->key() == Qt::Key_Tab || taste->key() == Qt::Key_Backtab;
    if (enter || tab) {
      vorschläge_->hide();
      if (enter && ui.cmdScannen->isEnabled()) ui.cmdScannen->click();
      if (tab) focusNextPrevChild(taste->key() == Qt::Key_Tab && !(taste->modifiers() & Qt::ShiftModifier));
      return true;
    }
  }
  if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove || event->type() == QEvent::Drop)
    if (auto* feld = qobject_cast<QLineEdit*>(objekt); feld != nullptr && feld->window() == this)
      if (AblageAufFeld(feld, static_cast<QDropEvent*>(event))) return true;

  // An editable combo box's inline completion takes the first Enter when
  // the whole text is selected (as after Tab): Enter starts the scan from
  // the mask boxes too, with one press, as from every other text box.
  if (event->type() == QEvent::KeyPress && (objekt == ui.comMaskeName || objekt == ui.comMaskeTyp)) {
    const int taste = static_cast<QKeyEvent*>(event)->key();
    if ((taste == Qt::Key_Return || taste == Qt::Key_Enter) && ui.cmdScannen->isEnabled()) {
      ui.cmdScannen->click();
      return true;
    }
  }
  // The frame's access key goes to the name mask, the first box it
  // surrounds (the boxes are the window's children, not the frame's).
  if (objekt == ui.fraMaske && event->type() == QEvent::Shortcut) {
    ui.comMaskeName->setFocus(Qt::ShortcutFocusReason);
    return true;
  }
  // The option pair is one stop in the tab order, and it is the selected
  // option that takes the focus, whichever end Tab or Shift+Tab comes from.
  if (event->type() == QEvent::FocusIn && (objekt == ui.optAlleOderLetzte0 || objekt == ui.optAlleOderLetzte1)) {
    const Qt::FocusReason grund = static_cast<QFocusEvent*>(event)->reason();
    auto* option = static_cast<QRadioButton*>(objekt);
    QRadioButton* andere = option == ui.optAlleOderLetzte0 ? ui.optAlleOderLetzte1 : ui.optAlleOderLetzte0;
    if ((grund == Qt::TabFocusReason || grund == Qt::BacktabFocusReason) && !option->isChecked() &&
        andere->isChecked() && andere->isEnabled()) {
      andere->setFocus(grund);
      return true;
    }
  }
  return QDialog::eventFilter(objekt, event);
}

// ---- The controls for the shared rules ---------------------------------

QWidget* Form1::widget(Steuerelement s) const { return steuer_[static_cast<std::size_t>(s)]; }

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

// A status label that appears tells a screen reader so, as an alert that
// names its text: a sighted person sees it appear where nothing was.
void Form1::einblenden(Steuerelement s, bool an) {
  QWidget* w = widget(s);
  const bool erscheint = an && !w->isVisible() && qobject_cast<QLabel*>(w) != nullptr;
  w->setVisible(an);
  if (!erscheint || !QAccessible::isActive()) return;
  QAccessibleEvent name(w, QAccessible::NameChanged);
  QAccessible::updateAccessibility(&name);
  QAccessibleEvent alarm(w, QAccessible::Alert);
  QAccessible::updateAccessibility(&alarm);
}

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

// While a scan runs its controls are disabled, all but "Ende", which
// cancels the scan and ends the program as the close button does, and the
// control that has the focus: it keeps the focus, so that a screen reader
// announces nothing unasked and no key reaches "Ende" by accident, but it
// takes no input (eventFilter), and a text box is read-only meanwhile. The
// labels stay readable. Afterwards the controls that were enabled before
// are enabled again.
void Form1::fensterAktiv(bool an) {
  auto* feld = qobject_cast<QLineEdit*>(ruhend_);
  if (auto* kombi = qobject_cast<QComboBox*>(ruhend_)) feld = kombi->lineEdit();
  if (an) {
    for (QWidget* steuer : gesperrt_) steuer->setEnabled(true);
    gesperrt_.clear();
    if (feld != nullptr) feld->setReadOnly(false);
    ruhend_ = nullptr;
    return;
  }
  gesperrt_.clear();
  ruhend_ = focusWidget();
  while (ruhend_ != nullptr && ruhend_->parentWidget() != this) ruhend_ = ruhend_->parentWidget();
  for (QWidget* steuer : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (steuer == ui.cmdEnde || steuer == ruhend_ || qobject_cast<QLabel*>(steuer) != nullptr || !steuer->isEnabled())
      continue;
    gesperrt_.push_back(steuer);
    steuer->setEnabled(false);
  }
  feld = qobject_cast<QLineEdit*>(ruhend_);
  if (auto* kombi = qobject_cast<QComboBox*>(ruhend_)) feld = kombi->lineEdit();
  if (feld != nullptr) feld->setReadOnly(true);
}

void Form1::ereignisseVerarbeiten() { QCoreApplication::processEvents(); }

void Form1::signalton() { dialoge_.beep(); }

void Form1::meldung(const std::string& titel, const std::string& text) {
  QString zeilen = QString::fromStdString(text);
  zeilen.replace(u'\r', u'\n');
  dialoge_.information(this, QString::fromStdString(titel), zeilen);
}

// The picker opens at the folder in the path box, or the nearest one above
// it that exists (the box may hold a file or a folder still to be made),
// else at the home folder.
std::string Form1::ordnerDialog(const std::string& titel) {
  const std::string ordner = zweigschau::OrdnerWahl::StartOrdner(ui.txtPfadEingabe->text().toStdString());
  const QString start = ordner.empty() ? QDir::homePath() : QString::fromStdString(ordner);
  return dialoge_.chooseFolder(this, QString::fromStdString(titel), start).toStdString();
}

void Form1::beenden() {
  QDialog::done(QDialog::Rejected);
  QCoreApplication::quit();
}
