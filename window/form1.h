// The program's one window on Linux, Form1 in Qt Widgets: the controls of
// Form1.ui and their wiring to the shared rules (Form1Logik). It holds no
// rule of its own; the batch run uses the same window without showing it.
#pragma once

#include <QDialog>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "ui_Form1.h"
#include "window/form1_logik.h"
#include "run/steuerelemente.h"
#include "window/form1_tabelle.h"

class QAbstractItemView;
class QDropEvent;
class QLineEdit;
class QWidget;

class Form1 : public QDialog,
              private zweigschau::Steuerelemente,
              public zweigschau::Form1Logik {
  Q_OBJECT

 public:
  // The window with the values of its design; the clipboard receives the
  // lists, the dialogs interface shows the usage box and the folder picker
  // and sounds the beep. Both must outlive the window.
  Form1(platform::Clipboard& zwischenablage, platform::Dialogs& dialoge,
        QWidget* parent = nullptr);
  ~Form1() override;

  // Start-up from the arguments as the shell split them (Form1Logik's
  // Form_Load gives the exit statuses).
  std::optional<int> Form_Load(const std::vector<std::string>& Argumente);

  // The controls, as the designer file creates them.
  Ui::Form1 ui;

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  // Folders and files dragged from a file manager (text/uri-list).
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Escape while a scan runs (the window is disabled then), Enter in a mask
  // box, Tab onto the option pair, the completions' list, drops onto the
  // boxes: see form1.cpp.
  bool eventFilter(QObject* objekt, QEvent* event) override;
  // Lets the window repaint and process pending events (a scan run calls it
  // while it walks).
  void ereignisseVerarbeiten() override;

 public slots:
  // Escape and the window's close button end the program like "Ende".
  void reject() override;
  // Shown the first time: drawn smaller when the screen it opens on is too
  // small for its design size (see AnBildschirmAnpassen).
  void setVisible(bool visible) override;

 private:
  QWidget* widget(zweigschau::Steuerelement s) const;
  void OrdnerVervollständigen();
  void AnBildschirmAnpassen();
  // A drag over or dropped onto one of the window's boxes; true when it was
  // handled here, false when the box handles it itself.
  bool AblageAufFeld(QLineEdit* feld, QDropEvent* ziehen);
  void verbinden();

  std::array<QWidget*, zweigschau::kForm1Anzahl> steuer_{};  // by Steuerelement, from the control table
  std::vector<QWidget*> gesperrt_;  // the controls a running scan disabled
  QWidget* ruhend_ = nullptr;       // the control that keeps the focus during a scan, taking no input

  // The controls for the shared rules.
  int wert(zweigschau::Steuerelement s) const override;
  void freigeben(zweigschau::Steuerelement s, bool an) override;
  void einblenden(zweigschau::Steuerelement s, bool an) override;
  std::string text(zweigschau::Steuerelement s) const override;
  void textSetzen(zweigschau::Steuerelement s, const std::string& text) override;
  void fokusSetzen(zweigschau::Steuerelement s) override;
  bool fensterGezeigt() const override;
  void fensterAktiv(bool an) override;
  void signalton() override;
  void meldung(const std::string& titel, const std::string& text) override;
  std::string ordnerDialog(const std::string& titel) override;
  void beenden() override;

  platform::Dialogs& dialoge_;
  QAbstractItemView* vorschläge_ = nullptr;  // the path box's list of completions
  bool angepasst_ = false;  // the size was fitted to the screen
};
