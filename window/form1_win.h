// The program's one window on Windows, Form1 as a native dialog: the
// template of Form1.rc, its controls and their wiring to the shared rules
// (Form1Logik). It holds no rule of its own; the batch run uses the same
// window without showing it.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "startup/command_line.h"
#include "window/form1_logik.h"
#include "run/steuerelemente.h"

class Form1 : private zweigschau::Steuerelemente, public zweigschau::Form1Logik {
 public:
  // Creates the dialog, hidden, with the values of its design; lists go to
  // `zwischenablage`, which must outlive the window. Needs the common
  // controls initialised and COM (apartment) for the folder picker.
  explicit Form1(platform::Clipboard& zwischenablage);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Start-up from the raw argument text (Form1Logik's Form_Load gives the
  // exit statuses).
  std::optional<int> Form_Load(std::string_view Befehlszeile);

  // Shows the window with the focus in the path box.
  void Zeigen();
  // Runs the window's message loop until the program is ended; 0.
  int Ausführen();

  // The dialog and one of its controls, for the dialog's tests.
  HWND hwnd() const { return hwnd_; }
  HWND control(zweigschau::Steuerelement s) const;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Nachricht(UINT msg, WPARAM wp, LPARAM lp);
  void Einrichten();
  void ZugangBeschreiben();
  void AnBildschirmAnpassen();
  void Befehl(int id, int code);
  void PfadGeändert();
  void OptionGeklickt(int Index);
  INT_PTR Farbe(HDC dc, HWND label);
  void Doppelklick(LPARAM lp);
  void Abgelegt(HDROP ablage);

  // The controls for the shared rules.
  int wert(zweigschau::Steuerelement s) const override;
  void freigeben(zweigschau::Steuerelement s, bool an) override;
  void einblenden(zweigschau::Steuerelement s, bool an) override;
  std::string text(zweigschau::Steuerelement s) const override;
  void textSetzen(zweigschau::Steuerelement s, const std::string& text) override;
  void fokusSetzen(zweigschau::Steuerelement s) override;
  bool fensterGezeigt() const override;
  void fensterAktiv(bool an) override;
  void ereignisseVerarbeiten() override;
  void signalton() override;
  void meldung(const std::string& titel, const std::string& text) override;
  std::string ordnerDialog(const std::string& titel) override;
  void beenden() override;

  HWND hwnd_ = nullptr;
  HWND tooltip_ = nullptr;
  HICON icon_ = nullptr;
  HICON iconKlein_ = nullptr;
  HBRUSH pinsel_[4] = {};
  HFONT schrift_ = nullptr;  // the smaller font of a dialog fitted to its screen
  std::string pfad_;  // the path box's text as the rules last saw it
  int option_ = 1;    // the selected member of optAlleOderLetzte
  bool verbunden_ = false;  // handlers run only once the design values are set
  std::vector<HWND> gesperrt_;  // the controls a running scan disabled
  HWND ruhend_ = nullptr;       // the control that keeps the focus during a scan, taking no input
  DWORD auswahl_[2] = {};       // the path box's selection before the scan
};

namespace platform {

// The system's modal folder dialog titled `titel`, owned by `owner`: the
// modern dialog picking folders, the older browse dialog where that is not
// available; it opens at the folder `start` ("": where the system
// chooses). The chosen file-system path, whatever its length; "" on
// cancel.
std::wstring ordnerDialogWin(HWND owner, const std::wstring& titel, const std::wstring& start);

}  // namespace platform
