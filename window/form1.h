// The program's one window, Form1: the start folder, the listing options,
// the status labels and the buttons "Scannen" and "Ende". It keeps its
// controls consistent (file fields follow the listing mode and "&Dateien";
// every input change hides the result labels), gathers the options for a
// scan run and shows the run's outcome. The batch run started from the
// command line uses the same window without ever showing it.
#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/dialogs.h"
#include "run/scan_run.h"
#include "startup/command_line.h"
#include "ui_Form1.h"
#include "walk/ordner_tabelle.h"
#include "window/ordner_wahl.h"

class QLabel;

class Form1 : public QDialog, public zweigschau::Anzeige {
  Q_OBJECT

 public:
  // The window with the values of its design; the clipboard receives the
  // lists, the dialogs interface shows the usage box and the folder picker
  // and sounds the beep. Both must outlive the window.
  Form1(platform::Clipboard& zwischenablage, platform::Dialogs& dialoge,
        QWidget* parent = nullptr);
  ~Form1() override;

  // Start-up, before the window is shown. Returns the exit status when the
  // program must end instead of showing the window: 0 after the usage box
  // ("/?"); after a batch run ("/o:") 0 = list on the clipboard, 1 = start
  // folder not found or path empty, 2 = no folder recorded or no line
  // written, 3 = clipboard not reachable (a failing batch run prints one
  // line on stderr). nullopt: interactive start, the file fields are set
  // for the selected listing mode and the caller shows the window.
  std::optional<int> Form_Load(const std::vector<std::string>& Argumente);

  // Enables "mit Tab" as `AnAus` says and the other three file fields when
  // `AnAus` is true and "&Dateien" is checked.
  void DateiFelderAnAus(bool AnAus);

  // Hides the four status labels and, while the window is shown, moves the
  // keyboard focus to the path box.
  void AusgabeZeilenAusschalten() override;

  // Shows the usage box (eight lines) and waits until it is closed; with
  // `UndBeenden` the window is ended afterwards.
  void Anleitung(bool UndBeenden);

  // Event handlers, connected in the constructor; tests call them too.
  void cbDateien_Click();
  void cbinkl_Click();
  void optAlleOderLetzte_Click(int Index);
  void txtPfadEingabe_Change();
  void cmdScannen_Click();
  void cmdOrdnerWählen_Click();
  void cmdEnde_Click();
  void Form_DblClick();

  // Outcome of the last scan run (interactive or batch).
  const zweigschau::ScanErgebnis& letztesErgebnis() const { return letztesErgebnis_; }
  // The folder table the runs fill.
  const zweigschau::OrdnerTabelle& tabelle() const { return tabelle_; }
  // True once the window has been ended ("Ende", Escape, closing it).
  bool beendet() const { return beendet_; }

  // What the scan run needs from its window.
  void zeigen(zweigschau::StatusLabel label) override;
  void setzeText(zweigschau::StatusLabel label, const std::string& text) override;
  void fensterFreigeben(bool frei) override;
  void nachgeben() override;
  bool sichtbar() const override;
  void piep() override;
  bool mitTab() const override;

  // The controls, as the designer file creates them.
  Ui::Form1 ui;

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 public slots:
  // Escape and the window's close button end the program like "Ende".
  void reject() override;

 private:
  QLabel* statusLabel(zweigschau::StatusLabel label) const;
  int Stapellauf(const zweigschau::StapelWerte& werte);
  void verbinden();

  platform::Clipboard& zwischenablage_;
  platform::Dialogs& dialoge_;
  zweigschau::OrdnerTabelle tabelle_;
  std::unique_ptr<OrdnerWahl> ordnerWahl_;
  zweigschau::ScanErgebnis letztesErgebnis_;
  QElapsedTimer seitNachgeben_;
  bool beendet_ = false;
};
