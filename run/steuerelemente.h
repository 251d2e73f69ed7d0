// The controls of Form1 as the window's rules and the scan run see them,
// whatever toolkit draws them: the Qt window on Linux, the Win32 dialog on
// Windows, a plain recording double in the tests. Texts are UTF-8 throughout.
#pragma once

#include <string>

namespace zweigschau {

// Every control of Form1, by its design name. `optAlleOderLetzte` is the
// indexed option pair: member 0 "&nur Endpunkte", member 1 "&komplette
// Pfade". `cmdOrdnerWaehlen` is the button cmdOrdnerWählen.
enum class Steuerelement {
  comMaskeName,
  comMaskeTyp,
  cbTab,
  cbNurOrdnerMitPassendenDateien,
  cbDateien,
  optAlleOderLetzte1,
  optAlleOderLetzte0,
  txtEbenen,
  cbinkl,
  cmdEnde,
  cmdOrdnerWaehlen,
  cmdScannen,
  txtPfadEingabe,
  fraMaske,
  lblArbeite,
  Label2,
  lblKeineUnterordner,
  lblNichtGefunden,
  lblfertig,
  Label1,
  Label3,  // "T&yp" above the type mask: the type box's access key
};

// What the rules read from and do to the window and its controls. A toolkit
// window implements it over its widgets and holds no rule of its own.
class Steuerelemente {
 public:
  virtual ~Steuerelemente() = default;

  // Check state of a check box (0 unchecked, 1 checked, 2 grayed); for an
  // option button 1 when it is selected, else 0.
  virtual int wert(Steuerelement s) const = 0;
  // Enabled state.
  virtual void freigeben(Steuerelement s, bool an) = 0;
  // Visible state.
  virtual void einblenden(Steuerelement s, bool an) = 0;
  // Text of a text box or combo box, caption of anything else.
  virtual std::string text(Steuerelement s) const = 0;
  // Sets the text or caption. Assigning the path box's text raises
  // txtPfadEingabe_Change, as a typed change does.
  virtual void textSetzen(Steuerelement s, const std::string& text) = 0;
  // Moves the keyboard focus to the control.
  virtual void fokusSetzen(Steuerelement s) = 0;

  // True while the window is shown.
  virtual bool fensterGezeigt() const = 0;
  // Enables or disables the whole window for user input.
  virtual void fensterAktiv(bool an) = 0;
  // Lets the window repaint and process pending events.
  virtual void ereignisseVerarbeiten() = 0;
  // Sounds the system beep once.
  virtual void signalton() = 0;
  // Modal message box with the information icon and one OK button, owned by
  // the window; `text` separates its lines by a carriage return.
  virtual void meldung(const std::string& titel, const std::string& text) = 0;
  // The system's modal folder dialog titled `titel`, owned by the window;
  // only file-system folders can be chosen. The chosen path, "" on cancel.
  virtual std::string ordnerDialog(const std::string& titel) = 0;
  // Ends the program: the window goes away and the event loop stops.
  virtual void beenden() = 0;
};

}  // namespace zweigschau
